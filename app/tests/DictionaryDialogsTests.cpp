#include "MessageRecorder.h"
#include "ModalDriver.h"
#include "ScratchPayrollDb.h"
#include "app/PayItemSets.h"
#include "app/uGSBaseSet.h"
#include "app/uGSBaseSetEdit.h"
#include "dbgrid/DBGridX.h"
#include "app/uGZBaseSet.h"
#include "app/uGZSetEdit.h"
#include "app/uZWDict.h"
#include "platform/db/ADODB.h"
#include "platform/rtl/Files.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

class DictionaryDialogTest : public ::testing::Test {
protected:
  DictionaryDialogTest() { StructUpdate(); }
  String Item(const String& Month, const char* Field) {
    return Db.Query(QStringLiteral("select GZName || '|' || ShowStu || '|' || ifnull(CalcStr, '') from TGZSet "
                                   "where GZMonth=%1 and GZField1='%2'")
                        .arg(QuotedStr(Month), QLatin1String(Field)));
  }
  String Brackets() {
    return Db.Query(QStringLiteral("select group_concat(ClassIdx || ':' || YNSTotal || '/' || YNSTotalNJ || '/' || "
                                   "SLRate || '/' || SQKCS, ' ') from (select * from TGSModel order by ClassIdx)"));
  }
  // Opens the item editor from Form's earnings grid on the item at Row and lets Steps work in it.
  static void EditEarning(TfrmGZBaseSet* Form, Integer Row, std::function<void(TfrmGZSetEdit*)> Steps) {
    Form->dsEarnings->First();
    Form->dsEarnings->MoveBy(Row);
    WhenModal<TfrmGZSetEdit>(std::move(Steps));
    Form->Button3->Click();
  }
  // The second earning becomes "岗位津贴" (hidden, with a formula), the first deduction "餐费".
  static void EditSecondEarningAndFirstDeduction(TfrmGZBaseSet* Form) {
    EditEarning(Form, 1, [](TfrmGZSetEdit* Edit) {
      Edit->EditName->SetText(U("岗位津贴"));
      Edit->cmbUseStu->SetItemIndex(1);
      Edit->EditCalcStr->SetText(U("[基本工资]*0.1"));
      Edit->btnSave->Click();
    });
    Form->dsDeductions->First();
    WhenModal<TfrmGZSetEdit>([](TfrmGZSetEdit* Edit) {
      Edit->EditName->SetText(U("餐费"));
      Edit->btnSave->Click();
    });
    Form->Button4->Click();
  }
  TScratchPayrollDb Db;
  TMessageRecorder Messages;
  TScriptedDialogs Dialogs;
};

TEST_F(DictionaryDialogTest, AMonthWithoutItemsEditsAndSavesTheBaseItemsTogether) {
  const String Before = Item(QStringLiteral("BASE"), "GZ2");
  WhenModal<TfrmGZBaseSet>([](TfrmGZBaseSet* Form) {
    EXPECT_EQ(Form->EditMonth->Text(), QStringLiteral("BASE"));
    EditSecondEarningAndFirstDeduction(Form);
    Form->Button1->Click();
  });
  EXPECT_TRUE(ShowGZBaseSet(QStringLiteral("201901")));
  EXPECT_EQ(Item(QStringLiteral("BASE"), "GZ2"), U("岗位津贴|1|[基本工资]*0.1"));
  EXPECT_EQ(Item(QStringLiteral("BASE"), "KK1").section(u'|', 0, 0), U("餐费"));

  // Cancel, in the editor or in the list, writes nothing.
  WhenModal<TfrmGZBaseSet>([](TfrmGZBaseSet* Form) {
    EditEarning(Form, 1, [](TfrmGZSetEdit* Edit) {
      Edit->EditName->SetText(U("不要"));
      Edit->btnCancel->Click();
    });
    EXPECT_EQ(Form->dsEarnings->FieldByName(QStringLiteral("GZName"))->AsString(), U("岗位津贴"));
    EditEarning(Form, 1, [](TfrmGZSetEdit* Edit) {
      Edit->EditName->SetText(U("也不要"));
      Edit->btnSave->Click();
    });
    Form->Button2->Click();
  });
  EXPECT_FALSE(ShowGZBaseSet(QStringLiteral("BASE")));
  EXPECT_EQ(Item(QStringLiteral("BASE"), "GZ2"), U("岗位津贴|1|[基本工资]*0.1"));
  EXPECT_NE(Before, Item(QStringLiteral("BASE"), "GZ2"));
}

TEST_F(DictionaryDialogTest, AMonthsOwnItemsAreQuotedAndAMissingCaptionIsRefused) {
  const String Month = QStringLiteral("O'Brien月");
  Db.Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                         "select %1, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr from TGZSet where GZMonth='BASE'")
              .arg(QuotedStr(Month)));
  WhenModal<TfrmGZBaseSet>([&Month, this](TfrmGZBaseSet* Form) {
    EXPECT_EQ(Form->EditMonth->Text(), Month);
    EXPECT_EQ(Form->dsEarnings->RecordCount(), 30);
    EXPECT_EQ(Form->dsDeductions->RecordCount(), 15);
    EditEarning(Form, 0, [this](TfrmGZSetEdit* Edit) {
      Edit->EditName->SetText(String());
      Edit->btnSave->Click();
      EXPECT_EQ(Messages.Messages().last(), U("请务必输入工资项目名称！"));
      EXPECT_FALSE(Edit->ModalResult() == mrOk);
      Edit->EditName->SetText(U("底薪"));
      Edit->btnSave->Click();
    });
    Form->Button1->Click();
  });
  EXPECT_TRUE(ShowGZBaseSet(Month));
  EXPECT_EQ(Item(Month, "GZ1").section(u'|', 0, 0), U("底薪"));
  EXPECT_NE(Item(QStringLiteral("BASE"), "GZ1").section(u'|', 0, 0), U("底薪"));
}

TEST_F(DictionaryDialogTest, AFailedSaveKeepsEveryEditAndShowsTheError) {
  Db.Exec(QStringLiteral("create trigger refuse before update on TGZSet when new.GZType = 1 "
                         "begin select raise(abort, 'deductions refused'); end"));
  WhenModal<TfrmGZBaseSet>([this](TfrmGZBaseSet* Form) {
    EditSecondEarningAndFirstDeduction(Form);
    Form->Button1->Click();
    ASSERT_EQ(Messages.Messages().size(), 1);
    EXPECT_TRUE(Messages.Messages()[0].startsWith(U("存储数据发生错误！\n")));
    EXPECT_TRUE(Messages.Messages()[0].contains(QStringLiteral("deductions refused"))) << Messages.Messages()[0].toStdString();
    EXPECT_NE(Form->ModalResult(), mrOk);
    EXPECT_NE(Item(QStringLiteral("BASE"), "GZ2").section(u'|', 0, 0), U("岗位津贴"));
    // Both edits are still in the lists, and a second save once the database
    // takes them writes both.
    Form->dsEarnings->First();
    Form->dsEarnings->MoveBy(1);
    EXPECT_EQ(Form->dsEarnings->FieldByName(QStringLiteral("GZName"))->AsString(), U("岗位津贴"));
    Form->dsDeductions->First();
    EXPECT_EQ(Form->dsDeductions->FieldByName(QStringLiteral("GZName"))->AsString(), U("餐费"));
    Db.Exec(QStringLiteral("drop trigger refuse"));
    Form->Button1->Click();
  });
  EXPECT_TRUE(ShowGZBaseSet(QStringLiteral("BASE")));
  EXPECT_EQ(Item(QStringLiteral("BASE"), "GZ2").section(u'|', 0, 0), U("岗位津贴"));
  EXPECT_EQ(Item(QStringLiteral("BASE"), "KK1").section(u'|', 0, 0), U("餐费"));
}

TEST_F(DictionaryDialogTest, ACaptionNamingTheIncomeTaxOffersTheTaxFormula) {
  struct Case {
    const char* Caption;
    Integer Answer;
    const char* Formula;
  };
  for (const Case& C : {Case{"个人所得税", IDYES, "[&个税]"}, Case{"代扣个税", IDNO, "[a]"}, Case{"税金", IDYES, "[a]"}}) {
    SCOPED_TRACE(C.Caption);
    TfrmGZSetEdit Edit(nullptr);
    Edit.EditCalcStr->SetText(QStringLiteral("[a]"));
    Edit.EditName->SetText(U(C.Caption));
    Dialogs.AnswerMessageBox(C.Answer);
    Messages.Clear();
    Edit.EditNameExit();
    EXPECT_EQ(Edit.EditCalcStr->Text(), U(C.Formula));
    EXPECT_EQ(Messages.Messages().size(), QString::fromUtf8(C.Formula) == QStringLiteral("[&个税]") ? 1 : 0);
  }
  EXPECT_EQ(Dialogs.Unexpected(), 0);
  EXPECT_FALSE(Dialogs.ScriptDone());  // "税金" holds no "个": nobody was asked
}

TEST_F(DictionaryDialogTest, BracketsAreAddedAboveEditedAndDeletedFromTheTop) {
  const String Seeded = Brackets();
  TfrmGSBaseSet Form(nullptr);
  Form.ReadyData();
  ASSERT_EQ(Form.dsGSModel->RecordCount(), 7);
  WhenModal<TfrmGSBaseSetEdit>([](TfrmGSBaseSetEdit* Edit) {
    EXPECT_EQ(Edit->cmbClassIdx->ItemIndex(), 7);  // level 8
    Edit->EditYNSTotal->SetText(QStringLiteral("2000000"));
    Edit->EditSLRate->SetText(QStringLiteral("50"));
    Edit->EditSQKCS->SetText(QStringLiteral("1000"));
    Edit->btnOk->Click();
  });
  Form.cmdAdd->Click();
  EXPECT_EQ(Brackets().section(u' ', 7), QStringLiteral("8:2000000.0/2000000.0/50.0/1000.0"));

  // Editing shows the current bracket in two decimals and keeps its level.
  Form.dsGSModel->First();
  WhenModal<TfrmGSBaseSetEdit>([](TfrmGSBaseSetEdit* Edit) {
    EXPECT_EQ(Edit->cmbClassIdx->ItemIndex(), 0);
    EXPECT_EQ(NormalizeNumText(Edit->EditSLRate->Text()), QStringLiteral("3.00"));
    Edit->EditSQKCS->SetText(QStringLiteral("5"));
    Edit->btnOk->Click();
  });
  Form.cmdEdit->Click();
  EXPECT_EQ(Brackets().section(u' ', 0, 0).section(u'/', 3), QStringLiteral("5.0"));

  // A ninth is taken, a tenth refused.
  WhenModal<TfrmGSBaseSetEdit>([](TfrmGSBaseSetEdit* Edit) {
    EXPECT_EQ(Edit->cmbClassIdx->ItemIndex(), 8);
    Edit->btnOk->Click();
  });
  Form.cmdAdd->Click();
  Form.cmdAdd->Click();
  EXPECT_EQ(Messages.Messages().last(), U("个税等级最多只能设置9级！"));
  EXPECT_EQ(Form.dsGSModel->RecordCount(), 9);

  // Delete asks about the highest level whatever is selected; only Yes deletes.
  Form.dsGSModel->First();
  Dialogs.AnswerMessageBox(IDNO);
  Form.cmdDelete->Click();
  EXPECT_EQ(Form.dsGSModel->RecordCount(), 9);
  Dialogs.AnswerMessageBox(IDYES);
  Dialogs.AnswerMessageBox(IDYES);
  Form.cmdDelete->Click();
  Form.cmdDelete->Click();
  EXPECT_EQ(Dialogs.Log().back(), U("MessageBox ") + Application->Title() + U(": 将删除最后1条，是否继续？"));
  EXPECT_EQ(Brackets().section(u' ', 1), Seeded.section(u' ', 1));
  EXPECT_EQ(Brackets().section(u' ', 0, 0).section(u'/', 3), QStringLiteral("5.0"));
}

TEST_F(DictionaryDialogTest, TheThresholdIsWrittenOnLeavingItsField) {
  TfrmGSBaseSet Form(nullptr);
  Form.ReadyData();
  EXPECT_EQ(NormalizeNumText(Form.EditGSLimit->Text()), Db.Query(QStringLiteral("select GSLimit from TPara")));
  for (const auto& [Typed, Stored] : {std::pair{"3500", "3500"}, std::pair{"", "0"}}) {
    Form.EditGSLimit->SetText(QString::fromLatin1(Typed));
    Form.EditGSLimitExit();
    EXPECT_EQ(Db.Query(QStringLiteral("select GSLimit from TPara")), QString::fromLatin1(Stored)) << Typed;
  }
}

TEST_F(DictionaryDialogTest, JobTitlesAreFetchedSavedAndReadBack) {
  Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, ZWName) values "
                         "('202401', 'A', 'x', '出纳'), ('202401', 'A', 'y', ' '), ('202401', 'B', 'z', '出纳')"));
  {
    TfrmZWDict Form(nullptr);
    EXPECT_EQ(Form.EditZW->Lines()->Count(), 0);
    Form.cmdAutoClick();
    EXPECT_EQ(Form.EditZW->Lines()->Text(), U(" \r\n出纳\r\n"));
    Form.EditZW->Lines()->Add(U("主管"));
    Form.cmdSHClick();
    EXPECT_EQ(Form.ModalResult(), mrOk);
  }
  EXPECT_TRUE(FileExists(ResolvePath(Settings().GAppPath, QStringLiteral("zw.txt"))));
  TfrmZWDict Again(nullptr);
  EXPECT_EQ(Again.EditZW->Lines()->Text(), U(" \r\n出纳\r\n主管\r\n"));

  // A file that cannot be replaced keeps the window open with the reason.
  const String File = JobTitlesFile();
  ASSERT_TRUE(QFile::remove(File));
  ASSERT_TRUE(QDir().mkdir(File));
  Again.EditZW->Lines()->Add(U("会计"));
  Again.cmdSHClick();
  EXPECT_EQ(Messages.Messages().last(), U("存储数据发生错误，确认当前系统操作员有对本软件安装路径下的写入权限！"));
  EXPECT_NE(Again.ModalResult(), mrOk);
}

}  // namespace

TEST_F(DictionaryDialogTest, TheBracketsGoToAWorkbookAndTheListStaysUsable) {
  QStringList Opened;
  const TShellOpenProc Previous = SetShellOpenProc([&](const String& File, const String&) { Opened << File; });
  TfrmGSBaseSet Form(nullptr);
  Form.ReadyData();
  Form.cmdExcel->Click();
  SetShellOpenProc(Previous);
  ASSERT_EQ(Opened.size(), 1);
  EXPECT_TRUE(QFileInfo(Opened[0]).isFile()) << Opened[0].toStdString();
  EXPECT_TRUE(Opened[0].endsWith(QStringLiteral(".xls")));
  QFile Sheet(Opened[0]);
  ASSERT_TRUE(Sheet.open(QIODevice::ReadOnly));
  EXPECT_TRUE(Sheet.read(2) == QByteArray("\x09\x08", 2));  // a BIFF worksheet begins with BOF
  const QString Artifacts = qEnvironmentVariable("MOLI_ARTIFACTS");
  if (!Artifacts.isEmpty() && QDir().mkpath(Artifacts)) {
    QFile::remove(QDir(Artifacts).filePath(QStringLiteral("brackets.xls")));
    QFile::copy(Opened[0], QDir(Artifacts).filePath(QStringLiteral("brackets.xls")));
  }
  EXPECT_TRUE(Form.DBGridEh1->Enabled());
  EXPECT_TRUE(Messages.Messages().isEmpty());
}
