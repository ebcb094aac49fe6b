#include "UiTestSupport.h"
#include "platform/ui/DropDownWindow.h"
#include "platform/ui/Hints.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"
#include <gtest/gtest.h>

using namespace uitest;

namespace {

TColor PixelAt(const QImage& Image, TPoint P) { return QColorToColor(Image.pixelColor(P.X, P.Y)); }

// A window-less control that paints itself in one colour.
class TSwatch : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  TColor Fill = clLime;
protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};

}  // namespace

TEST(Painting, BackgroundPaintWindowlessChildrenAndFrameLandWhereExpected) {
  TShownForm shown;
  QStringList log;
  auto* control = new TRecordingControl(shown.Form, &log, QStringLiteral("A"));
  control->SetParent(shown.Form);
  control->SetBounds(20, 20, 120, 80);
  control->SetBorderStyle(bsSingle);
  control->SetColor(clYellow);
  auto* swatch = new TSwatch(shown.Form);
  swatch->SetParent(control);
  swatch->SetBounds(60, 10, 20, 20);

  const QImage img = Grab(control->Handle());
  EXPECT_EQ(PixelAt(img, {5, 5}), clYellow);                // erased with the control's colour
  EXPECT_EQ(PixelAt(img, {2 + 70, 2 + 20}), clLime);        // the swatch, inside the client edge
  EXPECT_EQ(PixelAt(img, {50, 0}), RGB(0x80, 0x80, 0x80));  // sunken client edge, outer ring
  EXPECT_EQ(PixelAt(img, {50, 1}), clBlack);

  control->PaintColor = clRed;  // Paint now covers the whole client area
  control->Repaint();
  const QImage painted = Grab(control->Handle());
  EXPECT_EQ(PixelAt(painted, {5, 5}), clRed);
  EXPECT_EQ(PixelAt(painted, {72, 22}), clLime);  // children paint over their parent
}

TEST(Layout, AlignAndAnchorsWorkBeforeAnyWindowExists) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  TCustomControl top(&form), bottom(&form), left(&form), client(&form), anchored(&form);
  for (TCustomControl* c : {&top, &bottom, &left, &client, &anchored}) c->SetParent(&form);
  top.SetHeight(30);
  top.SetAlign(alTop);
  bottom.SetHeight(20);
  bottom.SetAlign(alBottom);
  left.SetWidth(50);
  left.SetAlign(alLeft);
  client.SetAlign(alClient);
  anchored.SetBounds(300, 200, 40, 40);
  anchored.SetAnchors({akRight, akBottom});
  EXPECT_FALSE(form.HandleAllocated());
  EXPECT_EQ(top.BoundsRect(), Rect(0, 0, 400, 30));
  EXPECT_EQ(bottom.BoundsRect(), Rect(0, 280, 400, 300));
  EXPECT_EQ(left.BoundsRect(), Rect(0, 30, 50, 280));
  EXPECT_EQ(client.BoundsRect(), Rect(50, 30, 400, 280));

  form.SetBounds(0, 0, 500, 350);
  EXPECT_EQ(client.BoundsRect(), Rect(50, 30, 500, 330));
  left.SetConstraints({0, 0, 40, 0});  // at most 40 wide
  EXPECT_EQ(left.Width(), 40);
  EXPECT_EQ(client.Left(), 40);
  EXPECT_EQ(anchored.BoundsRect(), Rect(400, 250, 440, 290));
  EXPECT_FALSE(client.HandleAllocated());
}

TEST(Fonts, ParentFontAndColourFlowDownUntilAChildSetsItsOwn) {
  TForm form(nullptr);
  TCustomControl child(&form);
  child.SetParent(&form);
  child.SetParentColor(true);
  form.Font()->SetName(QStringLiteral("DejaVu Sans"));
  form.Font()->SetSize(12);
  form.SetColor(clAqua);
  EXPECT_EQ(child.Font()->Name(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(child.Font()->Size(), 12);
  EXPECT_EQ(child.Color(), clAqua);

  form.SetCtl3D(false);
  form.SetBiDiMode(bdRightToLeft);
  EXPECT_FALSE(child.Ctl3D());
  EXPECT_TRUE(child.UseRightToLeftScrollBar());

  child.Font()->SetSize(8);
  EXPECT_FALSE(child.ParentFont());
  form.Font()->SetSize(14);
  EXPECT_EQ(child.Font()->Size(), 8);
  EXPECT_EQ(form.Font()->Height(), -19);  // 14 points at 96 pixels per inch
}

TEST(DropDowns, OpenWithoutTakingTheFocus) {
  TShownForm shown;
  QStringList log;
  auto* owner = new TRecordingControl(shown.Form, &log, QStringLiteral("A"));
  owner->SetParent(shown.Form);
  owner->SetBounds(10, 10, 100, 20);
  owner->SetFocus();
  ASSERT_TRUE(owner->Focused());
  log.clear();

  TDropDownWindow dropDown(owner);
  const TPoint below = owner->ClientToScreen({0, 20});
  dropDown.SetBounds(below.X, below.Y, 100, 80);
  dropDown.DropDown();
  QApplication::processEvents();
  QWidget* w = dropDown.Handle();
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->isWindow());
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_TRUE(owner->Focused());
  EXPECT_EQ(QApplication::activeWindow(), shown.Form->Handle());
  EXPECT_FALSE(log.contains("A WM_KILLFOCUS"));
  EXPECT_EQ(w->geometry(), QRect(below.X, below.Y, 100, 80));

  // A click inside the drop-down leaves the focus with its owner.
  Click(&dropDown, {10, 10});
  EXPECT_TRUE(owner->Focused());
  dropDown.CloseUp();
  EXPECT_FALSE(w->isVisible());
}

TEST(Hints, ControlsShapeTheirHintAndTheWindowUsesItsOwnFont) {
  TShownForm shown;
  QStringList log;
  auto* control = new TRecordingControl(shown.Form, &log, QStringLiteral("A"));
  control->SetParent(shown.Form);
  control->SetBounds(10, 10, 100, 20);
  control->SetHint(QStringLiteral("短提示|long help"));
  control->SetShowHint(true);
  THintInfo seen;
  control->WindowProc = [&, old = control->WindowProc](TMessage& M) {
    if (M.Msg == CM_HINTSHOW) {
      auto* info = reinterpret_cast<THintInfo*>(M.LParam);
      seen = *info;
      info->HintStr = QStringLiteral("单元格内容");
    }
    old(M);
  };
  Screen->HintFont()->SetName(QStringLiteral("Noto Sans CJK SC"));
  Application->HintMouseEnter(control);
  Application->ActivateHint(control->ClientToScreen({5, 5}));
  EXPECT_EQ(seen.HintStr, QStringLiteral("短提示"));
  EXPECT_EQ(seen.CursorPos, TPoint(5, 5));
  EXPECT_TRUE(log.contains("A CM_HINTSHOWPAUSE"));
  THintWindow* window = Application->HintWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Handle()->isVisible());
  EXPECT_EQ(window->Caption(), QStringLiteral("单元格内容"));
  EXPECT_EQ(window->Font()->Name(), QStringLiteral("Noto Sans CJK SC"));
  EXPECT_TRUE(window->Handle()->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
  Application->HintMouseLeave(control);
  EXPECT_FALSE(window->Handle()->isVisible());
  control->WindowProc = [&, old = control->WindowProc](TMessage& M) {
    if (M.Msg == CM_HINTSHOW) M.Result = 1;  // refuses the hint
    else old(M);
  };
  Application->ActivateHint(control->ClientToScreen({5, 5}));
  EXPECT_FALSE(window->Handle()->isVisible());
  Application->CancelHint();
  control->WindowProc = [control](TMessage& M) { control->WndProc(M); };
}

TEST(ScreenCursor, BusyCursorCoversEveryWindowUntilTheDefaultComesBack) {
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  Screen->SetCursor(crHourGlass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->SetCursor(crSQLWait);
  Screen->SetCursor(crHSplit);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SplitHCursor);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // one override at most, so one restore clears it
}

TEST(ScreenGeometry, PointsOffEveryMonitorBelongToTheNearestOne) {
  const TRect work = Screen->WorkAreaRect();
  EXPECT_FALSE(work.IsEmpty());
  EXPECT_EQ(Screen->MonitorWorkAreaAt({work.Left + 5, work.Top + 5}), work);
  EXPECT_EQ(Screen->MonitorWorkAreaAt({-50000, -50000}), work);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
}

TEST(Capture, AWindowlessControlKeepsTheMouseFromPressToRelease) {
  TShownForm shown;
  QStringList log;
  auto* parent = new TRecordingControl(shown.Form, &log, QStringLiteral("P"));
  parent->SetParent(shown.Form);
  parent->SetBounds(0, 0, 200, 100);
  auto* swatch = new TSwatch(shown.Form);
  swatch->SetParent(parent);
  swatch->SetBounds(10, 10, 20, 20);
  QList<TPoint> moves;
  swatch->OnMouseMove = [&](TObject*, TShiftState, Integer X, Integer Y) { moves << TPoint(X, Y); };
  bool clicked = false;
  swatch->OnClick = [&](TObject*) { clicked = true; };

  MouseEvent(parent, QEvent::MouseButtonPress, {15, 15}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(GetCaptureControl(), swatch);
  MouseEvent(parent, QEvent::MouseMove, {150, 50}, Qt::NoButton, Qt::LeftButton);
  ASSERT_EQ(moves.size(), 1);
  EXPECT_EQ(moves[0], TPoint(140, 40));  // in the swatch's coordinates, outside it
  EXPECT_FALSE(log.contains("P WM_MOUSEMOVE"));
  MouseEvent(parent, QEvent::MouseButtonRelease, {150, 50}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_FALSE(clicked);  // released outside: no click
  MouseEvent(parent, QEvent::MouseMove, {150, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(moves.size(), 1);
}

TEST(Ownership, AWindowedChildDeletedOnItsOwnLeavesItsParentsTabOrder) {
  TShownForm shown;
  auto* panel = new TPanel(shown.Form);
  panel->SetParent(shown.Form);
  panel->SetBounds(5, 5, 120, 60);
  auto* edit = new TEdit(shown.Form);
  edit->SetParent(panel);
  QApplication::processEvents();
  delete panel;  // its edit goes with it
  std::vector<TWinControl*> order;
  shown.Form->GetTabOrderList(order);
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(shown.Form->ControlCount(), 0);
  // Making the form's window anew walks its tab order: this runs clean under the address sanitizer.
  shown.Form->RecreateWnd();
  EXPECT_EQ(shown.Exceptions, QStringList());
}
