#include "platform/ui/WrappedWidget.h"
#include "platform/ui/ControlHost.h"
#include <QMouseEvent>
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

class TInputForwarder : public QObject {
public:
  TInputForwarder(QWidget* Inner, QWidget* Outer) : QObject(Inner), FOuter(Outer) {}
protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    auto* inner = qobject_cast<QWidget*>(Watched);
    TWinControl* control = FOuter ? FindControl(FOuter) : nullptr;
    if (!inner || !control) return false;
    auto toInner = [inner, Event](QEvent*) { return static_cast<QObject*>(inner)->event(Event); };
    switch (Event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: return TWidgetEvents::Translate(control, inner, Event, toInner);
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(Event);
        QMouseEvent mapped(mouse->type(), inner->mapTo(FOuter, mouse->position().toPoint()), mouse->globalPosition(),
                           mouse->button(), mouse->buttons(), mouse->modifiers());
        return TWidgetEvents::Translate(control, FOuter, &mapped, toInner);
      }
      default: return false;
    }
  }
private:
  QPointer<QWidget> FOuter;
};

}  // namespace

void ForwardInput(QWidget* Inner, QWidget* Outer) { Inner->installEventFilter(new TInputForwarder(Inner, Outer)); }
