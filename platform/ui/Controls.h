#pragma once
// Controls: the window-less TControl and the windowed TWinControl with its lazily created
// host widget. Every control receives its input, painting and notices as messages
// through a replaceable WindowProc; geometry, font, colour and visibility live in the
// control, so layout works before any window exists.
#include "platform/ui/Graphics.h"
#include "platform/ui/Messages.h"
#include <QPointer>
#include <QWidget>
#include <QCursor>
#include <map>
#include <optional>

class QEvent;
class QObject;
class TControl;
class TWinControl;
class TCustomForm;
class TControlCanvas;
class TMessageTarget;
class TControlScrollBars;
class TAction;

using TWndMethod = std::function<void(TMessage& Message)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragMode { dmManual, dmAutomatic };

enum TControlStateValue { csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
                          csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking };
using TControlState = TSet<TControlStateValue>;
enum TControlStyleValue { csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
                          csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
                          csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient,
                          csMenuEvents, csNeedsBorderPaint, csParentBackground };
using TControlStyle = TSet<TControlStyleValue>;

using TCursor = SmallInt;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Dragging one control's content onto another inside the application.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TStartDragEvent = std::function<void(TObject* Sender)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;

// What the window of a control is made with; controls adjust it in CreateParams.
struct TCreateParams {
  String Caption;
  Cardinal Style = 0;
  Cardinal ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  TWinControl* WndParent = nullptr;
  Cardinal WindowClassStyle = 0;
};

struct TSizeConstraints {
  Integer MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  // Width and Height brought inside the limits.
  void Apply(Integer& Width, Integer& Height) const;
  friend bool operator==(const TSizeConstraints&, const TSizeConstraints&) = default;
};

// A context menu as controls see it; the menu classes implement it.
// What controls need of the application they run in, which lives above them: it hears of the
// mouse entering and leaving controls (for its hints) and of controls going away.
class IControlsApplication {
public:
  virtual void HintMouseEnter(TControl* Control) = 0;
  virtual void HintMouseLeave(TControl* Control) = 0;
  virtual void ControlDestroying(TControl* Control) = 0;
protected:
  ~IControlsApplication() = default;
};

// The running application, or nullptr while there is none.
IControlsApplication* ControlsApplication();

class IPopupMenu {
public:
  virtual ~IPopupMenu() = default;
  virtual void SetPopupComponent(TComponent* Value) = 0;
  virtual bool AutoPopup() const = 0;
  // Shows the menu with its top-left corner at the screen point X, Y.
  virtual void Popup(Integer X, Integer Y) = 0;
};

// Scroll-bar information.
constexpr Cardinal SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
                   SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr Cardinal ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3;
constexpr Cardinal SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4;

constexpr Cardinal STATE_SYSTEM_UNAVAILABLE = 0x1, STATE_SYSTEM_PRESSED = 0x8, STATE_SYSTEM_INVISIBLE = 0x8000;

// Where a frame scroll bar and its parts are; rgstate[0] is the bar's state.
struct TScrollBarInfo {
  TRect rcScrollBar;        // screen coordinates
  Integer dxyLineButton = 0;  // length of each arrow button
  Integer xyThumbTop = 0;     // thumb start and end, from the bar's start
  Integer xyThumbBottom = 0;
  Cardinal rgstate[6] = {};
};

struct TScrollInfo {
  Cardinal fMask = SIF_ALL;
  Integer nMin = 0;
  Integer nMax = 0;
  Cardinal nPage = 0;
  Integer nPos = 0;
  Integer nTrackPos = 0;
};

class TControl : public TComponent {
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // ---- messages
  // Sees every message first; replace it to step in front of the control's handling and
  // call the saved previous value to keep the default behaviour.
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  // Calls the control's handler for Message; unhandled messages reach DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  // The window system's own handling: the Qt event the message came from is processed.
  virtual void DefaultHandler(TMessage& Message);
  // Sends a message to this control now and returns its result.
  LRESULT Perform(Cardinal Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // ---- parent and geometry
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect ClientRect() const { return TRect(0, 0, FWidth, FHeight); }
  Integer ClientWidth() const { return ClientRect().Width(); }
  Integer ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(Integer Value);
  void SetClientHeight(Integer Value);
  // The client area's top-left corner in screen coordinates.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value) { FAnchors = Value; }
  void BringToFront();
  void SendToBack();

  // ---- appearance and state
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a shown window.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value);
  const String& Caption() const { return FText; }
  void SetCaption(const String& Value) { SetText(Value); }
  const String& Text() const { return FText; }
  virtual void SetText(const String& Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  // Size limits kept by SetBounds; 0 means no limit.
  const TSizeConstraints& Constraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& Value);
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  bool UseRightToLeftScrollBar() const { return FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign; }
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  const TControlState& ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  const TControlStyle& ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // ---- painting
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }

  // ---- events (called only when assigned)
  TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;
  TContextPopupEvent OnContextPopup;

  // The object that receives this control's posted messages and timers.
  TMessageTarget* MessageTarget();

  // ---- actions
  // The control's answer to an action that reached it (it has the focus, or contains the
  // control that has): true when it carried the action out or refreshed its state. By
  // default the action serves the control itself when it can (TAction::HandlesTarget).
  virtual bool ExecuteAction(TAction* Action);
  virtual bool UpdateAction(TAction* Action);

  // ---- dragging inside the application
  // Starts dragging this control's content: at once, or once the mouse has moved Threshold
  // pixels (-1: the system's drag distance) with the button held. The drag ends at the
  // button's release, dropping on the control under the pointer when that one accepts, or
  // with Escape. With DragMode dmAutomatic a left press starts it by itself.
  void BeginDrag(bool Immediate, Integer Threshold = -1);
  // Ends a running drag; Drop drops on the accepting control under the pointer.
  void EndDrag(bool Drop);
  bool Dragging() const;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  // Called on the control under the pointer while something is dragged over it: Accept
  // starts as whether OnDragOver is assigned.
  virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, Integer X, Integer Y);

protected:
  virtual void DoStartDrag();
  virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void Resize();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // The part of the parent this control covers changed: the parent repaints it.
  void InvalidateControl(bool IsVisible);
  virtual void RequestAlign();
  // Tells the form this control sits on that the mouse went down on it.
  void SendCancelMode(TControl* Sender);
  // The top control hears of it here: a form cancels the modes of its controls.
  virtual void CancelModes(TControl* Sender) { (void)Sender; }
  // Size of the client area for WM_SIZE; the host frame's inner size for windowed controls.
  void SendSizeMessage();

  // The handlers of the messages TControl answers, one per message (the button ones per
  // button); a descendant overrides one and calls it to keep the default.
  virtual void WMButtonDown(TMessage& Message, TMouseButton Button, TShiftState Extra);
  virtual void WMButtonUp(TMessage& Message, TMouseButton Button);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void CMMouseWheel(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void WMSize(TMessage& Message);

  TControlState FControlState;
  TControlStyle FControlStyle;

private:
  friend class TWinControl;
  bool DragMessage(TMessage& Message);
  // The mouse came (Entered) or went: the application's hints hear of it, then the parent.
  void MouseCrossed(TMessage& Message, bool Entered);
  void StartDragging();
  void ForgetDrag();
  void FontChanged(TObject* Sender);
  void ParentFontChanged();
  void ParentColorChanged();
  void ParentCtl3DChanged();
  void ParentBiDiModeChanged();
  // A property kept equal to the parent's while Inherit is set; Notice tells of a change.
  template <typename T>
  void TakeFromParent(bool Inherit, T& Field, T ParentValue, Cardinal Notice);

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  bool FCtl3D = true;
  bool FParentCtl3D = true;
  bool FParentBiDiMode = true;
  TSizeConstraints FConstraints;
  String FText;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TComponent* FPopupMenu = nullptr;
  TDragMode FDragMode = dmManual;
  std::unique_ptr<TMessageTarget> FMessageTarget;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // ---- children, in z-order (first = bottom)
  Integer ControlCount() const { return Integer(FControls.size()); }
  TControl* Controls(Integer Index) const { return FControls.at(size_t(Index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // The topmost visible child at P (client coordinates); windowed children only when asked.
  TControl* ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls = false) const;
  void Broadcast(TMessage& Message);
  void NotifyControls(Cardinal Msg);
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();

  // ---- the window
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // The host widget, created when needed.
  QWidget* Handle();
  // Destroys the window and creates it again with fresh creation parameters.
  void RecreateWnd();
  // Limits the window to Region (window coordinates); nullptr gives back the whole rectangle.
  void SetWindowRgn(const TRegion* Region);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  // The client area's offset inside the window (the frame's border and scroll bars).
  TRect ClientRectInWindow() const;
  bool Showing() const override;

  // ---- focus
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  Integer TabOrder() const;
  void SetTabOrder(Integer Value);
  // Windowed children that can take the focus by Tab, in tab order, walking into containers.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // ---- scroll bars of the frame
  // Returns the new position (clamped to the range less the page).
  Integer SetScrollInfo(Integer Bar, const TScrollInfo& Info, bool Redraw);
  bool GetScrollInfo(Integer Bar, TScrollInfo& Info) const;
  Integer SetScrollPos(Integer Bar, Integer Pos, bool Redraw);
  Integer GetScrollPos(Integer Bar) const;
  void ShowScrollBar(Integer Bar, bool Show);
  void EnableScrollBar(Integer Bar, Cardinal Arrows);
  bool ScrollBarVisible(Integer Bar) const;
  // False when the bar is not shown.
  bool GetScrollBarInfo(Integer Bar, TScrollBarInfo& Info) const;
  // The bar's widget while the window exists (for tests and painters).
  QWidget* ScrollBarWidget(Integer Bar) const;

  // ---- window painting
  // Moves the pixels of Scroll (default the client area) by DX, DY, clipped to Clip.
  void ScrollWindowEx(Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip, Cardinal Flags);
  // Adds R (nullptr: the client area) to the area repainted at the next paint event.
  void InvalidateRect(const TRect* R, bool Erase);
  void Invalidate() override;
  // Paints the pending area now.
  void Update() override;

  // ---- timers
  // Starts or restarts timer ID; WM_TIMER arrives every Interval milliseconds.
  void SetTimer(Integer ID, Cardinal Interval);
  void KillTimer(Integer ID);

  // Paints the visible window-less children on Canvas (the client area's canvas).
  void PaintControls(TCanvas* Canvas);

  TNotifyEvent OnEnter, OnExit;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // Makes the control's window. By default a frame the layer draws itself; a control that
  // wraps a Qt widget returns that widget, whose events then reach WindowProc first and go
  // to the widget's own handling when they get to DefaultHandler.
  virtual QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget);

protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Called after the window is made, before it is shown.
  virtual void CreateHandle();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect) { (void)Rect; }
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(QChar& Key);
  // True when the key is swallowed (a previewing form took it or the handler set it to 0).
  bool DoKeyDown(TMessage& Message) { return DoKey(Message, true); }
  bool DoKeyUp(TMessage& Message) { return DoKey(Message, false); }
  bool DoKeyPress(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  // Paints the client area on Canvas (WM_PAINT); window-less children follow.
  virtual void PaintWindow(TCanvas* Canvas);
  // The handlers of the messages TWinControl answers, one per message; a descendant
  // overrides one and calls it to keep the default.
  virtual void WMPaint(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  void WMSize(TMessage& Message) override;
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  virtual void CMSysColorChange(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMCtl3DChanged(TMessage& Message);
  virtual void CMBorderChanged(TMessage& Message);
  virtual void CMBiDiModeChanged(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  // Children's bounds follow the anchors when this control's client size changes.
  void AnchorChildren(Integer DeltaWidth, Integer DeltaHeight);
  // The frame around the client area changed (a form's menu bar came or went): the client
  // area is measured again and the children follow it.
  void FrameChanged();

  bool FTabStop = false;

private:
  friend class TControl;
  friend class THostWidget;
  friend class TWidgetEvents;
  friend class TControlScrollBars;
  friend class TMessageTarget;
  void PlaceWidget();
  void PlaceChildWidgets();
  void InvalidateFrame();
  // The client area is no longer OldClient: anchored and aligned children follow.
  void ClientSizeChanged(const TRect& OldClient);
  void DestroyHandleTree();
  void DefaultNcCalcSize(TMessage& Message);
  void DefaultNcPaint(TMessage& Message);
  void DefaultEraseBackground(TMessage& Message);
  bool DoKey(TMessage& Message, bool Down);
  // A top-level window was resized or moved by the window system.
  void HostResized();
  void HostMoved(TPoint Pos);
  // Tells window-less children when the mouse moves onto or off them.
  void SetMouseControl(TControl* Control);

  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  QPointer<QWidget> FHandle;
  QPointer<QObject> FFilter;
  QRegion FPendingPaint;
  TRect FVertBarRect, FHorzBarRect;
  TBorderStyle FBorderStyle = bsNone;
  Integer FAlignLevel = 0;
  std::unique_ptr<TControlScrollBars> FScrollBars;
  mutable bool FFrameValid = false;
  mutable TRect FClientInWindow;
  std::map<Integer, int> FTimers;  // ID -> Qt timer id
  TControl* FMouseControl = nullptr;
};

// A windowed control that paints itself on its Canvas.
class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const;
protected:
  virtual void Paint() {}
  void PaintWindow(TCanvas* Canvas) override;
private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A control without a window, painted by its parent on the parent's window.
class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const;
  void Dispatch(TMessage& Message) override;
protected:
  virtual void Paint() {}
private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(const TControl* Control);

// Posts a message to Control: it arrives after the current handler, in posting order.
void PostMessage(TControl* Control, Cardinal Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Sends a message now (Perform, for code written against window handles).
LRESULT SendMessage(TControl* Control, Cardinal Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Whether a posted message Msg for Control is still waiting.
bool HasPendingMessage(TControl* Control, Cardinal Msg);
// Removes waiting posted messages Msg for Control.
void KillPendingMessages(TControl* Control, Cardinal Msg);

// Runs Message through Control's WindowProc at an event boundary: exceptions go to
// Application->HandleException and never travel on.
void DeliverMessage(TControl* Control, TMessage& Message);

// Keyboard and mouse state as the last input event left it.
SmallInt GetKeyState(Integer VirtualKey);  // high bit set while the key is down
TShiftState ReadKeyboardShiftState();
TShiftState KeysToShiftState(Word Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
TPoint GetCursorPos();
void SetCursorPos(TPoint P);
// Milliseconds (tick count) of the last input event.
Cardinal GetMessageTime();

// The control that holds the mouse capture, or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
void ReleaseCapture();

// Sets the shape of the mouse cursor over the control handling WM_SETCURSOR now.
void SetCursorShape(TCursor Cursor);
// The shape SetCursorShape set last; crDefault after a window took its own shape again.
TCursor CursorShape();

// The control hosted in or wrapping Widget, or nullptr.
TWinControl* FindControl(const QWidget* Widget);

// Window-less canvas of a control: it draws only while the control paints.
class TControlCanvas : public TCanvas {
public:
  explicit TControlCanvas(TControl* Control) : FControl(Control) {}
  TControl* Control() const { return FControl; }
  // Draws through Painter with the origin at Origin (device pixels) clipped to Clip.
  void BeginPaint(QPainter* Painter, TPoint Origin, const QRegion& Clip);
  // Draws through the painter of another canvas, offset by Origin inside it.
  void BeginPaintOn(TCanvas* Outer, TPoint Origin, const TRect& Clip);
  void EndPaint();
  TSize DeviceSize() const override;
private:
  TControl* FControl;
};
