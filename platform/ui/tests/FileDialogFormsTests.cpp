// File and folder choice of the dialog service as forms: what they list, what a typed name
// does, and the answers the service returns, driven from inside their modal loops.
#include "UiTestSupport.h"
#include "platform/ui/FileDialogForms.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A folder with two files and a subfolder.
class TFolderFixture {
public:
  TFolderFixture() {
    QDir(Dir.path()).mkdir(QStringLiteral("备份"));
    for (const char* name : {"工资.GZBK", "说明.txt"}) {
      QFile file(Path(name));
      file.open(QIODevice::WriteOnly);
    }
  }
  String Path(const char* Name) const { return QDir(Dir.path()).filePath(QString::fromUtf8(Name)); }
  QTemporaryDir Dir;
};

template <class T>
T* OpenForm() {
  for (Integer i = 0; Screen && i < Screen->FormCount(); ++i)
    if (auto* form = dynamic_cast<T*>(Screen->Forms(i)); form && form->Visible()) return form;
  return nullptr;
}

QStringList Entries(TListBox* List) {
  QStringList out;
  for (Integer i = 0; i < List->Count(); ++i) out << List->Items()->Strings(i);
  return out;
}

QListWidget* ListWidget(TListBox* List) { return qobject_cast<QListWidget*>(List->Handle()); }

TFileDialogRequest Request(TFileDialogKind Kind, const TFolderFixture& Fixture) {
  TFileDialogRequest request;
  request.Kind = Kind;
  request.Title = QStringLiteral("选择工资条数据备份文件");
  request.Filter = QStringLiteral("工资条数据备份(*.GZBK)|*.GZBK|所有文件|*.*");
  request.DefaultExt = QStringLiteral("GZBK");
  request.InitialDir = Fixture.Dir.path();
  return request;
}

}  // namespace

TEST(FileDialogForms, TheFileBoxListsSubfoldersAndTheFilesItsFilterAdmits) {
  TFolderFixture fixture;
  TFileForm box(Request(fdOpen, fixture));
  EXPECT_EQ(box.ClassName(), QStringLiteral("#32770"));
  EXPECT_EQ(box.Folder(), QDir::cleanPath(fixture.Dir.path()));
  EXPECT_EQ(Entries(box.Entries()), QStringList({QStringLiteral("备份/"), QStringLiteral("工资.GZBK")}));
  box.FilterBox()->SetItemIndex(1);
  box.FilterBox()->OnChange(box.FilterBox());
  EXPECT_EQ(Entries(box.Entries()), QStringList({QStringLiteral("备份/"), QStringLiteral("工资.GZBK"), QStringLiteral("说明.txt")}));
  EXPECT_EQ(box.FilterIndex(), 2);
  box.UpButton()->Click();
  EXPECT_EQ(box.Folder(), QFileInfo(QDir::cleanPath(fixture.Dir.path())).path());
}

TEST(FileDialogForms, ATypedNameOpensAFolderFiltersOrEndsTheBoxAsOpeningOrSavingAllows) {
  TFolderFixture fixture;
  struct Case {
    TFileDialogKind Kind;
    const char* typed;
    Integer answer;         // the scripted answer to a message box, 0 for none expected
    const char* chosen;     // the accepted file, "" when the box stays open
    const char* folder;     // the folder shown afterwards, relative to the fixture
  };
  for (const Case& c : std::initializer_list<Case>{
         {fdOpen, "工资", 0, "工资.GZBK", ""},
         {fdOpen, "缺少.GZBK", IDOK, "", ""},
         {fdOpen, "备份", 0, "", "备份"},
         {fdOpen, "*.txt", 0, "", ""},
         {fdSave, "新备份", 0, "新备份.GZBK", ""},
         {fdSave, "工资.GZBK", IDNO, "", ""},
         {fdSave, "工资.GZBK", IDYES, "工资.GZBK", ""},
         {fdSave, "无此目录/x.GZBK", IDOK, "", ""}}) {
    SCOPED_TRACE(c.typed);
    TScriptedDialogs dialogs;
    if (c.answer) dialogs.AnswerMessageBox(c.answer);
    TFileForm box(Request(c.Kind, fixture));
    box.FileNameEdit()->SetText(QString::fromUtf8(c.typed));
    box.OkButton()->Click();
    EXPECT_EQ(box.ModalResult(), *c.chosen ? mrOk : mrNone);
    EXPECT_EQ(box.FileName(), *c.chosen ? fixture.Path(c.chosen) : String());
    EXPECT_EQ(box.Folder(), QDir::cleanPath(*c.folder ? fixture.Path(c.folder) : fixture.Dir.path()));
    EXPECT_TRUE(dialogs.ScriptDone());
    EXPECT_EQ(dialogs.Unexpected(), 0);
  }
  TFileForm box(Request(fdOpen, fixture));
  box.FileNameEdit()->SetText(QStringLiteral("*.txt"));
  box.OkButton()->Click();
  EXPECT_EQ(Entries(box.Entries()), QStringList({QStringLiteral("备份/"), QStringLiteral("说明.txt")}));
}

TEST(FileDialogForms, TheServiceChoosesAFileByTheBoxsControls) {
  TFolderFixture fixture;
  uitest::TShownForm owner;
  QTimer::singleShot(0, [&] {
    auto* box = OpenForm<TFileForm>();
    ASSERT_NE(box, nullptr);
    // A double click opens the subfolder, the up button comes back, a click on a file names it.
    ListWidget(box->Entries())->setCurrentRow(0);
    Q_EMIT ListWidget(box->Entries())->itemDoubleClicked(ListWidget(box->Entries())->item(0));
    EXPECT_EQ(box->Folder(), QDir::cleanPath(fixture.Path("备份")));
    box->UpButton()->Click();
    ListWidget(box->Entries())->setCurrentRow(1);
    EXPECT_EQ(box->FileNameEdit()->Text(), QStringLiteral("工资.GZBK"));
    box->OkButton()->Click();
  });
  TFileDialogRequest request = Request(fdOpen, fixture);
  ASSERT_TRUE(TDialogs::ChooseFile(request));
  EXPECT_EQ(request.FileName, fixture.Path("工资.GZBK"));
  EXPECT_EQ(request.FilterIndex, 1);

  QTimer::singleShot(0, [] { OpenForm<TFileForm>()->Close(); });
  request.FileName.clear();
  EXPECT_FALSE(TDialogs::ChooseFile(request));
  EXPECT_EQ(owner.Exceptions, QStringList());
}

TEST(FileDialogForms, TheFolderBoxStaysAboveItsOwnerBelowItsRootAndReturnsTheChosenFolder) {
  TFolderFixture fixture;
  uitest::TShownForm owner;
  bool above = false, upAtRoot = true, upBelow = false;
  QTimer::singleShot(0, [&] {
    auto* box = OpenForm<TFolderForm>();
    ASSERT_NE(box, nullptr);
    above = box->Handle()->windowHandle()->transientParent() == owner.Form->Handle()->windowHandle();
    EXPECT_EQ(box->ClassName(), QStringLiteral("#32770"));
    EXPECT_EQ(Entries(box->Entries()), QStringList({QStringLiteral("备份")}));
    upAtRoot = box->UpButton()->Enabled();
    ListWidget(box->Entries())->setCurrentRow(0);
    EXPECT_EQ(box->PathEdit()->Text(), QDir::toNativeSeparators(QDir::cleanPath(fixture.Path("备份"))));
    Q_EMIT ListWidget(box->Entries())->itemDoubleClicked(ListWidget(box->Entries())->item(0));
    upBelow = box->UpButton()->Enabled();
    EXPECT_EQ(box->Chosen(), QDir::cleanPath(fixture.Path("备份")));
    box->OkButton()->Click();
  });
  String folder;
  ASSERT_TRUE(TDialogs::SelectDirectory(QStringLiteral("选择自动备份文件保存的目标路径"), fixture.Dir.path(), folder, owner.Form));
  EXPECT_EQ(folder, QDir::cleanPath(fixture.Path("备份")));
  EXPECT_TRUE(above);
  EXPECT_FALSE(upAtRoot);
  EXPECT_TRUE(upBelow);

  // A proposed folder outside the root is not where the box starts; cancelling keeps the text.
  QTimer::singleShot(0, [&] {
    auto* box = OpenForm<TFolderForm>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Folder(), QDir::cleanPath(fixture.Dir.path()));
    box->Close();
  });
  folder = QDir::rootPath();
  EXPECT_FALSE(TDialogs::SelectDirectory(QStringLiteral("选择"), fixture.Dir.path(), folder));
  EXPECT_EQ(folder, QDir::rootPath());
  EXPECT_EQ(owner.Exceptions, QStringList());
}

TEST(FileDialogForms, TheFolderBoxTakesATypedPathAndRefusesOneThatIsNoFolder) {
  TFolderFixture fixture;
  QDir(fixture.Path("备份")).mkdir(QStringLiteral("月度"));
  uitest::TShownForm owner;
  QStringList refused;
  QTimer::singleShot(0, [&] {
    auto* box = OpenForm<TFolderForm>();
    ASSERT_NE(box, nullptr);
    // Typed text reaches the field; a path that names nothing keeps the box open.
    QWidget* field = box->PathEdit()->Handle();
    box->PathEdit()->SetText(String());
    for (const QChar c : QStringLiteral("无此目录")) uitest::PressKey(field, 0, QString(c));
    EXPECT_EQ(box->PathEdit()->Text(), QStringLiteral("无此目录"));
    {
      TScriptedDialogs answers;
      answers.AnswerMessageBox(IDOK);
      box->OkButton()->Click();
      refused = QStringList(answers.Log().begin(), answers.Log().end());
    }
    EXPECT_TRUE(box->Visible());
    // A relative path is read from the folder shown, an absolute one as it stands.
    box->PathEdit()->SetText(QStringLiteral("备份/月度"));
    EXPECT_EQ(box->Chosen(), QDir::cleanPath(fixture.Dir.path()));
    uitest::PressKey(field, Qt::Key_Return, QStringLiteral("\r"));
  });
  String folder;
  ASSERT_TRUE(TDialogs::SelectDirectory(QStringLiteral("选择"), fixture.Dir.path(), folder, owner.Form));
  EXPECT_EQ(folder, QDir::cleanPath(fixture.Path("备份/月度")));
  ASSERT_EQ(refused.size(), 1);
  EXPECT_TRUE(refused[0].contains(QStringLiteral("路径不存在"))) << refused[0].toStdString();

  QTimer::singleShot(0, [&] {
    auto* box = OpenForm<TFolderForm>();
    ASSERT_NE(box, nullptr);
    box->PathEdit()->SetText(QDir::toNativeSeparators(fixture.Path("备份")));
    box->OkButton()->Click();
  });
  ASSERT_TRUE(TDialogs::SelectDirectory(QStringLiteral("选择"), fixture.Dir.path(), folder, owner.Form));
  EXPECT_EQ(folder, QDir::cleanPath(fixture.Path("备份")));
  EXPECT_EQ(owner.Exceptions, QStringList());
}
