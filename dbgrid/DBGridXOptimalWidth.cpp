// Columns fitted to their content: the widest of the title, every record's cell text and the
// footer texts, each with its margins.
#include "dbgrid/DBGridX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/SystemColors.h"
#include <algorithm>

namespace {
constexpr Integer TextMargin = 4;

// Width and height of Text in AFont; wrapped within Width when WordWrap (a longer word keeps
// its own width).
TSize MeasureText(TFont* AFont, const String& Text, bool WordWrap, Integer Width) {
  TCanvas measure;
  measure.SetFont(AFont);
  if (!WordWrap) return TSize{measure.TextWidth(Text), measure.TextHeight(Text)};
  TRect calc(0, 0, std::max(Width, 1), 0);
  DrawText(&measure, Text, calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return TSize{calc.Width(), calc.Height()};
}
}  // namespace

void TColumnX::OptimizeWidth() {
  if (TCustomDBGridX* grid = Grid()) {
    TColumnsXList list;
    list.Add(this);
    grid->OptimizeColumnsWidth(list);
  }
}

void TCustomDBGridX::OptimizeColumnWidth(TColumnX* Column) {
  TColumnsXList list;
  if (FSelection->SelectionKind() == gstColumns) {
    for (TColumnX* selected : FSelection->Columns()->List()) list.Add(selected);
  } else if (FSelection->SelectionKind() == gstAll) {
    for (Integer i = 0; i < FColumns->Count(); ++i) list.Add(FColumns->Items(i));
  }
  if (list.IndexOf(Column) < 0) list.Add(Column);
  OptimizeColumnsWidth(list);
}

Integer TCustomDBGridX::TitleWidthOf(TColumnX* Column) {
  const Integer reserved = TitleReservedWidth(Column);
  const Integer margin = reserved >= 3 ? reserved + 2 : TextMargin;
  TColumnTitleX* title = Column->Title();
  if (FTitleImages && title->ImageIndex() != -1) return margin + FTitleImages->Width();
  String caption = title->Caption();
  if (THeadTreeNode* leaf = MultiTitleActive() ? LeafOf(Column) : nullptr) caption = leaf->Caption;
  const bool wrap = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
  const Integer room = Column->Width() - margin;
  if (title->Orientation() == tohVertical) return margin + MeasureText(title->Font(), caption, false, room).cy;
  return MeasureText(title->Font(), caption, wrap, room).cx + margin;
}

Integer TCustomDBGridX::DataWidthOf(TColumnX* Column, bool FirstVisible) {
  Integer margin = Column->AlwaysShowEditButton() ? FEditButtonWidth + TextMargin : TextMargin;
  if (FirstVisible) margin += FGroupIndentWidth + TreeNodeIndent();
  const TColumnX::TCellKindX kind = Column->CellKind();
  if (kind == TColumnX::ckImageList) return margin + (Column->ImageList() ? Column->ImageList()->Width() : 0);
  if (kind == TColumnX::ckCheckbox) return margin + GetSystemMetrics(SM_CXMENUCHECK);
  if (Column->ImageList() && Column->ShowImageAndText()) margin += Column->ImageList()->Width() + TextMargin;
  TColCellParamsX params;
  Column->FillCellParams(&params);
  TFont font;
  font.Assign(Column->Font());
  params.Font = &font;
  FireGetCellParams(Column, &font, params.Background, {});
  Column->FireGetCellParams(false, &params);
  return MeasureText(&font, params.Text, false, 0).cx + margin;
}

Integer TCustomDBGridX::FooterWidthOf(TColumnX* Column) {
  Integer widest = 0;
  const Integer dataCol = Column->Index();
  for (Integer row = 0; row < FFooterRowCount; ++row) {
    TColumnFooterX* footer = Column->FooterAt(row);
    TFont font;
    font.Assign(footer->Font());
    TColor color = footer->Color();
    TAlignment alignment = footer->Alignment();
    String text = FooterValueText(row, dataCol);
    FireGetFooterParams(dataCol, row, Column, &font, color, alignment, {}, text);
    const bool wrap = footer->WordWrap() && FTallRows;
    widest = std::max(widest, MeasureText(&font, text, wrap, Column->Width()).cx + 5);
  }
  return widest;
}

void TCustomDBGridX::OptimizeColumnsWidth(const TColumnsXList& Columns) {
  if (Columns.Count() == 0) return;
  std::vector<Integer> widths;
  for (TColumnX* column : Columns.List()) widths.push_back(TitleWidthOf(column));
  if (!FDataLink->Active()) return;
  TColumnX* firstVisible = FVisibleColumns.Count() > 0 ? FVisibleColumns[0] : nullptr;
  TDataSet* dataSet = DataSet();
  {
    TDisableControlsLock controls(dataSet);
    SavePosition();
    TScopeGuard restore([this] { RestorePosition(); });
    dataSet->First();
    const bool sequenced = dataSet->IsSequenced();
    const Integer count = sequenced ? dataSet->RecordCount() : 0;
    while (!dataSet->Eof()) {
      for (Integer i = 0; i < Columns.Count(); ++i)
        widths[size_t(i)] = std::max(widths[size_t(i)], DataWidthOf(Columns[i], Columns[i] == firstVisible));
      const Integer recNo = sequenced ? dataSet->RecNo() : 0;
      if (sequenced && recNo >= count) break;
      dataSet->Next();
    }
  }
  const bool lock = !FAutoFitColWidths;
  if (lock) LockLayout();
  TScopeGuard unlock([this, lock] {
    if (lock) UnlockLayout();
  });
  for (Integer i = 0; i < Columns.Count(); ++i) {
    const Integer width = std::max(widths[size_t(i)], FooterWidthOf(Columns[i]));
    Columns[i]->SetWidth(width);
  }
}
