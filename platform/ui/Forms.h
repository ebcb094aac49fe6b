#pragma once
// Forms, the application object and the screen: focus inside a form, modal showing,
// exception reporting at event boundaries, the mouse cursor and monitor geometry.
#include "platform/ui/Controls.h"
#include <QCursor>

class QEventLoop;
class QTimer;
class TMainMenu;
class THintWindow;
struct THintInfo;

using TModalResult = Integer;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TCustomControl {
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  TWinControl* ActiveControl() const { return FActiveControl; }
  // Focuses Control when the form is showing, else remembers it for when it is.
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  // Moves the form's focus to Control: CM_EXIT goes up from the old focus to the common
  // parent, CM_ENTER down to Control. An exit handler that moves the focus elsewhere (or
  // raises) ends the move there. False when the move did not reach Control.
  bool SetFocusedControl(TWinControl* Control);
  // Sends CM_CANCELMODE to the focused control when another control is clicked.
  void SendCancelMode(TControl* Sender);
  // Control (or a parent of the focus) leaves the form: the focus bookkeeping forgets it.
  void ControlRemoving(TWinControl* Control);

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value);
  // Shows the form, runs events until ModalResult is set, hides it and returns the result.
  // Raises EInvalidOperation for a visible or disabled form.
  virtual TModalResult ShowModal();
  bool Modal() const { return FModalLoop != nullptr; }
  // A modal form gets ModalResult mrCancel; any other is asked (OnCloseQuery) and closed
  // the way OnClose decides.
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the current message is done.
  void Release();
  void CloseFromWindowSystem();

  bool Active() const;
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // The main menu shown as the window's menu bar, between the caption and the client area;
  // nullptr for none. Its shortcuts work from the keys of every control on the form.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  // Runs the enabled menu item whose shortcut is Key with Shift; true when one ran. The
  // focused control does not get such a key.
  bool IsShortCut(Word Key, TShiftState Shift);
  // The layer draws the frame and caption and answers the frame's mouse messages itself,
  // handing moves and resizes to the window system. Decided before the window is first
  // shown: while it is shown a change waits for the next time it is made.
  bool SelfDrawnFrame() const { return FSelfDrawnFrame; }
  void SetSelfDrawnFrame(bool Value);
  // Whether the current window's frame is drawn by the layer (or by WM_NCPAINT handlers).
  bool FrameIsOurs() const;
  // The widths of a self-drawn frame's four sides (the caption inside Top) when the form's
  // WM_NCPAINT handler draws a frame of other measures than the plain one; the plain frame's
  // close box is then not there. nullptr goes back to the plain frame.
  void SetFrameInsets(const TRect* Insets);
  // Height of the menu bar between the frame and the client area; 0 without a menu.
  Integer MenuBarHeight() const;
  // The menu bar's widget, nullptr without a menu.
  QWidget* MenuBarWidget() const { return FMenuBar; }
  // Window opacity (layered windows); ignored where the window system cannot blend.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);

  TNotifyEvent OnShow, OnHide, OnActivate, OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
  // Key events of the focused control reach the form first when KeyPreview is set.
  bool PreviewKeyDown(Word& Key, TShiftState Shift);
  bool PreviewKeyUp(Word& Key, TShiftState Shift);
  bool PreviewKeyPress(QChar& Key);

protected:
  void CancelModes(TControl* Sender) override { SendCancelMode(Sender); }
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DoShow();
  virtual void DoHide();
  void DoClose(TCloseAction& Action);
  void PlaceOnScreen();
private:
  friend class TScreen;
  Integer FrameWidth() const;
  Integer CaptionHeight() const;
  TRect CloseBoxRect() const;  // window coordinates
  LRESULT FrameHitTest(TPoint WindowPoint) const;
  void PaintFrame(TCanvas* Canvas);
  void FrameMouse(TMessage& Message);
  // Makes the menu bar for FMenu in the window (removes it without a menu).
  void BuildMenuBar();
  TMainMenu* FMenu = nullptr;
  QPointer<QWidget> FMenuBar;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  Integer FFocusCount = 0;
  TModalResult FModalResult = mrNone;
  QEventLoop* FModalLoop = nullptr;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  bool FKeyPreview = false;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 255;
  bool FSelfDrawnFrame = false;
  bool FWidgetFrameIsOurs = false;  // how the current window was made
  std::optional<TRect> FFrameInsets;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
  String ClassName() const override { return QStringLiteral("TForm"); }
};

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using THintShowEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent, public IControlsApplication {
public:
  explicit TApplication(TComponent* AOwner = nullptr);
  ~TApplication() override;

  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* Value) { FMainForm = Value; }

  // Reports the exception being handled (call it inside a catch block): EAbort silently,
  // others through OnException or ShowException.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);
  TExceptionEvent OnException;

  void ProcessMessages();
  // Runs the event loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // ---- hints
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer Value) { FHintPause = Value; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer Value) { FHintShortPause = Value; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer Value) { FHintHidePause = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  TNotifyEvent OnHint;
  THintShowEvent OnShowHint;
  // The mouse entered or left Control: the hint pause starts or the hint goes.
  void HintMouseEnter(TControl* Control) override;
  void HintMouseLeave(TControl* Control) override;
  // A control that goes away takes its hint with it.
  void ControlDestroying(TControl* Control) override;
  // Shows the hint of the control under CursorPos (screen) now, asking it with CM_HINTSHOW.
  void ActivateHint(TPoint CursorPos);
  void CancelHint();
  void HideHint();
  THintWindow* HintWindow() const { return FHintWindow; }
  TControl* HintControl() const { return FHintControl; }

private:
  void StartHintTimer(Integer Pause);
  void HintTimerExpired();
  String FTitle;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FShowHint = true;
  TColor FHintColor = clInfoBk;
  Integer FHintPause = 500;
  Integer FHintShortPause = 50;
  Integer FHintHidePause = 2500;
  String FHint;
  TControl* FHintControl = nullptr;
  THintWindow* FHintWindow = nullptr;
  QTimer* FHintTimer = nullptr;
  QTimer* FHideTimer = nullptr;
  bool FHandlingException = false;
};

class TScreen : public TComponent {
public:
  explicit TScreen(TComponent* AOwner = nullptr);
  ~TScreen() override;

  // The cursor shown over every window while it is not crDefault.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  QCursor Cursors(Integer Index) const;
  void SetCursors(Integer Index, const QCursor& Value);

  TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
  TCustomForm* ActiveForm() const { return FActiveCustomForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  Integer FormCount() const { return Integer(FForms.size()); }
  TCustomForm* Forms(Integer Index) const { return FForms.at(size_t(Index)); }

  Integer PixelsPerInch() const;
  Integer Width() const;
  Integer Height() const;
  // The work area (screen less task bars) of the primary monitor.
  TRect WorkAreaRect() const;
  // The work area of the monitor nearest to P (screen coordinates).
  TRect MonitorWorkAreaAt(TPoint P) const;
  TFont* HintFont() const { return FHintFont.get(); }

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void FocusMoved(TCustomForm* Form, TWinControl* Control);
  TCursor FCursor = crDefault;
  std::map<Integer, QCursor> FCursors;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveCustomForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  std::unique_ptr<TFont> FHintFont;
};

// Sees every top-level form just before its window is shown, while its frame can still be
// chosen (the skin engine decides there which windows draw their own frame). One hook per
// process; an empty function removes it.
using TFormShowingHook = std::function<void(TCustomForm* Form)>;
void SetFormShowingHook(TFormShowingHook Hook);

extern TApplication* Application;
extern TScreen* Screen;
