#pragma once
// The clipboard: text, Unicode text and registered formats, each kept as the bytes the
// program put there. Between Open and Close the formats set go on together, replacing
// what was there before; outside, each set replaces the clipboard's content.
#include "platform/rtl/Classes.h"

class QMimeData;

constexpr Word CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13;

// The number of a named format; the same name gives the same number.
Word RegisterClipboardFormat(const String& Name);

class TClipboard {
public:
  void Open();
  void Close();
  void Clear();
  bool HasFormat(Word Format) const;
  String AsText() const;
  void SetAsText(const String& Value);
  // CF_TEXT bytes are code page 936 and CF_UNICODETEXT bytes UTF-16LE, each with its
  // terminating zero; other formats are returned as they were set. Empty when absent.
  QByteArray GetAsBytes(Word Format) const;
  void SetAsBytes(Word Format, const QByteArray& Data);
private:
  QMimeData* Writable();
  void Commit();
  const QMimeData* Readable() const;
  Integer FOpenCount = 0;
  QMimeData* FPending = nullptr;
};

TClipboard* Clipboard();
