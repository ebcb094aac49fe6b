#include "grid/ButtonFacesX.h"
#include "grid/DBCtrlsX.h"
#include "grid/LibraryRoutinesX.h"
#include "grid/PaintHelpersX.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemColors.h"

namespace {

const String kTrueText = QStringLiteral("True");
const String kFalseText = QStringLiteral("False");

// Whether Text is one of the ';'-separated items of List; an empty text matches a list
// that ends with ';'.
bool TextInList(const String& Text, const String& List) {
  if (Text.isEmpty()) return List.endsWith(u';');
  Integer pos = 1;
  while (pos <= List.size()) {
    if (AnsiCompareText(ExtractFieldName(List, pos), Text) == 0) return true;
  }
  return false;
}

String FirstItem(const String& List) {
  Integer pos = 1;
  return ExtractFieldName(List, pos);
}

}  // namespace

TCustomDBCheckBoxX::TCustomDBCheckBoxX(TComponent* AOwner)
    : TButtonControl(AOwner),
      FDataLink(std::make_unique<TFieldDataLinkX>()),
      FCanvas(std::make_unique<TControlCanvas>(this)),
      FValueChecked(kTrueText),
      FValueUnchecked(kFalseText) {
  SetBounds(0, 0, 97, 17);
  FTabStop = true;
  FControlStyle.Exclude(csDoubleClicks);
  FControlStyle.Include(csReplicatable);
  FControlStyle.Include(csClickEvents);
  FControlStyle.Include(csCaptureMouse);
  FDataLink->BoundControl = this;
  FDataLink->WriteFieldValue(Variant(false));
  FDataLink->DataChangeHandler = [this](TObject*) { HandleLinkData(); };
  FDataLink->UpdateDataHandler = [this](TObject*) { CommitData(); };
}

TCustomDBCheckBoxX::~TCustomDBCheckBoxX() {
  FDataLink->DataChangeHandler = nullptr;
  FDataLink->UpdateDataHandler = nullptr;
}

void TCustomDBCheckBoxX::SetDataSource(TDataSource* Value) {
  if (!(FDataLink->DataSourceFixed() && ComponentState().Contains(csLoading))) FDataLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TCustomDBCheckBoxX::Notification(TComponent* AComponent, TOperation Operation) {
  TButtonControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FDataLink && AComponent == DataSource()) SetDataSource(nullptr);
}

void TCustomDBCheckBoxX::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomDBCheckBoxX::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  Invalidate();
}

void TCustomDBCheckBoxX::SetValueChecked(const String& Value) {
  FValueChecked = Value;
  HandleLinkData();
}

void TCustomDBCheckBoxX::SetValueUnchecked(const String& Value) {
  FValueUnchecked = Value;
  HandleLinkData();
}

TCheckBoxState TCustomDBCheckBoxX::FieldState() const {
  if (IsUnbound()) {
    const Variant& value = FDataLink->UnboundValue();
    if (VariantValuesEqual(value, Variant(true))) return cbChecked;
    if (VariantValuesEqual(value, Variant(false))) return cbUnchecked;
    return cbGrayed;
  }
  const TField* field = FDataLink->FirstField();
  if (!field) return cbUnchecked;
  if (field->DataType() == ftBoolean && FValueChecked == kTrueText && FValueUnchecked == kFalseText) {
    if (field->IsNull()) return cbGrayed;
    return field->AsBoolean() ? cbChecked : cbUnchecked;
  }
  const String text = field->Text();
  if (TextInList(text, FValueChecked)) return cbChecked;
  if (TextInList(text, FValueUnchecked)) return cbUnchecked;
  return cbGrayed;
}

void TCustomDBCheckBoxX::HandleLinkData() {
  ApplyState(FieldState());
  FModified = false;
}

void TCustomDBCheckBoxX::ApplyState(TCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  if (OnClick) OnClick(this);
  Invalidate();
  FModified = true;
}

void TCustomDBCheckBoxX::SetState(TCheckBoxState Value) {
  const bool designing = ComponentState().Contains(csDesigning);
  if (designing && !IsUnbound()) return;
  if (!IsUnbound() && DataSource() && DataSource()->DataSet()) DataSource()->DataSet()->Edit();
  ApplyState(Value);
  if (FPosting) return;
  try {
    CommitData();
  } catch (...) {
    // A state the field refuses is not kept: the box shows the field again.
    FDataLink->Revert();
    throw;
  }
}

void TCustomDBCheckBoxX::CycleState() {
  if (!FDataLink->BeginValueEdit()) return;
  switch (FState) {
    case cbUnchecked: ApplyState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: ApplyState(cbUnchecked); break;
    case cbGrayed: ApplyState(cbChecked); break;
  }
  FDataLink->MarkModified();
  Invalidate();
}

void TCustomDBCheckBoxX::CommitData() {
  bool handled = false;
  if (OnUpdateData) {
    TFlagScopeX posting(FPosting);
    OnUpdateData(this, handled);
  }
  if (!handled) WriteStateToField();
}

void TCustomDBCheckBoxX::WriteStateToField() {
  if (IsUnbound()) {
    FDataLink->WriteFieldValue(FState == cbGrayed ? Variant::Null() : Variant(FState == cbChecked));
    return;
  }
  TField* field = FDataLink->FirstField();
  if (!field) return;
  if (FState == cbGrayed) field->Clear();
  else if (field->DataType() == ftBoolean) field->SetAsBoolean(FState == cbChecked);
  else field->SetText(FirstItem(FState == cbChecked ? FValueChecked : FValueUnchecked));
}

void TCustomDBCheckBoxX::Click() {
  CycleState();
}

void TCustomDBCheckBoxX::KeyPress(QChar& Key) {
  TButtonControl::KeyPress(Key);
  if (Key == u'\b' || Key == u' ') FDataLink->BeginValueEdit();
  else if (Key == QChar(27)) FDataLink->Revert();
}

void TCustomDBCheckBoxX::KeyDown(Word& Key, TShiftState Shift) {
  TButtonControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && !FSpaceDown) {
    FSpaceDown = true;
    Invalidate();
  }
}

void TCustomDBCheckBoxX::KeyUp(Word& Key, TShiftState Shift) {
  TButtonControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    CycleState();
  }
}

void TCustomDBCheckBoxX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_EXIT:
      try {
        FDataLink->UpdateRecord();
      } catch (...) {
        // A value the record refuses keeps the focus here until it is mended.
        SetFocus();
        throw;
      }
      TButtonControl::Dispatch(Message);
      return;
    case CM_GETDATALINK:
      Message.Result = LRESULT(FDataLink.get());
      return;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_ESCAPE && FModified) Message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!Focused() && !ComponentState().Contains(csDesigning)) {
        // A check box that cannot take the focus is not clicked either.
        if (CanFocus()) SetFocus();
        if (!Focused()) return;
      }
      TButtonControl::Dispatch(Message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseOver = Message.Msg == CM_MOUSEENTER;
      Invalidate();
      TButtonControl::Dispatch(Message);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      TButtonControl::Dispatch(Message);
      Invalidate();
      return;
    default: TButtonControl::Dispatch(Message);
  }
}

void TCustomDBCheckBoxX::PaintWindow(TCanvas* Canvas) {
  FCanvas->BeginPaintOn(Canvas, TPoint(0, 0), ClientRect());
  DrawControl();
  FCanvas->EndPaint();
}

void TCustomDBCheckBoxX::DrawControl() {
  if (FControlState.Contains(csPaintCopy)) {
    DrawContent(FieldState(), false, false, false);
    return;
  }
  const bool pressed = (FMouseOver && FControlState.Contains(csClicked)) || FSpaceDown;
  DrawContent(FState, Focused(), FMouseOver, pressed);
}

void TCustomDBCheckBoxX::DrawContent(TCheckBoxState State, bool Focused, bool Hot, bool Pressed) {
  FCanvas->Brush()->SetColor(Color());
  FCanvas->FillRect(ClientRect());
  const bool boxRight = UseRightToLeftAlignment() ? FAlignment == taRightJustify : FAlignment == taLeftJustify;
  TRect box, caption;
  PlaceCheckBoxRect(ClientRect(), boxRight ? 1 : 0, 1, box);
  if (boxRight) caption = TRect(0, 0, box.Left - 5, Height());
  else caption = TRect(box.Right + 5, 0, Width(), Height());
  DrawCaption(caption, Focused);
  DrawBox(box, State, Pressed, Hot, Focused);
}

void TCustomDBCheckBoxX::DrawBox(const TRect& Box, TCheckBoxState State, bool Pressed, bool Hot, bool Focused) {
  const bool designing = ComponentState().Contains(csDesigning);
  PaintEditButtonFace(FCanvas.get(), Box, Color(), fkCheckBoxX, Pressed ? 1 : 0, FFlat, Hot || Focused,
                      Enabled() || designing, Integer(State));
}

void TCustomDBCheckBoxX::DrawCaption(const TRect& Area, bool Focused) {
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetStyle(bsClear);
  TRect text = Area;
  DrawText(FCanvas.get(), Caption(), text, DT_CALCRECT | DT_SINGLELINE);
  const Integer height = text.Height();
  text = Bounds(Area.Left, (Height() - height) / 2, text.Width(), height);
  if (Enabled() || ComponentState().Contains(csDesigning)) {
    DrawText(FCanvas.get(), Caption(), text, DT_SINGLELINE);
  } else {
    // Disabled text is embossed: a highlight copy one pixel down-right under the grey one.
    const TColor color = FCanvas->Font()->Color();
    TRect shadow = text;
    OffsetRect(shadow, 1, 1);
    FCanvas->Font()->SetColor(clBtnHighlight);
    DrawText(FCanvas.get(), Caption(), shadow, DT_SINGLELINE);
    FCanvas->Font()->SetColor(clGrayText);
    DrawText(FCanvas.get(), Caption(), text, DT_SINGLELINE);
    FCanvas->Font()->SetColor(color);
  }
  if (!Focused) return;
  TRect focus = text;
  InflateRect(focus, 1, 1);
  focus.Bottom += 1;
  IntersectRect(focus, focus, ClientRect());
  DrawFocusRect(FCanvas.get(), focus);
}
