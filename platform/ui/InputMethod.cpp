#include "platform/ui/InputMethod.h"
#include "platform/ui/Controls.h"
#include <QGuiApplication>
#include <QInputMethod>

void ActivateIme(TWinControl* Control, TImeMode Mode, const String&) {
  if (!Control || !Control->HandleAllocated()) return;
  QWidget* widget = Control->Handle();
  widget->setAttribute(Qt::WA_InputMethodEnabled, Mode != imDisable);
  Qt::InputMethodHints hints = widget->inputMethodHints() & ~Qt::ImhPreferLatin;
  if (Mode == imClose || Mode == imSAlpha || Mode == imAlpha) hints |= Qt::ImhPreferLatin;
  widget->setInputMethodHints(hints);
  if (widget->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}
