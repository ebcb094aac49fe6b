#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include <QTimer>

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
  // The timer may be firing this very event: it goes when the event loop comes back.
  if (FTimer) {
    FTimer->stop();
    FTimer->disconnect();
    FTimer->deleteLater();
  }
}

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (!FEnabled || FInterval == 0) {
    if (FTimer) FTimer->stop();
    return;
  }
  if (!FTimer) {
    FTimer = new QTimer();
    QObject::connect(FTimer, &QTimer::timeout, [this] {
      try {
        Timer();
      } catch (...) {
        // Called from Qt's timer: no exception may cross Qt's event loop.
        if (Application) Application->HandleException(this);
      }
    });
  }
  FTimer->start(int(FInterval));
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}
