#include "MessageRecorder.h"
#include "ModalDriver.h"
#include "ScratchPayrollDb.h"
#include "app/PayItemSets.h"
#include "app/uGZDetailEdit.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

void TypeText(TWinControl* Control, const String& Text) {
  for (const QChar ch : Text) {
    QKeyEvent Press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(Control->Handle(), &Press);
    QKeyEvent Release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(Control->Handle(), &Release);
  }
}

class PayRecordEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    Db.Exec(QStringLiteral("insert into TGZMonth (GZMonth) values ('202312'), ('202401')"));
    // A formula item, a tax item and an item whose formula refers to two others.
    AddItem("202401", "GZ1", "基本工资", 0, 1, 0, "");
    AddItem("202401", "GZ3", "岗位工资", 0, 2, 0, "[基本工资]*0.5");
    AddItem("202401", "GZ2", "加班费", 0, 3, 0, "");
    AddItem("202401", "GZ4", "停用项目", 0, 4, 1, "");
    AddItem("202401", "KK2", "社保", 1, 1, 0, "([基本工资]+[岗位工资])*0.1");
    AddItem("202401", "KK1", "个人所得税", 1, 2, 0, "[&个税]");
  }
  void AddItem(const char* Month, const char* Field, const char* Name, int Type, int Sort, int Show,
               const char* Formula) {
    Db.Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                           "values (%1, %2, %3, %4, %5, %6, %7)")
                .arg(QuotedStr(U(Month)), QuotedStr(U(Field)), QuotedStr(U(Name)))
                .arg(Type)
                .arg(Sort)
                .arg(Show)
                .arg(QuotedStr(U(Formula))));
  }
  // Column values of record ID joined by "|", "null" for a null.
  String Row(Integer ID, const char* Columns) {
    QStringList Values;
    for (const String& Column : U(Columns).split(u',')) Values << QStringLiteral("ifnull(%1, 'null')").arg(Column);
    return Db.Query(QStringLiteral("select %1 from TGZ where ID=%2").arg(Values.join(QStringLiteral(" || '|' || "))).arg(ID));
  }
  static TEdit* Box(TfrmGZDetailEdit* Form, TSlotGroup Group, const char* Caption) {
    for (Integer k = 0; k < Form->Calc().SlotCount(Group); ++k)
      if (Form->SlotLabel(Group, k)->Caption() == U(Caption) && Form->SlotBox(Group, k)->Visible())
        return Form->SlotBox(Group, k);
    ADD_FAILURE() << "no box " << Caption;
    return Form->SlotBox(Group, 29 % Form->Calc().SlotCount(Group));
  }
  static QStringList Totals(TfrmGZDetailEdit* Form) {
    return {Form->EditYFTotal->Text(), Form->EditKKTotal->Text(), Form->EditGZTotal->Text()};
  }
  static QStringList VisibleCaptions(TfrmGZDetailEdit& Form, TSlotGroup Group) {
    QStringList Captions;
    for (Integer k = 0; k < Form.Calc().SlotCount(Group); ++k)
      if (Form.SlotBox(Group, k)->Visible()) Captions << Form.SlotLabel(Group, k)->Caption();
    return Captions;
  }

  TScratchPayrollDb Db;
  TMessageRecorder Messages;
};

TEST_F(PayRecordEditorTest, NewRecordIsComputedAsTypedSavedAndEdited) {
  struct TInstalledClock : TManualClock {
    TInstalledClock() : TManualClock(EncodeDate(2024, 1, 15)) { TClock::SetCurrent(this); }
    ~TInstalledClock() override { TClock::SetCurrent(nullptr); }
  } Clock;
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    EXPECT_EQ(Form->EditMonth->Text(), QStringLiteral("202401"));
    EXPECT_EQ(Totals(Form), (QStringList{"0.00", "0.00", "0.00"}));
    Form->cmbDepart->SetText(U("财务部"));
    Form->cmbEmpName->SetText(U("张三"));
    TEdit* Basic = Box(Form, sgEarnings, "基本工资");
    Basic->SetFocus();
    Basic->SetText(String());
    TypeText(Basic, QStringLiteral("80x00"));  // the letter is not accepted
    EXPECT_EQ(Basic->Text(), QStringLiteral("8000"));
    EXPECT_EQ(Totals(Form), (QStringList{"8000.00", "0.00", "8000.00"}));  // totals follow each key

    Box(Form, sgEarnings, "加班费")->SetFocus();  // leaving the box computes the formulas
    EXPECT_EQ(Box(Form, sgEarnings, "岗位工资")->Text(), QStringLiteral("4000.00"));
    EXPECT_EQ(Box(Form, sgDeductions, "社保")->Text(), QStringLiteral("1200.00"));
    // Taxable 12000 - 1200 = 10800; 5800 above the threshold at 10% less 210.
    EXPECT_EQ(Box(Form, sgDeductions, "个人所得税")->Text(), QStringLiteral("370.00"));
    EXPECT_EQ(Totals(Form), (QStringList{"12000.00", "1570.00", "10430.00"}));
    Form->btnSave->Click();
  });
  EXPECT_TRUE(EditGZDetail(-1, QStringLiteral("202401")));
  const Integer ID = Db.Query(QStringLiteral("select max(ID) from TGZ")).toInt();
  EXPECT_EQ(Row(ID, "GZMonth,DepartName,EmpName,ZWName,GZ1,GZ3,GZ2,GZ4,KK2,KK1,YFTotal,KKTotal,GZTotal"),
            U("202401|财务部|张三| |8000.0|4000.0|0.0|null|1200.0|370.0|12000.0|1570.0|10430.0"));
  const String LogTime = Row(ID, "LOGTime");
  EXPECT_TRUE(LogTime.startsWith(QStringLiteral("2024-01-15"))) << LogTime.toStdString();

  Clock.SetNow(EncodeDate(2024, 2, 1));
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    EXPECT_EQ(Form->cmbEmpName->Text(), U("张三"));
    EXPECT_EQ(Box(Form, sgEarnings, "基本工资")->Text(), QStringLiteral("8000.00"));
    EXPECT_EQ(Box(Form, sgEarnings, "加班费")->Text(), QStringLiteral("0.00"));
    EXPECT_EQ(Totals(Form), (QStringList{"12000.00", "1570.00", "10430.00"}));
    TEdit* Overtime = Box(Form, sgEarnings, "加班费");
    Overtime->SetFocus();
    Overtime->SetText(QStringLiteral("1000"));
    Form->btnSave->SetFocus();
    // 13000 - 1200 = 11800 taxable: 6800 above the threshold.
    EXPECT_EQ(Box(Form, sgDeductions, "个人所得税")->Text(), QStringLiteral("470.00"));
    Form->btnSave->Click();
  });
  EXPECT_TRUE(EditGZDetail(ID, QStringLiteral("202401")));
  EXPECT_EQ(Row(ID, "GZ2,KK1,YFTotal,GZTotal"), U("1000.0|470.0|13000.0|11330.0"));
  EXPECT_EQ(Row(ID, "LOGTime"), LogTime);  // an edit keeps the creation time
  EXPECT_EQ(Db.Query(QStringLiteral("select count(*) from TGZ")), QStringLiteral("1"));

  // Cancelling after a calculation writes nothing.
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    Box(Form, sgEarnings, "基本工资")->SetText(QStringLiteral("1"));
    Form->btnAttendance->Click();
    Form->btnCancel->Click();
  });
  EXPECT_FALSE(EditGZDetail(ID, QStringLiteral("202401")));
  EXPECT_EQ(Row(ID, "GZ1,YFTotal"), U("8000.0|13000.0"));
  EXPECT_TRUE(Messages.Messages().isEmpty()) << Messages.Messages().join(u'\n').toStdString();
}

TEST_F(PayRecordEditorTest, CtrlAThenTypingReplacesAnAmount) {
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    TEdit* Basic = Box(Form, sgEarnings, "基本工资");
    Basic->SetFocus();
    EXPECT_EQ(Basic->Text(), QStringLiteral("0.00"));
    QKeyEvent SelectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QString(QChar(0x01)));
    QApplication::sendEvent(Basic->Handle(), &SelectAll);
    TypeText(Basic, QStringLiteral("2000"));
    EXPECT_EQ(Basic->Text(), QStringLiteral("2000"));
    Form->btnCancel->Click();
  });
  EXPECT_FALSE(EditGZDetail(-1, QStringLiteral("202401")));
}

TEST_F(PayRecordEditorTest, AClickOnAnotherBoxAfterTypingAJobTitleMovesTheFocusThere) {
  Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, ZWName) values "
                         "('202401', 'A', 'x', %1), ('202401', 'A', 'y', %2)")
              .arg(QuotedStr(U("科长")), QuotedStr(U("科员"))));
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    QApplication::setActiveWindow(Form->Handle());
    auto* Title = qobject_cast<QComboBox*>(Form->cmbZWName->Handle());
    ASSERT_TRUE(Title && Title->lineEdit());
    const auto ClickInto = [](QWidget* Box) { QTest::mouseClick(Box, Qt::LeftButton, {}, Box->rect().center()); };
    const auto Type = [](const String& Text) {
      for (const QChar Ch : Text)
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(Ch), Qt::NoModifier);
    };
    ClickInto(Title->lineEdit());
    Type(U("科长"));
    EXPECT_EQ(Form->cmbZWName->Text(), U("科长"));
    ClickInto(Form->EditEMail->Handle());
    EXPECT_EQ(QApplication::focusWidget(), Form->EditEMail->Handle());
    EXPECT_EQ(Form->ActiveControl(), Form->EditEMail);
    Type(QStringLiteral("a@b.cn"));
    EXPECT_EQ(Form->EditEMail->Text(), QStringLiteral("a@b.cn"));
    EXPECT_EQ(Form->cmbZWName->Text(), U("科长")) << "the job title keeps what was typed";
    ClickInto(Form->EditQM->Handle());
    EXPECT_EQ(QApplication::focusWidget(), Form->EditQM->Handle());
    Form->btnCancel->Click();
  });
  EXPECT_FALSE(EditGZDetail(-1, QStringLiteral("202401")));
}

TEST_F(PayRecordEditorTest, LaysOutTheMonthsEnabledItemsOrBaseAndCapsTheSlots) {
  {
    TfrmGZDetailEdit Form(nullptr, -1, QStringLiteral("202401"));
    ASSERT_TRUE(Form.ReadyData());
    EXPECT_EQ(VisibleCaptions(Form, sgEarnings), (QStringList{U("基本工资"), U("岗位工资"), U("加班费")}));
    EXPECT_EQ(VisibleCaptions(Form, sgDeductions), (QStringList{U("社保"), U("个人所得税")}));
  }
  // A month without items of its own, or with one kind all disabled, offers "BASE"'s enabled items.
  StructUpdate();
  Db.Exec(QStringLiteral("update TGZSet set ShowStu=0, GZName='B'||GZField1 where GZMonth='BASE' and "
                         "GZField1 in ('GZ1','GZ5','KK3')"));
  Db.Exec(QStringLiteral("update TGZSet set ShowStu=1 where GZMonth='202401' and GZType=1"));
  for (const char* Month : {"202312", "202401"}) {
    TfrmGZDetailEdit Form(nullptr, -1, U(Month));
    ASSERT_TRUE(Form.ReadyData());
    EXPECT_EQ(VisibleCaptions(Form, sgDeductions), QStringList{QStringLiteral("BKK3")}) << Month;
  }

  // Thirty-three enabled earnings rows: thirty slots; an item naming a column that is not
  // an earnings item (a name, a total, a deduction) gets no slot.
  Db.Exec(QStringLiteral("delete from TGZSet where GZMonth='202401' and GZType=0"));
  for (int n = 1; n <= 30; ++n)
    AddItem("202401", QStringLiteral("GZ%1").arg(n).toUtf8().constData(), QStringLiteral("E%1").arg(n).toUtf8().constData(),
            0, n, 0, "");
  AddItem("202401", "EmpName", "冒名", 0, 0, 0, "");
  AddItem("202401", "YFTotal", "合计", 0, 0, 0, "");
  AddItem("202401", "gz31", "E31", 0, 31, 0, "");
  Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, GZ30) values ('202401', 'A', 'B', 7)"));
  const Integer ID = Db.Query(QStringLiteral("select max(ID) from TGZ")).toInt();
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    EXPECT_EQ(VisibleCaptions(*Form, sgEarnings).size(), 30);
    EXPECT_EQ(Form->SlotLabel(sgEarnings, 29)->Caption(), QStringLiteral("E30"));
    EXPECT_EQ(Form->Calc().Items(sgEarnings).size(), 30u);
    Form->SlotBox(sgEarnings, 29)->SetText(QStringLiteral("12.5"));
    EXPECT_EQ(Form->EditYFTotal->Text(), QStringLiteral("12.50"));
    Form->btnSave->Click();
  });
  EXPECT_TRUE(EditGZDetail(ID, QStringLiteral("202401")));
  EXPECT_EQ(Row(ID, "EmpName,GZ30,YFTotal,KKTotal"), QStringLiteral("B|12.5|12.5|0.0"));
}

TEST_F(PayRecordEditorTest, AmountFormatZeroRoundsShownAmountsAndStoresWhatIsShown) {
  Settings().GShowFloat = 0;
  Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, OneDayMOney, WorkDays, HourCount, GZ1, GZ3, "
                         "GZ2) values ('202401', 'A', 'B', 100.6, 21.5, 7.25, 100.6, 0, 0.25)"));
  const Integer ID = Db.Query(QStringLiteral("select max(ID) from TGZ")).toInt();
  WhenModal<TfrmGZDetailEdit>([](TfrmGZDetailEdit* Form) {
    EXPECT_EQ(Form->EditPayStandard->Text(), QStringLiteral("101"));
    EXPECT_EQ(Box(Form, sgEarnings, "基本工资")->Text(), QStringLiteral("101"));
    EXPECT_EQ(Box(Form, sgEarnings, "岗位工资")->Text(), QString());  // 0 shows as an empty box
    EXPECT_EQ(Box(Form, sgEarnings, "加班费")->Text(), QString());    // so does 0.25
    Form->btnSave->Click();
  });
  EXPECT_TRUE(EditGZDetail(ID, QStringLiteral("202401")));
  EXPECT_EQ(Row(ID, "OneDayMOney,WorkDays,HourCount,GZ1,YFTotal"), QStringLiteral("101.0|21.5|7.3|101.0|101.0"));
}

TEST_F(PayRecordEditorTest, AttendanceModeSetsCaptionsAndBoxes) {
  struct Case { int mode; const char* payCaption; const char* daysCaption; bool hoursEnabled; const char* daysMask; };
  Settings().GJJUnit = U("件");
  for (const Case& c : std::initializer_list<Case>{{0, "工资/天", "出勤天数", true, "999.99"},
                                                   {1, "工资/天", "出勤天数", false, "999.99"},
                                                   {2, "工资/小时", "出勤天数", true, "999.99"},
                                                   {3, "工资/件", "完工件数", false, "9999.9"}}) {
    Settings().GPrintDays = c.mode;
    TfrmGZDetailEdit Form(nullptr, -1, QStringLiteral("202401"));
    ASSERT_TRUE(Form.ReadyData());
    EXPECT_EQ(Form.lblPayStandard->Caption(), U(c.payCaption)) << c.mode;
    EXPECT_EQ(Form.lblDays->Caption(), U(c.daysCaption)) << c.mode;
    EXPECT_EQ(Form.EditHours->Enabled(), c.hoursEnabled) << c.mode;
    EXPECT_EQ(Form.EditDays->EditMask(), QString::fromLatin1(c.daysMask)) << c.mode;
  }
}

TEST_F(PayRecordEditorTest, RefusedSavesWriteNothingAndKeepTheWindowOpen) {
  struct Case { const char* depart; const char* name; const char* amount; const char* message; };
  for (const Case& c : std::initializer_list<Case>{
         {"", "张三", "1", "请选择或输入部门！"},
         {"财务部", "", "1", "请选择或输入姓名！"},
         {"财务部", "张三", "-", "'-' is not a valid floating point value"},
         {"财务部", "张三", "1..2", "'1..2' is not a valid floating point value"}}) {
    TfrmGZDetailEdit Form(nullptr, -1, QStringLiteral("202401"));
    ASSERT_TRUE(Form.ReadyData());
    Form.cmbDepart->SetText(U(c.depart));
    Form.cmbEmpName->SetText(U(c.name));
    Box(&Form, sgEarnings, "加班费")->SetText(U(c.amount));
    Messages.Clear();
    Form.btnSave->Click();
    EXPECT_FALSE(Form.Saved());
    EXPECT_EQ(Form.ModalResult(), mrNone);
    ASSERT_EQ(Messages.Messages().size(), 1) << c.message;
    EXPECT_TRUE(Messages.Messages()[0].contains(U(c.message))) << Messages.Messages()[0].toStdString();
  }
  EXPECT_EQ(Db.Query(QStringLiteral("select count(*) from TGZ")), QStringLiteral("0"));
}

TEST_F(PayRecordEditorTest, MonthNamesWithQuotesAndFailuresAreHandled) {
  const String Month = U("O'Brien月");
  Db.Exec(QStringLiteral("insert into TGZMonth (GZMonth) values (%1)").arg(QuotedStr(Month)));
  AddItem("O'Brien月", "GZ1", "底薪", 0, 1, 0, "");
  Db.Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, ZWName) values ('202401', '销售部', '李四', "
                         "'经理'), (%1, '财务部', '王五', '会计')").arg(QuotedStr(Month)));
  const Integer ID = Db.Query(QStringLiteral("select max(ID) from TGZ")).toInt();
  {
    TfrmGZDetailEdit Form(nullptr, ID, Month);
    ASSERT_TRUE(Form.ReadyData());
    EXPECT_EQ(VisibleCaptions(Form, sgEarnings), QStringList{U("底薪")});
    // The lists offer the most recently created other month's values.
    EXPECT_EQ(Form.cmbDepart->Items()->Text(), U("销售部\r\n"));
    EXPECT_EQ(Form.cmbZWName->Items()->Text(), U("经理\r\n"));
    Box(&Form, sgEarnings, "底薪")->SetText(QStringLiteral("3000"));
    ASSERT_TRUE(Form.SaveData());
  }
  EXPECT_EQ(Row(ID, "GZMonth,EmpName,GZ1"), U("O'Brien月|王五|3000.0"));

  // Job titles come from "ZW.txt" when it exists.
  AtomicWriteFile(ResolvePath(Settings().GAppPath, QStringLiteral("ZW.txt")), U("主管\r\n出纳\r\n").toUtf8());
  {
    TfrmGZDetailEdit Form(nullptr, ID, Month);
    ASSERT_TRUE(Form.ReadyData());
    EXPECT_EQ(Form.cmbZWName->Items()->Text(), U("主管\r\n出纳\r\n"));
    // A write the database refuses is reported and the window stays.
    Box(&Form, sgEarnings, "底薪")->SetText(QStringLiteral("3100"));
    Db.Exec(QStringLiteral("create trigger refuse before update on TGZ begin select raise(abort, 'refused'); end"));
    ASSERT_FALSE(Form.SaveData());
    EXPECT_EQ(Messages.Messages().last(), U("存储数据库发生错误！"));
  }
  EXPECT_EQ(Row(ID, "EmpName,GZ1"), U("王五|3000.0"));
  Db.Exec(QStringLiteral("alter table TGZ rename to TGZGone"));
  Messages.Clear();
  EXPECT_FALSE(EditGZDetail(ID, Month));
  EXPECT_EQ(Messages.Messages(), QStringList{U("读取数据库发生错误！")});
}

}  // namespace
