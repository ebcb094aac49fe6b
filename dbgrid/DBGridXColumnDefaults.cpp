// The grid-wide defaults that columns, titles and footers read until they set their own.
#include "dbgrid/DBGridX.h"

void TColumnTitleDefValuesX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TColumnTitleDefValuesX*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source->FAlignmentAssigned) SetAlignment(source->Alignment());
  if (source->FColorAssigned) SetColor(source->Color());
  SetEndEllipsis(source->FEndEllipsis);
  FTitleButton = source->FTitleButton;
  FToolTips = source->FToolTips;
  SetOrientation(source->FOrientation);
}

TAlignment TColumnTitleDefValuesX::Alignment() const {
  if (FAlignmentAssigned) return FAlignment;
  TCustomDBGridX* grid = FOwner->Grid();
  return grid && grid->UseMultiTitle() ? taCenter : taLeftJustify;
}

void TColumnTitleDefValuesX::SetAlignment(TAlignment Value) {
  const bool changed = !FAlignmentAssigned || Value != FAlignment;
  FAlignment = Value;
  FAlignmentAssigned = true;
  if (changed) FOwner->RelayoutGrid();
}

TColor TColumnTitleDefValuesX::Color() const {
  if (FColorAssigned) return FColor;
  TCustomDBGridX* grid = FOwner->Grid();
  return grid ? grid->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesX::SetColor(TColor Value) {
  const bool changed = !FColorAssigned || Value != FColor;
  FColor = Value;
  FColorAssigned = true;
  if (changed) FOwner->RepaintGrid();
}

void TColumnTitleDefValuesX::SetEndEllipsis(bool Value) {
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  FOwner->RepaintGrid();
}

void TColumnTitleDefValuesX::SetOrientation(TTextOrientationX Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  FOwner->RelayoutGrid();
}

void TColumnFooterDefValuesX::Assign(TPersistent* Source) {
  if (auto* source = dynamic_cast<TColumnFooterDefValuesX*>(Source)) FToolTips = source->FToolTips;
  else TPersistent::Assign(Source);
}

TColumnDefValuesX::TColumnDefValuesX(TCustomDBGridX* Grid)
    : FGrid(Grid), FTitle(std::make_unique<TColumnTitleDefValuesX>(this)),
      FFooter(std::make_unique<TColumnFooterDefValuesX>()) {}

TColumnDefValuesX::~TColumnDefValuesX() = default;

void TColumnDefValuesX::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TColumnDefValuesX*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  FTitle->Assign(source->FTitle.get());
  SetAlwaysShowEditButton(source->FAlwaysShowEditButton);
  SetEndEllipsis(source->FEndEllipsis);
  FAutoDropDown = source->FAutoDropDown;
  FDblClickNextVal = source->FDblClickNextVal;
  FToolTips = source->FToolTips;
  FDropDownSizing = source->FDropDownSizing;
  FDropDownShowTitles = source->FDropDownShowTitles;
}

void TColumnDefValuesX::RepaintGrid() const {
  if (FGrid) FGrid->Invalidate();
}

void TColumnDefValuesX::RelayoutGrid() const {
  if (FGrid) FGrid->RequestLayout();
}

void TColumnDefValuesX::SetAlwaysShowEditButton(bool Value) {
  if (Value == FAlwaysShowEditButton) return;
  FAlwaysShowEditButton = Value;
  RepaintGrid();
}

void TColumnDefValuesX::SetEndEllipsis(bool Value) {
  if (Value == FEndEllipsis) return;
  FEndEllipsis = Value;
  RepaintGrid();
}

void TColumnDefValuesX::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  RepaintGrid();
}

void TColumnDefValuesX::SetHighlightRequired(bool Value) {
  if (Value == FHighlightRequired) return;
  FHighlightRequired = Value;
  RepaintGrid();
}
