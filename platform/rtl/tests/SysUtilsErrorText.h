#pragma once
// The message of the exception of type E that action raises; "<no error>" when it raises none.
#include "platform/rtl/SysUtils.h"

template <typename E, typename Action>
String ErrorText(Action action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return QStringLiteral("<no error>");
}
