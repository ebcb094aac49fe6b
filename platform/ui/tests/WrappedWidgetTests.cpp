#include "UiTestSupport.h"
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

// A control that wraps a Qt line edit, the way the standard controls do.
class TWrappedEdit : public TWinControl {
public:
  explicit TWrappedEdit(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }
  QLineEdit* Edit() { return static_cast<QLineEdit*>(Handle()); }
  QWidget* CreateWidget(const TCreateParams&, QWidget* ParentWidget) override { return new QLineEdit(ParentWidget); }
  void Dispatch(TMessage& Message) override {
    // An edit moves its caret with the arrow keys instead of leaving them to the form.
    if (Message.Msg == WM_GETDLGCODE) Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    else TWinControl::Dispatch(Message);
  }
};

struct TWrappedFixture : ::testing::Test {
  TShownForm Shown;
  TWrappedEdit* Edit = nullptr;
  TWndMethod Original;
  void SetUp() override {
    Edit = new TWrappedEdit(Shown.Form);
    Edit->SetParent(Shown.Form);
    Edit->SetBounds(10, 10, 120, 24);
    Original = Edit->WindowProc;
    Edit->SetFocus();
  }
  void TearDown() override { Edit->WindowProc = Original; }
};

}  // namespace

TEST_F(TWrappedFixture, KeysReachTheReplacedWindowProcFirstAndTheWidgetWhenPassedOn) {
  ASSERT_TRUE(Edit->Focused());
  QStringList seen;
  Edit->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_CHAR) {
      seen << QString(QChar(char16_t(M.WParam)));
      if (M.WParam == 'x') return;                          // swallowed
      if (M.WParam == 'b') M.WParam = 'B';                  // changed on the way
    }
    Original(M);
  };
  PressKey(Edit->Edit(), Qt::Key_A, QStringLiteral("a"));
  PressKey(Edit->Edit(), Qt::Key_X, QStringLiteral("x"));
  PressKey(Edit->Edit(), Qt::Key_B, QStringLiteral("b"));
  EXPECT_EQ(seen, QStringList({"a", "x", "b"}));
  EXPECT_EQ(Edit->Edit()->text(), QStringLiteral("aB"));

  // The control's own key events see the keys too, and can swallow navigation.
  Edit->WindowProc = Original;
  Edit->OnKeyDown = [](TObject*, Word& Key, TShiftState) {
    if (Key == VK_HOME) Key = 0;
  };
  PressKey(Edit->Edit(), Qt::Key_Home);
  EXPECT_EQ(Edit->Edit()->cursorPosition(), 2);
  PressKey(Edit->Edit(), Qt::Key_Left);
  EXPECT_EQ(Edit->Edit()->cursorPosition(), 1);

  // A key the widget leaves alone does not travel on to the form.
  Word formSaw = 0;
  Shown.Form->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { formSaw = Key; };
  PressKey(Edit->Edit(), Qt::Key_F2);
  EXPECT_EQ(formSaw, 0);
}

TEST_F(TWrappedFixture, PaintingFromTheWindowProcReplacesTheWidgetsOwnPainting) {
  bool paintOver = true;
  Edit->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_PAINT && paintOver) {
      auto* canvas = reinterpret_cast<TCanvas*>(M.WParam);
      canvas->Brush()->SetColor(clRed);
      canvas->FillRect(Rect(0, 0, 120, 24));
      return;
    }
    Original(M);
  };
  const QImage skinned = Grab(Edit->Edit());
  EXPECT_EQ(QColorToColor(skinned.pixelColor(60, 12)), clRed);
  EXPECT_EQ(QColorToColor(skinned.pixelColor(2, 2)), clRed);

  // Passed on, the widget paints itself; painting after the default draws over it.
  paintOver = false;
  Edit->WindowProc = [&](TMessage& M) {
    Original(M);
    if (M.Msg == WM_PAINT) {
      auto* canvas = reinterpret_cast<TCanvas*>(M.WParam);
      canvas->Brush()->SetColor(clBlue);
      canvas->FillRect(Rect(0, 0, 4, 4));
    }
  };
  const QImage plain = Grab(Edit->Edit());
  EXPECT_NE(QColorToColor(plain.pixelColor(60, 12)), clRed);
  EXPECT_EQ(QColorToColor(plain.pixelColor(1, 1)), clBlue);
}

TEST_F(TWrappedFixture, MouseAndFocusGoThroughTheMessages) {
  auto* other = new TWrappedEdit(Shown.Form);
  other->SetParent(Shown.Form);
  other->SetBounds(10, 50, 120, 24);
  QStringList seen;
  other->WindowProc = [&, old = other->WindowProc](TMessage& M) {
    if (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_SETFOCUS || M.Msg == CM_ENTER) seen << uitest::MessageName(M.Msg);
    old(M);
  };
  QStringList exits;
  Edit->OnExit = [&](TObject*) { exits << QStringLiteral("exit"); };
  // The line edit takes the focus on a click, as the window system gives it.
  QWidget* w = other->Handle();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  other->Handle()->setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(seen.contains("WM_LBUTTONDOWN"));
  EXPECT_EQ(seen.mid(seen.indexOf("WM_SETFOCUS")), QStringList({"WM_SETFOCUS", "CM_ENTER"}));
  EXPECT_EQ(exits, QStringList({"exit"}));
  EXPECT_EQ(Shown.Form->ActiveControl(), other);
  other->WindowProc = [other](TMessage& M) { other->WndProc(M); };
}

TEST_F(TWrappedFixture, CursorsComeFromTheControlOrStayTheWidgetsOwn) {
  QLineEdit* line = Edit->Edit();
  auto move = [&] {
    QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), line->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(line, &e);
  };
  move();
  EXPECT_EQ(line->cursor().shape(), Qt::IBeamCursor);
  Edit->SetCursor(crHandPoint);
  move();
  EXPECT_EQ(line->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(CursorShape(), crHandPoint);
  Edit->SetCursor(crDefault);
  move();
  EXPECT_EQ(line->cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(CursorShape(), crDefault);
}
