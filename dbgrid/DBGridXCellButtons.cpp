// The buttons a data cell shows at its right end while its column always shows them: the
// column's own drop-down (or ellipsis, spin ...) button first, then its visible edit buttons.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXInplaceEdit.h"
#include "grid/ButtonFacesX.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/SystemColors.h"

bool TCustomDBGridX::ShowsEditButtons(TColumnX* Column, bool CurrentRow, bool CurrentCell) {
  if (!Column->AlwaysShowEditButton()) return false;
  if (FEditButtonsShowOptions.Contains(sebShowOnlyForCurCellX) && !CurrentCell) return false;
  if (FEditButtonsShowOptions.Contains(sebShowOnlyForCurRowX) && !CurrentRow) return false;
  if (FEditButtonsShowOptions.Contains(sebShowOnlyWhenGridActiveX) && !GridOrEditorFocused()) return false;
  if (FEditButtonsShowOptions.Contains(sebShowOnlyWhenDataEditingX) &&
      !(FDataLink->Active() && InEditModes(DataSet()->State())))
    return false;
  return true;
}

std::vector<TCustomDBGridX::TCellButtonX> TCustomDBGridX::CellButtonsOf(TColumnX* Column) const {
  std::vector<TCellButtonX> buttons;
  const Integer flatExtra = Flat() ? 1 : 0;
  if (Column->EditorStyle() != iesPlainX)
    buttons.push_back({nullptr, DefaultButtonStyleOf(Column->EditorStyle()), FEditButtonWidth + flatExtra, 0});
  TEditButtonsX* editButtons = Column->EditButtons();
  Integer number = 0;
  for (Integer i = 0; editButtons && i < editButtons->Count(); ++i) {
    TEditButtonX* button = editButtons->GetButton(i);
    if (!button->Visible()) continue;
    buttons.push_back(
        {button, button->Style(), (button->Width() >= 1 ? button->Width() : FEditButtonWidth) + flatExtra, ++number});
  }
  return buttons;
}

Integer TCustomDBGridX::CellButtonsWidth(TColumnX* Column) const {
  Integer width = 0;
  for (const TCellButtonX& button : CellButtonsOf(Column)) width += button.Width;
  return width;
}

bool TCustomDBGridX::InCellButtonsStrip(TColumnX* Column, const TRect& Cell, Integer X) const {
  const Integer width = CellButtonsWidth(Column);
  return width > 0 && X >= Cell.Right - width && X < Cell.Right;
}

void TCustomDBGridX::ForwardPressToEditor(TPoint P) {
  TWinControl* parent = this;
  TControl* target = nullptr;
  while (TControl* child = parent->ControlAtPos(P, false, true)) {
    P = TPoint(P.X - child->Left(), P.Y - child->Top());
    target = child;
    parent = dynamic_cast<TWinControl*>(child);
    if (!parent) break;
  }
  if (target) target->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(P));
}

Integer TCustomDBGridX::CellButtonAtPoint(TColumnX* Column, const TRect& Cell, TPoint P) const {
  const std::vector<TCellButtonX> buttons = CellButtonsOf(Column);
  Integer left = Cell.Right;
  for (const TCellButtonX& button : buttons) left -= button.Width;
  if (P.Y >= Cell.Top + FEditButtonHeight || P.X < left) return -1;
  for (const TCellButtonX& button : buttons) {
    left += button.Width;
    if (P.X < left) return button.Number;
  }
  return -1;
}

void TCustomDBGridX::PaintCellEditButtons(TColumnX* Column, TGridCoord At, const TRect& Cell, Integer TextRight,
                                          bool Raised, Integer Transparency, TColor Color) {
  TCanvas* canvas = Canvas();
  Integer left = TextRight;
  const Integer bottom = std::min(Cell.Bottom, Cell.Top + FEditButtonHeight);
  const bool hotHere = HotTrackCell() == At;
  for (const TCellButtonX& button : CellButtonsOf(Column)) {
    TRect face(left, Cell.Top, left + button.Width, bottom);
    left += button.Width;
    if (!button.Button && Raised) OffsetRect(face, 1, -1);
    const bool hot = hotHere && FHotEditButton == button.Number;
    if (Flat()) {
      // A flat button is set off from the text by a line of its own.
      canvas->Pen()->SetColor(hot ? clBtnFace : Color);
      canvas->MoveTo(face.Left, face.Top);
      canvas->LineTo(face.Left, face.Bottom);
      ++face.Left;
    }
    const Integer kind = EditButtonFaceKind(button.Style);
    if (kind >= 0) {
      PaintCellButton(face, Color, Transparency, 0, kind, hot);
      continue;
    }
    // A glyph button: a raised face with its first glyph centred.
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(face);
    TRect edge = face;
    DrawEdge(canvas, edge, BDR_RAISEDINNER, BF_RECT);
    TBitmap* glyph = button.Button->Glyph();
    if (!glyph || glyph->Empty()) continue;
    const Integer width = glyph->Width() / std::max<Integer>(1, button.Button->NumGlyphs());
    const Integer x = (face.Left + face.Right - width) / 2, y = (face.Top + face.Bottom - glyph->Height()) / 2;
    canvas->CopyRect(TRect(x, y, x + width, y + glyph->Height()), glyph->Canvas(), TRect(0, 0, width, glyph->Height()));
  }
  if (bottom < Cell.Bottom) {
    canvas->Brush()->SetColor(Color);
    canvas->FillRect(TRect(TextRight, bottom, Cell.Right, Cell.Bottom));
  }
}
