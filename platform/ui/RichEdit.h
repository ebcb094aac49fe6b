#pragma once
// The rich edit as the program uses it: a multi-line text view whose font, colour and
// read-only state apply to the whole text; its Lines load and save text files and streams.
#include "platform/ui/StdCtrls.h"

class TCustomRichEdit : public TCustomMemo {
public:
  using TCustomMemo::TCustomMemo;
};

class TRichEdit : public TCustomRichEdit {
public:
  using TCustomRichEdit::TCustomRichEdit;
  String ClassName() const override { return QStringLiteral("TRichEdit"); }
};
