#pragma once
// The raising and defaulting forms of the Try... conversions, built the same way for each.
#include "platform/rtl/Types.h"

template <typename T>
T ParsedOrRaise(const String& text, bool (*tryParse)(const String&, T&), void (*raise)(const String&)) {
  T value{};
  if (!tryParse(text, value)) raise(text);
  return value;
}

template <typename T>
T ParsedOrDefault(const String& text, bool (*tryParse)(const String&, T&), T defaultValue) {
  T value{};
  return tryParse(text, value) ? value : defaultValue;
}
