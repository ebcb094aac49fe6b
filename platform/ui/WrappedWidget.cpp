#include "platform/ui/WrappedWidget.h"
#include "platform/ui/ControlHost.h"
#include <QPalette>

void ApplyControlColors(QWidget* Widget, const TControl* Control, int Role) {
  QPalette palette = Widget->palette();
  palette.setColor(QPalette::ColorRole(Role), ColorToQColor(Control->Color()));
  const QColor text = ColorToQColor(Control->Font()->Color());
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  Widget->setPalette(palette);
}

bool DispatchColorChange(TWinControl* Control, TMessage& Message, int Role) {
  if (Message.Msg != CM_COLORCHANGED && Message.Msg != CM_FONTCHANGED) return false;
  Control->TWinControl::Dispatch(Message);
  if (Control->HandleAllocated()) ApplyControlColors(Control->Handle(), Control, Role);
  return true;
}

void SendCommandNotification(TWinControl* Control, Word Code) {
  if (TWinControl* parent = Control->Parent()) {
    TMessage command{WM_COMMAND, MakeWParam(0, Code), reinterpret_cast<LPARAM>(Control), 0};
    DeliverMessage(parent, command);
  }
  TMessage reflected{CN_COMMAND, MakeWParam(0, Code), reinterpret_cast<LPARAM>(Control), 0};
  DeliverMessage(Control, reflected);
}

namespace {

class TKeyForwarder : public QObject {
public:
  TKeyForwarder(QWidget* Inner, QWidget* Outer) : QObject(Inner), FOuter(Outer) {}
protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() != QEvent::KeyPress && Event->type() != QEvent::KeyRelease) return false;
    auto* inner = qobject_cast<QWidget*>(Watched);
    TWinControl* control = FOuter ? FindControl(FOuter) : nullptr;
    if (!inner || !control) return false;
    return TWidgetEvents::Translate(control, inner, Event,
                                    [inner](QEvent* e) { return static_cast<QObject*>(inner)->event(e); });
  }
private:
  QPointer<QWidget> FOuter;
};

}  // namespace

void ForwardKeys(QWidget* Inner, QWidget* Outer) { Inner->installEventFilter(new TKeyForwarder(Inner, Outer)); }
