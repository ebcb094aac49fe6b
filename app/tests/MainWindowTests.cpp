// The main window over a real payroll database in a scratch program folder,
// with every question to the user scripted.
#include "app/tests/ColumnFit.h"
#include "app/tests/MessageRecorder.h"
#include "app/tests/ModalDriver.h"
#include "app/tests/TestDataModule.h"
#include "app/LoginPassword.h"
#include "app/uGZBaseSet.h"
#include "app/uGZDetailEdit.h"
#include "app/uGZSetEdit.h"
#include "app/RecordColumns.h"
#include "app/uMain.h"
#include "app/uParaSet.h"
#include "app/uPassInput.h"
#include "app/uReBulid.h"
#include "app/uSelectHisMonth.h"
#include "dbgrid/DBGridXStyle.h"
#include "platform/report/ReportWindows.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Dialogs.h"
#include "platform/testing/TestPaths.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinManage.h"
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegion>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> Urls;
public Q_SLOTS:
  void Open(const QUrl& Url) { Urls << Url; }
};

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &Browser, "Open");
    TClock::SetCurrent(&Clock);
  }
  void TearDown() override {
    TClock::SetCurrent(nullptr);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(Dialogs.Unexpected(), CancelledDialogs);
    EXPECT_TRUE(Dialogs.ScriptDone());
  }
  // A main window as the program makes it; the end of the program is recorded.
  std::unique_ptr<TfrmMainGZT> OpenWindow() {
    auto Window = std::make_unique<TfrmMainGZT>(nullptr);
    Window->EndProcess = [this] { ++ProgramEnds; };
    return Window;
  }
  void Exec(const String& Sql) { DM->ADOLocal->ExecuteSql(Sql); }
  String Query(const String& Sql) { return DM->GetDataBySQL(Sql); }
  void AddMonth(const String& Month) {
    Exec(QStringLiteral("insert into TGZMonth (GZMonth) values (%1)").arg(QuotedStr(Month)));
  }
  void AddRecord(const String& Month, const char* Depart, const char* Name, double Pay, const char* Code = "") {
    Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, EmpCode, ZWName, GZ1, YFTotal, GZTotal) "
                        "values (%1, %2, %3, %4, ' ', %5, %5, %5)")
             .arg(QuotedStr(Month), QuotedStr(U(Depart)), QuotedStr(U(Name)), QuotedStr(U(Code)))
             .arg(Pay, 0, 'f', 2));
  }
  // "name/name/..." of the records in the list, in list order.
  String ListedNames(TfrmMainGZT& Window) {
    QStringList Names;
    TDataSet* Records = Window.dsGZDetail;
    if (!Records->Active()) return QStringLiteral("(closed)");
    for (Records->First(); !Records->Eof(); Records->Next())
      Names << Records->FieldByName(QStringLiteral("EmpName"))->AsString();
    return Names.join(u'/');
  }
  // The stored months, newest first, as a new month list shows them; the
  // window's list must hold as many.
  QStringList Months(TfrmMainGZT& Window) {
    TStringList Names;
    DM->GetDataBySQLToItems(QStringLiteral("select GZMonth from TGZMonth order by ID desc"), &Names, true);
    EXPECT_EQ(Window.dsGZMonth->RecordCount(), Names.Count());
    return Names.Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  void ChooseMonthInPicker(const String& Month) {
    WhenModal<TfrmSelectHisMonth>([Month](TfrmSelectHisMonth* Picker) {
      ASSERT_TRUE(Picker->dsMonths->Locate(QStringLiteral("GZMonth"), Month, {}));
      Picker->btnSelect->Click();
    });
  }

  TMessageRecorder Messages;
  TScriptedDialogs Dialogs;
  TManualClock Clock{45306.5};  // 2024-01-15 12:00
  TTestDataModule Module;
  UrlCatcher Browser;
  int ProgramEnds = 0;
  // Dialogs a test leaves unscripted on purpose: the user cancels them.
  int CancelledDialogs = 0;
};

TEST_F(MainWindowTest, AFirstStartShowsTheTutorialOnceAndLaterStartsCheckTheBackupFolder) {
  auto Window = OpenWindow();
  EXPECT_EQ(Window->Caption(), U("墨鲤工资条制作打印软件"));
  EXPECT_TRUE(Window->dsGZMonth->IsEmpty());
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZSet where GZMonth='BASE'")), QStringLiteral("45"));

  Window->FormActivate(Window.get());
  EXPECT_EQ(Messages.Messages(), QStringList{U("您是首次运行本软件，点击确认按钮然后查看软件使用动画说明！")});
  ASSERT_EQ(Browser.Urls.size(), 1);
  EXPECT_TRUE(Browser.Urls[0].toLocalFile().endsWith(QStringLiteral("/Help/Tessaly.htm")));
  EXPECT_TRUE(QFile::exists(Module.Folder().File(QStringLiteral("NotFirst.txt"))));
  EXPECT_FALSE(Window->Timer1->Enabled());
  Window->FormActivate(Window.get());  // only the first activation counts
  EXPECT_EQ(Messages.Messages().size(), 1);

  Messages.Clear();
  Window = OpenWindow();
  Integer Reads = 0;
  Window->dsGZDetail->BeforeOpen = [&](TDataSet*) { ++Reads; };
  Window->FormActivate(Window.get());
  EXPECT_TRUE(Messages.Messages().isEmpty());
  EXPECT_TRUE(Window->Timer1->Enabled());
  EXPECT_EQ(Reads, 0) << "without a password the list just read is not read again";

  // No backup folder yet: the user is asked for one, and it is remembered.
  const String Chosen = Module.Folder().File(QStringLiteral("backups"));
  QDir().mkpath(Chosen);
  Dialogs.AnswerFolder(Chosen);
  Window->Timer1Timer(Window->Timer1);
  EXPECT_FALSE(Window->Timer1->Enabled());
  EXPECT_EQ(Messages.Messages().size(), 1);
  EXPECT_EQ(Settings().GAutoBakPath, Chosen + u'/');
  TStringList Saved;
  Saved.LoadFromFile(Module.Folder().File(QStringLiteral("AutoBakPath.txt")));
  EXPECT_EQ(Saved.Strings(0), Chosen + u'/');

  // A remembered folder that exists asks nothing; one that has gone asks again.
  Messages.Clear();
  Settings().GAutoBakPath.clear();
  Window->Timer1Timer(Window->Timer1);
  EXPECT_TRUE(Messages.Messages().isEmpty());
  EXPECT_EQ(Settings().GAutoBakPath, Chosen + u'/');
  QDir(Chosen).removeRecursively();
  Window->Timer1Timer(Window->Timer1);
  ++CancelledDialogs;  // the folder picker
  EXPECT_EQ(Messages.Messages().size(), 2);
  EXPECT_EQ(Messages.Messages().last(), U("您没有成功指定自动备份路径，可下次登陆系统提示的时候再指定！"));
}

TEST_F(MainWindowTest, ListsShowTheNewestMonthAndFiltersNarrowItsRecords) {
  AddMonth(QStringLiteral("202312"));
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202312"), "销售部", "旧人", 100);
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000, "E01");
  AddRecord(QStringLiteral("202401"), "生产部", "李四", 4000, "E02");
  AddRecord(QStringLiteral("202401"), "生产部", "O'Neil", 5000, "E03");
  Exec(QStringLiteral("update TGZ set SelectStu=1 where EmpCode='E01'"));
  Exec(QStringLiteral("update TGZ set SelectStu=NULL where EmpCode='E02'"));
  auto Window = OpenWindow();
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ where SelectStu is not 0")), QStringLiteral("0"))
      << "showing a month clears its print marks";
  EXPECT_EQ(Months(*Window), (QStringList{QStringLiteral("202401"), QStringLiteral("202312")}));
  Window->dsGZMonth->First();
  EXPECT_EQ(ListedNames(*Window), U("O'Neil/李四/张三"));
  EXPECT_EQ(Window->grpDetail->Caption(), U("月度[202401]工资发放明细表"));
  EXPECT_EQ(Window->cmbDepart->Items()->Text(), U("生产部\r\n销售部\r\n"));
  Window->dsGZDetail->First();
  EXPECT_EQ(Window->dsGZDetail->FieldByName(QStringLiteral("SortIdx"))->AsInteger(), 1);
  Window->dsGZDetail->Last();
  EXPECT_EQ(Window->dsGZDetail->FieldByName(QStringLiteral("SortIdx"))->AsInteger(), 3);

  struct Case { const char* depart; const char* name; const char* code; const char* listed; };
  for (const Case& c : std::initializer_list<Case>{{"生产", "", "", "O'Neil/李四"},
                                                   {"", "张", "", "张三"},
                                                   {"", "", "E0", "O'Neil/李四/张三"},
                                                   {"生产部", "", "E02", "李四"},
                                                   {"", "O'N", "", "O'Neil"},
                                                   {"' or '1'='1", "", "", ""},
                                                   // Typed wildcards match only themselves.
                                                   {"%", "", "", ""},
                                                   {"", "_", "", ""},
                                                   {"", "", "E0_", ""}}) {
    Window->cmbDepart->SetText(U(c.depart));
    Window->cmbName->SetText(U(c.name));
    Window->cmbEmpCode->SetText(U(c.code));
    Window->dsGZMonthAfterScroll(Window->dsGZMonth);
    EXPECT_EQ(ListedNames(*Window), U(c.listed)) << c.depart << "|" << c.name << "|" << c.code;
  }
  Window->btnClearFilter->Click();
  EXPECT_EQ(ListedNames(*Window), U("O'Neil/李四/张三"));

  Window->dsGZMonth->Next();
  EXPECT_EQ(ListedNames(*Window), U("旧人"));
  EXPECT_EQ(Window->cmbName->Items()->Text(), U("旧人\r\n"));

  // Back to the newest month: its names reach the list's window at once, and the footers'
  // sums walk the records once for the new layout and once for the opened list, not once a footer.
  auto* NameBox = qobject_cast<QComboBox*>(Window->cmbName->Handle());
  ASSERT_NE(NameBox, nullptr);
  QList<int> Inserts;
  QObject::connect(NameBox->model(), &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int First, int Last) { Inserts << Last - First + 1; });
  Integer Recalcs = 0;
  Window->DBGridEh2->OnSumListRecalcAll = [&](TObject*) { ++Recalcs; };
  Window->dsGZMonth->Prior();
  EXPECT_EQ(NameBox->count(), 3);
  EXPECT_EQ(Inserts, QList<int>{3});
  EXPECT_LE(Recalcs, 2);
  EXPECT_EQ(Window->DBGridEh2->FooterValueText(0, 57), QStringLiteral("12000.00"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(MainWindowTest, ItemColumnsFollowTheMonthsItemsByTheirFields) {
  AddMonth(QStringLiteral("202312"));
  AddMonth(QStringLiteral("202401"));
  const auto Item = [this](const char* Field, const char* Name, int Type, int Sort, int Show) {
    Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                        "values ('202401', '%1', %2, %3, %4, %5, ' ')")
             .arg(QLatin1String(Field), QuotedStr(U(Name)))
             .arg(Type)
             .arg(Sort)
             .arg(Show));
  };
  Item("GZ2", "岗位工资", 0, 1, 0);  // listed first, still titles the column of GZ2
  Item("gz1", "基本工资", 0, 2, 0);
  Item("GZ3", "奖金", 0, 3, 1);
  Item("KK1", "社保", 1, 1, 0);
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100);
  Exec(QStringLiteral("update TGZ set GZ2=50, GZ3=999, KK1=10, YFTotal=0, GZTotal=0"));
  Settings().GPrintDays = 0;
  auto Window = OpenWindow();
  EXPECT_EQ(Window->ColumnTitle(10), U("应发工资|基本工资"));
  EXPECT_EQ(Window->ColumnTitle(11), U("应发工资|岗位工资"));
  EXPECT_EQ(Window->ColumnTitle(12), U("应发工资|奖金"));
  EXPECT_EQ(Window->ColumnTitle(41), U("应扣/代扣工资|社保"));
  const auto Shown = [&Window](Integer From, Integer To) {
    QList<Integer> Columns;
    for (Integer i = From; i <= To; ++i)
      if (Window->ColumnVisible(i)) Columns << i;
    return Columns;
  };
  EXPECT_EQ(Shown(10, 56), (QList<Integer>{10, 11, 40, 41, 56}));

  // The totals of the list come from the shown items only.
  Window->ReCalcAll();
  EXPECT_EQ(Query(QStringLiteral("select YFTotal || '/' || KKTotal || '/' || GZTotal from TGZ")),
            QStringLiteral("150.0/10.0/140.0"));

  // A month without items of its own shows the default items, all disabled here.
  Window->dsGZMonth->Next();
  EXPECT_EQ(Shown(10, 56), (QList<Integer>{40}));

  struct Case { int mode; QList<Integer> shown; const char* daysTitle; };
  for (const Case& c : std::initializer_list<Case>{{0, {}, "出勤天数"}, {1, {7, 9}, "出勤天数"},
                                                   {2, {7, 8, 9}, "出勤天数"}, {3, {7, 9}, "出勤数"}}) {
    Settings().GPrintDays = c.mode;
    Window->ReadyGrid(QStringLiteral("202401"));
    EXPECT_EQ(Shown(7, 9), c.shown) << c.mode;
    EXPECT_EQ(Window->ColumnTitle(7), U(c.daysTitle)) << c.mode;
  }
}

TEST_F(MainWindowTest, TheListFollowsThePayItemsDialogAndItsTotalsAreComputedAgain) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100);
  Exec(QStringLiteral("update TGZ set YFTotal=0, GZTotal=0"));
  auto Window = OpenWindow();
  EXPECT_FALSE(Window->ColumnVisible(10));  // the default items start disabled
  Window->cmbDepart->SetText(U("销售部"));
  WhenModal<TfrmGZBaseSet>([](TfrmGZBaseSet* Form) {
    EXPECT_EQ(Form->EditMonth->Text(), QStringLiteral("BASE"));
    WhenModal<TfrmGZSetEdit>([](TfrmGZSetEdit* Edit) {
      Edit->EditName->SetText(U("基本工资"));
      Edit->cmbUseStu->SetItemIndex(0);
      Edit->btnSave->Click();
    });
    Form->Button3->Click();
    Form->Button1->Click();
  });
  Window->ToolButton21Click(nullptr);
  EXPECT_TRUE(Window->ColumnVisible(10));
  EXPECT_EQ(Window->ColumnTitle(10), U("应发工资|基本工资"));
  EXPECT_TRUE(Window->cmbDepart->Text().isEmpty());
  EXPECT_EQ(Query(QStringLiteral("select YFTotal || '/' || GZTotal from TGZ")), QStringLiteral("100.0/100.0"));
}

TEST_F(MainWindowTest, MonthsAreAddedRenamedAndDeletedWhateverTheirNames) {
  AddMonth(QStringLiteral("202312"));
  AddRecord(QStringLiteral("202312"), "销售部", "张三", 3000);
  Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                      "values ('202312', 'GZ1', '基本工资', 0, 1, 0, ' ')"));
  auto Window = OpenWindow();

  // Added with the proposed name, modelled on the chosen month.
  Dialogs.AnswerInput(QStringLiteral("202401"));
  ChooseMonthInPicker(QStringLiteral("202312"));
  Window->Button1Click(nullptr);
  EXPECT_EQ(Dialogs.Log().front(), U("Input 请输入新的工资发放月度: 请输入新的工资发放月度："));
  EXPECT_EQ(Months(*Window), (QStringList{QStringLiteral("202401"), QStringLiteral("202312")}));
  EXPECT_EQ(Window->CurrentMonth(), QStringLiteral("202401"));
  EXPECT_EQ(Query(QStringLiteral("select GZName from TGZSet where GZMonth='202401'")), U("基本工资"));

  // Cancel adds nothing; a name that exists in other letters is refused.
  Dialogs.CancelInput();
  Window->Button1Click(nullptr);
  Dialogs.AnswerInput(QStringLiteral("x' or '1'='1"));
  WhenModal<TfrmSelectHisMonth>([](TfrmSelectHisMonth* Picker) { Picker->btnCancel->Click(); });
  Window->Button1Click(nullptr);
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZSet where GZMonth='x'' or ''1''=''1'")),
            QStringLiteral("45"));  // no model chosen: the default items
  Dialogs.AnswerInput(QStringLiteral("X' OR '1'='1"));
  Window->Button1Click(nullptr);
  EXPECT_EQ(Messages.Messages().last(), U("名称为[X' OR '1'='1]的月度已经存在！"));
  EXPECT_EQ(Months(*Window).size(), 3);

  // Renamed: records and items follow the month.
  ASSERT_TRUE(Window->dsGZMonth->Locate(QStringLiteral("GZMonth"), Variant(QStringLiteral("202312")), {}));
  Dialogs.AnswerInput(QStringLiteral("2023年12月"));
  Window->Button2Click(nullptr);
  EXPECT_EQ(Window->CurrentMonth(), U("2023年12月"));
  EXPECT_EQ(ListedNames(*Window), U("张三"));
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ where GZMonth='202312'")), QStringLiteral("0"));
  EXPECT_EQ(Query(U("select GZName from TGZSet where GZMonth='2023年12月'")), U("基本工资"));
  Dialogs.AnswerInput(QStringLiteral("202401"));
  Window->Button2Click(nullptr);
  EXPECT_EQ(Messages.Messages().last(), U("名称为：202401的月度已经存在！"));
  Dialogs.AnswerInput(U("2023年12月"));  // its own name: nothing changes
  Window->Button2Click(nullptr);
  EXPECT_EQ(Window->CurrentMonth(), U("2023年12月"));

  // Deleting the month with the hostile name removes only its own rows; only Yes deletes.
  ASSERT_TRUE(Window->dsGZMonth->Locate(QStringLiteral("GZMonth"), Variant(QStringLiteral("x' or '1'='1")), {}));
  Dialogs.AnswerMessageBox(IDCANCEL);
  Window->Button3Click(nullptr);
  EXPECT_EQ(Months(*Window).size(), 3);
  ASSERT_TRUE(Window->dsGZMonth->Locate(QStringLiteral("GZMonth"), Variant(QStringLiteral("x' or '1'='1")), {}));
  Dialogs.AnswerMessageBox(IDYES);
  Window->Button3Click(nullptr);
  EXPECT_EQ(Months(*Window), (QStringList{QStringLiteral("202401"), U("2023年12月")}));
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ")), QStringLiteral("1"));
  // What is left: the 45 items of each remaining month (completed at start, then copied).
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZSet where GZMonth<>'BASE'")), QStringLiteral("90"));

  Dialogs.AnswerMessageBox(IDYES);
  Window->Button3Click(nullptr);
  Dialogs.AnswerMessageBox(IDYES);
  Window->Button3Click(nullptr);
  EXPECT_TRUE(Window->dsGZMonth->IsEmpty());
  EXPECT_EQ(ListedNames(*Window), QString());
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ")), QStringLiteral("0"));
}

TEST_F(MainWindowTest, NoMonthTakesTheNameOfTheDefaultItems) {
  AddMonth(QStringLiteral("202401"));
  auto Window = OpenWindow();
  const String BaseItems = QStringLiteral("select count(*) from TGZSet where GZMonth='BASE'");
  ASSERT_EQ(Query(BaseItems), QStringLiteral("45"));
  for (const char* Name : {"BASE", "base", "Base"}) {
    Dialogs.AnswerInput(U(Name));
    Window->Button1Click(nullptr);
    EXPECT_EQ(Messages.Messages().last(), U("[%1]是系统默认工资结构的名称，不能作为月度名称！").arg(U(Name)));
    Dialogs.AnswerInput(U(Name));
    Window->Button2Click(nullptr);
    EXPECT_EQ(Messages.Messages().last(), U("[%1]是系统默认工资结构的名称，不能作为月度名称！").arg(U(Name)));
  }
  EXPECT_EQ(Months(*Window), QStringList{QStringLiteral("202401")});
  EXPECT_EQ(Query(BaseItems), QStringLiteral("45"));
}

TEST_F(MainWindowTest, AMonthNamedLikeTheDefaultItemsByAnEarlierVersionNeverTakesThemAway) {
  // Such a month shares the default items: a rename gives the new name a
  // copy, a deletion removes only its records.
  AddMonth(QStringLiteral("202401"));
  AddMonth(QStringLiteral("base"));
  AddRecord(QStringLiteral("202401"), "销售部", "李四", 4000);
  AddRecord(QStringLiteral("base"), "销售部", "张三", 3000);
  auto Window = OpenWindow();
  Exec(QStringLiteral("update TGZSet set GZName='基本工资', CalcStr='[GZ2]*2' where GZMonth='BASE' and GZField1='GZ1'"));
  const auto Items = [this](const char* Month) {
    return Query(QStringLiteral("select count(*) || '/' || sum(GZName = '基本工资' and CalcStr = '[GZ2]*2') "
                                "from TGZSet where GZMonth='%1'")
                     .arg(QLatin1String(Month)));
  };
  ASSERT_EQ(Items("BASE"), QStringLiteral("45/1"));

  ASSERT_TRUE(Window->dsGZMonth->Locate(QStringLiteral("GZMonth"), Variant(QStringLiteral("base")), {}));
  Dialogs.AnswerInput(QStringLiteral("202402"));
  Window->Button2Click(nullptr);
  EXPECT_EQ(Window->CurrentMonth(), QStringLiteral("202402"));
  EXPECT_EQ(ListedNames(*Window), U("张三"));
  EXPECT_EQ(Items("BASE"), QStringLiteral("45/1"));
  EXPECT_EQ(Items("202402"), QStringLiteral("45/1"));

  AddMonth(QStringLiteral("Base"));
  AddRecord(QStringLiteral("Base"), "销售部", "王五", 5000);
  Window = OpenWindow();
  ASSERT_TRUE(Window->dsGZMonth->Locate(QStringLiteral("GZMonth"), Variant(QStringLiteral("Base")), {}));
  Dialogs.AnswerMessageBox(IDYES);
  Window->Button3Click(nullptr);
  EXPECT_EQ(Months(*Window), (QStringList{QStringLiteral("202402"), QStringLiteral("202401")}));
  EXPECT_EQ(Query(QStringLiteral("select group_concat(EmpName, '/') from (select EmpName from TGZ order by ID)")),
            U("李四/张三"));
  EXPECT_EQ(Items("BASE"), QStringLiteral("45/1"));

  // A month made afterwards without a model still gets the default items.
  Dialogs.AnswerInput(QStringLiteral("202403"));
  WhenModal<TfrmSelectHisMonth>([](TfrmSelectHisMonth* Picker) { Picker->btnCancel->Click(); });
  Window->Button1Click(nullptr);
  EXPECT_EQ(Items("202403"), QStringLiteral("45/1"));
}

TEST_F(MainWindowTest, AFailedRenameChangesNothing) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000);
  auto Window = OpenWindow();
  Exec(QStringLiteral("create trigger NoMonthRename before update on TGZMonth begin select raise(abort, 'refused'); end"));
  Dialogs.AnswerInput(QStringLiteral("202402"));
  Window->Button2Click(nullptr);
  EXPECT_EQ(Messages.Messages(), QStringList{U("保存数据发生错误！")});
  EXPECT_EQ(Query(QStringLiteral("select GZMonth from TGZ")), QStringLiteral("202401"));
  EXPECT_EQ(Window->CurrentMonth(), QStringLiteral("202401"));
  EXPECT_FALSE(DM->ADOLocal->InTransaction());
}

TEST_F(MainWindowTest, RecordsAreCopiedBetweenMonthsAndDeleted) {
  AddMonth(QStringLiteral("202312"));
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202312"), "销售部", "张三", 3000.5, "E01");
  AddRecord(QStringLiteral("202312"), "生产部", "李四", 4000, "E02");
  auto Window = OpenWindow();
  ASSERT_EQ(Window->CurrentMonth(), QStringLiteral("202401"));

  // Month data copy into the empty current month.
  ChooseMonthInPicker(QStringLiteral("202312"));
  Window->Button9Click(nullptr);
  EXPECT_EQ(ListedNames(*Window), U("李四/张三"));
  EXPECT_EQ(Query(QStringLiteral("select GZ1 || '|' || EmpCode || '|' || LOGTime from TGZ where GZMonth='202401' "
                                 "and EmpName='张三'")).section(u'|', 0, 1),
            QStringLiteral("3000.5|E01"));

  // Employee copy of the current record into an existing month; Cancel copies nothing.
  Window->dsGZDetail->First();
  Dialogs.AnswerMessageBox(IDYES);
  Dialogs.CancelInput();
  Window->Button10Click(nullptr);
  Dialogs.AnswerMessageBox(IDYES);
  Dialogs.AnswerInput(QStringLiteral("没有的月"));
  Window->Button10Click(nullptr);
  EXPECT_EQ(Messages.Messages().last(), U("您输入的新月度不存在!"));
  Dialogs.AnswerMessageBox(IDYES);
  Dialogs.AnswerInput(QStringLiteral("202312"));
  Window->Button10Click(nullptr);
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ where GZMonth='202312' and EmpName='李四'")),
            QStringLiteral("2"));

  // Delete the current record only on Yes.
  Dialogs.AnswerMessageBox(IDNO);
  Window->Button6Click(nullptr);
  EXPECT_EQ(ListedNames(*Window), U("李四/张三"));
  Window->dsGZDetail->Last();
  Dialogs.AnswerMessageBox(IDYES);
  Window->Button6Click(nullptr);
  EXPECT_EQ(ListedNames(*Window), U("李四"));
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ where GZMonth='202401'")), QStringLiteral("1"));
}

TEST_F(MainWindowTest, RecordsAreAddedAndChangedInTheEditor) {
  AddMonth(QStringLiteral("202401"));
  for (const char* Item : {"('GZ1', '基本工资', 0, 1, '')", "('GZ2', '岗位工资', 0, 2, '[基本工资]*0.5')",
                           "('KK1', '个人所得税', 1, 1, '[&个税]')"})
    Exec(QStringLiteral("insert into TGZSet (GZField1, GZName, GZType, SortIdx, CalcStr) values %1")
             .arg(U(Item)));
  Exec(QStringLiteral("update TGZSet set GZMonth='202401', ShowStu=0"));
  AddRecord(QStringLiteral("202401"), "销售部", "李四", 3000);
  auto Window = OpenWindow();

  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Editor) {
    Editor->cmbDepart->SetText(U("销售部"));
    Editor->cmbEmpName->SetText(U("张三"));
    TEdit* Basic = Editor->SlotBox(sgEarnings, 0);
    Basic->SetFocus();
    Basic->SetText(QStringLiteral("8000"));
    Editor->SlotBox(sgEarnings, 1)->SetFocus();  // leaving the box computes formulas and tax
    EXPECT_EQ(Editor->SlotBox(sgEarnings, 1)->Text(), QStringLiteral("4000.00"));
    EXPECT_EQ(Editor->SlotBox(sgDeductions, 0)->Text(), QStringLiteral("490.00"));
    Editor->btnSave->Click();
  });
  Window->Button4Click(nullptr);
  EXPECT_EQ(ListedNames(*Window), U("张三/李四"));
  EXPECT_EQ(Query(U("select GZ2 || '/' || KK1 || '/' || GZTotal from TGZ where EmpName='张三'")),
            QStringLiteral("4000.0/490.0/11510.0"));

  // Changed: the list reloads and the changed record stays current.
  Window->dsGZDetail->SetSort(QStringLiteral("EmpName DESC"));
  ASSERT_TRUE(Window->dsGZDetail->Locate(QStringLiteral("EmpName"), Variant(U("李四")), {}));
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Editor) {
    EXPECT_EQ(Editor->cmbEmpName->Text(), U("李四"));
    Editor->EditQM->SetText(QStringLiteral("changed"));
    Editor->btnSave->Click();
  });
  Window->Button5Click(nullptr);
  EXPECT_EQ(Window->dsGZDetail->FieldByName(QStringLiteral("QM"))->AsString(), QStringLiteral("changed"));
  EXPECT_EQ(Query(U("select QM from TGZ where EmpName='李四'")), QStringLiteral("changed"));
}

TEST_F(MainWindowTest, AWrongLoginPasswordEndsTheProgram) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000);
  StoreLoginPassword(QStringLiteral("secret"));
  QFile(Module.Folder().File(QStringLiteral("NotFirst.txt"))).open(QIODevice::WriteOnly);
  struct Case { const char* answer; bool cancel; bool ends; };
  for (const Case& c : std::initializer_list<Case>{{"wrong", false, true}, {"", true, true}, {"secret", false, false}}) {
    Messages.Clear();
    ProgramEnds = 0;
    auto Window = OpenWindow();
    WhenModal<TfrmPassInput>([c, &Window](TfrmPassInput* Prompt) {
      EXPECT_FALSE(Window->dsGZDetail->Active()) << "the records are hidden while the login is asked";
      EXPECT_EQ(Prompt->Caption(), U("请输入登陆密码："));
      Prompt->EditPass->SetText(U(c.answer));
      (c.cancel ? Prompt->btnCancel : Prompt->btnOK)->Click();
    });
    Window->FormActivate(Window.get());
    Window->Timer1->SetEnabled(false);
    EXPECT_EQ(ProgramEnds, c.ends ? 1 : 0) << c.answer;
    EXPECT_EQ(Messages.Messages(), c.ends ? QStringList{U("密码错误！")} : QStringList{}) << c.answer;
    EXPECT_EQ(DM->ADOLocal->Connected(), !c.ends) << c.answer;
    EXPECT_EQ(Window->dsGZDetail->Active(), !c.ends) << c.answer;
  }

  // Restore and clearing ask for it too; a wrong answer ends the command before any dialog.
  auto Window = OpenWindow();
  Messages.Clear();
  for (const auto Command : {&TfrmMainGZT::MenuItem2Click, &TfrmMainGZT::N2Click}) {
    WhenModal<TfrmPassInput>([](TfrmPassInput* Prompt) {
      EXPECT_EQ(Prompt->Caption(), U("请输入登陆/管理密码："));
      Prompt->EditPass->SetText(QStringLiteral("guess"));
      Prompt->btnOK->Click();
    });
    (Window.get()->*Command)(nullptr);
  }
  EXPECT_EQ(Messages.Messages(), (QStringList{U("密码错误！"), U("密码错误！")}));
  EXPECT_EQ(ProgramEnds, 0);
}

TEST_F(MainWindowTest, TheSettingsDialogSavesAndTheListFollows) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000.5);
  auto Window = OpenWindow();
  TField* Pay = Window->dsGZDetail->FieldByName(QStringLiteral("GZ1"));
  EXPECT_EQ(Pay->DisplayText(), QStringLiteral("3000.50"));
  WhenModal<TfrmParaSet>([](TfrmParaSet* Form) {
    Form->cmbShowFloat->SetItemIndex(0);
    Form->btnSave->Click();
  });
  Window->ParaSetClick(nullptr);
  EXPECT_EQ(Settings().GShowFloat, 0);
  Pay = Window->dsGZDetail->FieldByName(QStringLiteral("GZ1"));
  EXPECT_EQ(Pay->DisplayText(), QStringLiteral("3001"));
  EXPECT_EQ(Window->dsGZDetail->FieldByName(QStringLiteral("GZTotal"))->DisplayText(), QStringLiteral("3001"));
}

TEST_F(MainWindowTest, AChosenSkinIsBuiltBeforeItReplacesTheCurrentOne) {
  const QDir Shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/RPT"));
  const QDir Rpt(Module.Folder().File(QStringLiteral("RPT")));
  QDir().mkpath(Rpt.path());
  ASSERT_TRUE(QFile::copy(Shipped.filePath(QStringLiteral("Skin.Skn")), Rpt.filePath(QStringLiteral("Skin.Skn"))));
  ASSERT_TRUE(QFile::copy(Shipped.filePath(QStringLiteral("Skin2.skn")), Rpt.filePath(QStringLiteral("Skin2.skn"))));
  QFile Bad(Rpt.filePath(QStringLiteral("Skin3.skn")));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("not a skin");
  Bad.close();
  const auto Current = [&Rpt] {
    QFile File(Rpt.filePath(QStringLiteral("Skin.Skn")));
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
  };
  const QByteArray Before = Current();
  auto Window = OpenWindow();
  EXPECT_FALSE(Window->SkinData1->SkinNotBuilt());

  for (const Integer Number : {3, 4}) {
    Messages.Clear();
    Window->SkinMenuClick(Number);
    ASSERT_EQ(Messages.Messages().size(), 1);
    EXPECT_TRUE(Messages.Messages()[0].startsWith(U("复制文件发生错误！"))) << Number;
    EXPECT_EQ(Current(), Before) << Number;
  }
  Messages.Clear();
  Window->SkinMenuClick(2);
  EXPECT_EQ(Messages.Messages(), QStringList{U("部分色彩重新启动本软件后生效！")});
  QFile Chosen(Rpt.filePath(QStringLiteral("Skin2.skn")));
  ASSERT_TRUE(Chosen.open(QIODevice::ReadOnly));
  EXPECT_EQ(Current(), Chosen.readAll());
  EXPECT_FALSE(Window->SkinData1->SkinNotBuilt());
  EXPECT_TRUE(Window->SkinData1->Active());
}

TEST_F(MainWindowTest, TheRecordGridSortsByTitleClicksSumsInItsFootersAndDeletesSelections) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000.25);
  AddRecord(QStringLiteral("202401"), "生产部", "李四", 4000.5);
  AddRecord(QStringLiteral("202401"), "生产部", "王五", 1000);
  auto Window = OpenWindow();
  TDBGridX* Grid = Window->DBGridEh2;
  const auto Footer = [Grid](Integer Col) { return Grid->FooterValueText(0, Col); };
  EXPECT_EQ(Footer(1), U("合计"));
  EXPECT_EQ(Footer(5), U("3条"));
  EXPECT_EQ(Footer(10), QStringLiteral("8000.75"));
  EXPECT_EQ(Footer(57), QStringLiteral("8000.75"));
  EXPECT_EQ(Grid->Columns()->Items(10)->DisplayFormat(), QStringLiteral("0.00"));

  // Two clicks on a title sort ascending, then descending; the direction carries over to other columns.
  TColumnX* Pay = Grid->Columns()->Items(10);
  Window->DBGridEh2TitleClick(Pay);
  EXPECT_EQ(ListedNames(*Window), U("王五/张三/李四"));
  EXPECT_EQ(Pay->Title()->SortMarker(), smDownX);
  Window->DBGridEh2TitleClick(Pay);
  EXPECT_EQ(ListedNames(*Window), U("李四/张三/王五"));
  EXPECT_EQ(Pay->Title()->SortMarker(), smUpX);

  // The settings' amount format reaches the columns and footers.
  Settings().GShowFloat = 0;
  Window->SetFloatFormat();
  EXPECT_EQ(Footer(10), QStringLiteral("8001"));

  // Batch delete of the selected rows, on Yes only.
  Window->dsGZDetail->First();
  Grid->RecordBookmarks()->AppendBookmark(Window->dsGZDetail->Bookmark());
  Window->dsGZDetail->Last();
  Grid->RecordBookmarks()->AppendBookmark(Window->dsGZDetail->Bookmark());
  Dialogs.AnswerMessageBox(IDYES);
  Window->N4Click(nullptr);
  EXPECT_EQ(ListedNames(*Window), U("张三"));
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZ")), QStringLiteral("1"));
}

TEST_F(MainWindowTest, EveryGridOfTheWindowColoursSelectionsThroughTheSharedStyle) {
  auto Window = OpenWindow();
  for (TDBGridX* Grid : {Window->DBGridEh1, Window->DBGridEh2}) {
    EXPECT_EQ(Grid->Style(), GlobalGridStyle()) << Grid->Name().toStdString();
    EXPECT_TRUE(GlobalGridStyle()->IsGridRegistered(Grid)) << Grid->Name().toStdString();
  }
}

TEST_F(MainWindowTest, BackupAndRestoreThroughTheMenus) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000);
  auto Window = OpenWindow();
  const String Archive = Module.Folder().File(QStringLiteral("Bak/20240115.GZBK"));

  Dialogs.AnswerFile(Archive);
  Window->MenuItem1Click(nullptr);
  EXPECT_EQ(Messages.Messages(), QStringList{U("数据文件备份成功！")});
  EXPECT_EQ(Dialogs.Log().back(), U("File  存储工资条数据库"));

  AddRecord(QStringLiteral("202401"), "销售部", "李四", 4000);
  Exec(QStringLiteral("delete from TGZ where EmpName='张三'"));

  // A truncated archive changes nothing; the program ends all the same.
  const String Broken = Module.Folder().File(QStringLiteral("broken.GZBK"));
  QFile::copy(Archive, Broken);
  QFile(Broken).resize(QFileInfo(Archive).size() / 2);
  Messages.Clear();
  Dialogs.AnswerFile(Broken);
  Window->MenuItem2Click(nullptr);
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].startsWith(U("数据文件还原失败"))) << Messages.Messages()[0].toStdString();
  EXPECT_EQ(ProgramEnds, 1);
  EXPECT_EQ(Query(QStringLiteral("select group_concat(EmpName) from TGZ")), U("李四"));

  Messages.Clear();
  Dialogs.AnswerFile(Archive);
  Window->MenuItem2Click(nullptr);
  EXPECT_EQ(Messages.Messages(), QStringList{U("还原数据成功，软件将关闭，请手工重新启动系统。")});
  EXPECT_EQ(ProgramEnds, 2);
  EXPECT_EQ(Query(QStringLiteral("select group_concat(EmpName) from TGZ")), U("张三"));
}

TEST_F(MainWindowTest, CloseOffersABackupIntoTheAutomaticFolder) {
  QFile(Module.Folder().File(QStringLiteral("NotFirst.txt"))).open(QIODevice::WriteOnly);
  auto Window = OpenWindow();
  Window->FormActivate(Window.get());
  Window->Timer1->SetEnabled(false);
  Window->Show();
  const String Folder = Module.Folder().File(QStringLiteral("auto"));
  QDir().mkpath(Folder);
  Settings().GAutoBakPath = Folder + u'/';
  Dialogs.AnswerMessageBox(IDYES);
  Window->ToolButton2Click(nullptr);
  EXPECT_TRUE(QFile::exists(Folder + QStringLiteral("/20240115.GZBK")));
  EXPECT_FALSE(Window->Visible());

  // A backup that fails is reported and the window stays.
  Window->Show();
  QFile::remove(Folder + QStringLiteral("/20240115.GZBK"));
  QDir().mkpath(Folder + QStringLiteral("/20240115.GZBK"));  // a folder where the archive should go
  Dialogs.AnswerMessageBox(IDYES);
  Window->ToolButton2Click(nullptr);
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].startsWith(U("备份文件发生错误，确认目标位置可写入！")));
  EXPECT_TRUE(Window->Visible());
}

TEST_F(MainWindowTest, ClearingEmptiesMonthsAndRecordsAndEndsTheProgram) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000);
  const String Contract = Module.Folder().File(QStringLiteral("db/ContractFile/sub/a.txt"));
  QDir().mkpath(QFileInfo(Contract).absolutePath());
  QFile(Contract).open(QIODevice::WriteOnly);
  auto Window = OpenWindow();

  // Cancelled: the lists reload and nothing goes.
  WhenModal<TfrmReBulid>([this](TfrmReBulid* Form) {
    Form->btnRebuild->Click();
    EXPECT_EQ(Messages.Messages(), QStringList{U("至少需要选择一项清除项目！")});
    Form->chkBasic->SetChecked(true);
    EXPECT_TRUE(Form->chkBusiness->Checked());
    Form->chkBusiness->SetChecked(false);
    EXPECT_FALSE(Form->chkBasic->Checked());
    Form->btnCancel->Click();
  });
  Window->N2Click(nullptr);
  EXPECT_EQ(ProgramEnds, 0);
  EXPECT_EQ(Months(*Window), QStringList{QStringLiteral("202401")});

  Messages.Clear();
  Dialogs.AnswerMessageBox(IDYES);
  WhenModal<TfrmReBulid>([](TfrmReBulid* Form) {
    Form->chkBusiness->SetChecked(true);
    Form->btnRebuild->Click();
  });
  Window->N2Click(nullptr);
  EXPECT_EQ(Messages.Messages(), QStringList{U("系统重建完成！")});
  EXPECT_EQ(ProgramEnds, 1);
  EXPECT_EQ(Query(QStringLiteral("select (select count(*) from TGZMonth) + (select count(*) from TGZ)")),
            QStringLiteral("0"));
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZSet where GZMonth='BASE'")), QStringLiteral("45"));
  EXPECT_FALSE(QFile::exists(Contract));
  EXPECT_TRUE(QDir(QFileInfo(Contract).absolutePath()).exists());
}

TEST_F(MainWindowTest, AFailedRebuildIsReportedAndClearsNothing) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 3000);
  Exec(QStringLiteral("create trigger KeepRecords before delete on TGZ begin select raise(abort, 'refused'); end"));
  auto Window = OpenWindow();
  Dialogs.AnswerMessageBox(IDYES);
  WhenModal<TfrmReBulid>([](TfrmReBulid* Form) {
    Form->chkBusiness->SetChecked(true);
    Form->btnRebuild->Click();
  });
  Window->N2Click(nullptr);
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].startsWith(U("系统重建失败"))) << Messages.Messages()[0].toStdString();
  EXPECT_EQ(ProgramEnds, 0);
  EXPECT_EQ(Query(QStringLiteral("select count(*) from TGZMonth")), QStringLiteral("1"));
}

TEST_F(MainWindowTest, AmountsAndMonthsShowWholeAtTheProgramsColumnWidths) {
  AddMonth(U("2026年12月"));
  AddRecord(U("2026年12月"), "销售部", "张三", 99999999.99);
  auto Window = OpenWindow();
  TDBGridX* Grid = Window->DBGridEh2;
  EXPECT_EQ(Grid->FooterValueText(0, 10), QStringLiteral("99999999.99"));
  EXPECT_EQ(Grid->Columns()->Items(57)->DisplayText(), QStringLiteral("99999999.99"));
  for (Integer i = FirstAmountColumn; i <= LastAmountColumn; ++i)
    EXPECT_TRUE(HoldsWhole(Grid->Columns()->Items(i), QStringLiteral("99999999.99"))) << i;
  EXPECT_TRUE(HoldsWhole(Grid->Columns()->Items(2), U("2026年12月")));
  EXPECT_TRUE(HoldsWhole(Window->DBGridEh1->Columns()->Items(1), U("2026年12月")));
}

TEST_F(MainWindowTest, TheDepartmentListOffersADepartmentEnteredSinceTheStart) {
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 100);
  auto Window = OpenWindow();
  EXPECT_EQ(Window->cmbDepart->Items()->IndexOf(U("财务部")), -1);
  Window->cmbDepart->SetText(U("部"));
  AddRecord(QStringLiteral("202401"), "财务部", "赵六", 100);
  Window->dsGZMonthAfterScroll(Window->dsGZMonth);  // what every change of the records ends with
  EXPECT_GE(Window->cmbDepart->Items()->IndexOf(U("财务部")), 0);
  EXPECT_EQ(Window->cmbDepart->Text(), U("部")) << "the typed filter stays";
  EXPECT_EQ(ListedNames(*Window), U("赵六/张三"));
}

TEST_F(MainWindowTest, NoSkinShowsItsKeyColourOnTheMaximisedWindowAndAPreviewFitsAndFillsTheScreen) {
  const QDir Shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/RPT"));
  const QDir Rpt(Module.Folder().File(QStringLiteral("RPT")));
  QDir().mkpath(Rpt.path());
  for (const char* Name : {"Skin.Skn", "Skin1.skn", "Skin2.skn", "Skin3.skn", "Skin4.skn", "Skin5.skn"})
    ASSERT_TRUE(QFile::copy(Shipped.filePath(QLatin1String(Name)), Rpt.filePath(QLatin1String(Name)))) << Name;
  QFile Marker(Module.Folder().File(QStringLiteral("NotFirst.txt")));
  ASSERT_TRUE(Marker.open(QIODevice::WriteOnly));
  Marker.close();
  AddMonth(QStringLiteral("202401"));
  AddRecord(QStringLiteral("202401"), "销售部", "张三", 12100);
  AddRecord(QStringLiteral("202401"), "生产部", "李四", 20166.3);
  AddRecord(QStringLiteral("202401"), "生产部", "王五", 17000);
  auto Window = OpenWindow();
  Window->SetWindowState(wsMaximized);
  Window->Show();
  QApplication::processEvents();
  Window->Timer1->SetEnabled(false);
  const QString Artifacts = qEnvironmentVariable("MOLI_ARTIFACTS");
  // What the screen shows of a window: its pixels inside its shape.
  const auto Visible = [](TWinControl* Control) {
    QApplication::processEvents();
    QImage Image = Control->Handle()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion Shape = Control->Handle()->mask();
    if (!Shape.isEmpty())
      for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
          if (!Shape.contains(QPoint(x, y))) Image.setPixelColor(x, y, Qt::transparent);
    return Image;
  };
  const auto KeyColoured = [](const QImage& Image) {
    int Count = 0;
    for (int y = 0; y < Image.height(); ++y)
      for (int x = 0; x < Image.width(); ++x)
        if (Image.pixel(x, y) == qRgba(255, 0, 255, 255)) ++Count;
    return Count;
  };
  for (Integer Number = 1; Number <= 5; ++Number) {
    Window->SkinMenuClick(Number);
    ASSERT_TRUE(Window->SkinData1->Active()) << Number;
    // The skin changes when its manager's short timer fires; the test fires it at once.
    TSkinManage* Manager = TSkinManage::Create();
    ASSERT_TRUE(Manager->TimerActive()) << Number;
    Manager->TimerTick();
    const QImage Shown = Visible(Window.get());
    EXPECT_EQ(KeyColoured(Shown), 0) << "skin " << Number;
    if (!Artifacts.isEmpty()) {
      QDir().mkpath(Artifacts);
      Shown.save(QDir(Artifacts).filePath(QStringLiteral("main-window-skin%1.png").arg(Number)));
    }
  }
  EXPECT_EQ(Messages.Messages().size(), 5);

  // A preview maximised after it showed takes the whole new area as its shape.
  TRvPreviewForm Preview(nullptr);
  Preview.Show();
  QApplication::processEvents();
  ASSERT_FALSE(Preview.Handle()->mask().isEmpty()) << "the preview wears the skin's frame";
  const QSize Before = Preview.Handle()->size();
  // Opened, it fits the screen, so the page scaled into it is whole.
  EXPECT_LE(Before.height(), Screen->WorkAreaRect().Height());
  EXPECT_LE(Before.width(), Screen->WorkAreaRect().Width());
  Preview.SetWindowState(wsMaximized);
  QApplication::processEvents();
  const QSize After = Preview.Handle()->size();
  ASSERT_TRUE(After.width() > Before.width() || After.height() > Before.height());
  const QRegion Shape = Preview.Handle()->mask();
  for (const QPoint Outside : {QPoint(After.width() / 2, After.height() - 3), QPoint(After.width() - 3, After.height() / 2)})
    EXPECT_TRUE(Shape.contains(Outside)) << Outside.x() << "," << Outside.y();
  EXPECT_EQ(KeyColoured(Visible(&Preview)), 0);
}

TEST_F(MainWindowTest, TheTutorialPageShipsWithTheProgram) {
  const QString Page = moli::testing::SourceDir() + QStringLiteral("/resources/Help/Tessaly.htm");
  QFile File(Page);
  ASSERT_TRUE(File.open(QIODevice::ReadOnly));
  const String Html = QString::fromUtf8(File.readAll());
  for (const char* Topic : {"增加月度", "工资项目参数设置", "增加明细", "打印工资条", "数据库备份"})
    EXPECT_TRUE(Html.contains(U(Topic))) << Topic;
  const QString Shipped = QCoreApplication::applicationDirPath() + QStringLiteral("/Help/Tessaly.htm");
  EXPECT_TRUE(QFile::exists(Shipped)) << Shipped.toStdString();
}

}  // namespace

#include "MainWindowTests.moc"
