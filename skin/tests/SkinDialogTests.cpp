// The dialog service's boxes are forms, so the manager skins them as dialog boxes.
#include "platform/ui/DialogForms.h"
#include "platform/ui/StdCtrls.h"
#include "skin/tests/SkinTestSupport.h"
#include <QTimer>
#include <gtest/gtest.h>

using namespace skintest;

TEST(SkinDialogs, TheMessageBoxOfTheDialogServiceIsSkinnedAsADialogBox) {
  for (int k : {1, 4}) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TTestForm main(nullptr);
    ASSERT_NE(ShowSkinned(&main), nullptr);
    bool skinned = false, dialogBox = false, buttonPainted = false;
    QTimer::singleShot(0, [&] {
      TMessageForm* box = nullptr;
      for (Integer i = 0; i < Screen->FormCount() && !box; ++i) box = dynamic_cast<TMessageForm*>(Screen->Forms(i));
      if (!box) return;
      ProcessEventsUntil([&] { return session.Manager()->SkinnedFormOf(box) && session.Manager()->SkinnedFormOf(box)->AttachFinished(); });
      if (TSkinForm* form = session.Manager()->SkinnedFormOf(box)) {
        skinned = form->FrameSkinned();
        dialogBox = form->IsDialogBox();
        buttonPainted = form->FindPainter(box->Buttons()[0]) != nullptr;
      }
      box->Buttons()[0]->Click();
    });
    EXPECT_EQ(TDialogs::MessageBox(QStringLiteral("工资条已全部打印。"), QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_TRUE(skinned);
    EXPECT_TRUE(dialogBox);
    EXPECT_TRUE(buttonPainted);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}
