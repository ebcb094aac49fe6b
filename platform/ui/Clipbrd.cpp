#include "platform/ui/Clipbrd.h"
#include "platform/rtl/Encodings.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <map>

namespace {

constexpr Word FirstRegisteredFormat = 0xC000;
const char* const AnsiTextMime = "application/x-moli-ansi-text";
const QString CsvMime = QStringLiteral("text/csv");
const QString RtfMime = QStringLiteral("text/rtf");

std::vector<String>& RegisteredNames() {
  static std::vector<String> names;
  return names;
}

// Where a format lives in the mime data: well-known names get the types other programs
// read; the rest follow Qt's convention for named formats.
String MimeType(Word Format) {
  const size_t index = size_t(Format - FirstRegisteredFormat);
  if (Format < FirstRegisteredFormat || index >= RegisteredNames().size()) return QStringLiteral("application/x-moli-format-%1").arg(Format);
  const String& name = RegisteredNames()[index];
  if (name.compare(QStringLiteral("Csv"), Qt::CaseInsensitive) == 0) return CsvMime;
  if (name.compare(QStringLiteral("Rich Text Format"), Qt::CaseInsensitive) == 0) return RtfMime;
  return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(name);
}

bool IsTextMime(const String& Mime) { return Mime == CsvMime || Mime == RtfMime; }

QByteArray UpToZero(const QByteArray& Data, int UnitSize) {
  for (qsizetype i = 0; i + UnitSize <= Data.size(); i += UnitSize) {
    bool zero = true;
    for (int k = 0; k < UnitSize; ++k) zero = zero && Data[i + k] == 0;
    if (zero) return Data.left(i);
  }
  return Data;
}

// Characters the code page lacks become '?', as the system's own conversion does.
QByteArray ToAnsi(const String& Text) {
  try {
    return StringToGbk(Text);
  } catch (const EEncodingError&) {
    QByteArray out;
    for (qsizetype i = 0; i < Text.size(); ++i) {
      const qsizetype n = Text[i].isHighSurrogate() && i + 1 < Text.size() ? 2 : 1;
      try {
        out += StringToGbk(Text.mid(i, n));
      } catch (const EEncodingError&) {
        out += '?';
      }
      i += n - 1;
    }
    return out;
  }
}

String FromAnsi(const QByteArray& Bytes) {
  try {
    return GbkToString(Bytes);
  } catch (const EEncodingError&) {
    return QString::fromLatin1(Bytes);
  }
}

}  // namespace

Word RegisterClipboardFormat(const String& Name) {
  auto& names = RegisteredNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i].compare(Name, Qt::CaseInsensitive) == 0) return Word(FirstRegisteredFormat + i);
  names.push_back(Name);
  return Word(FirstRegisteredFormat + names.size() - 1);
}

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

void TClipboard::Open() { ++FOpenCount; }

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  if (--FOpenCount == 0) Commit();
}

void TClipboard::Clear() {
  delete FPending;
  FPending = FOpenCount > 0 ? new QMimeData() : nullptr;
  QGuiApplication::clipboard()->clear();
}

QMimeData* TClipboard::Writable() {
  if (!FPending) FPending = new QMimeData();
  return FPending;
}

void TClipboard::Commit() {
  if (!FPending) return;
  QGuiApplication::clipboard()->setMimeData(FPending);  // the clipboard takes it over
  FPending = nullptr;
}

const QMimeData* TClipboard::Readable() const {
  if (FPending) return FPending;
  return QGuiApplication::clipboard()->mimeData();
}

bool TClipboard::HasFormat(Word Format) const {
  const QMimeData* data = Readable();
  if (!data) return false;
  if (Format == CF_TEXT || Format == CF_UNICODETEXT) return data->hasText() || data->hasFormat(AnsiTextMime);
  return data->hasFormat(MimeType(Format));
}

String TClipboard::AsText() const {
  const QMimeData* data = Readable();
  if (!data) return String();
  if (data->hasText()) return data->text();
  return FromAnsi(UpToZero(data->data(AnsiTextMime), 1));
}

void TClipboard::SetAsText(const String& Value) {
  Open();
  Writable()->setText(Value);
  Writable()->removeFormat(AnsiTextMime);
  Close();
}

QByteArray TClipboard::GetAsBytes(Word Format) const {
  const QMimeData* data = Readable();
  if (!data) return {};
  if (Format == CF_TEXT) {
    if (data->hasFormat(AnsiTextMime)) return data->data(AnsiTextMime);
    return data->hasText() ? ToAnsi(data->text()) + '\0' : QByteArray();
  }
  if (Format == CF_UNICODETEXT) {
    if (!data->hasText()) return {};
    return StringToUtf16LE(data->text()) + QByteArray(2, '\0');
  }
  const String mime = MimeType(Format);
  if (IsTextMime(mime)) {
    if (!data->hasFormat(mime)) return {};
    // Handed back as the program put it: code page 936 (CSV) or ASCII (RTF), NUL-ended.
    const QByteArray utf8 = data->data(mime);
    return (mime == CsvMime ? ToAnsi(String::fromUtf8(utf8)) : utf8) + '\0';
  }
  return data->data(mime);
}

void TClipboard::SetAsBytes(Word Format, const QByteArray& Data) {
  Open();
  QMimeData* data = Writable();
  if (Format == CF_TEXT) {
    data->setData(AnsiTextMime, Data);
    // Other programs read the text; Unicode text put on later takes its place.
    if (!data->hasText()) data->setText(FromAnsi(UpToZero(Data, 1)));
  } else if (Format == CF_UNICODETEXT) {
    data->setText(Utf16LEToString(UpToZero(Data, 2)));
  } else if (const String mime = MimeType(Format); IsTextMime(mime)) {
    // Other programs read text formats as UTF-8 without the terminator.
    const QByteArray text = UpToZero(Data, 1);
    data->setData(mime, mime == CsvMime ? FromAnsi(text).toUtf8() : text);
  } else {
    data->setData(mime, Data);
  }
  Close();
}
