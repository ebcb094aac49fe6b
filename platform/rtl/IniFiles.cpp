#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Encodings.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace {

bool SameName(const String& A, const String& B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

// The section name of a header line; nothing when Line is not one.
std::optional<String> HeaderName(const String& Line) {
  const String trimmed = Trim(Line);
  if (!trimmed.startsWith(u'[')) return std::nullopt;
  const qsizetype close = trimmed.indexOf(u']');
  return Trim(trimmed.mid(1, close < 0 ? -1 : close - 1));
}

// Splits a "key=value" line; false for comments, blank lines and lines without a key.
bool SplitEntry(const String& Line, String& Key, String& Value) {
  const String trimmed = Trim(Line);
  if (trimmed.isEmpty() || trimmed.startsWith(u';')) return false;
  const qsizetype eq = trimmed.indexOf(u'=');
  if (eq <= 0) return false;
  Key = Trim(trimmed.left(eq));
  Value = Trim(trimmed.mid(eq + 1));
  return !Key.isEmpty();
}

void Fill(TStrings* Strings, const QStringList& Items) {
  TUpdateLock lock(Strings);
  Strings->Clear();
  for (const String& item : Items) Strings->Add(item);
}

}  // namespace

void TIniDocument::Load(const String& FileName) {
  FSections.clear();
  QFile file(FileName);
  if (!file.exists()) return;
  if (!file.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
  const String text = DecodeLegacyText(file.readAll());
  FSections.push_back(TSectionLines{});
  for (const String& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
    if (std::optional<String> header = HeaderName(line)) FSections.push_back(TSectionLines{header, {}});
    else FSections.back().Lines << line;
  }
  // The split leaves one empty piece after a final line break.
  if (text.endsWith(u'\n') || text.endsWith(u'\r')) FSections.back().Lines.removeLast();
}

void TIniDocument::Save(const String& FileName, TFilePrivacy Privacy) const {
  QStringList lines;
  for (const TSectionLines& section : FSections) {
    if (section.Name) lines << u'[' + *section.Name + u']';
    lines += section.Lines;
  }
  const String text = lines.isEmpty() ? String() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
  AtomicWriteFile(FileName, text.toUtf8(), Privacy);
}

const TIniDocument::TSectionLines* TIniDocument::FindSection(const String& Name) const {
  for (const TSectionLines& section : FSections)
    if (section.Name && SameName(*section.Name, Name)) return &section;
  return nullptr;
}

std::optional<String> TIniDocument::Value(const String& Section, const String& Ident) const {
  if (const TSectionLines* section = FindSection(Section)) {
    String key, value;
    for (const String& line : section->Lines)
      if (SplitEntry(line, key, value) && SameName(key, Ident)) return value;
  }
  return std::nullopt;
}

void TIniDocument::SetValue(const String& Section, const String& Ident, const String& Value) {
  // A line break would end the line early and let the rest read as lines of their own.
  for (const String* part : {&Section, &Ident, &Value})
    if (part->contains(u'\r') || part->contains(u'\n'))
      throw EIniFileException(QStringLiteral("An ini file cannot hold a line break in a section, key or value: [%1] %2")
                                  .arg(Section, Ident));
  auto* section = const_cast<TSectionLines*>(FindSection(Section));
  if (!section) {
    FSections.push_back(TSectionLines{Section, {}});
    section = &FSections.back();
  }
  const String entry = Ident + u'=' + Value;
  String key, value;
  for (String& line : section->Lines)
    if (SplitEntry(line, key, value) && SameName(key, Ident)) {
      line = entry;
      return;
    }
  // After the section's last non-blank line, so blank separator lines stay before the next header.
  qsizetype at = section->Lines.size();
  while (at > 0 && Trim(section->Lines[at - 1]).isEmpty()) --at;
  section->Lines.insert(at, entry);
}

QStringList TIniDocument::SectionNames() const {
  QStringList names;
  for (const TSectionLines& section : FSections)
    if (section.Name && !names.contains(*section.Name, Qt::CaseInsensitive)) names << *section.Name;
  return names;
}

QStringList TIniDocument::Pairs(const String& Section) const {
  QStringList pairs, keys;
  if (const TSectionLines* section = FindSection(Section)) {
    String key, value;
    for (const String& line : section->Lines)
      if (SplitEntry(line, key, value) && !keys.contains(key, Qt::CaseInsensitive)) {
        keys << key;
        pairs << key + u'=' + value;
      }
  }
  return pairs;
}

void TIniDocument::EraseSection(const String& Section) {
  std::erase_if(FSections, [&](const TSectionLines& s) { return s.Name && SameName(*s.Name, Section); });
}

void TIniDocument::DeleteKey(const String& Section, const String& Ident) {
  if (auto* section = const_cast<TSectionLines*>(FindSection(Section))) {
    String key, value;
    section->Lines.removeIf([&](const String& line) { return SplitEntry(line, key, value) && SameName(key, Ident); });
  }
}

// ---------------------------------------------------------------------------

String TCustomIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const {
  return Document().Value(Section, Ident).value_or(Default);
}

void TCustomIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  Edit([&](TIniDocument& document) { document.SetValue(Section, Ident, Value); });
}

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default) const {
  String text = ReadString(Section, Ident, String());
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text = u'$' + text.mid(2);
  return StrToIntDef(text, Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) const {
  return double(StrToFloatDef(ReadString(Section, Ident, String()), Default));
}

void TCustomIniFile::ReadSection(const String& Section, TStrings* Strings) const {
  QStringList keys;
  for (const String& pair : Document().Pairs(Section)) keys << pair.section(u'=', 0, 0);
  Fill(Strings, keys);
}

void TCustomIniFile::ReadSections(TStrings* Strings) const { Fill(Strings, Document().SectionNames()); }

void TCustomIniFile::ReadSectionValues(const String& Section, TStrings* Strings) const {
  Fill(Strings, Document().Pairs(Section));
}

bool TCustomIniFile::SectionExists(const String& Section) const { return !Document().Pairs(Section).isEmpty(); }

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) const {
  return Document().Value(Section, Ident).has_value();
}

void TCustomIniFile::EraseSection(const String& Section) {
  Edit([&](TIniDocument& document) { document.EraseSection(Section); });
}

void TCustomIniFile::DeleteKey(const String& Section, const String& Ident) {
  Edit([&](TIniDocument& document) { document.DeleteKey(Section, Ident); });
}

// ---------------------------------------------------------------------------

TIniDocument TIniFile::Document() const {
  TIniDocument document;
  document.Load(FileName());
  return document;
}

void TIniFile::Edit(const std::function<void(TIniDocument&)>& Change) {
  TIniDocument document = Document();
  Change(document);
  document.Save(FileName(), Privacy());
}

// ---------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const String& AFileName, TFilePrivacy Privacy) : TCustomIniFile(AFileName, Privacy) {
  FDocument.Load(AFileName);
}

void TMemIniFile::UpdateFile() { FDocument.Save(FileName(), Privacy()); }
