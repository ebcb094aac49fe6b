#include "platform/ui/EscapeWatch.h"
#include "platform/rtl/Clock.h"
#include <QCoreApplication>
#include <QKeyEvent>

class TEscapeWatch::TInputFilter : public QObject {
public:
  bool EscapeSeen = false;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    switch (Event->type()) {
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) EscapeSeen = true;
        return true;
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
        return true;
      default: return QObject::eventFilter(Watched, Event);
    }
  }
};

TEscapeWatch::TEscapeWatch(Cardinal PumpInterval)
    : FFilter(std::make_unique<TInputFilter>()), FPumpInterval(PumpInterval) {
  QCoreApplication::instance()->installEventFilter(FFilter.get());
}

TEscapeWatch::~TEscapeWatch() { QCoreApplication::instance()->removeEventFilter(FFilter.get()); }

bool TEscapeWatch::EscapePressed() {
  const Int64 now = TClock::Current().TickCount();
  if (!FPumped || now - FLastPump >= Int64(FPumpInterval)) {
    FPumped = true;
    FLastPump = now;
    QCoreApplication::processEvents();
  }
  return FFilter->EscapeSeen;
}
