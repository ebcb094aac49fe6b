#include "platform/ui/RichTextFormat.h"
#include "platform/rtl/Encodings.h"
#include <QColor>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <map>
#include <vector>

namespace {

enum class TDestination { Text, FontTable, ColorTable, Skip };

struct TCharState {
  Integer Font = -1;
  bool Bold = false, Italic = false, Underline = false, Strike = false;
  Integer HalfPoints = 0;  // 0: the default size
  Integer Foreground = 0, Background = 0;
  friend bool operator==(const TCharState&, const TCharState&) = default;
};

// Paragraph properties: alignment, and indents and spacing in twips.
struct TParagraphState {
  Qt::Alignment Alignment = Qt::AlignLeft;
  Integer Left = 0, Right = 0, First = 0, Before = 0, After = 0;
};

struct TGroupState {
  TDestination Destination = TDestination::Text;
  TCharState Chars;
  TParagraphState Paragraph;
  Integer UnicodeSkip = 1;
};

struct TFontEntry {
  QString Name;
  Integer CodePage = 0;  // 0: the document's
};

// Destinations whose contents are not text of the document.
const QSet<QByteArray>& SkippedDestinations() {
  static const QSet<QByteArray> words = {
    "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
    "footerr", "footerf", "footnote", "fldinst", "listtable", "listoverridetable", "revtbl", "rsidtbl",
    "generator", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "filetbl",
    "pntext", "pntxta", "pntxtb", "bkmkstart", "bkmkend", "nonshppict", "shp", "shppict", "annotation",
    "atnid", "atnauthor", "comment", "doccomm", "operator", "title", "subject", "author", "keywords",
    "template", "mmathPr", "wgrffmtfilter", "pgdsctbl", "userprops", "fonttbl_alt", "private", "xe", "tc"};
  return words;
}

// Deeper groups are refused: each one holds a state, and no writer nests anywhere near this.
constexpr Integer MaxGroupDepth = 1000;

Integer CodePageOfCharset(Integer Charset) {
  switch (Charset) {
    case 134: return 936;
    case 0: return 1252;
    default: return 0;
  }
}

class TReader {
public:
  TReader(const QByteArray& Bytes, QTextDocument* Document, const QFont& DefaultFont)
      : FIn(Bytes), FDocument(Document), FDefault(DefaultFont), FCursor(Document) {}

  // Fills the document in one edit block without undo history, so each insert does not lay
  // out its paragraph again and nothing of the load is kept for undoing.
  void Run() {
    const bool undo = FDocument->isUndoRedoEnabled();
    FDocument->setUndoRedoEnabled(false);
    FDocument->clear();
    FCursor = QTextCursor(FDocument);
    FCursor.beginEditBlock();
    try {
      ReadGroups();
    } catch (...) {
      FDocument->clear();
      FCursor.endEditBlock();
      FDocument->setUndoRedoEnabled(undo);
      throw;
    }
    FCursor.endEditBlock();
    FDocument->setUndoRedoEnabled(undo);
  }

private:
  void ReadGroups() {
    FStack.push_back({});
    FStack.back().Destination = TDestination::Skip;  // until the opening group
    Integer depth = 0;
    while (FPos < FIn.size()) {
      const char c = FIn[FPos++];
      if (c == '{') {
        if (depth >= MaxGroupDepth)
          throw ERichTextError(QStringLiteral("RTF 文本的组嵌套超过 %1 层").arg(MaxGroupDepth));
        Flush();
        FSkipChars = 0;
        FStack.push_back(FStack.back());
        if (++depth == 1) FStack.back().Destination = TDestination::Text;
        FRunChars = State().Chars;
      } else if (c == '}') {
        Flush();
        FSkipChars = 0;
        EndGroup();
        if (FStack.size() > 1) FStack.pop_back();
        FRunChars = State().Chars;
        if (--depth <= 0) break;
      } else if (c == '\\') {
        ControlSequence();
      } else if (c != '\r' && c != '\n') {
        TextByte(c);
      }
    }
    Flush();
  }

  TGroupState& State() { return FStack.back(); }

  void ControlSequence() {
    if (FPos >= FIn.size()) return;
    const char c = FIn[FPos];
    if (!IsLetter(c)) {
      ++FPos;
      ControlSymbol(c);
      return;
    }
    const Integer start = FPos;
    while (FPos < FIn.size() && IsLetter(FIn[FPos])) ++FPos;
    const QByteArray word = FIn.mid(start, FPos - start);
    bool hasParam = false;
    Integer param = 0;
    const Integer numStart = FPos;
    if (FPos < FIn.size() && FIn[FPos] == '-') ++FPos;
    while (FPos < FIn.size() && FIn[FPos] >= '0' && FIn[FPos] <= '9' && FPos - numStart < 11) ++FPos;
    if (FPos > numStart && !(FPos == numStart + 1 && FIn[numStart] == '-')) {
      hasParam = true;
      param = FIn.mid(numStart, FPos - numStart).toInt();
    } else {
      FPos = numStart;
    }
    if (FPos < FIn.size() && FIn[FPos] == ' ') ++FPos;
    if (word == "bin") {
      // Binary data is no text in any destination; it counts as one character skipped
      // after a Unicode character.
      FPos += std::min<Integer>(std::max<Integer>(param, 0), FIn.size() - FPos);
      if (FSkipChars > 0) --FSkipChars;
      return;
    }
    if (FSkipChars > 0 && word != "u") {
      --FSkipChars;
      return;
    }
    ControlWord(word, hasParam, param);
  }

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static Integer HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void ControlSymbol(char c) {
    switch (c) {
      case '\'': {
        // Exactly two hex digits; anything else drops the escape and is read as it stands.
        const Integer high = FPos < FIn.size() ? HexDigit(FIn[FPos]) : -1;
        const Integer low = FPos + 1 < FIn.size() ? HexDigit(FIn[FPos + 1]) : -1;
        if (high < 0 || low < 0) return;
        FPos += 2;
        const uint value = uint(high * 16 + low);
        if (FSkipChars > 0) {
          --FSkipChars;
          return;
        }
        if (State().Destination == TDestination::FontTable) FFontName.append(char(value));
        else if (State().Destination == TDestination::Text) FPendingBytes.append(char(value));
        return;
      }
      case '*':
        if (State().Destination == TDestination::Text) State().Destination = TDestination::Skip;
        return;
      case '\\':
      case '{':
      case '}': TextByte(c); return;
      case '~': AddText(QString(QChar(0x00A0))); return;
      case '_': AddText(QStringLiteral("-")); return;
      case '\r':
      case '\n': Paragraph(); return;
      default: return;  // optional hyphens and the like
    }
  }

  void ControlWord(const QByteArray& Word, bool HasParam, Integer Param) {
    TGroupState& s = State();
    if (s.Destination == TDestination::Skip) return;
    if (Word == "fonttbl") {
      s.Destination = TDestination::FontTable;
      return;
    }
    if (Word == "colortbl") {
      s.Destination = TDestination::ColorTable;
      FColors.clear();
      FColor = {};
      return;
    }
    if (SkippedDestinations().contains(Word)) {
      Flush();
      s.Destination = TDestination::Skip;
      return;
    }
    if (s.Destination == TDestination::FontTable) {
      if (Word == "f") {
        FFontNumber = Param;
        FFonts[Param];
      } else if (Word == "fcharset") {
        FFonts[FFontNumber].CodePage = CodePageOfCharset(Param);
      } else if (Word == "cpg") {
        FFonts[FFontNumber].CodePage = Param;
      }
      return;
    }
    if (s.Destination == TDestination::ColorTable) {
      if (Word == "red") FColor.R = Param, FColor.Any = true;
      else if (Word == "green") FColor.G = Param, FColor.Any = true;
      else if (Word == "blue") FColor.B = Param, FColor.Any = true;
      return;
    }
    if (ParagraphWord(Word, Param)) return;
    const bool on = !HasParam || Param != 0;
    TCharState& ch = s.Chars;
    if (Word == "par" || Word == "page" || Word == "sect") Paragraph();
    else if (Word == "line") AddText(QString(QChar::LineSeparator));
    else if (Word == "tab") AddText(QStringLiteral("\t"));
    else if (Word == "b") SetChars(ch.Bold, on);
    else if (Word == "i") SetChars(ch.Italic, on);
    else if (Word == "ulnone") SetChars(ch.Underline, false);
    else if (Word.startsWith("ul") && Word != "ulc") SetChars(ch.Underline, on);
    else if (Word == "strike" || Word == "striked") SetChars(ch.Strike, on);
    else if (Word == "fs") SetChars(ch.HalfPoints, HasParam ? Param : 0);
    else if (Word == "f") SetChars(ch.Font, Param);
    else if (Word == "cf") SetChars(ch.Foreground, Param);
    else if (Word == "cb" || Word == "highlight") SetChars(ch.Background, Param);
    else if (Word == "plain") SetChars(ch, TCharState{FDefaultFont, false, false, false, false, 0, 0, 0});
    else if (Word == "uc") s.UnicodeSkip = std::max<Integer>(0, Param);
    else if (Word == "u" && HasParam) UnicodeChar(Param);
    else if (Word == "ansicpg") FCodePage = Param;
    else if (Word == "deff") FDefaultFont = Param;
    else if (Word == "emdash") AddText(QString(QChar(0x2014)));
    else if (Word == "endash") AddText(QString(QChar(0x2013)));
    else if (Word == "bullet") AddText(QString(QChar(0x2022)));
    else if (Word == "lquote") AddText(QString(QChar(0x2018)));
    else if (Word == "rquote") AddText(QString(QChar(0x2019)));
    else if (Word == "ldblquote") AddText(QString(QChar(0x201C)));
    else if (Word == "rdblquote") AddText(QString(QChar(0x201D)));
  }

  // Indents beyond 22 inches, the widest page the format describes, are cut to it.
  bool ParagraphWord(const QByteArray& Word, Integer Param) {
    constexpr Integer widest = 31680;
    const Integer twips = std::clamp<Integer>(Param, -widest, widest);
    TParagraphState& p = State().Paragraph;
    if (Word == "pard") p = TParagraphState();
    else if (Word == "ql") p.Alignment = Qt::AlignLeft;
    else if (Word == "qc") p.Alignment = Qt::AlignHCenter;
    else if (Word == "qr") p.Alignment = Qt::AlignRight;
    else if (Word == "qj") p.Alignment = Qt::AlignJustify;
    else if (Word == "li") p.Left = twips;
    else if (Word == "ri") p.Right = twips;
    else if (Word == "fi") p.First = twips;
    else if (Word == "sb") p.Before = std::max<Integer>(0, twips);
    else if (Word == "sa") p.After = std::max<Integer>(0, twips);
    else return false;
    return true;
  }

  // The paragraph being read takes the properties in force at its text and, last, at its mark.
  void FormatParagraph() {
    const TParagraphState& p = State().Paragraph;
    QTextBlockFormat format;
    format.setAlignment(p.Alignment);
    format.setLeftMargin(p.Left / 20.0);
    format.setRightMargin(p.Right / 20.0);
    format.setTextIndent(p.First / 20.0);
    format.setTopMargin(p.Before / 20.0);
    format.setBottomMargin(p.After / 20.0);
    if (FCursor.blockFormat() != format) FCursor.setBlockFormat(format);
  }

  template <typename T>
  void SetChars(T& Field, const T& Value) {
    if (Field == Value) return;
    Flush();
    Field = Value;
    FRunChars = State().Chars;
  }

  // Writers give characters above 32767 as negative numbers. Anything outside a 16-bit unit,
  // and U+0000, is dropped with its fallback shown in its place.
  void UnicodeChar(Integer Value) {
    if (Value < -32768 || Value > 65535 || Value == 0) return;
    if (Value < 0) Value += 65536;
    AddText(QString(QChar(char16_t(Value & 0xFFFF))));
    FSkipChars = State().UnicodeSkip;
  }

  void TextByte(char c) {
    if (FSkipChars > 0) {
      --FSkipChars;
      return;
    }
    switch (State().Destination) {
      case TDestination::Skip: return;
      case TDestination::ColorTable:
        if (c == ';') {
          FColors.push_back(FColor.Any ? QColor(FColor.R, FColor.G, FColor.B) : QColor());
          FColor = {};
        }
        return;
      case TDestination::FontTable:
        if (c == ';') EndFontName();
        else FFontName.append(c);
        return;
      case TDestination::Text: FPendingBytes.append(c); return;
    }
  }

  void EndFontName() {
    TFontEntry& font = FFonts[FFontNumber];
    if (font.Name.isEmpty()) font.Name = Decode(FFontName.trimmed(), font.CodePage).trimmed();
    FFontName.clear();
  }

  void EndGroup() {
    if (State().Destination == TDestination::FontTable && !FFontName.trimmed().isEmpty()) EndFontName();
  }

  Integer CodePageOf(const TCharState& Chars) const {
    const auto it = FFonts.find(Chars.Font >= 0 ? Chars.Font : FDefaultFont);
    return it != FFonts.end() && it->second.CodePage ? it->second.CodePage : FCodePage;
  }

  static QString Decode(const QByteArray& Bytes, Integer CodePage) {
    bool ascii = true;
    for (char c : Bytes) ascii = ascii && uchar(c) < 0x80;
    if (ascii) return QString::fromLatin1(Bytes);
    // Broken double-byte text from outside keeps what decodes, one byte at a time.
    if (CodePage == 936 || CodePage == 0) return GbkToStringLenient(Bytes);
    return QString::fromLatin1(Bytes);
  }

  // Text bytes wait until the run ends, so double-byte characters split over \'hh pairs
  // decode together.
  void DecodePending() {
    if (FPendingBytes.isEmpty()) return;
    FRun += Decode(FPendingBytes, CodePageOf(FRunChars));
    FPendingBytes.clear();
  }

  void AddText(const QString& Text) {
    if (State().Destination != TDestination::Text) return;
    if (!(State().Chars == FRunChars)) Flush();
    DecodePending();
    FRun += Text;
  }

  void Paragraph() {
    if (State().Destination != TDestination::Text) return;
    Flush();
    FormatParagraph();
    FCursor.insertBlock();
  }

  // Puts the pending run into the document with the format it was collected in.
  void Flush() {
    DecodePending();
    if (!FRun.isEmpty()) {
      FormatParagraph();
      FCursor.insertText(FRun, Format(FRunChars));
    }
    FRun.clear();
    FRunChars = State().Chars;
  }

  QTextCharFormat Format(const TCharState& Chars) const {
    QTextCharFormat f;
    const auto font = FFonts.find(Chars.Font >= 0 ? Chars.Font : FDefaultFont);
    const QString family = font != FFonts.end() && !font->second.Name.isEmpty() ? font->second.Name : FDefault.family();
    f.setFontFamilies(QStringList{family});
    f.setFontPointSize(Chars.HalfPoints > 0 ? Chars.HalfPoints / 2.0 : FDefault.pointSizeF() > 0 ? FDefault.pointSizeF() : 12);
    f.setFontWeight(Chars.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(Chars.Italic);
    f.setFontUnderline(Chars.Underline);
    f.setFontStrikeOut(Chars.Strike);
    if (Chars.Foreground > 0 && Chars.Foreground < Integer(FColors.size()) && FColors[Chars.Foreground].isValid())
      f.setForeground(FColors[Chars.Foreground]);
    if (Chars.Background > 0 && Chars.Background < Integer(FColors.size()) && FColors[Chars.Background].isValid())
      f.setBackground(FColors[Chars.Background]);
    return f;
  }

  const QByteArray& FIn;
  Integer FPos = 0;
  QTextDocument* FDocument;
  QFont FDefault;
  QTextCursor FCursor;
  std::vector<TGroupState> FStack;
  std::map<Integer, TFontEntry> FFonts;
  Integer FFontNumber = 0;
  QByteArray FFontName;
  struct {
    Integer R = 0, G = 0, B = 0;
    bool Any = false;
  } FColor;
  std::vector<QColor> FColors;
  Integer FCodePage = 936;
  Integer FDefaultFont = 0;
  Integer FSkipChars = 0;
  QByteArray FPendingBytes;
  QString FRun;
  TCharState FRunChars;
};

}  // namespace

bool LooksLikeRichText(const QByteArray& Bytes) { return Bytes.trimmed().startsWith("{\\rtf"); }

void ReadRichText(const QByteArray& Bytes, QTextDocument* Document, const QFont& DefaultFont) {
  if (!LooksLikeRichText(Bytes)) throw ERichTextError(QStringLiteral("不是 RTF 格式的文本"));
  const QByteArray text = Bytes.trimmed();
  TReader(text, Document, DefaultFont).Run();
}
