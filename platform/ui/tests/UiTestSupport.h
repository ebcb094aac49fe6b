#pragma once
// Shared pieces of the window-layer tests: a form shown on the offscreen platform, a
// control that records the messages it gets, and synthetic input.
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <QWheelEvent>

namespace uitest {

// Readable names of the messages the tests look at.
QString MessageName(Cardinal Msg);

// A custom control that writes the name of every message it dispatches into a log.
class TRecordingControl : public TCustomControl {
public:
  TRecordingControl(TComponent* AOwner, QStringList* Log, const QString& Name);
  void Dispatch(TMessage& Message) override;
  TColor PaintColor = clNone;
protected:
  void Paint() override;
private:
  QStringList* FLog;
  QString FName;
};

// A shown form of 300 x 200 on the offscreen platform, active, with the layer's
// exceptions collected instead of shown.
class TShownForm {
public:
  TShownForm();
  ~TShownForm();
  TForm* Form;
  QStringList Exceptions;
private:
  TExceptionEvent FPreviousHandler;
};

// Synthetic input sent straight to the widget of Control (client coordinates).
void Click(TWinControl* Control, TPoint P, Qt::MouseButton Button = Qt::LeftButton);
void MouseEvent(TWinControl* Control, QEvent::Type Type, TPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons);
void PressKey(QWidget* Widget, int Key, const QString& Text = QString(), Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
void Wheel(TWinControl* Control, TPoint P, int Delta);
// Runs queued events until Done or the event queue stays empty.
void ProcessEventsUntil(const std::function<bool()>& Done);
// The widget's current pixels.
QImage Grab(QWidget* Widget);

}  // namespace uitest
