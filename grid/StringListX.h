#pragma once
// The grid library's string list (the combo box keeps its key values in one).
#include "platform/rtl/Classes.h"

class TStringListX : public TStringList {
public:
  using TStringList::TStringList;
  String ClassName() const override { return QStringLiteral("TStringListX"); }
};
