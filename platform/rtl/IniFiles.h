#pragma once
// Windows-style ini files: "[section]" headers and "key=value" lines. Section and
// key names match without case, the first match wins, names and values are
// trimmed, lines starting with ';' and lines without '=' are ignored. A missing
// file reads as empty. Files are UTF-8 (GBK when not valid UTF-8); saving writes
// UTF-8 and replaces the file atomically, keeping comments and other lines.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include <QStringList>
#include <optional>

// The lines of one ini file, queried and edited in place.
class TIniDocument {
public:
  void Load(const String& FileName);
  void Save(const String& FileName, TFilePrivacy Privacy) const;

  // Nothing when the key is absent.
  std::optional<String> Value(const String& Section, const String& Ident) const;
  void SetValue(const String& Section, const String& Ident, const String& Value);
  QStringList SectionNames() const;
  // The section's "key=value" pairs, each key once.
  QStringList Pairs(const String& Section) const;
  void EraseSection(const String& Section);
  void DeleteKey(const String& Section, const String& Ident);
private:
  struct TSectionLines {
    std::optional<String> Name;  // none for the lines before the first header
    QStringList Lines;           // raw lines after the header
  };
  const TSectionLines* FindSection(const String& Name) const;
  std::vector<TSectionLines> FSections;
};

class TCustomIniFile : public TObject {
public:
  // fpOwnerOnly for files holding secrets: saves give them mode 0600.
  explicit TCustomIniFile(const String& AFileName, TFilePrivacy Privacy = fpShared)
      : FFileName(AFileName), FPrivacy(Privacy) {}
  const String& FileName() const { return FFileName; }
  TFilePrivacy Privacy() const { return FPrivacy; }

  String ReadString(const String& Section, const String& Ident, const String& Default) const;
  void WriteString(const String& Section, const String& Ident, const String& Value);
  // Decimal, or hexadecimal written "$1F" or "0x1F"; Default when the text is not a number.
  Integer ReadInteger(const String& Section, const String& Ident, Integer Default) const;
  void WriteInteger(const String& Section, const String& Ident, Integer Value);
  // Any number but 0 is true; written as 1 or 0.
  bool ReadBool(const String& Section, const String& Ident, bool Default) const;
  void WriteBool(const String& Section, const String& Ident, bool Value);
  double ReadFloat(const String& Section, const String& Ident, double Default) const;
  // The key names of Section.
  void ReadSection(const String& Section, TStrings* Strings) const;
  void ReadSections(TStrings* Strings) const;
  // The "key=value" lines of Section.
  void ReadSectionValues(const String& Section, TStrings* Strings) const;
  // True when the section has at least one key.
  bool SectionExists(const String& Section) const;
  bool ValueExists(const String& Section, const String& Ident) const;
  void EraseSection(const String& Section);
  void DeleteKey(const String& Section, const String& Ident);
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;
protected:
  // The content to read from.
  virtual TIniDocument Document() const = 0;
  // Applies one change.
  virtual void Edit(const std::function<void(TIniDocument&)>& Change) = 0;
private:
  String FFileName;
  TFilePrivacy FPrivacy;
};

// Reads the file on every call and writes every change to it at once.
class TIniFile : public TCustomIniFile {
public:
  using TCustomIniFile::TCustomIniFile;
  // Every change is on disk already.
  void UpdateFile() override {}
protected:
  TIniDocument Document() const override;
  void Edit(const std::function<void(TIniDocument&)>& Change) override;
};

// Reads the file once; changes stay in memory until UpdateFile.
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(const String& AFileName, TFilePrivacy Privacy = fpShared);
  void UpdateFile() override;
protected:
  TIniDocument Document() const override { return FDocument; }
  void Edit(const std::function<void(TIniDocument&)>& Change) override { Change(FDocument); }
private:
  TIniDocument FDocument;
};
