#pragma once
// Common controls: tabs and pages, the status bar, tool bars, up-down buttons, the
// progress and track bars, the month calendar and the date-time picker.
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ToolBar.h"
#include <QTabBar>

class QCalendarWidget;
class QDateTimeEdit;

class QProgressBar;
class QSlider;
class TStatusBar;
class TPageControl;

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Tab messages: TCM_GETITEMRECT fills the TRect* in LParam for tab WParam; TCM_ADJUSTRECT
// turns the TRect* in LParam from the window into the display area (WParam 0) or back.
constexpr Cardinal TCM_GETITEMCOUNT = 0x1304, TCM_GETITEMRECT = 0x130A, TCM_GETCURSEL = 0x130B,
                   TCM_ADJUSTRECT = 0x1328, TCM_GETCURFOCUS = 0x132F;

// A row of tabs over a display area; the tab bar is a Qt tab bar inside the control.
class TCustomTabControl : public TCustomControl {
public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;
  Integer TabIndex() const { return FTabIndex; }
  // Selecting by program raises neither OnChanging nor OnChange.
  void SetTabIndex(Integer Value);
  // The area under the tabs, in client coordinates.
  TRect DisplayRect() const;
  Integer TabHeight() const;
  TRect TabRect(Integer Index) const;
  // The tab at client point P, or -1.
  Integer IndexOfTabAt(TPoint P) const;
  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;
protected:
  virtual bool CanChange();
  virtual void Change();
  void CreateHandle() override;
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  // The captions of the tabs shown.
  virtual QStringList TabCaptions() const = 0;
  void UpdateTabs();
  QTabBar* TabBar() const { return FTabBar; }
private:
  void UserSelected(Integer Index);
  void PlaceTabBar();
  QPointer<QTabBar> FTabBar;
  Integer FTabIndex = -1;
  bool FSyncing = false;
};

class TTabControl : public TCustomTabControl {
public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;
  String ClassName() const override { return QStringLiteral("TTabControl"); }
  TStrings* Tabs() const;
  void SetTabs(TStrings* Value);
protected:
  QStringList TabCaptions() const override;
private:
  std::unique_ptr<TStringList> FTabs;
};

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  String ClassName() const override { return QStringLiteral("TTabSheet"); }
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // Position among the page control's pages.
  Integer PageIndex() const;
  void SetPageIndex(Integer Value);
  // Index among the visible tabs, -1 when the tab is hidden.
  Integer TabIndex() const;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  void Dispatch(TMessage& Message) override;
protected:
  void PaintWindow(TCanvas* Canvas) override;
private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  Integer FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  String ClassName() const override { return QStringLiteral("TPageControl"); }
  Integer PageCount() const { return Integer(FPages.size()); }
  TTabSheet* Pages(Integer Index) const { return FPages.at(size_t(Index)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Value);
  Integer ActivePageIndex() const;
  void SetActivePageIndex(Integer Value);
  // The next (or previous) visible page after CurrentPage, wrapping round.
  TTabSheet* FindNextPage(TTabSheet* CurrentPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward);
protected:
  QStringList TabCaptions() const override;
  void Change() override;
  void Resize() override;
private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void PagesChanged();
  void PlacePages();
  TTabSheet* VisiblePage(Integer TabIndex) const;
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

// ---- status bar

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TCollectionItem {
public:
  explicit TStatusPanel(TCollection* Collection);
  String ClassName() const override { return QStringLiteral("TStatusPanel"); }
  void Assign(TPersistent* Source) override;
  const String& Text() const { return FText; }
  void SetText(const String& Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel Value);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle Value);
private:
  String FText;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

class TStatusPanels : public TCollection {
public:
  explicit TStatusPanels(TStatusBar* StatusBar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(Integer Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
  TStatusPanel* operator[](Integer Index) const { return Items(Index); }
  TPersistent* GetOwner() const override;
protected:
  void Update(TCollectionItem* Item) override;
private:
  TStatusBar* FStatusBar;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TCustomControl {
public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  String ClassName() const override { return QStringLiteral("TStatusBar"); }
  TStatusPanels* Panels() const { return FPanels.get(); }
  // One panel showing SimpleText instead of the panels.
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool Value);
  const String& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  // The rectangle of panel Index; the last panel takes the rest of the width.
  TRect PanelRect(Integer Index) const;
  TDrawPanelEvent OnDrawPanel;
protected:
  void Paint() override;
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);
private:
  std::unique_ptr<TStatusPanels> FPanels;
  bool FSimplePanel = false;
  String FSimpleText;
  bool FSizeGrip = true;
};

// ---- up-down, progress and track bars

enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TUDChangingEventEx = std::function<void(TObject* Sender, bool& AllowChange, SmallInt NewValue, TUDBtnType Direction)>;

// Two arrow buttons that step Position; an associated edit shows the position.
class TCustomUpDown : public TCustomControl {
public:
  explicit TCustomUpDown(TComponent* AOwner);
  SmallInt Min() const { return FMin; }
  void SetMin(SmallInt Value);
  SmallInt Max() const { return FMax; }
  void SetMax(SmallInt Value);
  SmallInt Position() const { return FPosition; }
  // Kept inside Min..Max; the associated edit shows the new value.
  void SetPosition(SmallInt Value);
  Integer Increment() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  // Stepping past one end continues at the other.
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value) { FWrap = Value; }
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  bool Thousands() const { return FThousands; }
  void SetThousands(bool Value);
  // One step as a click on a button does: OnChanging(Ex) may refuse, then OnClick.
  void Step(TUDBtnType Button);
  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;
  TUDChangingEventEx OnChangingEx;
protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  void ShowPosition();
  SmallInt FMin = 0, FMax = 100, FPosition = 0;
  Integer FIncrement = 1;
  bool FWrap = false;
  bool FThousands = true;
  TUDOrientation FOrientation = udVertical;
  TWinControl* FAssociate = nullptr;
};

class TUpDown : public TCustomUpDown {
public:
  using TCustomUpDown::TCustomUpDown;
  String ClassName() const override { return QStringLiteral("TUpDown"); }
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TProgressBar"); }
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer Step() const { return FStep; }
  void SetStep(Integer Value) { FStep = Value; }
  void StepIt() { SetPosition(FPosition + FStep); }
  void StepBy(Integer Delta) { SetPosition(FPosition + Delta); }
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
private:
  void ApplyToWidget();
  Integer FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  TProgressBarOrientation FOrientation = pbHorizontal;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
  explicit TTrackBar(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TTrackBar"); }
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer Value);
  Integer Frequency() const { return FFrequency; }
  void SetFrequency(Integer Value);
  Integer LineSize() const { return FLineSize; }
  void SetLineSize(Integer Value);
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation Value);
  // Raised when the position changes, by the user or by program.
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
private:
  void ApplyToWidget();
  Integer FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1, FLineSize = 1, FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
};

// ---- dates

// Hit-test codes of the month calendar.
constexpr Cardinal MCHT_NOWHERE = 0, MCHT_TITLE = 0x10000, MCHT_CALENDAR = 0x20000, MCHT_TODAYLINK = 0x30000,
                   MCHT_NEXT = 0x1000000, MCHT_PREV = 0x2000000, MCHT_TITLEBK = MCHT_TITLE,
                   MCHT_TITLEMONTH = MCHT_TITLE | 1, MCHT_TITLEYEAR = MCHT_TITLE | 2,
                   MCHT_TITLEBTNNEXT = MCHT_NEXT | MCHT_TITLE | 3, MCHT_TITLEBTNPREV = MCHT_PREV | MCHT_TITLE | 3,
                   MCHT_CALENDARBK = MCHT_CALENDAR, MCHT_CALENDARDATE = MCHT_CALENDAR | 1,
                   MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT,
                   MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV, MCHT_CALENDARDAY = MCHT_CALENDAR | 2;
// The calendar's view: days of a month. Calendars here have no other view.
constexpr Integer MCMV_MONTH = 0;

class TMonthCalendar : public TWinControl {
public:
  explicit TMonthCalendar(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TMonthCalendar"); }
  TDateTime Date() const { return FDate; }
  void SetDate(TDateTime Value);
  // What a click at client point P would hit (MCHT_ codes).
  Cardinal HitTest(TPoint P) const;
  Integer CurrentView() const { return MCMV_MONTH; }
  // The smallest size that shows a whole month.
  TSize MinimumSize() const;
  // A day was clicked.
  TNotifyEvent OnClick;
  // The date changed, by the user or by program.
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
  // Puts Value on the calendar widget; true when the widget took it.
  virtual bool SetCalendarDate(TDateTime Value);
  QCalendarWidget* Calendar() const;
private:
  TDateTime FDate;
};

enum TDateTimeKind { dtkDate, dtkTime };

class TDateTimePicker : public TWinControl {
public:
  explicit TDateTimePicker(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TDateTimePicker"); }
  TDateTime DateTime() const { return FDateTime; }
  void SetDateTime(TDateTime Value);
  TDateTime Date() const;
  void SetDate(TDateTime Value);
  TDateTime Time() const;
  void SetTime(TDateTime Value);
  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  TNotifyEvent OnChange;
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;
protected:
  void CreateHandle() override;
private:
  void ApplyToWidget();
  TDateTime FDateTime;
  TDateTimeKind FKind = dtkDate;
};

// ---- header control

enum THeaderSectionStyle { hsText, hsOwnerDraw };
class THeaderControl;

class THeaderSection : public TCollectionItem {
public:
  explicit THeaderSection(TCollection* Collection);
  String ClassName() const override { return QStringLiteral("THeaderSection"); }
  void Assign(TPersistent* Source) override;
  const String& Text() const { return FText; }
  void SetText(const String& Value);
  Integer Width() const { return FWidth; }
  // Kept between MinWidth and MaxWidth.
  void SetWidth(Integer Value);
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AllowClick() const { return FAllowClick; }
  void SetAllowClick(bool Value) { FAllowClick = Value; }
  THeaderSectionStyle Style() const { return FStyle; }
  void SetStyle(THeaderSectionStyle Value);
  Integer Left() const;
  Integer Right() const { return Left() + FWidth; }
private:
  String FText;
  Integer FWidth = 50, FMinWidth = 0, FMaxWidth = 10000;
  TAlignment FAlignment = taLeftJustify;
  bool FAllowClick = true;
  THeaderSectionStyle FStyle = hsText;
};

class THeaderSections : public TCollection {
public:
  explicit THeaderSections(THeaderControl* HeaderControl);
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* Items(Integer Index) const { return static_cast<THeaderSection*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() const override;
protected:
  void Update(TCollectionItem* Item) override;
private:
  THeaderControl* FHeaderControl;
};

// Header messages: HDM_GETITEMRECT fills the TRect* in LParam for section WParam.
constexpr Cardinal HDM_GETITEMCOUNT = 0x1200, HDM_GETITEMRECT = 0x1207;

using TSectionNotifyEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TDrawSectionEvent = std::function<void(THeaderControl* HeaderControl, THeaderSection* Section, const TRect& Rect, bool Pressed)>;

// A row of column captions; dragging a section's right edge resizes it.
class THeaderControl : public TCustomControl {
public:
  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;
  String ClassName() const override { return QStringLiteral("THeaderControl"); }
  THeaderSections* Sections() const { return FSections.get(); }
  // The section at client X, or -1; with OnEdge set, whether X is on its right edge.
  Integer SectionAt(Integer X, bool* OnEdge = nullptr) const;
  TSectionNotifyEvent OnSectionClick;
  TSectionNotifyEvent OnSectionResize;
  TDrawSectionEvent OnDrawSection;
  void Dispatch(TMessage& Message) override;
protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
private:
  std::unique_ptr<THeaderSections> FSections;
  Integer FSizing = -1;   // the section being resized
  Integer FPressed = -1;  // the section pressed for a click
  Integer FDownX = 0, FStartWidth = 0;
};
