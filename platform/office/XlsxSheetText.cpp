#include "platform/office/XlsxSheetText.h"
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

[[noreturn]] void Malformed(const QXmlStreamReader& Reader, const char* Part) {
  throw EWorkbookError(QStringLiteral("The workbook's %1 is not well-formed XML: %2 (line %3)")
                           .arg(QLatin1String(Part), Reader.errorString())
                           .arg(Reader.lineNumber()));
}

// The row number of a cell reference such as "B12"; 0 when it has none.
Integer RowOfReference(QStringView Reference) {
  qsizetype At = 0;
  while (At < Reference.size() && Reference.at(At).isLetter()) ++At;
  return Reference.mid(At).toInt();
}

// The element's name without a namespace prefix: the reader leaves prefixes
// alone so that the writer can copy every name and declaration as it stands.
QStringView LocalName(const QXmlStreamReader& Reader) {
  const QStringView Name = Reader.qualifiedName();
  const qsizetype Colon = Name.indexOf(u':');
  return Colon < 0 ? Name : Name.mid(Colon + 1);
}

// Reads the inside of the current element up to its end, joining the text of
// every <t> in it.
String JoinedTexts(QXmlStreamReader& Reader) {
  String Text;
  int Depth = 1;
  while (Depth > 0 && !Reader.atEnd()) {
    const auto Token = Reader.readNext();
    if (Token == QXmlStreamReader::StartElement) {
      ++Depth;
      if (LocalName(Reader) == u"t") {
        Text += Reader.readElementText(QXmlStreamReader::IncludeChildElements);
        --Depth;
      }
    } else if (Token == QXmlStreamReader::EndElement) {
      --Depth;
    }
  }
  return Text;
}

}  // namespace

QStringList ReadSharedStrings(const QByteArray& Xml) {
  QStringList Strings;
  QXmlStreamReader Reader(Xml);
  Reader.setNamespaceProcessing(false);
  while (!Reader.atEnd()) {
    if (Reader.readNext() == QXmlStreamReader::StartElement && LocalName(Reader) == u"si") Strings << JoinedTexts(Reader);
  }
  if (Reader.hasError()) Malformed(Reader, "shared strings");
  return Strings;
}

QByteArray RewriteSheetTexts(const QByteArray& SheetXml, const QStringList& SharedStrings, Integer FirstRow,
                             const std::function<String(const String&)>& Replace) {
  return RewriteSheetCells(SheetXml, SharedStrings, FirstRow, [&Replace](const String& Text) {
    return TSheetCell{Replace(Text), false};
  });
}

QByteArray RewriteSheetCells(const QByteArray& SheetXml, const QStringList& SharedStrings, Integer FirstRow,
                             const std::function<TSheetCell(const String&)>& Rewrite) {
  QByteArray Result;
  QXmlStreamReader Reader(SheetXml);
  Reader.setNamespaceProcessing(false);
  QXmlStreamWriter Writer(&Result);
  Integer Row = 0;
  while (!Reader.atEnd()) {
    const auto Token = Reader.readNext();
    if (Token == QXmlStreamReader::Invalid) break;
    if (Token == QXmlStreamReader::StartElement && LocalName(Reader) == u"row")
      Row = Reader.attributes().value(QStringLiteral("r")).toInt();
    if (Token != QXmlStreamReader::StartElement || LocalName(Reader) != u"c") {
      Writer.writeCurrentToken(Reader);
      continue;
    }
    const QXmlStreamAttributes Attributes = Reader.attributes();
    const QStringView Kind = Attributes.value(QStringLiteral("t"));
    const Integer CellRow = Attributes.hasAttribute(QStringLiteral("r"))
                                ? RowOfReference(Attributes.value(QStringLiteral("r")))
                                : Row;
    if (CellRow < FirstRow || (Kind != u"s" && Kind != u"inlineStr")) {
      Writer.writeCurrentToken(Reader);
      continue;
    }
    String Text;
    if (Kind == u"inlineStr") {
      Text = JoinedTexts(Reader);
    } else {
      String Index;
      int Depth = 1;
      while (Depth > 0 && !Reader.atEnd()) {
        const auto Inner = Reader.readNext();
        if (Inner == QXmlStreamReader::StartElement) {
          ++Depth;
          if (LocalName(Reader) == u"v") {
            Index = Reader.readElementText();
            --Depth;
          }
        } else if (Inner == QXmlStreamReader::EndElement) {
          --Depth;
        }
      }
      bool Ok = false;
      const int At = Index.trimmed().toInt(&Ok);
      if (!Ok || At < 0 || At >= SharedStrings.size())
        throw EWorkbookError(QStringLiteral("A cell of the workbook's sheet names shared string %1, which does not exist").arg(Index));
      Text = SharedStrings.at(At);
    }
    if (Reader.hasError()) break;
    const TSheetCell Cell = Rewrite(Text);
    Writer.writeStartElement(Reader.qualifiedName().toString());
    for (const QXmlStreamAttribute& Attribute : Attributes)
      if (Attribute.qualifiedName() != u"t") Writer.writeAttribute(Attribute.qualifiedName().toString(), Attribute.value().toString());
    const QStringView CellName = Reader.qualifiedName();
    const String Prefix = CellName.left(CellName.size() - 1).toString();
    if (Cell.Number) {
      Writer.writeTextElement(Prefix + QStringLiteral("v"), Cell.Text);
    } else {
      Writer.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
      Writer.writeStartElement(Prefix + QStringLiteral("is"));
      Writer.writeStartElement(Prefix + QStringLiteral("t"));
      Writer.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
      Writer.writeCharacters(Cell.Text);
      Writer.writeEndElement();
      Writer.writeEndElement();
    }
    Writer.writeEndElement();
  }
  if (Reader.hasError()) Malformed(Reader, "sheet");
  return Result;
}
