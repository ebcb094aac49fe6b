// Hints over the grid: a title's own hint, and tool-tips that show the whole text of a title,
// data or footer cell that does not fit, over the cell and in the cell's font, so that they
// read as the cell grown to its text.
#include "dbgrid/DBGridX.h"
#include "grid/ToolTipsWindow.h"
#include "grid/ButtonFacesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/SystemColors.h"
#include <algorithm>

namespace {
THintWindow* MakeToolTipsWindow() { return new TToolTipsWindow(nullptr); }
}  // namespace

TFont* TCustomDBGridX::HintFont() {
  if (!FHintFont) FHintFont = std::make_unique<TFont>();
  return FHintFont.get();
}

bool TCustomDBGridX::CellTextDoesNotFit(TFont* AFont, const TRect& Rect, const String& Text, bool WordWrap,
                                        Integer Margin, Integer& TextWidth, Integer& TextHeight) {
  TCanvas measure;
  measure.SetFont(AFont);
  const Integer room = Rect.Width() - 2 * Margin;
  if (!WordWrap) {
    TextWidth = measure.TextWidth(Text);
    TextHeight = measure.TextHeight(Text);
    return TextWidth > room;
  }
  TRect calc(0, 0, std::max(room, 1), 0);
  DrawText(&measure, Text, calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  TextWidth = calc.Width();
  TextHeight = calc.Height();
  return TextWidth > room || TextHeight > Rect.Height();
}

Integer TCustomDBGridX::TitleReservedWidth(TColumnX* Column) const {
  Integer width = Column->Title()->SortMarker() != smNoneX ? 16 : 0;
  if (FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX)
    width += Flat() ? FlatButtonWidth + 1 : GetSystemMetrics(SM_CXVSCROLL);
  return width;
}

void TCustomDBGridX::CMHintShowPause(TMessage& Message) {
  const TGridCoord cell = CellAtPoint(FMovePoint.X, FMovePoint.Y);
  if (cell.X < FIndicatorColCount || cell.X >= ColCount() || cell.Y < 0 || cell.Y >= FullRowCount()) return;
  Integer& pause = *reinterpret_cast<Integer*>(Message.LParam);
  const Integer appPause = Application ? Application->HintPause() : pause;
  pause = appPause;
  Integer dataCol = -1, dataRow = -1;
  const TCellTypeX type = GetCellType(cell.X, cell.Y, dataCol, dataRow);
  if (dataCol >= FColumns->Count()) return;
  TColumnX* column = FColumns->Items(dataCol);
  const TRect r = CellRect(cell.X, cell.Y);
  const TPoint inCell{FMovePoint.X - r.Left, FMovePoint.Y - r.Top};
  const TPoint screen = ClientToScreen(FMovePoint);
  bool processed = false;
  if (OnHintShowPause) OnHintShowPause(this, screen, cell, inCell, column, pause, processed);
  if (!processed && column->OnHintShowPause) column->OnHintShowPause(this, screen, cell, inCell, column, pause, processed);
  if (processed) return;
  bool atOnce = false;
  if (type.RowKind == carFooter) atOnce = column->FooterAt(dataRow)->ToolTips();
  else if (type.RowKind == carData) atOnce = FDataLink->Active() && column->ToolTips();
  else if (type.RowKind == carTitle) atOnce = column->Title()->ToolTips() && column->Title()->Hint().isEmpty();
  pause = atOnce ? 0 : appPause;
}

void TCustomDBGridX::CMHintShow(TMessage& Message) {
  TCustomGridX::Dispatch(Message);
  if (Message.Result != 0) return;
  THintInfo& info = *reinterpret_cast<THintInfo*>(Message.LParam);
  const TGridCoord cell = CellAtPoint(info.CursorPos.X, info.CursorPos.Y);
  if (cell.X < FIndicatorColCount || cell.X >= ColCount() || cell.Y < 0 || cell.Y >= FullRowCount()) return;
  Integer dataCol = -1, dataRow = -1;
  const TCellTypeX type = GetCellType(cell.X, cell.Y, dataCol, dataRow);
  if (dataCol >= FColumns->Count()) return;
  TColumnX* column = FColumns->Items(dataCol);
  TRect r = CellRect(cell.X, cell.Y);
  TColumnTitleX* title = column->Title();
  if (type.RowKind == carTitle && !title->Hint().isEmpty()) {
    info.HintStr = GetShortHint(title->Hint());
    info.CursorRect = r;
    return;
  }
  if (MouseCapture() || GetKeyState(VK_CONTROL) < 0) {
    info.HintStr.clear();
    return;
  }
  if (RightToLeft()) r = TRect(GridClientWidth() - r.Right, r.Top, GridClientWidth() - r.Left, r.Bottom);
  if (type.RowKind == carTitle && title->ToolTips()) {
    String text = title->Caption();
    if (THeadTreeNode* leaf = MultiTitleActive() ? LeafOf(column) : nullptr) {
      text = leaf->Caption;
      const Integer bandTop = r.Bottom - leaf->BandHeight + 1;
      if (info.CursorPos.Y < bandTop) {
        info.HintStr.clear();
        return;
      }
      r.Top = bandTop;
    }
    const Integer reserved = TitleReservedWidth(column);
    if (reserved > 2) r.Right -= reserved;
    bool wrap = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
    if (title->Orientation() == tohVertical) {
      wrap = false;
      r = TRect(r.Top, r.Left, r.Bottom, r.Right);
    }
    PrepareTitleOrFooterHint(info, r, column, text, title->Font(), title->Alignment(), wrap);
  } else if (type.RowKind == carData && FDataLink->Active()) {
    PrepareDataHint(info, cell, dataCol, r);
  } else if (type.RowKind == carFooter && column->FooterAt(dataRow)->ToolTips()) {
    TColumnFooterX* footer = column->FooterAt(dataRow);
    TFont font;
    font.Assign(footer->Font());
    TColor color = footer->Color();
    TAlignment alignment = footer->Alignment();
    String text = FooterValueText(dataRow, dataCol);
    FireGetFooterParams(dataCol, dataRow, column, &font, color, alignment, {}, text);
    info.HintColor = color;
    PrepareTitleOrFooterHint(info, r, column, text, &font, alignment, footer->WordWrap() && FTallRows);
  }
}

// Shows Text over the cell R when it does not fit, or when it is right-aligned and the column
// is cut off at the right of the visible area.
void TCustomDBGridX::PrepareTitleOrFooterHint(THintInfo& Info, const TRect& Cell, TColumnX* Column,
                                              const String& Text, TFont* AFont, TAlignment Alignment, bool WordWrap) {
  const Integer margin = Flat() ? 2 : 4;
  Integer textWidth = 0, textHeight = 0;
  const Integer columnRight = Cell.Left + Column->Width();
  const bool cutOff = Alignment == taRightJustify && columnRight - std::min(Cell.Right, GridClientWidth()) > 2;
  if (!CellTextDoesNotFit(AFont, Cell, Text, WordWrap, margin, textWidth, textHeight) && !cutOff) {
    Info.HintStr.clear();
    return;
  }
  Integer x = Cell.Left - 1;
  if (Alignment == taRightJustify) x = columnRight - textWidth - 6;
  else if (Alignment == taCenter) x = Cell.Left + (Cell.Width() - textWidth) / 2 - 3;
  const Integer y = Cell.Top - (Flat() ? 2 : 1);
  Info.HintStr = Text;
  Info.CursorRect = Cell;
  Info.HintPos = ClientToScreen(TPoint{x, y});
  if (WordWrap) Info.HintMaxWidth = Cell.Width() - 4;
  HintFont()->Assign(AFont);
  Info.HintData = HintFont();
  Info.HintWindowClass = MakeToolTipsWindow;
}

bool TCustomDBGridX::PrepareDataHint(THintInfo& Info, TGridCoord Cell, Integer DataCol, TRect R) {
  TColumnX* column = FColumns->Items(DataCol);
  const Integer dataRow = Cell.Y - TopDataRowOffset();
  if (dataRow < 0 || dataRow >= FDataLink->RecordCount()) return false;
  TDBGridXDataHintParams params;
  params.HintPos = ScreenToClient(Info.HintPos);
  params.HintMaxWidth = Info.HintMaxWidth;
  params.HintColor = Info.HintColor;
  params.CursorRect = Info.CursorRect;
  params.ReshowTimeout = Info.ReshowTimeout;
  params.HideTimeout = Info.HideTimeout;
  HintFont()->Assign(Screen ? Screen->HintFont() : Font());
  params.HintFont = HintFont();
  const TPoint inCell{Info.CursorPos.X - R.Left, Info.CursorPos.Y - R.Top};
  const TPoint screen = ClientToScreen(Info.CursorPos);
  SetActiveRow(dataRow);
  {
    TScopeGuard restore([this] { RestoreActiveRow(); });
    bool processed = false;
    if (OnDataHintShow) OnDataHintShow(this, screen, Cell, inCell, column, params, processed);
    if (!processed && column->OnDataHintShow) column->OnDataHintShow(this, screen, Cell, inCell, column, params, processed);
    if (!processed && column->ToolTips()) {
      const TColumnX::TCellKindX kind = column->CellKind();
      const bool listCell = kind == TColumnX::ckImageList || kind == TColumnX::ckCheckbox;
      TColCellParamsX cellParams;
      column->FillCellParams(&cellParams);
      TFont font;
      font.Assign(column->Font());
      cellParams.Font = &font;
      FireGetCellParams(column, &font, cellParams.Background, {});
      column->FireGetCellParams(false, &cellParams);
      String text = cellParams.Text;
      if (listCell) {
        const Integer index = kind == TColumnX::ckImageList ? column->KeyList()->IndexOf(column->EditText())
                                                            : Integer(cellParams.CheckboxState);
        text = index >= 0 && index < column->PickList()->Count() ? column->PickList()->Strings(index) : String();
      }
      TRect textRect = R;
      bool overButton = false;
      if (column->AlwaysShowEditButton()) {
        textRect.Right -= FEditButtonWidth;
        overButton = Info.CursorPos.X >= textRect.Right;
      }
      if (FVisibleColumns.Count() > 0 && FVisibleColumns[0] == column) textRect.Left += FGroupIndentWidth;
      if (column->ImageList() && column->ShowImageAndText() && !listCell)
        textRect.Left += column->ImageList()->Width() + 5;
      const TAlignment alignment = listCell ? taLeftJustify : TAlignment(cellParams.Alignment);
      Integer textWidth = 0, textHeight = 0;
      const bool wrap = column->WordWrap() && textRect.Height() >= 2 * FontRowHeight() - RowTextSpacing;
      const bool doesNotFit = CellTextDoesNotFit(&font, textRect, text, wrap, Flat() ? 2 : 4, textWidth, textHeight);
      const Integer columnRight = R.Left + column->Width();
      const bool cutOff = alignment == taRightJustify && columnRight - std::min(R.Right, GridClientWidth()) > 2;
      if (!overButton && !text.isEmpty() && (listCell || doesNotFit || cutOff)) {
        Integer x = textRect.Left - 1;
        if (alignment == taRightJustify) x = std::min(columnRight, textRect.Right) - textWidth - 6;
        else if (alignment == taCenter) x = textRect.Left + (textRect.Width() - textWidth) / 2 - 3;
        params.HintStr = text;
        params.CursorRect = R;
        params.HintPos = TPoint{x, R.Top - (Flat() ? 2 : 1)};
        params.HintColor = cellParams.Background;
        if (wrap) params.HintMaxWidth = textRect.Width() - 4;
        HintFont()->Assign(&font);
      }
    }
  }
  Info.HintPos = ClientToScreen(params.HintPos);
  Info.HintMaxWidth = params.HintMaxWidth;
  Info.HintColor = params.HintColor;
  Info.CursorRect = params.CursorRect;
  Info.ReshowTimeout = params.ReshowTimeout;
  Info.HideTimeout = params.HideTimeout;
  Info.HintStr = params.HintStr;
  Info.HintData = params.HintFont;
  Info.HintWindowClass = MakeToolTipsWindow;
  return !params.HintStr.isEmpty();
}
