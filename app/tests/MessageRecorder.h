#pragma once
// Collects the messages the program shows while a test runs, instead of
// opening message boxes.
#include "app/AppMessages.h"
#include <QStringList>

class TMessageRecorder {
public:
  TMessageRecorder() : FPrevious(SetShowMessageProc([this](const String& Text) { FMessages << Text; })) {}
  ~TMessageRecorder() { SetShowMessageProc(FPrevious); }
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;
  const QStringList& Messages() const { return FMessages; }
  void Clear() { FMessages.clear(); }
private:
  QStringList FMessages;
  TShowMessageProc FPrevious;
};
