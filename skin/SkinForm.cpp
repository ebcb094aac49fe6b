// Attaching a skinned form: what it changes on the form and gives back, its frame metrics
// and caption buttons, and the hand-over of its controls to painters.
#include "skin/SkinForm.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Panels.h"
#include "platform/ui/PropertyAccess.h"
#include "platform/ui/Spin.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ToolBar.h"
#include "skin/SkinBars.h"
#include "skin/SkinBitButtons.h"
#include "skin/SkinButtons.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinContainers.h"
#include "skin/SkinEdits.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenu.h"
#include "skin/SkinMessages.h"
#include "skin/SkinObjImage.h"
#include "skin/SkinHeader.h"
#include "skin/SkinRangeControls.h"
#include "skin/SkinScrollbars.h"
#include "skin/SkinSizer.h"
#include "skin/SkinTabs.h"
#include "skin/SkinToolBar.h"
#include <QMenuBar>
#include <QPalette>
#include <QSizeGrip>
#include <QTimer>
#include <algorithm>

namespace {
Integer FrameSize(Integer Length, Integer FrameCount) { return Length / std::max(FrameCount, 1); }

// A grid: a control that publishes the colour of its fixed cells.
bool IsGrid(TControl* Control) {
  Integer colour = 0;
  auto* publisher = dynamic_cast<const IPublishedProperties*>(Control);
  return publisher && publisher->ReadOrdProperty(QStringLiteral("FixedColor"), colour);
}

void SetFixedColor(TControl* Grid, TColor Colour) { SetPropByText(Grid, QStringLiteral("FixedColor"), QString::number(Colour)); }

// A control other than a form whose frame carries a scroll bar (a scrolling window).
bool HasFrameScrollBars(TControl* Control) {
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  return windowed && !dynamic_cast<TCustomForm*>(Control) &&
         (windowed->ScrollBarVisible(SB_VERT) || windowed->ScrollBarVisible(SB_HORZ));
}

// The scroll-bar painter a child of an embedding container gets: a cover for a scroll-bar
// control, covers for the bars of a control that scrolls, none for others.
std::unique_ptr<TSkinControl> ScrollingPainter(TControl* Control) {
  if (dynamic_cast<TScrollBar*>(Control)) return std::make_unique<TSkinScControl>();
  if (dynamic_cast<TCustomMemo*>(Control) || dynamic_cast<TCustomListBox*>(Control) || IsGrid(Control) ||
      HasFrameScrollBars(Control))
    return std::make_unique<TSkinScrollbar>();
  return nullptr;
}
}  // namespace

TSkinForm::TSkinForm() : TComponent(nullptr), FCaptionFont(std::make_unique<TFont>()), FCaptionCache(std::make_unique<TBitmap>()) {}

TSkinForm::~TSkinForm() {
  FreeAllPainters();
  if (FControl) {
    if (FHooked) FControl->WindowProc = FSavedWindowProc;
    FControl->RemoveFreeNotification(this);
  }
}

void TSkinForm::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) {
    FControl = nullptr;
    FHooked = false;
    FSavedWindowProc = nullptr;
    if (FHoverTimer) FHoverTimer->stop();
    FLifeState = lsGone;
  }
}

Integer TSkinForm::MenuBarHeight() const { return FFrameSkinned && FControl ? FControl->MenuBarHeight() : 0; }

void TSkinForm::ReadWindowState() {
  if (!FControl) return;
  switch (FControl->WindowState()) {
    case wsMaximized: FWindowState = wkMaximised; break;
    case wsMinimized: FWindowState = wkMinimised; break;
    default: FWindowState = wkNormal; break;
  }
}

void TSkinForm::AttachToForm(TSkinData* Skin, TCustomForm* Form) {
  if (FControl) return;
  if (TSkinManage* manager = TSkinManage::Instance()) manager->MarkStarted();
  FControl = Form;
  FSkinData = Skin;
  Form->FreeNotification(this);
  FHoverTimer = std::make_unique<QTimer>();
  FHoverTimer->setInterval(250);
  QObject::connect(FHoverTimer.get(), &QTimer::timeout, [this] { HoverTimerTick(); });
  SetPropByText(Form, QStringLiteral("AutoScroll"), QStringLiteral("False"));
  // The frame can only become the skin's while the window is still to be shown, or when it
  // already draws its own: a shown window's frame kind never changes (it would end a modal loop).
  FFrameSkinned = Skin->SkinControls().Contains(xcMainMenu) && (!Form->Showing() || Form->FrameIsOurs());
  switch (Form->BorderStyle()) {
    case bsNone: FBorderKind = bkNoCaption; FCaptionButtonsAllowed = 0; break;
    case bsSizeable: FBorderKind = bkSizeable; FCaptionButtonsAllowed = cbSystemMenu | cbMinimise | cbMaximise; break;
    case bsSingle: FBorderKind = bkSingle; FCaptionButtonsAllowed = cbSystemMenu | cbMinimise | cbMaximise; break;
    case bsSizeToolWin: FBorderKind = bkSizeable; FCaptionButtonsAllowed = cbSystemMenu; break;
    case bsDialog: FBorderKind = bkDialog; FCaptionButtonsAllowed = cbSystemMenu; break;
    case bsToolWindow: FBorderKind = bkSingle; FCaptionButtonsAllowed = cbSystemMenu; break;
  }
  const String windowClass = Form->ClassName();
  if (windowClass == QStringLiteral("#32770") || windowClass == QStringLiteral("TMessageForm")) {
    FBorderKind = bkDialog;
    FIsDialogBox = true;
  }
  ReadWindowState();
  FCaptionFont->Assign(Form->Font());
  FCaptionFont->SetStyle({fsBold});
  FFormClientSize = {Form->ClientWidth(), Form->ClientHeight()};
  FSavedWindowProc = Form->WindowProc;
  Form->WindowProc = [this](TMessage& M) { FormWndProc(M); };
  FHooked = true;
  if (FFrameSkinned) {
    CaptionStyle(false);
    RebuildFrame();
  } else {
    FLifeState = lsSkinned;
  }
  FSavedColor = Form->Color();
  Form->SetColor(Skin->Model().ButtonFace);
}

void TSkinForm::CaptionStyle(bool Restore) {
  if (!FControl) return;
  FCaptionRestored = Restore;
  // A shown window keeps a plain frame of the layer's own; one not yet shown gets its native frame back.
  FControl->SetSelfDrawnFrame(!Restore);
}

void TSkinForm::RebuildFrame() {
  if (!FSkinData || FSkinData->SkinNotBuilt()) return;
  TSkinModel& m = FSkinData->Model();
  if (FBorderKind == bkNoCaption) {
    FLeftBorder = FTopBorder = FRightBorder = FBottomBorder = 0;
  } else {
    FTopBorder = FrameSize(m.Top->Image.Height(), m.Top->FrameCount);
    FLeftBorder = FrameSize(m.Left->Image.Width(), m.Left->FrameCount);
    FRightBorder = FrameSize(m.Right->Image.Width(), m.Right->FrameCount);
    FBottomBorder = FrameSize(m.Bottom->Image.Height(), m.Bottom->FrameCount);
  }
  RefreshCaptionButtons();
  for (const auto& button : m.CaptionButtons) {
    if ((button->Action == 3 || button->Action == 11) && button->Image.Empty() && !FSkinData->AppIcon().Empty()) {
      button->Image.Assign(const_cast<TBitmap*>(&FSkinData->AppIcon()));
      button->FrameCount = 1;
    }
    FCaptionButtons.push_back(std::make_unique<TWinSysButton>(this, button.get()));
  }
}

void TSkinForm::RefreshCaptionButtons() {
  for (const auto& b : FCaptionButtons)
    if (FHotObject == b.get()) FHotObject = nullptr;
  FCaptionButtons.clear();
}

void TSkinForm::StyleMenuBar(bool Skinned) {
  FMenuBarPainter.reset();
  QWidget* bar = FControl ? FControl->MenuBarWidget() : nullptr;
  if (!bar) return;
  if (!Skinned) {
    bar->setPalette(QPalette());
    bar->setAutoFillBackground(false);
    return;
  }
  const TSkinModel& m = FSkinData->Model();
  QPalette palette = bar->palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
    palette.setColor(role, ColorToQColor(m.Menubar));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
    palette.setColor(role, ColorToQColor(m.MenuBarText));
  palette.setColor(QPalette::Highlight, ColorToQColor(m.Hilight));
  palette.setColor(QPalette::HighlightedText, ColorToQColor(m.HilightText));
  bar->setPalette(palette);
  bar->setAutoFillBackground(true);
  if (auto* menuBar = qobject_cast<QMenuBar*>(bar)) FMenuBarPainter = std::make_unique<TSkinMenuBar>(menuBar, this);
}

void TSkinForm::TidyMenu() {
  TMainMenu* menu = FControl ? FControl->Menu() : nullptr;
  if (!menu) return;
  for (Integer i = 0; i < menu->Items()->Count(); ++i) TidySeparators(menu->Items()->Items(i));
}

void TSkinForm::FinishAttach() {
  if (!FControl) return;
  FAttachFinished = true;
  SkinControls(FControl);
  if (FLifeState == lsAttaching) {
    // The bar is made again from the tidied menu; it is styled when the form has made it.
    if (FFrameSkinned && FControl->Menu()) FControl->Perform(CM_MENUCHANGED, 0, LPARAM(static_cast<TMenu*>(FControl->Menu())));
    else StyleMenuBar(true);
    if (!FControl->Parent() && FBorderKind != bkNoCaption && FWindowState != wkMinimised) {
      FLifeState = lsResizing;
      ResizeToSkin(false);
      FLifeState = lsSkinned;
    }
    MakeRegion();
  }
  FLifeState = lsSkinned;
  if (FActive) FHoverTimer->start();
  InvalidateFrame();
}

void TSkinForm::FitDialogToCaption(Integer& Width) {
  FDialogFitted = true;
  const TDataSkinTitle& title = *FSkinData->Model().Title;
  TBitmap measure(1, 1);
  measure.Canvas()->Font()->Assign(FCaptionFont.get());
  const Integer needed = title.TextShift() + measure.Canvas()->TextWidth(FControl->Caption()) + title.TextRightClip();
  if (Width >= needed) return;
  const Integer shift = (needed - Width) / 2;
  for (Integer i = 0; i < FControl->ControlCount(); ++i) {
    TControl* child = FControl->Controls(i);
    child->SetLeft(child->Left() + shift);
  }
  Width = needed;
}

void TSkinForm::ResizeToSkin(bool ReApplying) {
  if (!FControl || !FFrameSkinned) return;
  // The first fitting keeps the client area the form was made with; a re-apply keeps the current one.
  const Integer clientWidth = ReApplying ? FControl->ClientWidth() : FFormClientSize.cx;
  const Integer clientHeight = ReApplying ? FControl->ClientHeight() : FFormClientSize.cy;
  const TRect insets(FLeftBorder, FTopBorder, FRightBorder, FBottomBorder);
  FControl->SetFrameInsets(&insets);
  if (FWindowState == wkMaximised) return;
  Integer width = clientWidth + FLeftBorder + FRightBorder;
  const Integer height = clientHeight + FTopBorder + FBottomBorder + MenuBarHeight();
  if (FIsDialogBox && !FDialogFitted && !ReApplying) FitDialogToCaption(width);
  FControl->SetBounds(FControl->Left(), FControl->Top(), width, height);
}

void TSkinForm::ReApply() {
  if (!FControl) return;
  const TSkinModel& m = FSkinData->Model();
  FControl->SetColor(m.ButtonFace);
  for (Integer i = 0; i < FControl->ComponentCount(); ++i) {
    TComponent* owned = FControl->Components(i);
    if (auto* form = dynamic_cast<TCustomForm*>(owned)) form->SetColor(m.ButtonFace);
    else if (auto* grid = dynamic_cast<TControl*>(owned); grid && IsGrid(grid)) SetFixedColor(grid, m.ButtonFace);
  }
  for (const auto& painter : FPainters)
    if (painter->LifeState() != TSkinControl::lsGone) painter->SkinChanged();
  for (const auto& sizer : FSizeBoxes) sizer->SkinChanged();
  FLifeState = lsReApplying;
  MeasureMenus(true);
  if (FFrameSkinned) {
    StyleMenuBar(true);
    ResizeToSkin(true);
    MakeRegion();
    InvalidateFrame();
  }
  FLifeState = lsSkinned;
}

void TSkinForm::Detach() {
  if (!FControl) return;
  FHoverTimer->stop();
  FSystemMenuPopup.reset();
  if (FHooked) {
    FControl->WindowProc = FSavedWindowProc;
    FHooked = false;
  }
  FreeAllPainters();
  MeasureMenus(false);
  FControl->SetColor(FSavedColor);
  if (FFrameSkinned) {
    StyleMenuBar(false);
    const Integer clientWidth = FControl->ClientWidth(), clientHeight = FControl->ClientHeight();
    FControl->SetWindowRgn(nullptr);
    FHasRegion = false;
    CaptionStyle(true);
    FControl->SetFrameInsets(nullptr);
    if (FWindowState != wkMaximised) {
      const Integer frameWidth = FControl->Width() - FControl->ClientWidth();
      const Integer frameHeight = FControl->Height() - FControl->ClientHeight();
      FControl->SetBounds(FControl->Left(), FControl->Top(), clientWidth + frameWidth, clientHeight + frameHeight);
    }
    FCaptionCache = std::make_unique<TBitmap>();
  }
  FControl->Invalidate();
  FControl->RemoveFreeNotification(this);
  FControl = nullptr;
}

// ---- painters

bool TSkinForm::AddPainter(TSkinControl* Painter) {
  if (std::any_of(FPainters.begin(), FPainters.end(), [&](const auto& p) { return p.get() == Painter; })) return true;
  FPainters.emplace_back(Painter);
  return false;
}

TSkinControl* TSkinForm::FindPainter(const TControl* Control) const {
  for (const auto& p : FPainters)
    if (p->Control() == Control && p->LifeState() != TSkinControl::lsGone) return p.get();
  return nullptr;
}

void TSkinForm::FreeDeadPainters() {
  std::erase_if(FPainters, [](const auto& p) { return p->LifeState() == TSkinControl::lsGone; });
}

void TSkinForm::FreeAllPainters() {
  for (const auto& p : FPainters)
    if (p->LifeState() != TSkinControl::lsGone) p->Detach();
  // The last painter attached sits first in the WindowProc chain: it goes first.
  while (!FPainters.empty()) FPainters.pop_back();
  FSizeBoxes.clear();
}

void TSkinForm::Attach(std::unique_ptr<TSkinControl> Painter, TControl* Control, bool Recolour) {
  TSkinControl* painter = Painter.release();
  AddPainter(painter);
  painter->AttachControl(Control, this, FSkinData, Recolour);
}

void TSkinForm::AttachToChildren(TWinControl* Container,
                                 const std::function<std::unique_ptr<TSkinControl>(TControl*)>& MakePainter) {
  if (!Container) return;
  for (Integer i = 0; i < Container->ControlCount(); ++i) {
    TControl* child = Container->Controls(i);
    if (FindPainter(child)) continue;
    if (std::unique_ptr<TSkinControl> painter = MakePainter(child)) Attach(std::move(painter), child, false);
  }
}


void TSkinForm::WalkContainer(TWinControl* Container) {
  for (Integer i = 0; i < Container->ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(Container->Components(i))) DispatchControl(control, Container);
}

void TSkinForm::DispatchChildren(TWinControl* Parent) {
  for (Integer i = 0; i < Parent->ControlCount(); ++i) {
    TControl* child = Parent->Controls(i);
    DispatchControl(child, FControl);
    if (auto* container = dynamic_cast<TWinControl*>(child)) DispatchChildren(container);
  }
}

void TSkinForm::SkinControls(TWinControl* Container) {
  FreeDeadPainters();
  WalkContainer(Container);
  if (Container == FControl) MeasureMenus(true);
  // Controls the form does not own are still on it.
  DispatchChildren(Container);
  DispatchSizeBoxes();
}

void TSkinForm::DispatchSizeBoxes() {
  if (!FControl || !FControl->HandleAllocated()) return;
  std::erase_if(FSizeBoxes, [](const auto& sizer) { return !sizer->Window(); });
  for (QSizeGrip* grip : FControl->Handle()->findChildren<QSizeGrip*>()) {
    const bool painted = std::any_of(FSizeBoxes.begin(), FSizeBoxes.end(), [&](const auto& s) { return s->Window() == grip; });
    if (!painted && IsSizeBox(grip)) FSizeBoxes.push_back(std::make_unique<TSkinSizer>(grip, this));
  }
}

bool TSkinForm::Skin3rdDispatch(TControl* Control, TWinControl* Container) {
  const String prefix = Control->ClassName().toLower() + QLatin1Char('=');
  String kind;
  bool found = false;
  TStrings* lines = FSkinData->Skin3rd();
  for (Integer i = 0; i < lines->Count() && !found; ++i) {
    const String line = lines->Strings(i).toLower();
    if (line.startsWith(prefix)) {
      kind = line.mid(line.indexOf(QLatin1Char('=')) + 1, 50);
      found = true;
    }
  }
  if (!found) return false;
  const TSkinControlTypes types = FSkinData->SkinControls();
  if (kind == QStringLiteral("panel") && types.Contains(xcPanel)) {
    SetPropByText(Control, QStringLiteral("Transparent"), QStringLiteral("True"));
    Attach(std::make_unique<TSkinBox>(), Control, true);
  } else if (kind == QStringLiteral("button") && types.Contains(xcButton)) {
    Attach(std::make_unique<TSkinButton>(), Control, false);
  } else if (kind == QStringLiteral("bitbtn") && types.Contains(xcButton)) {
    Attach(std::make_unique<TSkinBitButton>(), Control, false);
  } else if (kind == QStringLiteral("speedbutton") && types.Contains(xcSpeedButton)) {
    Attach(std::make_unique<TSkinSpeedButton>(), Control, false);
  } else if (kind == QStringLiteral("trackbar") && types.Contains(xcButton)) {
    SetPropByText(Control, QStringLiteral("Transparent"), QStringLiteral("True"));
    Attach(std::make_unique<TSkinTrackBar>(), Control, false);
  } else if (kind == QStringLiteral("tab") && types.Contains(xcTab) && FSkinData->Model().Tabs) {
    Attach(std::make_unique<TSkinTab>(), Control, false);
  } else if (kind == QStringLiteral("scrollbar") && types.Contains(xcScrollbar)) {
    Attach(std::make_unique<TSkinScrollbar>(), Control, false);
    if (auto* container = dynamic_cast<TWinControl*>(Control)) WalkContainer(container);
  } else if (kind == QStringLiteral("checkbox") && types.Contains(xcCheckBox)) {
    Attach(std::make_unique<TSkinCheckBox>(), Control, false);
  } else if (kind == QStringLiteral("radiobutton") && types.Contains(xcRadioButton)) {
    Attach(std::make_unique<TSkinRadioButton>(), Control, false);
  } else if (kind == QStringLiteral("progress") && types.Contains(xcProgress)) {
    Attach(std::make_unique<TSkinProgress>(), Control, false);
  } else if (kind == QStringLiteral("combobox") && types.Contains(xcCombo)) {
    Attach(std::make_unique<TSkinComBox>(), Control, false);
  } else if (kind == QStringLiteral("edit") && types.Contains(xcEdit)) {
    // Only an edit with a border has one to redraw.
    if (auto* edit = dynamic_cast<TWinControl*>(Control); edit && edit->BorderStyle() != bsNone)
      Attach(std::make_unique<TSkinEdit>(), Control, false);
  } else if (kind == QStringLiteral("groupbox") && types.Contains(xcGroupBox)) {
    Attach(std::make_unique<TSkinGroupBox>(), Control, true);
  } else if (kind == QStringLiteral("embedscrollbar") && types.Contains(xcScrollbar)) {
    AttachToChildren(dynamic_cast<TWinControl*>(Control), ScrollingPainter);
  } else if (kind == QStringLiteral("radiogroup") && types.Contains(xcGroupBox)) {
    if (types.Contains(xcRadioButton))
      AttachToChildren(dynamic_cast<TWinControl*>(Control), [](TControl*) { return std::make_unique<TSkinObjImage>(2); });
    Attach(std::make_unique<TSkinGroupBox>(), Control, true);
  } else if (kind == QStringLiteral("checkgroup") && types.Contains(xcPanel)) {
    if (types.Contains(xcRadioButton))
      AttachToChildren(dynamic_cast<TWinControl*>(Control), [](TControl*) { return std::make_unique<TSkinObjImage>(1); });
    if (types.Contains(xcGroupBox)) Attach(std::make_unique<TSkinGroupBox>(), Control, true);
  } else if (kind == QStringLiteral("container")) {
    if (auto* container = dynamic_cast<TWinControl*>(Control))
      for (Integer i = 0; i < container->ControlCount(); ++i) {
        TControl* child = container->Controls(i);
        if (!FindPainter(child)) Skin3rdDispatch(child, Container);
      }
  }
  return true;
}

void TSkinForm::DispatchControl(TControl* Control, TWinControl* Container) {
  if (!FSkinData || Control->Tag() == FSkinData->DisableTag() || !Control->Parent()) return;
  if (FindPainter(Control) || Control->Perform(SKIN_ISSKINNED) == 1) return;
  if (FSkinData->OnSkinControl) {
    TComponent* chosen = nullptr;
    FSkinData->OnSkinControl(this, FSkinData, Container, Control, Control->ClassName().toUpper(), chosen);
    if (auto* painter = dynamic_cast<TSkinControl*>(chosen)) {
      // A painter handed back again is in the list already: it stays attached where it is.
      if (!AddPainter(painter)) painter->AttachControl(Control, this, FSkinData, painter->Recolour());
      if (auto* panel = dynamic_cast<TCustomPanel*>(Control)) WalkContainer(panel);
      return;
    }
  }
  if (Skin3rdDispatch(Control, Container)) return;
  const String upper = Control->ClassName().toUpper();
  if (upper == QStringLiteral("TDBCOMBOBOXX") || upper == QStringLiteral("TFRDESIGNERPAGE") || upper == QStringLiteral("TFRPBOX")) return;
  const TSkinControlTypes types = FSkinData->SkinControls();
  const TDataSkinButton& buttons = *FSkinData->Model().Buttons;
  const bool tabsSkinned = types.Contains(xcTab) && FSkinData->Model().Tabs;
  if (dynamic_cast<TCustomTabControl*>(Control)) {
    if (tabsSkinned) Attach(std::make_unique<TSkinTab>(), Control, false);
  } else if (dynamic_cast<TTabSheet*>(Control)) {
    if (tabsSkinned) Attach(std::make_unique<TSkinTabSheet>(), Control, false);
  } else if (dynamic_cast<TCustomCheckBox*>(Control)) {
    // A skin without the element leaves the control as it draws itself.
    if (types.Contains(xcCheckBox) && !buttons.CheckButton.Empty()) Attach(std::make_unique<TSkinCheckBox>(), Control, false);
  } else if (dynamic_cast<TCustomUpDown*>(Control)) {
    if (types.Contains(xcSpin)) Attach(std::make_unique<TSkinUpDown>(), Control, false);
  } else if (dynamic_cast<TTrackBar*>(Control)) {
    if (types.Contains(xcTrackBar)) Attach(std::make_unique<TSkinTrackBar>(), Control, false);
  } else if (dynamic_cast<THeaderControl*>(Control)) {
    if (types.Contains(xcScrollbar)) Attach(std::make_unique<TSkinHeader>(), Control, false);
  } else if (dynamic_cast<TRadioButton*>(Control)) {
    if (types.Contains(xcRadioButton) && !buttons.RadioButton.Empty()) Attach(std::make_unique<TSkinRadioButton>(), Control, false);
  } else if (dynamic_cast<TStatusBar*>(Control)) {
    if (types.Contains(xcStatusBar)) Attach(std::make_unique<TSkinStatusBar>(), Control, false);
  } else if (dynamic_cast<TProgressBar*>(Control)) {
    if (types.Contains(xcProgress) && FSkinData->Model().Progress) Attach(std::make_unique<TSkinProgress>(), Control, false);
  } else if (dynamic_cast<TToolBar*>(Control)) {
    if (types.Contains(xcToolbar)) Attach(std::make_unique<TSkinToolBar>(), Control, false);
  } else if (dynamic_cast<TScrollBar*>(Control)) {
    if (types.Contains(xcScrollbar)) Attach(std::make_unique<TSkinScControl>(), Control, false);
  } else if (dynamic_cast<TCustomComboBox*>(Control)) {
    const TSkinModel& m = FSkinData->Model();
    if (types.Contains(xcCombo) && m.ComboButton && m.ComboButton->Style == 2) Attach(std::make_unique<TSkinComBox>(), Control, false);
  } else if (dynamic_cast<TCustomMemo*>(Control) || dynamic_cast<TCustomListBox*>(Control)) {
    // Memos and lists are skinned through their scroll bars, not as edits.
    if (types.Contains(xcScrollbar)) Attach(std::make_unique<TSkinScrollbar>(), Control, false);
  } else if (IsGrid(Control)) {
    // A grid's bars may only appear later (records added, the grid narrowed): it is covered anyway.
    if (!types.Contains(xcScrollbar)) return;
    Attach(std::make_unique<TSkinScrollbar>(), Control, false);
    SetFixedColor(Control, FSkinData->Model().ButtonFace);
  } else if (HasFrameScrollBars(Control)) {
    if (types.Contains(xcScrollbar)) Attach(std::make_unique<TSkinScrollbar>(), Control, false);
  } else if (dynamic_cast<TCustomEdit*>(Control) || dynamic_cast<TSpinEdit*>(Control)) {
    // A spin edit is an edit whose painter also skins its buttons.
    if (types.Contains(xcEdit)) Attach(std::make_unique<TSkinEdit>(), Control, false);
  } else if (dynamic_cast<TBitBtn*>(Control)) {
    if (types.Contains(xcButton) && !buttons.Image.Empty()) Attach(std::make_unique<TSkinBitButton>(), Control, false);
  } else if (dynamic_cast<TToolButton*>(Control)) {
    // Tool buttons are drawn by their tool bar's painter.
  } else if (dynamic_cast<TSpeedButton*>(Control)) {
    if (types.Contains(xcSpeedButton) && !buttons.Image.Empty()) Attach(std::make_unique<TSkinSpeedButton>(), Control, false);
  } else if (dynamic_cast<TButton*>(Control)) {
    if (types.Contains(xcButton) && !buttons.Image.Empty()) Attach(std::make_unique<TSkinButton>(), Control, false);
  } else if (auto* groupBox = dynamic_cast<TCustomGroupBox*>(Control)) {
    if (!types.Contains(xcPanel)) return;
    Attach(std::make_unique<TSkinGroupBox>(), Control, true);
    WalkContainer(groupBox);
  } else if (dynamic_cast<TCustomLabel*>(Control)) {
    SetPropByText(Control, QStringLiteral("Transparent"), QStringLiteral("True"));
  } else if (auto* panel = dynamic_cast<TCustomPanel*>(Control)) {
    if (!types.Contains(xcPanel)) return;
    Attach(std::make_unique<TSkinBox>(), Control, true);
    WalkContainer(panel);
  } else if (auto* form = dynamic_cast<TCustomForm*>(Control)) {
    Attach(std::make_unique<TSkinBox>(), Control, true);
    WalkContainer(form);
  }
}
