// Skinned forms in each of the program's skins: the frame drawn from the border images, the
// window region, caption buttons and hit tests, and what the manager's commands do to forms.
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinMessages.h"
#include "skin/tests/SkinTestSupport.h"
#include "skin/SkinPacker.h"
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

QRgb BorderPixel(const TDataSkinBorder& Border, int Frame, int X, int Y) {
  const int fw = Border.Image.Width() / std::max(Border.FrameCount, 1);
  return Border.Image.Image().pixel((Frame - 1) * fw + X, Y);
}

const TWinSysButton* ButtonOfAction(const TSkinForm* Skinned, Integer Action) {
  for (const auto& b : Skinned->CaptionButtons())
    if (b->SkinButton->Action == Action && b->Visible) return b.get();
  return nullptr;
}

TPoint Centre(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

class TMessageForm : public TForm {
public:
  using TForm::TForm;
  String ClassName() const override { return QStringLiteral("TMessageForm"); }
};

}  // namespace

TEST(SkinnedForm, EachSkinDrawsItsFrameShapesTheWindowAndAnswersHitTests) {
  QImage pictures[5];
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TTestForm form(nullptr);
    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    ASSERT_TRUE(skinned->FrameSkinned());
    const TSkinModel& m = session.Data->Model();
    EXPECT_EQ(skinned->TopBorder(), m.Top->Image.Height() / m.Top->FrameCount);
    EXPECT_EQ(form.ClientRectInWindow().Top, skinned->TopBorder() + form.MenuBarHeight());
    EXPECT_EQ(form.Color(), m.ButtonFace);

    // The left border's middle shows the active frame, then the inactive one.
    const int midY = form.Height() / 2, sourceY = m.Left->TopHeight + 1;
    const QImage active = Grab(form.Handle());
    pictures[k - 1] = active;
    SaveArtifact(active, QStringLiteral("skin-form-%1.png").arg(k));
    EXPECT_EQ(active.pixel(1, midY), BorderPixel(*m.Left, 1, 1, sourceY));
    form.Perform(CM_DEACTIVATE);
    const QImage inactive = Grab(form.Handle());
    EXPECT_EQ(inactive.pixel(1, midY), BorderPixel(*m.Left, 2, 1, sourceY));
    EXPECT_NE(active.pixel(1, midY), inactive.pixel(1, midY));
    form.Perform(CM_ACTIVATE);

    // Every skin rounds the window's top corners with magenta: the region leaves them out.
    const QRegion mask = form.Handle()->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(form.Width() - 1, 0)));
    EXPECT_TRUE(mask.contains(QPoint(form.Width() / 2, form.Height() / 2)));
    EXPECT_TRUE(mask.contains(QPoint(form.Width() / 2, 1)));

    EXPECT_EQ(HitTest(&form, {form.Width() / 2, skinned->TopBorder() / 2}), HTCAPTION);
    EXPECT_EQ(HitTest(&form, {form.Width() / 2, skinned->TopBorder() + form.MenuBarHeight() / 2}), HTMENU);
    EXPECT_EQ(HitTest(&form, {form.Width() / 2, form.Height() / 2}), HTCLIENT);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
  for (int i = 0; i < 5; ++i)
    for (int j = i + 1; j < 5; ++j) EXPECT_NE(pictures[i], pictures[j]) << i + 1 << " " << j + 1;
}

TEST(SkinnedForm, CaptionButtonsFollowTheWindowStateAndAct) {
  TSkinSession session(3);
  TTestForm form(nullptr);
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  Grab(form.Handle());  // lays the buttons out
  const TDataSkinSysButton* restore = nullptr;
  for (const auto& b : skinned->CaptionButtons())
    if (b->SkinButton->Action == 1 && b->SkinButton->Visibility == 1) restore = b->SkinButton;
  ASSERT_NE(restore, nullptr);
  ASSERT_NE(ButtonOfAction(skinned, 0), nullptr);
  const TWinSysButton* maximise = ButtonOfAction(skinned, 1);
  ASSERT_NE(maximise, nullptr);
  EXPECT_NE(maximise->SkinButton, restore);

  auto click = [&](const TWinSysButton* Button) {
    const TPoint p = Centre(Button->Rect);
    FrameMouse(&form, WM_NCLBUTTONDOWN, p);
    EXPECT_EQ(skinned->HotObject(), Button);
    EXPECT_EQ(Button->State, TNCObject::stPressed);
    FrameMouse(&form, WM_NCLBUTTONUP, p);
  };
  click(maximise);
  ProcessEventsUntil([&] { return form.WindowState() == wsMaximized; });
  EXPECT_EQ(form.WindowState(), wsMaximized);
  Grab(form.Handle());
  const TWinSysButton* shownRestore = ButtonOfAction(skinned, 1);
  ASSERT_NE(shownRestore, nullptr);
  EXPECT_EQ(shownRestore->SkinButton, restore);
  click(shownRestore);
  ProcessEventsUntil([&] { return form.WindowState() == wsNormal; });
  EXPECT_EQ(form.WindowState(), wsNormal);

  Grab(form.Handle());
  click(ButtonOfAction(skinned, 2));
  ProcessEventsUntil([&] { return form.WindowState() == wsMinimized; });
  EXPECT_EQ(form.WindowState(), wsMinimized);
  form.SetWindowState(wsNormal);
  ProcessEventsUntil([&] { return false; });

  Grab(form.Handle());
  click(ButtonOfAction(skinned, 0));
  ProcessEventsUntil([&] { return !form.Visible(); });
  EXPECT_FALSE(form.Visible());
}

TEST(SkinnedForm, DialogFramesShowOnlyTheCloseButtonAndGrowToTheirCaption) {
  TSkinSession session(1);
  TMessageForm dialog(nullptr);
  dialog.SetBorderStyle(bsDialog);
  dialog.SetCaption(QStringLiteral("请确认是否删除本月全部工资记录以及相关的打印设置"));
  dialog.SetBounds(60, 60, 160, 100);
  auto* button = new TButton(&dialog);
  button->SetParent(&dialog);
  button->SetBounds(20, 40, 80, 24);
  const Integer clientWidth = dialog.ClientWidth();
  TSkinForm* skinned = ShowSkinned(&dialog);
  ASSERT_NE(skinned, nullptr);
  EXPECT_TRUE(skinned->IsDialogBox());
  Grab(dialog.Handle());
  QStringList visible;
  for (const auto& b : skinned->CaptionButtons())
    if (b->Visible) visible << QString::number(b->SkinButton->Action);
  EXPECT_EQ(visible, QStringList({"0"}));
  const Integer growth = dialog.ClientWidth() - clientWidth;
  EXPECT_GT(growth, 0);
  EXPECT_EQ(button->Left(), 20 + growth / 2);
}

TEST(SkinnedForm, MissingImagesAndZeroFrameSizesDrawNothingAndBreakNothing) {
  QImage tiny(3, 2, QImage::Format_RGB888);
  tiny.fill(Qt::magenta);
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  tiny.save(&buffer, "BMP");
  // Borders narrower than their frame count, a caption button of zero width, no other element.
  const QByteArray ini = "[TitlebarSkin]\r\nSkinName=bare\r\n[Personality]\r\nLeft=tiny.bmp\r\nLeftFrame=8\r\n"
                         "LeftTrans=1\r\nTop=tiny.bmp\r\nTopFrame=5\r\nTopTrans=1\r\n"
                         "[Button.Close]\r\nAction=0\r\nAlign=1\r\nXcoord=20\r\nframe=9\r\nButtonImage=tiny.bmp\r\n";
  TSkinSession session(PackSkinPackage(BuildSkinContainer({{"skin.ini", ini}, {"tiny.bmp", bmp}})));
  ASSERT_FALSE(session.Data->SkinNotBuilt());
  TTestForm form(nullptr);
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  EXPECT_EQ(skinned->LeftBorder(), 0);
  EXPECT_EQ(skinned->TopBorder(), 0);
  Grab(form.Handle());
  for (const auto& b : skinned->CaptionButtons()) EXPECT_TRUE(b->Rect.IsEmpty());
  EXPECT_EQ(HitTest(&form, {form.Width() / 2, form.Height() / 2}), HTCLIENT);
  session.Data->ReApply();
  session.Manager()->TimerTick();
  Grab(form.Handle());
  EXPECT_EQ(session.Exceptions, QStringList());
}

TEST(SkinManager, CommandsRunFromTheTimerAndOnlyTheLastPostedRuns) {
  TSkinSession session(2);
  int changes = 0;
  session.Data->OnSkinChanged = [&](TObject*) { ++changes; };
  TTestForm form(nullptr);
  ASSERT_NE(ShowSkinned(&form), nullptr);
  TSkinManage* manager = session.Manager();
  EXPECT_EQ(manager->Started(), TSkinManage::ssStarted);

  session.Data->ReApply();
  session.Data->SetActive(false);
  session.Data->SetActive(true);
  EXPECT_EQ(manager->PendingCommand(), TSkinManage::cmSkinForms);
  EXPECT_TRUE(manager->TimerActive());
  manager->TimerTick();
  EXPECT_EQ(changes, 1);
  EXPECT_NE(manager->SkinnedFormOf(&form), nullptr);  // command 2 never ran
  manager->TimerTick();  // nothing is pending any more
  EXPECT_EQ(changes, 1);

  // Skin off and on: the client area keeps its size under both frames.
  const TRect client = form.ClientRect();
  session.Data->SetActive(false);
  manager->TimerTick();
  EXPECT_EQ(manager->SkinnedFormOf(&form), nullptr);
  EXPECT_EQ(form.ClientRect(), client);
  EXPECT_TRUE(form.Handle()->mask().isEmpty());
  session.Data->SetActive(true);
  manager->TimerTick();
  TSkinForm* again = manager->SkinnedFormOf(&form);
  ASSERT_NE(again, nullptr);
  ProcessEventsUntil([&] { return again->AttachFinished(); });
  EXPECT_TRUE(again->FrameSkinned());
  EXPECT_EQ(form.ClientRect(), client);
}

TEST(SkinManager, ANewSkinFileReachesFormsSkinnedBeforeIt) {
  TSkinSession session(1);
  TTestForm form(nullptr);
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  const TRect client = form.ClientRect();
  // The program's skin choice: a new file, then Active off and on; only command 1 runs.
  session.Data->SetSkinFile(QDir(RptFolder()).filePath("Skin5.skn"));
  session.Data->SetActive(false);
  session.Data->SetActive(true);
  session.Manager()->TimerTick();
  const TSkinModel& m = session.Data->Model();
  EXPECT_EQ(m.SkinName, QStringLiteral("柔和旧苹果界面"));
  EXPECT_EQ(skinned->TopBorder(), m.Top->Image.Height() / m.Top->FrameCount);
  EXPECT_EQ(form.ClientRectInWindow().Top, skinned->TopBorder() + form.MenuBarHeight());
  EXPECT_EQ(form.ClientRect(), client);
  EXPECT_EQ(form.Color(), m.ButtonFace);
}

TEST(SkinManager, RefusesTag99AndPreviewWindowsAndKeepsAModalBoxThroughASkinSwitch) {
  TSkinSession session(4);
  session.Data->SetDisableTag(5);
  TTestForm tagged(nullptr);
  tagged.SetTag(99);
  EXPECT_EQ(ShowSkinned(&tagged), nullptr);

  class TPreviewForm : public TForm {
  public:
    using TForm::TForm;
    String ClassName() const override { return QStringLiteral("TfrmPreView"); }
  };
  TPreviewForm preview(nullptr);
  preview.SetBounds(10, 10, 200, 100);
  session.Data->SetOptions({});
  EXPECT_EQ(ShowSkinned(&preview), nullptr);
  preview.Hide();

  TMessageForm box(nullptr);
  box.SetBorderStyle(bsDialog);
  box.SetCaption(QStringLiteral("提示"));
  box.SetBounds(80, 80, 240, 120);
  TSkinManage* manager = session.Manager();
  bool skinnedInside = false, reskinned = false;
  QTimer::singleShot(0, [&] {
    TSkinForm* skinned = manager->SkinnedFormOf(&box);
    skinnedInside = skinned && skinned->FrameSkinned();
    session.Data->SetActive(false);
    manager->TimerTick();
    session.Data->SetActive(true);
    manager->TimerTick();
    reskinned = manager->SkinnedFormOf(&box) != nullptr;
    QTimer::singleShot(0, [&] { box.SetModalResult(mrOk); });
  });
  EXPECT_EQ(box.ShowModal(), mrOk);
  EXPECT_TRUE(skinnedInside);
  EXPECT_TRUE(reskinned);
}

TEST(SkinData, AFileThisProgramCannotReadIsReportedAndTheSkinStays) {
  TSkinSession session(1);
  TScriptedDialogs dialogs;
  dialogs.AnswerMessageBox(IDOK);
  const String before = session.Data->Model().SkinName;
  QTemporaryDir dir;
  const QString old = dir.filePath("old.skn");
  QFile f(old);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(PackSkinPackage(QByteArray(4, '\0')));
  f.close();
  session.Data->SetSkinFile(old);
  ASSERT_EQ(dialogs.Log().size(), 1u);
  EXPECT_TRUE(dialogs.Log().front().contains("This is Older Skin File")) << qPrintable(dialogs.Log().front());
  EXPECT_EQ(session.Data->Model().SkinName, before);
  EXPECT_TRUE(session.Data->SkinNotBuilt());
  // Nothing can be switched on from an unbuilt skin, and a missing file says nothing.
  session.Data->SetActive(false);
  session.Data->SetActive(true);
  EXPECT_EQ(session.Manager()->PendingCommand(), TSkinManage::cmUnskinAll);
  session.Data->SetSkinFile(dir.filePath("missing.skn"));
  EXPECT_EQ(dialogs.Log().size(), 1u);
}

TEST(SkinnedForm, ADialogFramesCaptionRunsUpToItsRightmostButtonInEverySkin) {
  const QString longCaption = QStringLiteral("请确认是否删除本月全部工资记录以及相关的打印设置和全部报表模板文件");
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    const TDataSkinTitle& title = *session.Data->Model().Title;
    for (TBorderStyle style : {bsDialog, bsSingle}) {
      SCOPED_TRACE(style);
      TForm form(nullptr);
      form.SetBorderStyle(style);
      form.SetBounds(60, 60, 360, 160);
      form.SetCaption(QStringLiteral("工资"));
      TSkinForm* skinned = ShowSkinned(&form);
      ASSERT_NE(skinned, nullptr);
      // Buttons placed beside the text move with it; right-aligned ones stay.
      auto besideText = [&] {
        std::vector<TRect> rects;
        for (const auto& b : skinned->CaptionButtons())
          if (b->Visible && b->SkinButton->Align != 1) rects.push_back(b->Rect);
        return rects;
      };
      const QImage shortCaption = Grab(form.Handle());
      std::vector<TRect> skipped = besideText();
      form.SetCaption(longCaption);
      const QImage longOne = Grab(form.Handle());
      for (const TRect& r : besideText()) skipped.push_back(r);
      const Integer clip = skinned->CaptionClipX();
      const Integer end = style == bsDialog ? clip - 5 : form.Width() - skinned->RightBorder() - title.TextRightClip();
      if (style == bsDialog) {
        ASSERT_GT(clip, 5);
      }
      EXPECT_EQ(skinned->CaptionTextRect().Right, end);
      int last = -1;
      for (int x = 0; x < form.Width(); ++x)
        for (int y = 0; y < skinned->TopBorder(); ++y)
          if (shortCaption.pixel(x, y) != longOne.pixel(x, y) &&
              std::none_of(skipped.begin(), skipped.end(), [&](const TRect& r) { return PtInRect(r, TPoint(x, y)); }))
            last = std::max(last, x);
      // The text (and the title's back) reach up to that end and not past it.
      EXPECT_LT(last, end);
      EXPECT_GT(last, end - title.TXTBackRight - 24);
      EXPECT_EQ(session.Exceptions, QStringList());
    }
  }
}
