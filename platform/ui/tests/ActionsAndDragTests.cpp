// Standard edit actions reaching the focused control, and dragging between controls.
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdActns.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/UiTestSupport.h"
#include <gtest/gtest.h>

using namespace uitest;

TEST(EditActions, ServeTheFocusedEditAndAreDisabledWithoutOne) {
  TShownForm f;
  auto* edit = new TEdit(f.Form);
  edit->SetParent(f.Form);
  edit->SetBounds(10, 10, 150, 24);
  auto* other = new TEdit(f.Form);
  other->SetParent(f.Form);
  other->SetBounds(10, 40, 150, 24);
  edit->SetText(QStringLiteral("payroll"));
  other->SetText(QStringLiteral("other"));
  edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(edit->Focused());
  edit->SetSelLength(0);

  TEditSelectAll selectAll(nullptr);
  TEditCopy copy(nullptr);
  TEditCut cut(nullptr);
  TEditDelete del(nullptr);
  TEditPaste paste(nullptr);
  copy.Update();
  EXPECT_FALSE(copy.Enabled()) << "nothing selected to copy";
  EXPECT_TRUE(selectAll.Execute());
  EXPECT_EQ(edit->SelLength(), 7);
  EXPECT_TRUE(copy.Execute());
  EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("payroll"));
  EXPECT_TRUE(cut.Execute());
  EXPECT_EQ(edit->Text(), String());
  EXPECT_TRUE(paste.Execute());
  EXPECT_EQ(edit->Text(), QStringLiteral("payroll"));
  EXPECT_EQ(other->Text(), QStringLiteral("other")) << "only the focused control is served";
  edit->SetSelStart(0);
  edit->SetSelLength(3);
  EXPECT_TRUE(del.Execute());
  EXPECT_EQ(edit->Text(), QStringLiteral("roll"));
  edit->SetReadOnly(true);
  edit->SelectAll();
  cut.Update();
  EXPECT_FALSE(cut.Enabled());

  auto* button = new TButton(f.Form);
  button->SetParent(f.Form);
  button->SetBounds(200, 10, 50, 24);
  button->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(button->Focused());
  selectAll.Update();
  EXPECT_FALSE(selectAll.Enabled()) << "a control that is no edit leaves the action disabled";
  EXPECT_FALSE(selectAll.Execute());
}

namespace {
struct TDragLog {
  QStringList Events;
  void Watch(TControl* Control, const QString& Name, bool Accepts) {
    Control->OnStartDrag = [this, Name](TObject*) { Events << Name + QStringLiteral(" start"); };
    Control->OnEndDrag = [this, Name](TObject*, TObject* Target, Integer, Integer) {
      Events << Name + QStringLiteral(" end ") +
                    (Target ? static_cast<TComponent*>(Target)->Name() : QStringLiteral("nothing"));
    };
    if (Accepts) {
      Control->OnDragOver = [this, Name](TObject*, TObject*, Integer, Integer, TDragState State, bool& Accept) {
        if (State == dsDragEnter) Events << Name + QStringLiteral(" enter");
        if (State == dsDragLeave) Events << Name + QStringLiteral(" leave");
        Accept = true;
      };
      Control->OnDragDrop = [this, Name](TObject*, TObject* Source, Integer X, Integer Y) {
        Events << Name + QStringLiteral(" drop from ") + static_cast<TComponent*>(Source)->Name() +
                      QStringLiteral(" at %1,%2").arg(X).arg(Y);
      };
    }
  }
};

TPanel* PanelAt(TForm* Form, const char* Name, Integer Left) {
  auto* panel = new TPanel(Form);
  panel->SetName(QString::fromLatin1(Name));
  panel->SetParent(Form);
  panel->SetBounds(Left, 10, 80, 80);
  return panel;
}

LRESULT Send(TControl* Control, Cardinal Msg, TPoint P, Word Keys = 0) {
  return Control->Perform(Msg, Keys, PointToLParam(P));
}
}  // namespace

TEST(ControlDrag, ThresholdThenDropOnTheAcceptingControl) {
  TShownForm f;
  TPanel* source = PanelAt(f.Form, "source", 10);
  TPanel* target = PanelAt(f.Form, "target", 110);
  TPanel* refusing = PanelAt(f.Form, "refusing", 210);
  QApplication::processEvents();
  TDragLog log;
  log.Watch(source, QStringLiteral("source"), false);
  log.Watch(target, QStringLiteral("target"), true);
  refusing->OnDragDrop = [&](TObject*, TObject*, Integer, Integer) { log.Events << QStringLiteral("refused drop"); };

  Send(source, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
  source->BeginDrag(false, 5);
  Send(source, WM_MOUSEMOVE, {23, 22}, MK_LBUTTON);
  EXPECT_TRUE(log.Events.isEmpty()) << "within the threshold";
  const TPoint overTarget = source->ScreenToClient(target->ClientToScreen({30, 40}));
  Send(source, WM_MOUSEMOVE, overTarget, MK_LBUTTON);
  Send(source, WM_LBUTTONUP, overTarget);
  EXPECT_EQ(log.Events, (QStringList{"source start", "target enter", "target drop from source at 30,40",
                                     "source end target"}));
  EXPECT_FALSE(source->Dragging());

  log.Events.clear();
  Send(source, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
  source->BeginDrag(true);
  const TPoint overRefusing = source->ScreenToClient(refusing->ClientToScreen({5, 5}));
  Send(source, WM_MOUSEMOVE, overRefusing, MK_LBUTTON);
  Send(source, WM_LBUTTONUP, overRefusing);
  EXPECT_EQ(log.Events, (QStringList{"source start", "source end nothing"})) << "a control without OnDragOver refuses";

  log.Events.clear();
  Send(source, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
  source->BeginDrag(true);
  Send(source, WM_MOUSEMOVE, overTarget, MK_LBUTTON);
  source->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(log.Events, (QStringList{"source start", "target enter", "target leave", "source end nothing"}));
  EXPECT_FALSE(source->Dragging());
}

TEST(ControlDrag, AutomaticModeStartsAtThePressAndAClickBelowTheThresholdStaysAClick) {
  TShownForm f;
  TPanel* source = PanelAt(f.Form, "source", 10);
  QApplication::processEvents();
  Integer clicks = 0, starts = 0;
  source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++clicks; };
  source->OnStartDrag = [&](TObject*) { ++starts; };
  source->SetDragMode(dmAutomatic);
  Send(source, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(clicks, 0) << "the press belongs to the drag";
  Send(source, WM_LBUTTONUP, {20, 20});
  EXPECT_FALSE(source->Dragging());

  source->SetDragMode(dmManual);
  Send(source, WM_LBUTTONDOWN, {20, 20}, MK_LBUTTON);
  source->BeginDrag(false, 5);
  Send(source, WM_LBUTTONUP, {21, 20});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(starts, 1) << "released before the threshold: no drag";
  EXPECT_FALSE(source->Dragging());
}
