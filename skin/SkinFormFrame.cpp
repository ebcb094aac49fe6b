// The skinned form's message handling: its frame, caption and caption buttons painted from
// the skin's border images, the window region cut where the borders are magenta, the frame's
// hit tests and clicks, and the window commands the buttons stand for.
#include "platform/rtl/Clock.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Menus.h"
#include "skin/SkinButtons.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinImage.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenu.h"
#include "skin/SkinMenuGlyphs.h"
#include "skin/SkinMessages.h"
#include <QApplication>
#include <QTimer>
#include <optional>
#include <utility>

namespace {
constexpr TColor Magenta = TColor(0xFF00FF);
bool IconAction(Integer Action) { return Action == 3 || Action == 11; }
// Put around the window text in the caption.
const auto CaptionPrefix = QStringLiteral("  ");
const auto CaptionSuffix = QStringLiteral(" ");
}  // namespace

TPoint TSkinForm::WindowPoint(TPoint ScreenPoint) const {
  if (!FControl) return ScreenPoint;
  const TPoint c = FControl->ScreenToClient(ScreenPoint);
  const TRect inWindow = FControl->ClientRectInWindow();
  return {c.X + inWindow.Left, c.Y + inWindow.Top};
}

void TSkinForm::InvalidateFrame() {
  if (FControl && FControl->HandleAllocated()) FControl->Handle()->update();
}

void TSkinForm::FormWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case SKIN_FINISHATTACH: FinishAttach(); return;
    case SKIN_ISSKINNED: Message.Result = 1; return;
    case SKIN_REAPPLY: ReApply(); return;
    case CM_DEACTIVATE:
      // The mouse is over no button of an inactive form.
      if (TSkinButton* hot = std::exchange(FHotButton, nullptr)) TSkinControl::SendMouseLeave(hot);
      break;
    case WM_MEASUREITEM:
      if (MeasureItemMessage(Message)) return;
      break;
    case CM_MENUCHANGED:
      // The form makes its bar again: from the tidied menu, and skinned once made.
      FMenuBarPainter.reset();
      if (FFrameSkinned) TidyMenu();
      FSavedWindowProc(Message);
      if (FFrameSkinned && FAttachFinished && FLifeState != lsDestroying) StyleMenuBar(true);
      return;
    case WM_NCPAINT:
      if (FLifeState == lsAttaching) {
        Message.Result = 0;
        return;
      }
      break;
    default: break;
  }
  if (!FFrameSkinned || !FrameMessage(Message)) FSavedWindowProc(Message);
}

bool TSkinForm::FrameMessage(TMessage& Message) {
  const auto passOn = [&] { FSavedWindowProc(Message); };
  if (Message.Msg != WM_SYSCOMMAND) ReadWindowState();
  switch (Message.Msg) {
    case WM_SIZE:
      passOn();
      ReadWindowState();
      if (FWindowState != wkMinimised && (FLifeState == lsSkinned || FLifeState == lsReApplying)) MakeRegion();
      return true;
    case CM_ACTIVATE:
    case CM_DEACTIVATE:
      FActive = Message.Msg == CM_ACTIVATE;
      if (FActive) FHoverTimer->start();
      else FHoverTimer->stop();
      passOn();
      InvalidateFrame();
      return true;
    case WM_SYSCOMMAND: SysCommand(Message.WParam); passOn(); return true;
    case CM_TEXTCHANGED: passOn(); InvalidateFrame(); return true;
    case SKIN_PAINTFRAME: InvalidateFrame(); return true;
    default: break;
  }
  if (FWindowState == wkMinimised || FLifeState == lsAttaching) return false;
  switch (Message.Msg) {
    case WM_NCHITTEST: {
      passOn();
      if (Message.Result != HTNOWHERE && Message.Result != HTCAPTION) return true;
      const TPoint p = WindowPoint(TWMNCHitTest{Message}.Pos());
      if (p.Y > 3) {
        Message.Result = HTCAPTION;
        if (p.Y > FTopBorder && MenuBarHeight() > 0) Message.Result = HTMENU;
      }
      return true;
    }
    case WM_NCPAINT:
      if (FBorderKind != bkNoCaption) PaintFrame(reinterpret_cast<TCanvas*>(Message.WParam));
      Message.Result = 0;
      return true;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: NcMouse(Message); return true;
    default: return false;
  }
}

// ---- caption buttons

bool TSkinForm::CaptionButtonVisible(size_t Index) const {
  const TDataSkinSysButton& b = *FCaptionButtons.at(Index)->SkinButton;
  const bool maximised = FWindowState == wkMaximised;
  const bool sysMenu = FCaptionButtonsAllowed & cbSystemMenu, maxBox = FCaptionButtonsAllowed & cbMaximise,
             minBox = FCaptionButtonsAllowed & cbMinimise;
  const bool dialogFrame = FBorderKind == bkDialog && !FIsDialogBox;
  auto common = [&](Integer v, bool second) -> std::optional<bool> {
    switch (v) {
      case 1: return maximised;
      case 2: return !maximised;
      case 3: return FActive;
      case 4: return !FActive;
      case 6: return second ? maxBox : maxBox && sysMenu;
      case 7: return !maxBox;
      case 8: return second ? minBox : minBox && sysMenu;
      case 9: return !minBox;
      case 200: return dialogFrame;
      default: return std::nullopt;
    }
  };
  bool first;
  if (b.Visibility == 0) first = b.Action != 0 || sysMenu;
  else if (b.Visibility == -1) first = true;  // such a button is ruled by Visibility1 alone
  else if (auto v = common(b.Visibility, false)) first = *v;
  else if (b.Visibility == 100) first = false;  // no MDI frames here
  else if (b.Visibility >= 201 && b.Visibility <= 999) first = true;
  else if (b.Visibility >= 1000 && b.Visibility <= 2000)
    first = FControl && FControl->Perform(SKIN_BUTTONVISIBLE, WPARAM(b.Visibility), LPARAM(b.Action)) > 0;
  else first = false;
  bool second;
  if (b.Visibility1 == 0) second = true;
  else if (b.Visibility1 == 100) second = first;
  else if (auto v = common(b.Visibility1, true)) second = *v;
  else second = b.Visibility1 >= 201 && b.Visibility1 <= 2000;
  if (!first || !second) return false;
  if (b.Action == 1 && !maxBox) return false;
  if (b.Action == 2 && !minBox) return false;
  if ((IconAction(b.Action) || b.Action == 12) && FBorderKind == bkDialog) return false;
  return true;
}

void TSkinForm::LayoutCaptionButtons(Integer W) {
  const TSkinModel& m = FSkinData->Model();
  FCaptionClipX = 0;
  for (size_t i = 0; i < FCaptionButtons.size(); ++i) {
    TWinSysButton& button = *FCaptionButtons[i];
    const TDataSkinSysButton& b = *button.SkinButton;
    button.Visible = CaptionButtonVisible(i);
    button.Rect = TRect();
    if (!button.Visible || b.Image.Empty()) continue;
    const Integer bw = b.Image.Width() / std::max(b.FrameCount, 1), bh = b.Image.Height();
    TPoint at{0, 0};
    switch (b.Align) {
      case 0: at = {b.Xcoord, b.Ycoord}; break;
      case 1: at = {W - b.Xcoord, b.Ycoord}; break;
      case 2:
      case 8: at = {FCaptionTextRect.Left - bw - b.Xcoord, b.Ycoord}; break;
      case 3:
      case 9: at = {FCaptionTextRect.Right + b.Xcoord, b.Ycoord}; break;
      case 100:
        at = {W - b.Xcoord - FRightBorder - (m.MenuBar ? m.MenuBar->LeftWidth : 0),
              FTopBorder + (MenuBarHeight() - bh) / 2};
        break;
      default: break;
    }
    button.Rect = Bounds(at.X, at.Y, bw, bh);
    if (b.Align == 1 && at.X > FCaptionClipX) FCaptionClipX = at.X;
  }
}

void TSkinForm::PaintCaptionButtons(TCanvas* Canvas) {
  for (const auto& button : FCaptionButtons) {
    const TDataSkinSysButton& b = *button->SkinButton;
    if (!button->Visible || b.Image.Empty() || b.Align == 100) continue;
    if (IconAction(b.Action)) {
      DrawMaskedBitmap(Canvas, button->Rect, b.Image, Magenta);
      continue;
    }
    Integer frame = FActive || b.FrameCount < 4 ? 1 : 4;
    if (FActive && button->State != TNCObject::stNormal && button->State <= b.FrameCount) frame = button->State;
    DrawSkinFrame(Canvas, button->Rect, b.Image, frame, std::max(b.FrameCount, 1), true);
  }
}

TWinSysButton* TSkinForm::ButtonAt(TPoint WindowPoint) const {
  for (const auto& button : FCaptionButtons)
    if (button->Visible && button->SkinButton->Action >= 0 && PtInRect(button->Rect, WindowPoint)) return button.get();
  return nullptr;
}

void TSkinForm::ButtonAction(const TWinSysButton& Button, TPoint ScreenPoint) {
  const Integer action = Button.SkinButton->Action;
  switch (action) {
    case 0:
      FHoverTimer->stop();
      PostMessage(FControl, WM_SYSCOMMAND, SC_CLOSE);
      return;
    case 1:
    case 22: Maximise(); return;
    case 2:
    case 23: Minimise(); return;
    case 3:
    case 11:
    case 12: SystemMenuAt({ScreenPoint.X + 1, ScreenPoint.Y + 1}); return;
    case 7: case 8: case 9: case 60: case 61: case 62: return;  // the buttons of a maximised MDI child
    default: PostMessage(FControl, SKIN_CAPTIONACTION, WPARAM(action), 0); return;
  }
}

void TSkinForm::Maximise() {
  if (FWindowState == wkMaximised) {
    Restore();
    return;
  }
  FWindowState = wkMaximised;
  PostMessage(FControl, WM_SYSCOMMAND, SC_MAXIMIZE);
  FHotObject = nullptr;
}

void TSkinForm::Minimise() {
  if (FWindowState == wkMinimised) {
    Restore();
    return;
  }
  FWindowState = wkMinimised;
  PostMessage(FControl, WM_SYSCOMMAND, SC_MINIMIZE);
}

void TSkinForm::Restore() {
  FWindowState = wkNormal;
  PostMessage(FControl, WM_SYSCOMMAND, SC_RESTORE);
}

void TSkinForm::SysCommand(WPARAM Command) {
  // The layer leaves window commands to whoever sends them: the skinned frame carries them out.
  switch (Command & 0xFFF0) {
    case SC_MINIMIZE: FWindowState = wkMinimised; FControl->SetWindowState(wsMinimized); break;
    case SC_MAXIMIZE: FWindowState = wkMaximised; FControl->SetWindowState(wsMaximized); break;
    case SC_RESTORE: FWindowState = wkNormal; FControl->SetWindowState(wsNormal); break;
    case SC_CLOSE: FControl->Close(); break;
    default: break;
  }
}

void TSkinForm::SystemMenuAt(TPoint ScreenPoint) {
  const Cardinal now = GetTickCount();
  if (FLastSysMenuTick != 0 && now - FLastSysMenuTick <= Cardinal(QApplication::doubleClickInterval())) {
    // A second request within the double-click time: a double click on the icon closes.
    if (FHotObject) {
      FHoverTimer->stop();
      PostMessage(FControl, WM_CLOSE);
    }
    return;
  }
  FLastSysMenuTick = now;
  FSystemMenuPopup = std::make_unique<TPopupMenu>(nullptr);
  FSystemMenuPopup->SetTag(33333);
  FSystemMenuPopup->SetImages(SystemMenuGlyphs());
  struct TEntry { const char* Caption; WPARAM Command; bool Enabled; Integer Glyph; };
  const bool maxBox = FCaptionButtonsAllowed & cbMaximise, minBox = FCaptionButtonsAllowed & cbMinimise;
  for (const TEntry& e : {TEntry{" Restore ", SC_RESTORE, FWindowState != wkNormal, 0},
                          TEntry{" Maximize ", SC_MAXIMIZE, maxBox && FWindowState != wkMaximised, 1},
                          TEntry{" Minimize ", SC_MINIMIZE, minBox && FWindowState != wkMinimised, 2},
                          TEntry{"-", 0, true, -1}, TEntry{" Close ", SC_CLOSE, true, 3}}) {
    auto* item = new TMenuItem(FSystemMenuPopup.get());
    item->SetCaption(QString::fromLatin1(e.Caption));
    item->SetEnabled(e.Enabled);
    item->SetImageIndex(e.Glyph);
    if (e.Command == SC_CLOSE) item->SetShortCut(ShortCut(Word(VK_F1 + 3), {ssAlt}));
    if (e.Command) {
      TCustomForm* form = FControl;
      const WPARAM command = e.Command;
      item->OnClick = [form, command](TObject*) { PostMessage(form, WM_SYSCOMMAND, command); };
    }
    FSystemMenuPopup->Items()->Add(item);
    SetMeasuring(item, true);
  }
  TSkinManage* manager = TSkinManage::Instance();
  if (manager) manager->SetPopupKind(TSkinManage::pkSystemMenu);
  FSystemMenuPopup->Popup(ScreenPoint.X, ScreenPoint.Y);
  if (manager) manager->SetPopupKind(TSkinManage::pkPopup);
}

void TSkinForm::NcMouse(TMessage& Message) {
  const TPoint screen = LParamToPoint(Message.LParam);
  TWinSysButton* button = ButtonAt(WindowPoint(screen));
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
      if (!FActive) break;
      if (button) {
        button->Hover();
        Message.Result = 0;
        return;
      }
      if (FHotObject) FHotObject->Leave();
      break;
    case WM_NCLBUTTONDOWN:
      if (button) {
        if (!FActive) FControl->Handle()->activateWindow();
        button->Press();
        return;
      }
      // A maximised window is not dragged by its caption.
      if (FWindowState == wkMaximised && FActive && Message.WParam == WPARAM(HTCAPTION)) Message.WParam = HTMENU;
      break;
    case WM_NCLBUTTONUP:
      if (button) {
        if (button == FHotObject) {
          button->Release();
          ButtonAction(*button, screen);
        }
        return;
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (button) {
        if (IconAction(button->SkinButton->Action)) {
          FHoverTimer->stop();
          PostMessage(FControl, WM_SYSCOMMAND, SC_CLOSE);
        }
        return;
      }
      if (FWindowState != wkNormal) {
        Restore();
        return;
      }
      if (FCaptionButtonsAllowed & cbMaximise) {
        Maximise();
        return;
      }
      break;
    case WM_NCRBUTTONDOWN:
      if (Message.WParam == WPARAM(HTCAPTION)) {
        SystemMenuAt(screen);
        return;
      }
      break;
    default: break;
  }
  FSavedWindowProc(Message);
}

void TSkinForm::HoverTimerTick() {
  if (!FControl || !FHotObject) return;
  if (!PtInRect(FHotObject->Rect, WindowPoint(GetCursorPos()))) FHotObject->Leave();
}

// ---- frame painting

std::unique_ptr<TBitmap> TSkinForm::RenderBorderPart(const TDataSkinBorder& Border, TSize Size, bool Vertical) const {
  if (Size.cx <= 0 || Size.cy <= 0 || Border.Image.Empty()) return nullptr;
  const Integer frames = std::max(Border.FrameCount, 1);
  const Integer frame = FActive || frames == 1 ? 1 : 2;
  return BuildSkinImage(TRect(0, 0, Size.cx, Size.cy), Border.Image, Border.Margins(), frame, frames, Border.Tile != 1, Vertical);
}

void TSkinForm::PaintFrame(TCanvas* Canvas) {
  if (!Canvas || !FControl || (FLifeState != lsSkinned && FLifeState != lsReApplying) || FBorderKind == bkNoCaption) return;
  try {
    const TSkinModel& m = FSkinData->Model();
    const Integer W = FControl->Width(), H = FControl->Height();
    const auto left = RenderBorderPart(*m.Left, {FLeftBorder, H}, false);
    const auto right = RenderBorderPart(*m.Right, {FRightBorder, H}, false);
    const auto bottom = RenderBorderPart(*m.Bottom, {W - FLeftBorder - FRightBorder, FBottomBorder}, true);
    if (left) Canvas->Draw(0, 0, left.get());
    if (right) Canvas->Draw(W - FRightBorder, 0, right.get());
    if (bottom) Canvas->Draw(FLeftBorder, H - FBottomBorder, bottom.get());
    PaintCaption(Canvas, W, left.get(), right.get());
    if (MenuBarHeight() > 0 && !FControl->MenuBarWidget()) {
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(m.ButtonFace);
      Canvas->FillRect(TRect(FLeftBorder, FTopBorder, W - FRightBorder, FTopBorder + MenuBarHeight()));
    }
  } catch (...) {
    // A frame that cannot be drawn stays as it was; the window keeps working.
  }
}

void TSkinForm::PaintCaption(TCanvas* Canvas, Integer W, const TBitmap* LeftPart, const TBitmap* RightPart) {
  if (FTopBorder <= 0 || W <= 0) return;
  const TSkinModel& m = FSkinData->Model();
  const TDataSkinTitle& title = *m.Title;
  FCaptionCache = std::make_unique<TBitmap>(W, FTopBorder);
  TCanvas* c = FCaptionCache->Canvas();
  if (LeftPart) c->Draw(0, 0, const_cast<TBitmap*>(LeftPart));
  if (RightPart) c->Draw(W - FRightBorder, 0, const_cast<TBitmap*>(RightPart));
  if (const auto top = RenderBorderPart(*m.Top, {W - FLeftBorder - FRightBorder, FTopBorder}, true))
    c->Draw(FLeftBorder, 0, top.get());

  const TRect caption(FLeftBorder, 0, W - FRightBorder, FTopBorder);
  // The right-aligned buttons stand where they stand whatever the text: laid out first, they
  // give a popup window's caption its right end.
  LayoutCaptionButtons(W);
  const String text = CaptionPrefix + FControl->Caption() + CaptionSuffix;
  c->Font()->Assign(FCaptionFont.get());
  c->Font()->SetColor(FActive ? m.TitleTextActive : m.TitleTextNoActive);
  c->Brush()->SetStyle(bsClear);
  TRect t(caption.Left, caption.Top, caption.Left, caption.Top);
  DrawText(c, text, t, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
  t.Right += title.TXTBackleft + title.TXTBackRight;
  const Integer free = caption.Width() - t.Width();
  Integer dx = 0;
  switch (title.TextAlignment) {
    case 0: dx = title.TextShift(); break;
    case 1: dx = free / 2; break;
    case 2: dx = free - title.TextRightClip(); break;
    default: break;
  }
  const Integer dy = (caption.Height() - t.Height()) / 2 + title.TextShiftVert() / 2;
  OffsetRect(t, dx, dy);
  // A popup window (here: a dialog frame, the kind the class library makes a popup) lets its
  // text run up to the rightmost button; others stop where the skin's title says.
  if (FBorderKind == bkDialog && FCaptionClipX > 5) t.Right = std::min(t.Right, FCaptionClipX - 5);
  else t.Right = std::min(t.Right, caption.Right - title.TextRightClip());
  if (FBorderKind == bkDialog && title.TextAlignment == 0) t.Left -= 16;
  FCaptionTextRect = t;
  if (!title.Image.Empty())
    DrawSkinStrip(c, TRect(t.Left, caption.Top, t.Right, caption.Bottom), title.Image,
                  TSkinMargins{title.TXTBackleft, 0, title.TXTBackRight, 0}, FActive ? 1 : 2, 2, true, true);
  TRect textRect(t.Left + title.TXTBackleft, t.Top, t.Right - title.TXTBackRight, t.Bottom);
  if (textRect.Right > textRect.Left) DrawText(c, text, textRect, DT_SINGLELINE | DT_END_ELLIPSIS);

  LayoutCaptionButtons(W);
  PaintCaptionButtons(c);
  Canvas->Draw(0, 0, FCaptionCache.get());
}

void TSkinForm::MakeRegion() {
  // A maximised window shows its whole frame here too, so it is cut to shape like any other.
  if (!FControl || !FFrameSkinned || FLifeState == lsGone) return;
  const Integer W = FControl->Width(), H = FControl->Height();
  if (W <= 0 || H <= 0) return;
  if (FHasRegion && W == FRegionWidth && H == FRegionHeight && FLifeState != lsReApplying) return;
  const TSkinModel& m = FSkinData->Model();
  const bool transparent = m.Left->Trans || m.Right->Trans || m.Top->Trans || m.Bottom->Trans;
  if (!transparent) {
    const TRegion whole(TRect(0, 0, W, H));
    FControl->SetWindowRgn(&whole);
    FHasRegion = true;
    FRegionWidth = FRegionHeight = 0;
    return;
  }
  TRegion region(TRect(FLeftBorder, FTopBorder, W - FRightBorder, H - FBottomBorder));
  if (FBorderKind != bkNoCaption) {
    auto piece = [&](const TDataSkinBorder& border, bool shaped, TSize size, bool vertical, TPoint at) {
      const TRect plain = Bounds(at.X, at.Y, size.cx, size.cy);
      if (shaped)
        if (const auto image = RenderBorderPart(border, size, vertical))
          return BitmapToRegion(*image, at.X, at.Y, Magenta, 1, 1, 1);
      return TRegion(plain);
    };
    const TSize topSize{W - FLeftBorder - FRightBorder, FTopBorder};
    const TRegion left = piece(*m.Left, m.Left->Trans == 1 && H > 1, {FLeftBorder, H}, false, {0, 0});
    const TRegion right = piece(*m.Right, m.Right->Trans == 1 && H > 1, {FRightBorder, H}, false, {W - FRightBorder, 0});
    const TRegion bottom = piece(*m.Bottom, m.Bottom->Trans == 1 && FBottomBorder >= 2,
                                 {W - FLeftBorder - FRightBorder, FBottomBorder}, true, {FLeftBorder, H - FBottomBorder});
    const TRegion top = piece(*m.Top, m.Top->Trans == 1 && FTopBorder > 1, topSize, true, {FLeftBorder, 0});
    for (const TRegion* part : {&left, &right, &top, &bottom}) region.Combine(region, *part, RGN_OR);
  }
  FControl->SetWindowRgn(&region);
  FHasRegion = true;
  FRegionWidth = W;
  FRegionHeight = H;
}
