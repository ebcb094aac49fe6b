#include "platform/ui/RichTextFormat.h"
#include "platform/rtl/Encodings.h"
#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <vector>

namespace {

// Table of distinct values in the order first met; Index adds what is new.
template <typename T>
class TTable {
public:
  Integer Index(const T& Value) {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i] == Value) return Integer(i);
    FItems.push_back(Value);
    return Integer(FItems.size() - 1);
  }
  const std::vector<T>& Items() const { return FItems; }
private:
  std::vector<T> FItems;
};

// The character in code page 936, or empty when that code page lacks it.
QByteArray CodePageBytes(const QString& Character) {
  try {
    return StringToGbk(Character);
  } catch (const Exception&) {
    return QByteArray();
  }
}

// Escapes text. Characters of code page 936 are written as its bytes, as Windows-era
// programs write Chinese; others as Unicode with "?" for readers that know only bytes.
QByteArray Escaped(const QString& Text) {
  QByteArray out;
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    const ushort u = c.unicode();
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += char(u);
    } else if (c == u'\t') {
      out += "\\tab ";
    } else if (c == QChar::LineSeparator) {
      out += "\\line ";
    } else if (u == 0x00A0) {
      out += "\\~";
    } else if (u < 0x20) {
      continue;
    } else if (u < 0x80) {
      out += char(u);
    } else if (const QByteArray bytes = c.isSurrogate() ? QByteArray() : CodePageBytes(QString(c)); !bytes.isEmpty()) {
      for (char b : bytes) out += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
    } else {
      out += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
  }
  return out;
}

QByteArray FontNameBytes(const QString& Name) {
  QByteArray out;
  for (const QChar c : Name) {
    if (c == u';' || c == u'\\' || c == u'{' || c == u'}') continue;
    out += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode())) : Escaped(QString(c));
  }
  return out;
}

// Opens a paragraph with its alignment, indents and spacing; the document keeps those in
// points, the format in twips.
QByteArray ParagraphStart(const QTextBlockFormat& Format) {
  QByteArray out = "\\pard";
  const Qt::Alignment alignment = Format.alignment() & Qt::AlignHorizontal_Mask;
  if (alignment & Qt::AlignHCenter) out += "\\qc";
  else if (alignment & Qt::AlignJustify) out += "\\qj";
  else if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) out += "\\qr";
  const auto twips = [&out](const char* Word, qreal Points) {
    if (const qint64 value = qRound64(Points * 20)) out += Word + QByteArray::number(value);
  };
  twips("\\li", Format.leftMargin());
  twips("\\ri", Format.rightMargin());
  twips("\\fi", Format.textIndent());
  twips("\\sb", Format.topMargin());
  twips("\\sa", Format.bottomMargin());
  return out + ' ';
}

}  // namespace

QByteArray WriteRichText(const QTextDocument* Document, const QFont& DefaultFont) {
  TTable<QString> fonts;
  TTable<QRgb> colors;
  const QString defaultFamily = DefaultFont.family();
  const double defaultPoints = DefaultFont.pointSizeF() > 0 ? DefaultFont.pointSizeF() : 12;
  fonts.Index(defaultFamily);

  QByteArray body;
  for (QTextBlock block = Document->begin(); block.isValid(); block = block.next()) {
    if (block != Document->begin()) body += "\\par\n";
    body += ParagraphStart(block.blockFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      const QTextCharFormat f = fragment.charFormat();
      const QStringList families = f.fontFamilies().toStringList();
      const double points = f.fontPointSize() > 0 ? f.fontPointSize() : defaultPoints;
      QByteArray group = "{\\f" + QByteArray::number(fonts.Index(families.isEmpty() ? defaultFamily : families.first()));
      group += "\\fs" + QByteArray::number(qRound(points * 2));
      if (f.fontWeight() >= QFont::DemiBold) group += "\\b";
      if (f.fontItalic()) group += "\\i";
      if (f.fontUnderline()) group += "\\ul";
      if (f.fontStrikeOut()) group += "\\strike";
      if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        group += "\\cf" + QByteArray::number(colors.Index(f.foreground().color().rgb()) + 1);
      if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        group += "\\cb" + QByteArray::number(colors.Index(f.background().color().rgb()) + 1);
      group += ' ' + Escaped(fragment.text()) + '}';
      body += group;
    }
  }

  QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1{\\fonttbl";
  for (size_t i = 0; i < fonts.Items().size(); ++i)
    out += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset134 " + FontNameBytes(fonts.Items()[i]) + ";}";
  out += "}\n{\\colortbl ;";
  for (QRgb rgb : colors.Items())
    out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue" +
           QByteArray::number(qBlue(rgb)) + ';';
  out += "}\n\\plain " + body + "\n}\n";
  return out;
}
