#pragma once
// Reads a skin package: the compressed container of the skin's ini text and bitmaps.
#include "platform/rtl/SysUtils.h"
#include <QByteArray>
#include <QStringList>
#include <vector>

MOLI_DECLARE_EXCEPTION(ESkinError, Exception)

// Shown when a package's container has another version than the one this program reads.
extern const char* const SOlderSkinFile;

class TSkinReader {
public:
  static constexpr int MaxMembers = 1001;
  static constexpr int32_t ContainerVersion = 20000;

  // Unpacks the package and takes its members. Raises ESkinError (or ElzhException) when the
  // package is refused; the reader then keeps what it held before.
  void ReadPackage(const QByteArray& packed);

  // The member of that name (compared after lower-casing A to Z); the first of equal names
  // wins. Empty when there is none.
  QByteArray GetMember(const String& name) const;
  // The first member whose name contains text (case-sensitive; names are lower case), with
  // its name in foundName. Empty, foundName untouched, when none matches.
  QByteArray GetMemberContaining(const String& text, String& foundName) const;

  const QStringList& Names() const { return FNames; }
  int Count() const { return int(FNames.size()); }
  const QByteArray& Header() const { return FHeader; }

private:
  QByteArray MemberAt(int index) const;
  QStringList FNames;
  std::vector<int32_t> FSizes;
  std::vector<qsizetype> FOffsets;
  QByteArray FData;
  QByteArray FHeader;
};
