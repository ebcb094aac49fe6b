#include "UiTestSupport.h"
#include "platform/ui/ControlHost.h"
#include "platform/rtl/Clock.h"
#include <gtest/gtest.h>

using namespace uitest;

namespace {

struct TMessagesFixture : ::testing::Test {
  TShownForm Shown;
  QStringList Log;
  TRecordingControl* Control = nullptr;
  void SetUp() override {
    Control = new TRecordingControl(Shown.Form, &Log, QStringLiteral("A"));
    Control->SetParent(Shown.Form);
    Control->SetBounds(10, 10, 100, 50);
    Control->SetTabStop(true);
    Log.clear();
  }
};

}  // namespace

TEST_F(TMessagesFixture, MouseClickArrivesAsDownUpWithEventsInOrder) {
  QStringList events;
  Control->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, Integer x, Integer y) {
    events << QStringLiteral("down %1 %2,%3").arg(int(b)).arg(x).arg(y);
  };
  Control->OnClick = [&](TObject*) { events << QStringLiteral("click"); };
  Control->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { events << QStringLiteral("up"); };
  Click(Control, {5, 7});
  EXPECT_EQ(Log, QStringList({"A WM_LBUTTONDOWN", "A WM_LBUTTONUP"}));
  EXPECT_EQ(events, QStringList({"down 0 5,7", "click", "up"}));

  // Events without a time stamp of their own are timed by the clock.
  TManualClock clock;
  TClock::SetCurrent(&clock);
  clock.Advance(1234);
  Click(Control, {5, 7});
  TClock::SetCurrent(nullptr);
  EXPECT_EQ(GetMessageTime(), 1234u);
  EXPECT_FALSE(Control->MouseCapture());
}

TEST_F(TMessagesFixture, KeysArriveAsKeyDownThenCharThenKeyUp) {
  Control->SetFocus();
  Log.clear();
  QStringList events;
  Control->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { events << QStringLiteral("keydown %1").arg(Key); };
  Control->OnKeyPress = [&](TObject*, QChar& Key) { events << QStringLiteral("press %1").arg(Key); };
  PressKey(Control->Handle(), Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(Log, QStringList({"A CM_CHILDKEY", "A WM_KEYDOWN", "A WM_CHAR", "A WM_KEYUP"}));
  EXPECT_EQ(events, QStringList({"keydown 65", "press a"}));
}

TEST_F(TMessagesFixture, AParentMayTakeTheKeyOfAControlInsideIt) {
  auto* panel = new TWinControl(Shown.Form);
  panel->SetParent(Shown.Form);
  panel->SetBounds(10, 100, 100, 50);
  Control->SetParent(panel);
  Control->SetFocus();
  Log.clear();
  QList<Word> seen;
  panel->WindowProc = [&seen, old = panel->WindowProc](TMessage& M) {
    old(M);
    if (M.Msg != CM_CHILDKEY) return;
    seen << Word(M.WParam);
    if (M.WParam == VK_F1) M.Result = 1;
  };
  PressKey(Control->Handle(), Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(seen, QList<Word>({Word('A')}));
  EXPECT_TRUE(Log.contains("A WM_KEYDOWN"));
  Log.clear();
  PressKey(Control->Handle(), Qt::Key_F1);
  EXPECT_EQ(seen, QList<Word>({Word('A'), Word(VK_F1)}));
  EXPECT_FALSE(Log.contains("A WM_KEYDOWN")) << "the parent took it";
}

TEST_F(TMessagesFixture, ComposedInputStartsACompositionAndArrivesAsCharacters) {
  QString typed;
  Control->OnKeyPress = [&](TObject*, QChar& Key) { typed += Key; };
  QInputMethodEvent preedit(QStringLiteral("gong"), {});
  QApplication::sendEvent(Control->Handle(), &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("工资"));
  QApplication::sendEvent(Control->Handle(), &commit);
  EXPECT_EQ(Log, QStringList({"A WM_IME_STARTCOMPOSITION", "A WM_CHAR", "A WM_CHAR", "A WM_IME_ENDCOMPOSITION"}));
  EXPECT_EQ(typed, QStringLiteral("工资"));
}

TEST_F(TMessagesFixture, DialogKeysAskTheControlBeforeTheFormTakesThem) {
  auto* other = new TRecordingControl(Shown.Form, &Log, QStringLiteral("B"));
  other->SetParent(Shown.Form);
  other->SetBounds(10, 100, 50, 20);
  other->SetTabStop(true);
  Control->SetFocus();
  Log.clear();
  PressKey(Control->Handle(), Qt::Key_Tab, QStringLiteral("\t"));
  // Not wanted: the form moves the focus and the control never sees the key.
  EXPECT_EQ(Log.mid(0, 3), QStringList({"A CM_CHILDKEY", "A WM_GETDLGCODE", "A CM_WANTSPECIALKEY"}));
  EXPECT_FALSE(Log.contains("A WM_KEYDOWN"));
  EXPECT_EQ(Shown.Form->ActiveControl(), other);

  // A control that wants Esc gets it as a key.
  Log.clear();
  bool wantEscape = true;
  other->WindowProc = [other, &wantEscape, old = other->WindowProc](TMessage& M) {
    if (M.Msg == CM_WANTSPECIALKEY && M.WParam == VK_ESCAPE && wantEscape) M.Result = 1;
    else old(M);
  };
  PressKey(other->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_TRUE(Log.contains("B WM_KEYDOWN"));
}

TEST_F(TMessagesFixture, FocusMovesWithExitBeforeEnterAndAnExitCanKeepIt) {
  auto* other = new TRecordingControl(Shown.Form, &Log, QStringLiteral("B"));
  other->SetParent(Shown.Form);
  other->SetBounds(10, 100, 50, 20);
  Control->SetFocus();
  ASSERT_TRUE(Control->Focused());
  Log.clear();
  other->SetFocus();
  EXPECT_EQ(Log, QStringList({"A CM_EXIT", "B CM_ENTER", "A WM_KILLFOCUS", "B WM_SETFOCUS"}));
  EXPECT_TRUE(other->Focused());

  // An exit handler that refuses by raising keeps the focus where it is.
  other->OnExit = [](TObject*) { throw EDatabaseError(QStringLiteral("值不合法")); };
  EXPECT_THROW(Control->SetFocus(), EDatabaseError);
  EXPECT_EQ(Shown.Form->ActiveControl(), other);
  EXPECT_TRUE(other->Focused());

  // An exit handler that sends the focus back wins over the move that started it.
  other->OnExit = [other](TObject*) {
    other->OnExit = nullptr;
    other->SetFocus();
  };
  Control->SetFocus();
  EXPECT_EQ(Shown.Form->ActiveControl(), other);
  EXPECT_TRUE(other->Focused());
}

TEST_F(TMessagesFixture, AClickElsewhereTellsTheFocusedControlToCancelItsModes) {
  auto* other = new TRecordingControl(Shown.Form, &Log, QStringLiteral("B"));
  other->SetParent(Shown.Form);
  other->SetBounds(10, 100, 50, 20);
  LPARAM sender = 0;
  Control->WindowProc = [&, old = Control->WindowProc](TMessage& M) {
    if (M.Msg == CM_CANCELMODE) sender = M.LParam;
    old(M);
  };
  Control->SetFocus();
  Log.clear();
  Click(other, {5, 5});
  // Inside the press, before the pressed control's own handling.
  EXPECT_EQ(Log.mid(0, 2), QStringList({"B WM_LBUTTONDOWN", "A CM_CANCELMODE"}));
  EXPECT_EQ(sender, LPARAM(static_cast<TControl*>(other)));
  Control->WindowProc = [c = Control](TMessage& M) { c->WndProc(M); };
}

TEST_F(TMessagesFixture, WheelGoesThroughCmMouseWheelToTheWheelEvents) {
  QStringList events;
  Control->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    events << QStringLiteral("down");
    Handled = true;
  };
  Wheel(Control, {5, 5}, -120);
  EXPECT_EQ(Log, QStringList({"A WM_MOUSEWHEEL", "A CM_MOUSEWHEEL"}));
  EXPECT_EQ(events, QStringList({"down"}));

  // Unhandled, the wheel goes on to the parent.
  Log.clear();
  TPoint seenByForm{-1, -1};
  Shown.Form->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint Pos, bool& Handled) {
    seenByForm = Pos;
    Handled = true;
  };
  Wheel(Control, {5, 5}, 120);
  EXPECT_EQ(seenByForm, Control->ClientToScreen({5, 5}));
}

TEST_F(TMessagesFixture, SizeMessagesCarryTheClientSizeWithOrWithoutAWindow) {
  TCustomControl loose(nullptr);
  TPoint seen;
  loose.WindowProc = [&, old = loose.WindowProc](TMessage& M) {
    if (M.Msg == WM_SIZE) seen = {TWMSize{M}.Width(), TWMSize{M}.Height()};
    old(M);
  };
  loose.SetBounds(0, 0, 80, 30);
  EXPECT_FALSE(loose.HandleAllocated());
  EXPECT_EQ(seen, TPoint(80, 30));

  Integer resized = 0;
  Control->SetBorderStyle(bsSingle);
  Control->OnResize = [&](TObject*) { ++resized; };
  Log.clear();
  Control->SetWidth(120);
  EXPECT_EQ(Log, QStringList({"A WM_SIZE"}));
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(Control->ClientWidth(), 116);  // the sunken client edge takes two pixels a side
}

TEST_F(TMessagesFixture, TimersTickByIdUntilKilled) {
  QList<Integer> ids;
  Control->WindowProc = [&, old = Control->WindowProc](TMessage& M) {
    if (M.Msg == WM_TIMER) ids << TWMTimer{M}.TimerID();
    old(M);
  };
  Control->SetTimer(7, 0);
  ProcessEventsUntil([&] { return ids.size() >= 2; });
  Control->KillTimer(7);
  ASSERT_GE(ids.size(), 2);
  EXPECT_EQ(ids[0], 7);
  const qsizetype count = ids.size();
  QApplication::processEvents();
  EXPECT_EQ(ids.size(), count);
}

TEST_F(TMessagesFixture, ReplacedWindowProcSeesMessagesFirstAndPassingOnKeepsTheDefault) {
  QStringList order;
  bool swallow = false;
  Control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { order << QStringLiteral("OnMouseDown"); };
  const TWndMethod previous = Control->WindowProc;
  Control->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_LBUTTONDOWN) {
      order << QStringLiteral("hook");
      if (swallow) return;
    }
    previous(M);
  };
  Click(Control, {3, 3});
  EXPECT_EQ(order, QStringList({"hook", "OnMouseDown"}));
  EXPECT_TRUE(Log.contains("A WM_LBUTTONDOWN"));

  order.clear();
  Log.clear();
  swallow = true;
  Click(Control, {3, 3});
  EXPECT_EQ(order, QStringList({"hook"}));
  EXPECT_FALSE(Log.contains("A WM_LBUTTONDOWN"));

  // Perform goes through the replaced procedure as well.
  order.clear();
  swallow = false;
  Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({1, 1}));
  EXPECT_EQ(order, QStringList({"hook", "OnMouseDown"}));
  Control->WindowProc = previous;
}

TEST_F(TMessagesFixture, ExceptionInAHandlerReachesHandleExceptionAndTheProgramGoesOn) {
  Integer clicks = 0;
  Control->OnClick = [&](TObject*) {
    ++clicks;
    throw EConvertError(QStringLiteral("'abc' is not a valid integer value"));
  };
  Click(Control, {5, 5});
  Click(Control, {5, 5});
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Shown.Exceptions, QStringList({"'abc' is not a valid integer value", "'abc' is not a valid integer value"}));

  // EAbort ends the operation silently.
  Control->OnClick = [](TObject*) { Abort(); };
  Click(Control, {5, 5});
  EXPECT_EQ(Shown.Exceptions.size(), 2);

  // Perform is synchronous: the exception reaches its caller.
  Control->OnClick = [](TObject*) { throw EConvertError(QStringLiteral("direct")); };
  Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({5, 5}));
  EXPECT_THROW(Control->Perform(WM_LBUTTONUP, 0, PointToLParam({5, 5})), EConvertError);
  EXPECT_EQ(Shown.Exceptions.size(), 2);
}

TEST_F(TMessagesFixture, PostedMessagesArriveAfterTheCurrentHandlerInOrder) {
  QStringList order;
  Control->WindowProc = [&, old = Control->WindowProc](TMessage& M) {
    if (M.Msg == WM_USER + 1) {
      order << QStringLiteral("first %1").arg(M.WParam);
    } else if (M.Msg == WM_USER + 2) {
      order << QStringLiteral("second");
    } else if (M.Msg == WM_LBUTTONDOWN) {
      PostMessage(Control, WM_USER + 1, 10);
      PostMessage(Control, WM_USER + 2);
      PostMessage(Control, WM_USER + 1, 11);
      EXPECT_TRUE(HasPendingMessage(Control, WM_USER + 2));
      order << QStringLiteral("handler done");
    }
    old(M);
  };
  Click(Control, {5, 5});
  EXPECT_EQ(order, QStringList({"handler done"}));
  ProcessEventsUntil([&] { return order.size() == 4; });
  EXPECT_EQ(order, QStringList({"handler done", "first 10", "second", "first 11"}));
  EXPECT_FALSE(HasPendingMessage(Control, WM_USER + 1));

  // A message taken back never arrives; one posted to a control that went never arrives.
  order.clear();
  PostMessage(Control, WM_USER + 2);
  KillPendingMessages(Control, WM_USER + 2);
  auto* doomed = new TRecordingControl(Shown.Form, &Log, QStringLiteral("C"));
  PostMessage(doomed, WM_USER + 1);
  delete doomed;
  Log.clear();
  QApplication::processEvents();
  EXPECT_TRUE(order.isEmpty());
  EXPECT_TRUE(Log.isEmpty());
}

TEST_F(TMessagesFixture, ContextMenuWithoutMenuOrHandlerGoesToTheParent) {
  bool formAsked = false;
  Shown.Form->OnContextPopup = [&](TObject*, TPoint, bool& Handled) {
    formAsked = true;
    Handled = true;
  };
  QWidget* w = Control->Handle();
  QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(w, &e);
  EXPECT_TRUE(Log.contains("A WM_CONTEXTMENU"));
  EXPECT_TRUE(formAsked);
}

TEST(VirtualKeys, QtKeysMapToTheVirtualKeyTable) {
  struct Case { int Qt; Qt::KeyboardModifiers Mods; Word Vk; };
  for (const Case& c : std::initializer_list<Case>{
         {Qt::Key_A, Qt::NoModifier, 'A'}, {Qt::Key_7, Qt::NoModifier, '7'}, {Qt::Key_7, Qt::KeypadModifier, VK_NUMPAD0 + 7},
         {Qt::Key_Exclam, Qt::ShiftModifier, '1'}, {Qt::Key_F5, Qt::NoModifier, VK_F1 + 4}, {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
         {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN}, {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB}, {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
         {Qt::Key_Delete, Qt::NoModifier, VK_DELETE}, {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD}, {Qt::Key_Minus, Qt::NoModifier, VK_OEM_MINUS},
         {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL}, {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE}})
    EXPECT_EQ(TWidgetEvents::VirtualKey(c.Qt, c.Mods), c.Vk) << c.Qt;
}
