#include "MessageRecorder.h"
#include "ScratchPayrollDb.h"
#include "app/EleSlips.h"
#include "app/uEleGZBill.h"
#include "app/uDM.h"
#include "platform/rtl/Files.h"
#include "platform/testing/SmtpPeer.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

// The built templates beside the program.
String BuiltTemplate(const char* Name) {
  return QFileInfo(qEnvironmentVariable("MOLI_PROGRAM")).absolutePath() + QStringLiteral("/RPT/") + QLatin1String(Name);
}

QByteArray SheetXml(const String& Workbook) {
  QProcess Unzip;
  Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), Workbook, QStringLiteral("xl/worksheets/sheet1.xml")});
  EXPECT_TRUE(Unzip.waitForFinished(60000));
  EXPECT_EQ(Unzip.exitCode(), 0) << Workbook.toStdString();
  return Unzip.readAllStandardOutput();
}

// Info-ZIP's test of every entry's data.
bool ArchiveIntact(const String& Workbook) {
  QProcess Unzip;
  Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tq"), Workbook});
  return Unzip.waitForFinished(60000) && Unzip.exitCode() == 0;
}

// Holds the process to files of at most Bytes while it lives; writes beyond
// fail with EFBIG instead of raising SIGXFSZ.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t Bytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &FOld);
    const rlimit Limited{Bytes, FOld.rlim_max};
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &Limited), 0);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }

private:
  rlimit FOld{};
  void (*FOldHandler)(int) = nullptr;
};

}  // namespace

TEST(EleSlips, TemplateNamesAndSlipFileNames) {
  struct Case { const char* days; Integer k, g; const char* name; };
  for (const Case& c : std::initializer_list<Case>{{"0", 0, 30, "GZBillNoKK.xlsx"},   {"0", 5, 10, "GZBill.xlsx"},
                                                   {"0", 1, 11, "GZBill20_5.xlsx"},   {"0", 6, 10, "GZBill10_10.xlsx"},
                                                   {"0", 10, 11, "GZBill20_10.xlsx"}, {"0", 11, 1, "GZBill30_15.xlsx"},
                                                   {"1", 11, 30, "GZBillWithDay.xlsx"}, {"2", 0, 0, "GZBillWithHour.xlsx"},
                                                   {"3", 1, 1, "GZBillWithHour.xlsx"}}) {
    EXPECT_EQ(EleSlipTemplateName(U(c.days), c.k, c.g), U(c.name)) << c.days << " " << c.k << " " << c.g;
    EXPECT_TRUE(QFileInfo::exists(BuiltTemplate(c.name))) << c.name;
  }
  EXPECT_EQ(SlipFileName(QStringLiteral("/tmp/s"), 1, U("张三")), U("/tmp/s/0001_张三.xlsx"));
  EXPECT_EQ(SlipFileName(QStringLiteral("/tmp/s/"), 12, U("../../etc/x")), U("/tmp/s/0012_____etc_x.xlsx"));
  EXPECT_EQ(SlipFileName(QStringLiteral("/tmp/s"), 3, U("a\\b..")), U("/tmp/s/0003_a_b_.xlsx"));
}

TEST(EleSlips, PlaceholdersAreReplacedOnceInOrderWithDashesForBlanksAndUnusedSlots) {
  const TSlipValues Values{{U("[EmpName]"), U("张三")}, {U("[EmpCode]"), U("  ")}, {U("[GZ1]"), U("100.00")}};
  struct Case { const char* text; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{{"[EmpName]", "张三"},
                                                   {"姓名:[EmpName] [EmpName]", "姓名:张三 [EmpName]"},
                                                   {"[EmpCode]", "-"},
                                                   {"[GZ1]/[GZ10]/[工资项目7]/[KK2]/[扣款项目15]", "100.00/-/-/-/-"},
                                                   {"[备注]", "[备注]"},
                                                   {"plain", "plain"}})
    EXPECT_EQ(ReplacePlaceholders(U(c.text), Values), U(c.expected)) << c.text;
}

class EleSlipWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    Settings().GEntName = U("墨鲤科技");
    Settings().GShowFloat = 1;
    Exec(U("insert into TGZMonth (GZMonth) values ('202401')"));
    for (const auto& [Field, Name, Type, Hidden] : std::initializer_list<std::tuple<const char*, const char*, int, int>>{
             {"GZ1", "基本工资", 0, 0}, {"GZ2", "奖金", 0, 1}, {"GZ3", "补贴", 0, 0}, {"KK1", "社保", 1, 0}})
      Exec(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                          "values ('202401', '%1', %2, %3, 1, %4, ' ')")
               .arg(QLatin1String(Field), QuotedStr(U(Name)))
               .arg(Type)
               .arg(Hidden));
    AddRecord("研发", "张三", "E01", "zhang@example.com", 5000);
    AddRecord("研发", "李明", "", "li.ming@example.com", 6000);
    AddRecord("财务", "王五", "E03", "wang-at-example.com", 7000);
  }
  void Exec(const String& Sql) { Db.Exec(Sql); }
  void AddRecord(const char* Depart, const char* Name, const char* Code, const char* Mail, int Base) {
    Exec(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpName, EmpCode, ZWName, GZ1, GZ2, GZ3, KK1, YFTotal, "
                        "KKTotal, GZTotal, QM, EMail) values ('202401', %1, %2, %3, ' ', %4, 300, 200.5, 100, %5, 100, %6, "
                        "'', %7)")
             .arg(QuotedStr(U(Depart)), QuotedStr(U(Name)), QuotedStr(U(Code)))
             .arg(Base)
             .arg(Base + 200.5)
             .arg(Base + 100.5)
             .arg(QuotedStr(U(Mail))));
  }
  std::unique_ptr<TfrmEleEleGZBill> Window(const String& Template) {
    auto Form = std::make_unique<TfrmEleEleGZBill>(nullptr, U("202401"), Template);
    Form->FormShow();
    Form->EditPath->SetText(Out.Path());
    return Form;
  }

  TScratchPayrollDb Db;
  moli::testing::ScratchDir Out;
  TScriptedDialogs Dialogs;
  TMessageRecorder Messages;
};

TEST_F(EleSlipWindowTest, GeneratesOneSlipPerEmployeeWithTheirValuesInDepartmentAndNameOrder) {
  auto Form = Window(BuiltTemplate("GZBill.xlsx"));
  Dialogs.AnswerMessageBox(mrNo);
  Form->Button2Click();
  EXPECT_EQ(Messages.Messages(), QStringList{U("生成工资条结束！")});
  EXPECT_EQ(Form->lblHint->Caption(), U("3/3"));
  // Ordered by department, then name, as their texts compare: 研发 before 财务, 张三 before 李明.
  const QStringList Expected{U("0001_张三.xlsx"), U("0002_李明.xlsx"), U("0003_王五.xlsx")};
  EXPECT_EQ(QDir(Out.Path()).entryList(QDir::Files, QDir::Name), Expected);
  const String Slip = Out.File(U("0001_张三.xlsx"));
  ASSERT_TRUE(ArchiveIntact(Slip));
  const String Xml = String::fromUtf8(SheetXml(Slip));
  for (const char* Text : {"墨鲤科技", "202401", "张三", "E01", "基本工资", "5000.00", "补贴", "200.50", "社保",
                           "100.00", "5200.50", "5100.50", ">1<"})
    EXPECT_TRUE(Xml.contains(U(Text))) << Text;
  EXPECT_FALSE(Xml.contains(U("奖金"))) << "a hidden item shows as -";
  EXPECT_FALSE(Xml.contains(u'[')) << Xml.toStdString();
  // Another reader finds the amounts as numbers in the template's format, the name as text.
  QProcess Python;
  Python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"), QStringLiteral("import openpyxl, sys\n"
                                                     "sheet = openpyxl.load_workbook(sys.argv[1]).active\n"
                                                     "for ref in ('C4', 'D4', 'F4'):\n"
                                                     "  cell = sheet[ref]\n"
                                                     "  print(type(cell.value).__name__, cell.value, cell.number_format)\n"),
                Slip});
  ASSERT_TRUE(Python.waitForFinished(60000));
  EXPECT_EQ(String::fromUtf8(Python.readAllStandardOutput()), U("str 张三 General\nfloat 5000.0 0.00\nfloat 200.5 0.00\n"))
      << Python.readAllStandardError().toStdString();
  // Blank code and remark become "-"; the header row stays as the template has it.
  const String Li = String::fromUtf8(SheetXml(Out.File(U("0002_李明.xlsx"))));
  EXPECT_TRUE(Li.contains(QStringLiteral("<t xml:space=\"preserve\">-</t>")));
  EXPECT_TRUE(Li.contains(U("工资条")));
  EXPECT_EQ(Dialogs.Unexpected(), 0);
}

TEST_F(EleSlipWindowTest, AMissingTemplateIsReportedBeforeAnySlipAndNoFolderMeansNoWork) {
  auto Form = Window(Out.File(U("RPT/GZBill.xlsx")));
  Form->Button2Click();
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].startsWith(U("工资条模板文件不存在"))) << Messages.Messages()[0].toStdString();
  EXPECT_TRUE(QDir(Out.Path()).entryList(QDir::Files).isEmpty());
  Messages.Clear();
  Form->EditPath->SetText(String());
  Form->Button2Click();
  Form->cmdEmailClick();
  EXPECT_EQ(Messages.Messages(), (QStringList{U("请指定电子工资条的存放路径！"), U("工资条存放路径尚未指定！")}));
}

TEST_F(EleSlipWindowTest, MailsEachSlipOverOneSessionReportingRefusalsAndSkippedAddresses) {
  moli::testing::ScratchDir PeerDir;
  moli::testing::SmtpPeer Peer(PeerDir.Path(), {false, QStringLiteral("payroll"), QStringLiteral("s3cret"),
                                                {QStringLiteral("zhang@example.com")}});
  auto Form = Window(BuiltTemplate("GZBill.xlsx"));
  Dialogs.AnswerMessageBox(mrNo);
  Form->Button2Click();
  Messages.Clear();
  Form->le_smtp->SetText(QStringLiteral("127.0.0.1"));
  Form->le_port->SetText(QString::number(Peer.Port()));
  Form->le_user->SetText(QStringLiteral("payroll"));
  Form->le_pass->SetText(QStringLiteral("s3cret"));
  Form->le_email->SetText(QStringLiteral("hr@example.com"));
  Form->le_title->SetText(U("2024年1月工资条"));
  Form->cb_authentication->SetChecked(true);
  Form->CaFile = Peer.CaFile();
  QList<Cardinal> Pauses;
  QStringList Statuses;
  Form->Pause = [&](Cardinal Milliseconds) {
    Pauses << Milliseconds;
    Statuses << Form->StatusBar1->SimpleText();
  };
  Form->cmdEmailClick();

  EXPECT_EQ(Statuses, (QStringList{U("正在发送... (1/3) zhang@example.com"), U("正在发送... (2/3) li.ming@example.com")}));
  EXPECT_EQ(Pauses, (QList<Cardinal>{300, 300}));
  ASSERT_EQ(Messages.Messages().size(), 1);
  const String Report = Messages.Messages()[0];
  EXPECT_TRUE(Report.startsWith(U("发送完成：成功 1 封，失败 1 封，地址无效 1 个。"))) << Report.toStdString();
  EXPECT_TRUE(Report.contains(U("0001 张三 <zhang@example.com>：发送失败"))) << Report.toStdString();
  EXPECT_TRUE(Report.contains(QStringLiteral("550"))) << Report.toStdString();
  EXPECT_TRUE(Report.contains(U("0003 王五 <wang-at-example.com>：邮件地址无效"))) << Report.toStdString();

  const QStringList Mails = Peer.Mails();
  ASSERT_EQ(Mails.size(), 1);
  moli::testing::ScratchDir Attached;
  const QJsonObject Mail = moli::testing::ReadMail(Mails[0], Attached.Path());
  EXPECT_EQ(Mail[QStringLiteral("subject")].toString(), U("2024年1月工资条"));
  const QJsonArray Attachments = Mail[QStringLiteral("attachments")].toArray();
  ASSERT_EQ(Attachments.size(), 1);
  const String Name = Attachments[0].toObject()[QStringLiteral("name")].toString();
  EXPECT_EQ(Name, U("0002_李明.xlsx"));
  EXPECT_TRUE(String::fromUtf8(SheetXml(Attached.File(Name))).contains(U("6200.50")));

  // The settings file holds the password: only its owner may read it.
  const QFileInfo Ini(ResolvePath(Settings().GAppPath, QStringLiteral("comm.ini")));
  ASSERT_TRUE(Ini.exists());
  EXPECT_EQ(Ini.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther), 0);
  auto Reopened = Window(BuiltTemplate("GZBill.xlsx"));
  EXPECT_EQ(Reopened->le_pass->Text(), QStringLiteral("s3cret"));
  EXPECT_TRUE(Reopened->cb_authentication->Checked());
}

TEST_F(EleSlipWindowTest, AFreshInstallationStartsOnPort25WithoutSubjectOrLogin) {
  auto Form = Window(BuiltTemplate("GZBill.xlsx"));
  EXPECT_EQ(Form->le_port->Text(), QStringLiteral("25"));
  EXPECT_TRUE(Form->le_title->Text().isEmpty());
  EXPECT_FALSE(Form->cb_authentication->Checked());
  EXPECT_FALSE(Form->le_smtp->Text().isEmpty());
}

TEST_F(EleSlipWindowTest, ASlipThatCannotBeWrittenWholeIsNeitherLeftUnderItsNameNorMailed) {
  // Li's remark makes his slip much larger than the others: random letters do not compress.
  String Remark;
  for (int i = 0; i < 96 * 1024; ++i) Remark += QChar(u'a' + QRandomGenerator::global()->bounded(26));
  Exec(QStringLiteral("update TGZ set QM=%1 where EmpName=%2").arg(QuotedStr(Remark), QuotedStr(U("李明"))));
  moli::testing::ScratchDir PeerDir;
  moli::testing::SmtpPeer Peer(PeerDir.Path(), {false, QStringLiteral("payroll"), QStringLiteral("s3cret"), {}});
  auto Form = Window(BuiltTemplate("GZBill.xlsx"));
  Form->le_smtp->SetText(QStringLiteral("127.0.0.1"));
  Form->le_port->SetText(QString::number(Peer.Port()));
  Form->le_user->SetText(QStringLiteral("payroll"));
  Form->le_pass->SetText(QStringLiteral("s3cret"));
  Form->le_email->SetText(QStringLiteral("hr@example.com"));
  Form->cb_authentication->SetChecked(true);
  Form->CaFile = Peer.CaFile();
  Form->Pause = [](Cardinal) {};
  const String LiSlip = Out.File(U("0002_李明.xlsx"));

  // A first run makes every slip; a second run under a file-size limit cannot
  // write Li's again, and must not leave the older one to be mailed in its place.
  Dialogs.AnswerMessageBox(mrNo);
  Form->Button2Click();
  ASSERT_TRUE(ArchiveIntact(LiSlip));
  Messages.Clear();
  {
    TFileSizeLimit Limit(rlim_t(QFileInfo(BuiltTemplate("GZBill.xlsx")).size() + 48 * 1024));
    Dialogs.AnswerMessageBox(mrNo);
    Form->Button2Click();
  }
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].startsWith(U("生成工资条结束：成功 2 份，失败 1 份。"))) << Messages.Messages()[0].toStdString();
  EXPECT_TRUE(Messages.Messages()[0].contains(U("0002 李明"))) << Messages.Messages()[0].toStdString();
  EXPECT_EQ(QDir(Out.Path()).entryList(QDir::Files, QDir::Name), (QStringList{U("0001_张三.xlsx"), U("0003_王五.xlsx")}));
  for (const char* Slip : {"0001_张三.xlsx", "0003_王五.xlsx"}) EXPECT_TRUE(ArchiveIntact(Out.File(U(Slip)))) << Slip;

  // Every slip is checked before the first mail: nobody is mailed while one is missing.
  Messages.Clear();
  Form->cmdEmailClick();
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].startsWith(U("指定工资条存放路径下没找到工资条Excel文件。"))) << Messages.Messages()[0].toStdString();
  EXPECT_TRUE(Messages.Messages()[0].contains(U("0002_李明.xlsx")));
  EXPECT_TRUE(Peer.Mails().isEmpty());

  // Made again without the limit, the run reports every mail: sent, and not sent for its address.
  Messages.Clear();
  Dialogs.AnswerMessageBox(mrNo);
  Form->Button2Click();
  Messages.Clear();
  Form->cmdEmailClick();
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_EQ(Messages.Messages()[0], U("发送完成：成功 2 封，失败 0 封，地址无效 1 个。\n"
                                      "0001 张三 <zhang@example.com>：已发送\n"
                                      "0002 李明 <li.ming@example.com>：已发送\n"
                                      "0003 王五 <wang-at-example.com>：邮件地址无效，未发送"));
  ASSERT_EQ(Peer.Mails().size(), 2);
  moli::testing::ScratchDir Attached;
  const QJsonObject Mail = moli::testing::ReadMail(Peer.Mails()[1], Attached.Path());
  const String Name = Mail[QStringLiteral("attachments")].toArray()[0].toObject()[QStringLiteral("name")].toString();
  EXPECT_TRUE(String::fromUtf8(SheetXml(Attached.File(Name))).contains(Remark.left(64)));
}
