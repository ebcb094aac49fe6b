#pragma once
// The skinning of one top-level form: it draws the form's frame, caption and caption
// buttons from the skin's border images, shapes the window where the borders are magenta,
// answers the frame's hit tests and clicks, and hands every control of the form to a
// control painter. It steps in front of the form's messages through its WindowProc.
#include "platform/ui/Forms.h"
#include "skin/SkinCaptionButtons.h"
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QTimer;
class TPopupMenu;
class TMenuItem;
class TSkinControl;
class TSkinData;
class TDataSkinBorder;
class TSkinButton;
class TSkinMenuBar;
class TSkinSizer;

class TSkinForm : public TComponent {
public:
  enum TLifeState { lsAttaching = 0, lsSkinned = 1, lsReApplying = 3, lsDestroying = 4, lsResizing = 5, lsGone = 6 };
  enum TBorderKind { bkSizeable = 0, bkSingle = 1, bkNoCaption = 2, bkDialog = 3 };
  enum TWindowStateKind { wkNormal = 0, wkMaximised = 1, wkMinimised = 2 };
  // Bits of CaptionButtonsAllowed.
  static constexpr Byte cbMaximise = 1, cbMinimise = 2, cbSystemMenu = 8;

  TSkinForm();
  ~TSkinForm() override;
  String ClassName() const override { return QStringLiteral("TSkinForm"); }

  // Hooks the form (once). With xcMainMenu the form draws its own skinned frame when its
  // window is still to be shown or already draws its own frame; otherwise only its controls
  // are painted.
  void AttachToForm(TSkinData* Skin, TCustomForm* Form);
  // Gives the form its frame, WindowProc, colour and controls back, keeping its client size.
  void Detach();
  // Frame widths and caption buttons from the current model.
  void RebuildFrame();
  void RefreshCaptionButtons();
  // New colours and painters, and the frame resized to the skin (command 3 and SKIN_REAPPLY).
  void ReApply();
  // Sets the frame insets and keeps the client size (re-applying keeps the current one).
  void ResizeToSkin(bool ReApplying);
  void MakeRegion();
  bool CaptionButtonVisible(size_t Index) const;
  // The caption button under a window point, else nullptr.
  TWinSysButton* ButtonAt(TPoint WindowPoint) const;
  // Runs what the button's action stands for, at the screen point.
  void ButtonAction(const TWinSysButton& Button, TPoint ScreenPoint);
  // Paints the skinned frame on a canvas of the whole window.
  void PaintFrame(TCanvas* Canvas);
  void HoverTimerTick();
  // Repaints the frame (the caption and buttons follow a state change).
  void InvalidateFrame();

  // Menu items in the skinned drawing: MeasureMenuItem widens an item of the form's menu bar
  // beyond its own measure (the form answers WM_MEASUREITEM with it); MenuItemMeasureEvent is
  // the measuring the form gives the items of its popup menus that have none.
  void MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, Integer& Width, Integer& Height);
  void MenuItemMeasureEvent(TObject* Sender, TCanvas* Canvas, Integer& Width, Integer& Height);

  // Painters of this form's controls. The list takes Painter and owns it from then on; a
  // painter already in it is left as it is (true answers that it was there).
  bool AddPainter(TSkinControl* Painter);
  TSkinControl* FindPainter(const TControl* Control) const;
  void FreeDeadPainters();
  void FreeAllPainters();
  const std::vector<std::unique_ptr<TSkinControl>>& Painters() const { return FPainters; }
  // Dispatches the controls owned by Container (and the form's windowed controls) to painters,
  // and the form's size boxes to size-box painters.
  void SkinControls(TWinControl* Container);
  const std::vector<std::unique_ptr<TSkinSizer>>& SizeBoxes() const { return FSizeBoxes; }

  TCustomForm* Control() const { return FControl; }
  TSkinData* SkinData() const { return FSkinData; }
  bool FrameSkinned() const { return FFrameSkinned; }
  bool AttachFinished() const { return FAttachFinished; }
  Integer LifeState() const { return FLifeState; }
  bool IsActive() const { return FActive; }
  Integer WindowState() const { return FWindowState; }
  Integer BorderKind() const { return FBorderKind; }
  bool IsDialogBox() const { return FIsDialogBox; }
  Integer LeftBorder() const { return FLeftBorder; }
  Integer TopBorder() const { return FTopBorder; }
  Integer RightBorder() const { return FRightBorder; }
  Integer BottomBorder() const { return FBottomBorder; }
  Integer MenuBarHeight() const;
  const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const { return FCaptionButtons; }
  TNCObject* HotObject() const { return FHotObject; }
  void SetHotObject(TNCObject* Value) { FHotObject = Value; }
  const TRect& CaptionTextRect() const { return FCaptionTextRect; }
  // Left edge of the rightmost right-aligned caption button (0 when there is none): a popup
  // window's caption text runs up to 5 pixels before it.
  Integer CaptionClipX() const { return FCaptionClipX; }
  // The form no longer draws its caption and frame itself (false), or again (true).
  void CaptionStyle(bool Restore);
  bool CaptionRestored() const { return FCaptionRestored; }
  // The one button painter the mouse is over; it hears the mouse leave when another button
  // becomes hot or the form is deactivated.
  TSkinButton* HotButton() const { return FHotButton; }
  void SetHotButton(TSkinButton* Value) { FHotButton = Value; }
  bool HasRegion() const { return FHasRegion; }
  // The window point (frame included) of a screen point.
  TPoint WindowPoint(TPoint ScreenPoint) const;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void FormWndProc(TMessage& Message);
  bool FrameMessage(TMessage& Message);
  void FinishAttach();
  void ReadWindowState();
  void DispatchControl(TControl* Control, TWinControl* Container);
  bool Skin3rdDispatch(TControl* Control, TWinControl* Container);
  void Attach(std::unique_ptr<TSkinControl> Painter, TControl* Control, bool Recolour);
  // Gives the children of Container that have no painter yet one from MakePainter.
  void AttachToChildren(TWinControl* Container, const std::function<std::unique_ptr<TSkinControl>(TControl*)>& MakePainter);
  void WalkContainer(TWinControl* Container);
  void DispatchChildren(TWinControl* Parent);
  // Bare size-grip windows of the form get a size-box painter.
  void DispatchSizeBoxes();
  void StyleMenuBar(bool Skinned);
  Integer MenuItemLeftWidth() const;
  // Gives Item the form's measuring when it has none, or takes the form's back.
  void SetMeasuring(TMenuItem* Item, bool On);
  // The items of the popup menus the form owns (and with xcMenuItem of its main menus' drop-
  // downs) are measured by the form, or no longer.
  void MeasureMenus(bool On);
  bool MeasureItemMessage(TMessage& Message);
  // Tidies the separators of the menu bar's drop-downs.
  void TidyMenu();
  void FitDialogToCaption(Integer& Width);
  void PaintBorderPart(TCanvas* Canvas, const TDataSkinBorder& Border, const TRect& Target, bool Vertical) const;
  std::unique_ptr<TBitmap> RenderBorderPart(const TDataSkinBorder& Border, TSize Size, bool Vertical) const;
  void PaintCaption(TCanvas* Canvas, Integer W, const TBitmap* LeftPart, const TBitmap* RightPart);
  void LayoutCaptionButtons(Integer W);
  void PaintCaptionButtons(TCanvas* Canvas);
  void NcMouse(TMessage& Message);
  void Maximise();
  void Minimise();
  void Restore();
  void SystemMenuAt(TPoint ScreenPoint);
  void SysCommand(WPARAM Command);

  TCustomForm* FControl = nullptr;
  TSkinData* FSkinData = nullptr;
  TWndMethod FSavedWindowProc;
  bool FHooked = false;
  bool FFrameSkinned = false;
  bool FAttachFinished = false;
  bool FDialogFitted = false;
  bool FActive = true;
  bool FIsDialogBox = false;
  Integer FLifeState = lsAttaching;
  Integer FWindowState = wkNormal;
  Integer FBorderKind = bkSizeable;
  Byte FCaptionButtonsAllowed = 0;
  TSize FFormClientSize;  // the client size the form had before it was skinned
  Integer FLeftBorder = 0, FTopBorder = 0, FRightBorder = 0, FBottomBorder = 0;
  TRect FCaptionTextRect;
  Integer FCaptionClipX = 0;
  bool FCaptionRestored = false;
  TSkinButton* FHotButton = nullptr;
  Integer FRegionWidth = 0, FRegionHeight = 0;
  bool FHasRegion = false;
  TColor FSavedColor = clNone;
  Cardinal FLastSysMenuTick = 0;
  std::unique_ptr<TFont> FCaptionFont;
  std::unique_ptr<TBitmap> FCaptionCache;
  std::unique_ptr<TPopupMenu> FSystemMenuPopup;
  std::vector<std::unique_ptr<TWinSysButton>> FCaptionButtons;
  std::vector<std::unique_ptr<TSkinControl>> FPainters;
  std::vector<std::unique_ptr<TSkinSizer>> FSizeBoxes;
  TNCObject* FHotObject = nullptr;
  std::unique_ptr<QTimer> FHoverTimer;
  std::unique_ptr<TSkinMenuBar> FMenuBarPainter;
};
