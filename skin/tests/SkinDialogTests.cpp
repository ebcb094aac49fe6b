// The dialog service's boxes are forms, so the manager skins them as dialog boxes.
#include "platform/ui/DialogForms.h"
#include "platform/ui/FileDialogForms.h"
#include "platform/ui/StdCtrls.h"
#include "skin/tests/SkinTestSupport.h"
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
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
      EXPECT_EQ(box->Handle()->size(), QSize(box->Width(), box->Height()));
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

TEST(SkinDialogs, TheFileAndFolderBoxesAreSkinnedAsDialogBoxesAndStillChoose) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(QStringLiteral("备份"));
  QFile(QDir(dir.path()).filePath(QStringLiteral("工资.GZBK"))).open(QIODevice::WriteOnly);
  for (int k : {2, 5}) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TTestForm main(nullptr);
    ASSERT_NE(ShowSkinned(&main), nullptr);
    // Picks the first entry of the box's list and presses OK once the box is skinned.
    auto chooseFirst = [&](bool& Skinned) {
      QTimer::singleShot(0, [&] {
        TChoiceForm* box = nullptr;
        for (Integer i = 0; i < Screen->FormCount() && !box; ++i) box = dynamic_cast<TChoiceForm*>(Screen->Forms(i));
        if (!box) return;
        ProcessEventsUntil([&] { return session.Manager()->SkinnedFormOf(box) && session.Manager()->SkinnedFormOf(box)->AttachFinished(); });
        if (TSkinForm* form = session.Manager()->SkinnedFormOf(box))
          Skinned = form->FrameSkinned() && form->IsDialogBox() && box->FrameIsOurs();
        auto* file = dynamic_cast<TFileForm*>(box);
        // The window grew by the skin's frame, so nothing of the box is cut off.
        EXPECT_EQ(box->Handle()->size(), QSize(box->Width(), box->Height()));
        SaveArtifact(Grab(box->Handle()), QStringLiteral("skin-%1-dialog-%2.png").arg(file ? "file" : "folder").arg(k));
        TListBox* entries = file ? file->Entries() : dynamic_cast<TFolderForm*>(box)->Entries();
        qobject_cast<QListWidget*>(entries->Handle())->setCurrentRow(file ? 1 : 0);
        (file ? file->OkButton() : dynamic_cast<TFolderForm*>(box)->OkButton())->Click();
      });
    };
    bool fileSkinned = false, folderSkinned = false;
    chooseFirst(fileSkinned);
    TFileDialogRequest request;
    request.Filter = QStringLiteral("工资条数据备份(*.GZBK)|*.GZBK");
    request.InitialDir = dir.path();
    ASSERT_TRUE(TDialogs::ChooseFile(request));
    EXPECT_EQ(request.FileName, QDir(dir.path()).filePath(QStringLiteral("工资.GZBK")));
    EXPECT_TRUE(fileSkinned);

    chooseFirst(folderSkinned);
    String folder;
    ASSERT_TRUE(TDialogs::SelectDirectory(QStringLiteral("选择电子工资条存放路径"), dir.path(), folder, &main));
    EXPECT_EQ(folder, QDir(dir.path()).filePath(QStringLiteral("备份")));
    EXPECT_TRUE(folderSkinned);
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}
