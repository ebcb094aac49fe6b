// The grid as an RTF table: every cell with its font, colours, alignment and the column
// widths in twips; the colour and font tables fill while the rows go to a cache.
#include "gridout/DBGridXExportFormats.h"
#include "gridout/RtfText.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Forms.h"

namespace {
const QByteArray CrLf("\r\n");

// Position of the entry, appended when absent; entries compare without letter case.
Integer TableIndex(TStringList* Table, const String& Entry) {
  for (Integer i = 0; i < Table->Count(); ++i)
    if (Table->Strings(i).compare(Entry, Qt::CaseInsensitive) == 0) return i;
  return Table->Add(Entry);
}
}  // namespace

TDBGridXExportAsRTF::TDBGridXExportAsRTF() = default;
TDBGridXExportAsRTF::~TDBGridXExportAsRTF() = default;

void TDBGridXExportAsRTF::Write(const QByteArray& Bytes) { Stream()->WriteBuffer(Bytes); }

Integer TDBGridXExportAsRTF::ColorIndex(TColor Color) { return TableIndex(FColorTable.get(), RtfColorKey(Color)); }

Integer TDBGridXExportAsRTF::FontIndex(const String& FontName) { return TableIndex(FFontTable.get(), FontName); }

QByteArray TDBGridXExportAsRTF::AlignmentWord(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return "\\qr";
    case taCenter: return "\\qc";
    default: return "\\ql";
  }
}

Integer TDBGridXExportAsRTF::TwipsOf(Integer Pixels) const { return Integer(Int64(Pixels) * 1440 / FPixelsPerInch); }

QByteArray TDBGridXExportAsRTF::RowSpacing() const { return Grid()->Flat() ? "12" : "24"; }

void TDBGridXExportAsRTF::SaveToStream(TStream* AStream, bool WholeGrid) {
  FBodyCache = std::make_unique<TMemoryStreamX>();
  FBodyCache->SetHalfStep(65536);
  FColorTable = std::make_unique<TStringList>();
  FFontTable = std::make_unique<TStringList>();
  TScopeGuard release([this] {
    FBodyCache.reset();
    FColorTable.reset();
    FFontTable.reset();
  });
  FPixelsPerInch = std::max<Integer>(Screen->PixelsPerInch(), 1);
  ColorIndex(clBlack);
  ColorIndex(clWhite);
  ColorIndex(clBtnFace);
  TDBGridXExport::SaveToStream(FBodyCache.get(), WholeGrid);

  SetStream(AStream);
  QByteArray head = "{\\rtf0\\ansi\\ansicpg936" + CrLf + "{\\colortbl";
  for (Integer i = 0; i < FColorTable->Count(); ++i) {
    const String key = FColorTable->Strings(i);
    head += "\\red" + QByteArray::number(key.mid(0, 3).trimmed().toInt()) + "\\green" +
            QByteArray::number(key.mid(3, 3).trimmed().toInt()) + "\\blue" +
            QByteArray::number(key.mid(6, 3).trimmed().toInt()) + ";";
  }
  head += "}" + CrLf + "{\\fonttbl";
  for (Integer i = 0; i < FFontTable->Count(); ++i)
    head += "\\f" + QByteArray::number(i) + "\\fnil " + RtfEscapedText(FFontTable->Strings(i)) + ";";
  head += "}" + CrLf;
  AStream->WriteBuffer(head);
  AStream->WriteBuffer(FBodyCache->Bytes());
}

void TDBGridXExportAsRTF::EndOutput() { Write("}"); }

void TDBGridXExportAsRTF::EmitText(TFont* AFont, const String& Text, TColor Background) {
  QByteArray out = "\\fs" + QByteArray::number(AFont->Size() * 2);
  const TFontStyles style = AFont->Style();
  if (style.Contains(fsBold)) out += "\\b";
  if (style.Contains(fsItalic)) out += "\\i";
  if (style.Contains(fsStrikeOut)) out += "\\strike";
  if (style.Contains(fsUnderline)) out += "\\ul";
  out += "\\f" + QByteArray::number(FontIndex(AFont->Name()));
  out += "\\cf" + QByteArray::number(ColorIndex(AFont->Color()));
  out += "\\cb" + QByteArray::number(ColorIndex(Background));
  out += ' ';
  out += RtfEscapedText(Text);
  Write(out);
}

void TDBGridXExportAsRTF::PutCellBorders(const TCellEdges& Edges) {
  if (Edges.Left) Write("\\clbrdrl\\brdrs\\brdrcf0" + CrLf);
  if (Edges.Top) Write("\\clbrdrt\\brdrs\\brdrcf0" + CrLf);
  if (Edges.Bottom) Write("\\clbrdrb\\brdrs\\brdrcf0" + CrLf);
  if (Edges.Right) Write("\\clbrdrr\\brdrs\\brdrcf0" + CrLf);
}

// Shading as the cell background pattern colour: a foreground pattern at full strength
// shows black cells in common readers.
void TDBGridXExportAsRTF::BeginTableRow(TColumnsXList* Columns, const std::vector<TCellEdges>& Edges,
                                        const std::vector<TColor>& Shades) {
  Write("\\trowd\\trgaph40" + CrLf);
  Integer right = 0;
  for (Integer i = 0; i < Columns->Count(); ++i) {
    PutCellBorders(Edges[size_t(i)]);
    right += TwipsOf(Columns->Items(i)->Width());
    Write("\\clcbpat" + QByteArray::number(ColorIndex(Shades[size_t(i)])) + "\\cellx" + QByteArray::number(right) +
          CrLf);
  }
  Write("{\\trrh0" + CrLf);
}

void TDBGridXExportAsRTF::PutCell(TAlignment Alignment, const QByteArray& Spacing, TFont* AFont, const String& Text,
                                  TColor Background) {
  QByteArray head = "\\pard\\intbl{" + AlignmentWord(Alignment);
  if (!Spacing.isEmpty()) head += "\\sb" + Spacing + "\\sa" + Spacing;
  Write(head);
  EmitText(AFont, Text, Background);
  Write("\\cell}" + CrLf);
}

TColor TDBGridXExportAsRTF::DataCellShade(TColumnsXList* Columns, Integer Pos) {
  TColumnX* column = Columns->Items(Pos);
  TColor color = column->Color();
  if (Grid()->OnGetCellParams) {
    TFont font;
    font.Assign(column->Font());
    Grid()->OnGetCellParams(Grid(), column, &font, color, TGridDrawState());
  }
  return color;
}

TColor TDBGridXExportAsRTF::FooterCellShade(TColumnsXList* Columns, Integer Pos, Integer FooterRow) {
  TColumnX* column = Columns->Items(Pos);
  TColumnFooterX* footer = column->FooterAt(FooterRow);
  TColor color = footer->Color();
  if (Grid()->OnGetFooterParams) {
    TFont font;
    font.Assign(footer->Font());
    TAlignment alignment = footer->Alignment();
    String text = footer->ValueType() == fvtSum || footer->ValueType() == fvtCount
                      ? FooterTotalText(FooterRow, Pos)
                      : Grid()->FooterValueText(FooterRow, column->Index());
    Grid()->OnGetFooterParams(Grid(), column->Index(), FooterRow, column, &font, color, alignment, TGridDrawState(),
                              text);
  }
  return color;
}

void TDBGridXExportAsRTF::PutDataRow(TColumnsXList* Columns) {
  std::vector<TColor> shades;
  for (Integer i = 0; i < Columns->Count(); ++i) shades.push_back(DataCellShade(Columns, i));
  BeginTableRow(Columns, std::vector<TCellEdges>(size_t(Columns->Count())), shades);
  TDBGridXExport::PutDataRow(Columns);
  Write("\\pard\\intbl\\row}" + CrLf);
}

void TDBGridXExportAsRTF::PutDataCell(TColumnX*, TColCellParamsX* Params) {
  PutCell(TAlignment(Params->Alignment), RowSpacing(), Params->Font, Params->Text, Params->Background);
}

void TDBGridXExportAsRTF::PutFooterRow(TColumnsXList* Columns, Integer FooterRow) {
  std::vector<TColor> shades;
  for (Integer i = 0; i < Columns->Count(); ++i) shades.push_back(FooterCellShade(Columns, i, FooterRow));
  BeginTableRow(Columns, std::vector<TCellEdges>(size_t(Columns->Count())), shades);
  TDBGridXExport::PutFooterRow(Columns, FooterRow);
  Write("\\pard\\intbl\\row}" + CrLf);
}

void TDBGridXExportAsRTF::PutFooterCell(Integer, Integer, TColumnX*, TFont* AFont, TColor Background,
                                        TAlignment Alignment, const String& Text) {
  PutCell(Alignment, RowSpacing(), AFont, Text, Background);
}

void TDBGridXExportAsRTF::PutTitleRow(TColumnsXList* Columns) {
  if (Grid()->UseMultiTitle() && PutMultiTitleRows(Columns)) return;
  std::vector<TColor> shades;
  for (Integer i = 0; i < Columns->Count(); ++i) shades.push_back(Columns->Items(i)->Title()->Color());
  BeginTableRow(Columns, std::vector<TCellEdges>(size_t(Columns->Count())), shades);
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnTitleX* title = Columns->Items(i)->Title();
    PutCell(title->Alignment(), RowSpacing(), title->Font(), title->Caption(), title->Color());
  }
  Write("\\pard\\intbl\\row}" + CrLf);
}
