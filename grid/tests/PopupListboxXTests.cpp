#include "grid/DropDownX.h"
#include "grid/MRUListX.h"
#include "grid/PopupListboxX.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include <QApplication>
#include <gtest/gtest.h>

namespace {
struct TClockScope {
  TManualClock Clock;
  TClockScope() { TClock::SetCurrent(&Clock); }
  ~TClockScope() { TClock::SetCurrent(nullptr); }
};

void Type(TPopupListboxX& List, const String& Text) {
  for (QChar C : Text) List.Perform(WM_CHAR, C.unicode());
}

std::unique_ptr<TPopupListboxX> ListOf(std::initializer_list<const char*> Items) {
  auto List = std::make_unique<TPopupListboxX>(nullptr);
  for (const char* Item : Items) List->Items()->Add(QString::fromUtf8(Item));
  return List;
}

// Keeps the last item from closing the list on a click.
class TStayOpenItem : public TPopupListboxItemX {
public:
  bool ClosesListOnClick(TPopupListboxX*, Integer) override { return false; }
};
}  // namespace

TEST(PopupListboxX, IncrementalSearchRestartsAfterTwoSecondsWithoutAKey) {
  TClockScope Time;
  auto List = ListOf({"apple", "banana", "bandit", "工资", "工号"});
  Type(*List, "ban");
  EXPECT_EQ(List->ItemIndex(), 1);
  Time.Clock.Advance(1999);
  Type(*List, "d");
  EXPECT_EQ(List->ItemIndex(), 2);
  Time.Clock.Advance(3000);
  Type(*List, "a");
  EXPECT_EQ(List->SearchText(), QStringLiteral("a"));
  EXPECT_EQ(List->ItemIndex(), 0);
  Type(*List, QStringLiteral("工号"));  // characters beyond one byte search too
  EXPECT_EQ(List->SearchText(), QStringLiteral("a工号"));
  List->Perform(WM_CHAR, 27);
  Type(*List, QStringLiteral("工号"));
  EXPECT_EQ(List->ItemIndex(), 4);
  Type(*List, QString(40, u'x'));
  EXPECT_EQ(List->SearchText().size(), 32);
}

TEST(PopupListboxX, BoundsKeepWholeRowsAndTheMouseSelectsOnlyWithoutButtons) {
  auto List = ListOf({"one", "two", "three", "four"});
  const Integer Row = List->ItemHeight();
  List->SetBounds(0, 0, 100, List->BorderHeight() + 2 * Row + Row / 2);
  EXPECT_EQ(List->Height(), List->BorderHeight() + 2 * Row);
  List->SetBounds(0, 0, 100, 1);
  EXPECT_EQ(List->Rows(), 1);

  List->SetBounds(0, 0, 100, List->BorderHeight() + 4 * Row);
  List->Perform(WM_MOUSEMOVE, 0, PointToLParam(TPoint(5, Row / 2)));
  EXPECT_EQ(List->ItemIndex(), 0);
  EXPECT_EQ(List->HotItem(), 0);
  List->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(TPoint(5, Row + Row / 2)));
  EXPECT_EQ(List->ItemIndex(), 0);
}

TEST(PopupListboxX, DraggingTheGripPastTheOppositeEdgeKeepsAScrollBarSquare) {
  auto List = ListOf({"one", "two"});
  List->SetBounds(300, 300, 120, List->BorderHeight() + 2 * List->ItemHeight());
  TSizeGripX* Grip = List->SizeGrip();
  const TPoint Start = Grip->ClientToScreen(TPoint(2, 2));
  Grip->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(2, 2)));
  Grip->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(Grip->ScreenToClient(TPoint(Start.X - 500, Start.Y - 500))));
  EXPECT_EQ(List->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_GE(List->Height(), GetSystemMetrics(SM_CYVSCROLL));
  EXPECT_EQ(List->Rows(), 1);
}

TEST(PopupListboxX, ItemsMayKeepTheListOpenOnAClick) {
  auto List = ListOf({"close", "stay"});
  TStayOpenItem Stay;
  List->Items()->SetObjects(0, DefaultPopupListboxItem());
  List->Items()->SetObjects(1, &Stay);
  List->SetItemObjects(true);
  List->SizeToRows(2);
  const Integer Row = List->ItemHeight();
  List->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(5, Row + 1)));
  EXPECT_FALSE(List->CloseFlag());
  List->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(5, 1)));
  EXPECT_TRUE(List->CloseFlag());
}

TEST(PopupListboxX, OpensUnderItsOwnerWithoutTakingTheFocus) {
  TForm Form(nullptr);
  Form.SetBounds(50, 50, 300, 200);
  TEdit Edit(&Form);
  Edit.SetParent(&Form);
  Edit.SetBounds(10, 10, 120, 22);
  Form.Show();
  Form.SetActiveControl(&Edit);
  QApplication::processEvents();
  auto List = ListOf({"a", "b", "c"});
  List->SizeToRows(3);
  TPoint At;
  PlaceDropDownAtControl(&Edit, List.get(), 0, At);
  List->SetBounds(At.X, At.Y, 120, List->Height());
  List->Show();
  QApplication::processEvents();
  const TPoint EditBottomLeft = Form.ClientToScreen(TPoint(10, 32));
  EXPECT_EQ(At, EditBottomLeft);
  EXPECT_TRUE(List->Handle()->isVisible());
  EXPECT_TRUE(List->Handle()->isWindow());
  EXPECT_TRUE(List->Handle()->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(Form.ActiveControl(), &Edit);
  EXPECT_FALSE(List->Focused());
  EXPECT_EQ(List->SizeGrip()->Corner(), 2);
}

TEST(MRUListX, AddsMovesAndLimitsItsItems) {
  TMRUListX Recent(nullptr);
  Recent.AddRecent("   ");
  EXPECT_EQ(Recent.Items()->Count(), 0);
  Recent.AddRecent("Alpha");
  Recent.AddRecent("beta");
  Recent.AddRecent("ALPHA");  // known without case: moved, stored spelling kept
  EXPECT_EQ(Recent.Items()->CommaText(), QStringLiteral("beta,Alpha"));
  Recent.SetCaseSensitive(true);
  Recent.AddRecent("ALPHA");
  EXPECT_EQ(Recent.Items()->CommaText(), QStringLiteral("beta,Alpha,ALPHA"));

  TMRUListX Full(nullptr);
  for (int I = 0; I < 101; ++I) Full.AddRecent(QStringLiteral("v%1").arg(I));
  EXPECT_EQ(Full.Items()->Count(), 100);
  EXPECT_EQ(Full.Items()->Strings(0), QStringLiteral("v1"));
  Full.AddRecent("v1");
  EXPECT_EQ(Full.Items()->Count(), 100);
  EXPECT_EQ(Full.Items()->Strings(99), QStringLiteral("v1"));
  Full.SetLimit(3);
  EXPECT_EQ(Full.Items()->CommaText(), QStringLiteral("v99,v100,v1"));
}

TEST(MRUListX, CollectsEntriesBeginningWithTheText) {
  TMRUListX Recent(nullptr);
  for (const char* V : {"张三", "张四", "李四", "zhang"}) Recent.AddRecent(QString::fromUtf8(V));
  TStringList Target;
  Recent.CollectMatches(&Target, QString());
  EXPECT_EQ(Target.Count(), 4);
  Recent.CollectMatches(&Target, QStringLiteral("张"));
  EXPECT_EQ(Target.CommaText(), QStringLiteral("张三,张四"));
  Recent.OnFilterHook = [](TMRUListX*, const String& Entry, bool& Accept) { Accept = Accept && Entry != "张三"; };
  Recent.CollectMatches(&Target, QStringLiteral("张"));
  EXPECT_EQ(Target.CommaText(), QStringLiteral("张四"));
}

TEST(MRUListboxX, ShowsItsScrollBarAndASquareGripWhileItemsOutnumberRows) {
  TMRUListboxX List(nullptr);
  for (int I = 0; I < 3; ++I) List.Items()->Add(QStringLiteral("v%1").arg(I));
  List.SizeToRows(5);
  List.UpdateScrollBar();
  EXPECT_FALSE(List.ScrollBar()->Visible());
  EXPECT_TRUE(List.SizeGrip()->Triangular());
  for (int I = 3; I < 9; ++I) List.Items()->Add(QStringLiteral("v%1").arg(I));
  EXPECT_TRUE(List.ScrollBar()->Visible());
  EXPECT_EQ(List.ScrollBar()->Max(), 8);
  EXPECT_FALSE(List.SizeGrip()->Triangular());
  EXPECT_EQ(List.ScrollBar()->Left() + List.ScrollBar()->Width(), List.ClientWidth());
  EXPECT_LE(List.ScrollBar()->Top() + List.ScrollBar()->Height(), List.SizeGrip()->Top());
}
