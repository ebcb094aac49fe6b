#pragma once
// The skin's own ini reader: loaded once from the package's ini member and asked for strings,
// integers and section names while the skin model is built. It keeps comments out and has its
// own rules for keys, empty values and hexadecimal numbers, which skins rely on.
#include "platform/rtl/Types.h"
#include <QByteArray>
#include <QStringList>
#include <vector>

class TQuickIni {
public:
  // Replaces what was loaded with the text (which ends at a zero byte, if any).
  void Load(const QByteArray& text);
  // The first line of the section with that key decides: its value, or the default when the
  // value is empty. Keys compare without case, sections without case but with their spaces.
  String ReadString(const String& section, const String& key, const String& defaultValue) const;
  // Decimal, "$" hexadecimal or "0x" hexadecimal; the default for anything else.
  Integer ReadInteger(const String& section, const String& key, Integer defaultValue) const;
  // Section names without brackets, in text order.
  QStringList ReadSections() const;

private:
  struct TSection {
    String Header;  // trimmed, brackets included
    int LineIndex;
  };
  int FindSection(const String& section) const;
  QStringList FLines;
  std::vector<TSection> FSections;
};
