#include "DBCtrlsXTestSupport.h"
#include "grid/DBCtrlsX.h"
#include "platform/ui/ExtCtrls.h"

namespace {

// A holder that records what it sees and answers as a test tells it to.
class TRecordingHolder : public TCustomControl, public IInplaceEditHolderX {
public:
  using TCustomControl::TCustomControl;
  bool AllowEditorChange(TControl*) override { return AllowChange; }
  void LastMouseDown(TPoint& ScreenPos, Cardinal& Time) override {
    ScreenPos = MouseDownPos;
    Time = MouseDownTime;
    MouseDownTime = 0;
  }
  void PreviewEditorMessage(TControl*, TMessage& Message) override {
    if (Message.Msg == SwallowedMessage) Message.Result = 1;
  }
  void HolderKeyDown(TControl*, Word& Key, TShiftState) override {
    KeysDown.push_back(Key);
    if (Key == StoppedKey) Key = 0;
  }
  void HolderKeyPress(TControl*, QChar& Key) override {
    if (Key == StoppedChar) Key = QChar();
  }
  void HolderKeyUp(TControl*, Word&, TShiftState) override {}

  bool AllowChange = true;
  TPoint MouseDownPos;
  Cardinal MouseDownTime = 0;
  Cardinal SwallowedMessage = 0;
  Word StoppedKey = 0;
  QChar StoppedChar;
  std::vector<Word> KeysDown;
};

struct TInplaceFixture {
  TInplaceFixture() {
    Holder = new TRecordingHolder(f.Form);
    Holder->SetBounds(0, 30, 300, 100);
    Holder->SetParent(f.Form);
    Edit = new TDBEditX(f.Form);
    Edit->SetParent(Holder);
    Edit->AttachToHolder(Holder);
  }
  dbedits::TPayTableForm f;
  TRecordingHolder* Holder;
  TDBEditX* Edit;
};

}  // namespace

TEST(DBEditXInplace, TheHolderSeesKeysFirstAndAZeroedKeyStopsTheEdit) {
  TInplaceFixture x;
  x.Holder->SetFocus();
  x.Edit->ShowInRect(TRect(10, 10, 110, 31), false);
  x.Holder->StoppedChar = u'x';
  dbedits::Type(x.Edit, "axb");
  EXPECT_EQ(x.Edit->Text(), "ab");
  x.Holder->StoppedKey = VK_HOME;
  dbedits::PressKey(x.Edit, Qt::Key_Home);
  EXPECT_EQ(x.Edit->SelStart(), 2) << "Home stopped by the holder leaves the caret";
  EXPECT_NE(std::find(x.Holder->KeysDown.begin(), x.Holder->KeysDown.end(), Word(VK_HOME)), x.Holder->KeysDown.end());
  x.Holder->SwallowedMessage = WM_CHAR;
  dbedits::Type(x.Edit, "c");
  EXPECT_EQ(x.Edit->Text(), "ab") << "a message the holder answers does not reach the edit";
}

TEST(DBEditXInplace, ShowsInARectangleTakesTheHoldersFocusAndAnEmptyRectangleHidesIt) {
  TInplaceFixture x;
  x.Holder->SetFocus();
  x.Edit->ShowInRect(TRect(10, 10, 110, 31), false);
  EXPECT_TRUE(x.Edit->Visible());
  EXPECT_EQ(x.Edit->BoundsRect(), TRect(10, 10, 110, 31));
  EXPECT_TRUE(x.Edit->Focused());
  EXPECT_EQ(GetParentForm(x.Edit)->ActiveControl(), x.Holder) << "the holder stays the form's focused control";

  x.Edit->PlaceInRect(TRect());
  EXPECT_FALSE(x.Edit->Visible());
  EXPECT_TRUE(static_cast<TControl*>(x.Edit)->Visible()) << "hiding in place keeps the property";
  EXPECT_TRUE(x.Holder->Focused()) << "the focus goes back to the holder";
  x.Edit->SetFocus();
  EXPECT_TRUE(x.Holder->Focused()) << "a hidden in-place edit does not take the focus";
}

TEST(DBEditXInplace, AClickSoonAfterTheHoldersMouseDownIsADoubleClick) {
  TInplaceFixture x;
  x.Edit->ShowInRect(TRect(10, 10, 110, 31), false);
  std::vector<bool> doubles;
  x.Edit->OnMouseDown = [&](TObject*, TMouseButton, TShiftState Shift, Integer, Integer) {
    doubles.push_back(Shift.Contains(ssDouble));
  };
  const TPoint click(5, 5);
  x.Holder->MouseDownPos = x.Edit->ClientToScreen(click);
  x.Holder->MouseDownTime = std::max<Cardinal>(GetMessageTime(), 1);
  x.Edit->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(click));
  x.Edit->Perform(WM_LBUTTONUP, 0, PointToLParam(click));
  x.Holder->MouseDownPos = x.Edit->ClientToScreen(TPoint(click.X + 60, click.Y));
  x.Holder->MouseDownTime = std::max<Cardinal>(GetMessageTime(), 1);
  x.Edit->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(click));
  EXPECT_EQ(doubles, (std::vector<bool>{true, false})) << "a press far from the holder's is a single click";
}

TEST(DBEditXInplace, TheHolderMayForbidEditingAndAHolderWithoutTheInterfaceIsRefused) {
  TInplaceFixture x;
  x.Holder->AllowChange = false;
  x.Edit->DataLink()->BeginValueEdit();
  EXPECT_TRUE(static_cast<TCustomEdit*>(x.Edit)->ReadOnly());
  x.Holder->AllowChange = true;
  x.Edit->SetReadOnly(false);
  EXPECT_FALSE(static_cast<TCustomEdit*>(x.Edit)->ReadOnly()) << "an unbound edit in editing is editable";

  auto* panel = new TPanel(x.f.Form);
  try {
    x.Edit->AttachToHolder(panel);
    FAIL() << "a holder without the interface must be refused";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "InplaceEditHolder have to support IInplaceEditHolderX interface");
  }
  EXPECT_EQ(x.Edit->InplaceHolder(), x.Holder);
  x.Edit->AttachToHolder(nullptr);
  EXPECT_FALSE(x.Edit->InplaceMode());
  x.Edit->PlaceInRect(TRect(1, 2, 51, 23));
  EXPECT_EQ(x.Edit->BoundsRect(), TRect(1, 2, 51, 23));
}
