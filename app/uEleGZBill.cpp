#include "app/uEleGZBill.h"
#include "app/AppMessages.h"
#include "app/EleSlips.h"
#include "app/FormControls.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"
#include <QDir>
#include <QFileInfo>

namespace {

const String Section = QStringLiteral("comm");
// A public provider's submission host, as a starting point to edit.
const String DefaultSmtpHost = QStringLiteral("smtp.163.com");

TADODataSet* MonthRecords(TComponent* Owner, const String& Month) {
  auto* Records = new TADODataSet(Owner);
  Records->SetConnection(DM->ADOLocal);
  Records->SetCommandText(QStringLiteral("Select * from TGZ where GZMonth=") + QuotedStr(Month) +
                          QStringLiteral(" order by DepartName,EmpName"));
  Records->Open();
  return Records;
}

}  // namespace

TfrmEleEleGZBill::TfrmEleEleGZBill(TComponent* AOwner, const String& Month, const String& TemplatePath)
    : TForm(AOwner), FMonth(Month), FTemplatePath(TemplatePath) {
  SetName(QStringLiteral("frmEleEleGZBill"));
  SetCaption(QStringLiteral("生成电子工资条(直接按打印格式，生成Excel工资条文件，用于通过Excel发送工资条)"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(560);
  SetClientHeight(520);

  auto* PathLabel = PlaceControl<TLabel>(this, QStringLiteral("lblPath"), 12, 16, 110, 18);
  PathLabel->SetCaption(QStringLiteral("工资条存放路径："));
  EditPath = PlaceControl<TEdit>(this, QStringLiteral("EditPath"), 124, 12, 340, 24);
  EditPath->SetReadOnly(true);
  EditPath->OnDblClick = [this](TObject*) { Button1Click(); };
  btnChoose = PlaceControl<TButton>(this, QStringLiteral("btnChoose"), 472, 11, 76, 26);
  btnChoose->SetCaption(QStringLiteral("选择"));
  btnChoose->OnClick = [this](TObject*) { Button1Click(); };
  lblHint = PlaceControl<TLabel>(this, QStringLiteral("lblHint"), 12, 44, 536, 18);

  grpConfig = PlaceControl<TGroupBox>(this, QStringLiteral("grpConfig"), 8, 68, 544, 372);
  grpConfig->SetCaption(QStringLiteral("配置"));
  le_smtp = LabeledEdit(QStringLiteral("le_smtp"), QStringLiteral("SMTP："), 22);
  le_port = LabeledEdit(QStringLiteral("le_port"), QStringLiteral("端口："), 52);
  le_user = LabeledEdit(QStringLiteral("le_user"), QStringLiteral("SMTP用户名："), 82);
  le_pass = LabeledEdit(QStringLiteral("le_pass"), QStringLiteral("SMTP密码："), 112);
  le_pass->SetPasswordChar(u'#');
  le_email = LabeledEdit(QStringLiteral("le_email"), QStringLiteral("发送者(回复地址)："), 142);
  le_title = LabeledEdit(QStringLiteral("le_title"), QStringLiteral("标题："), 172);
  le_title->SetText(QStringLiteral("工资条"));
  cb_authentication = PlaceControl<TCheckBox>(grpConfig, QStringLiteral("cb_authentication"), 140, 200, 200, 20);
  cb_authentication->SetCaption(QStringLiteral("是否服务器验证"));
  auto* BodyLabel = PlaceControl<TLabel>(grpConfig, QStringLiteral("lblContent"), 12, 228, 120, 18);
  BodyLabel->SetCaption(QStringLiteral("内容："));
  me_content = PlaceControl<TMemo>(grpConfig, QStringLiteral("me_content"), 140, 226, 390, 100);
  me_content->Lines()->Add(QStringLiteral("工资条"));
  ledAttachment = LabeledEdit(QStringLiteral("ledAttachment"), QStringLiteral("附件："), 334);
  ledAttachment->SetReadOnly(true);

  Button2 = PlaceControl<TButton>(this, QStringLiteral("Button2"), 120, 452, 100, 28);
  Button2->SetCaption(QStringLiteral("1:开始生成"));
  Button2->OnClick = [this](TObject*) { Button2Click(); };
  cmdEmail = PlaceControl<TButton>(this, QStringLiteral("cmdEmail"), 230, 452, 100, 28);
  cmdEmail->SetCaption(QStringLiteral("2:发送邮件"));
  cmdEmail->OnClick = [this](TObject*) { cmdEmailClick(); };
  btnClose = PlaceControl<TButton>(this, QStringLiteral("btnClose"), 340, 452, 100, 28);
  btnClose->SetCaption(QStringLiteral("关闭"));
  btnClose->SetCancel(true);
  btnClose->SetModalResult(mrCancel);

  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetName(QStringLiteral("StatusBar1"));
  StatusBar1->SetParent(this);
  StatusBar1->SetSimplePanel(true);
  StatusBar1->SetSimpleText(QStringLiteral("就绪..."));
  StatusBar1->SetAlign(alBottom);

  Pause = [](Cardinal Milliseconds) { DelayWithMessages(Milliseconds); };
  OnShow = [this](TObject*) { FormShow(); };
  OnCloseQuery = [this](TObject*, bool& CanClose) {
    SavePara();
    CanClose = true;
  };
}

TEdit* TfrmEleEleGZBill::LabeledEdit(const String& Name, const String& Caption, Integer Top) {
  auto* Label = PlaceControl<TLabel>(grpConfig, QStringLiteral("lbl_") + Name, 12, Top + 4, 124, 18);
  Label->SetCaption(Caption);
  return PlaceControl<TEdit>(grpConfig, Name, 140, Top, 390, 24);
}

String TfrmEleEleGZBill::SettingsFile() const { return ResolvePath(Settings().GAppPath, QStringLiteral("comm.ini")); }

String TfrmEleEleGZBill::BodyFile() const {
  return ResolvePath(Settings().GAppPath, QStringLiteral("EMailContent.Lst"));
}

void TfrmEleEleGZBill::FormShow() {
  const TIniFile Ini(SettingsFile(), fpOwnerOnly);
  le_smtp->SetText(Ini.ReadString(Section, QStringLiteral("smtp"), DefaultSmtpHost));
  le_port->SetText(Ini.ReadString(Section, QStringLiteral("port"), QStringLiteral("25")));
  le_user->SetText(Ini.ReadString(Section, QStringLiteral("user"), String()));
  le_pass->SetText(Ini.ReadString(Section, QStringLiteral("pass"), String()));
  le_email->SetText(Ini.ReadString(Section, QStringLiteral("email"), String()));
  le_title->SetText(Ini.ReadString(Section, QStringLiteral("emailtitle"), String()));
  ledAttachment->SetText(Ini.ReadString(Section, QStringLiteral("ledAttachment"), String()));
  cb_authentication->SetChecked(Ini.ReadBool(Section, QStringLiteral("pass1"), false));
  if (FileExists(BodyFile())) {
    try {
      me_content->Lines()->LoadFromFile(BodyFile());
    } catch (const Exception&) {
    }
  }
}

void TfrmEleEleGZBill::SavePara() {
  try {
    TMemIniFile Ini(SettingsFile(), fpOwnerOnly);
    Ini.WriteString(Section, QStringLiteral("smtp"), le_smtp->Text());
    Ini.WriteString(Section, QStringLiteral("port"), le_port->Text());
    Ini.WriteString(Section, QStringLiteral("user"), le_user->Text());
    Ini.WriteString(Section, QStringLiteral("pass"), le_pass->Text());
    Ini.WriteString(Section, QStringLiteral("email"), le_email->Text());
    Ini.WriteString(Section, QStringLiteral("emailtitle"), le_title->Text());
    Ini.WriteString(Section, QStringLiteral("ledAttachment"), ledAttachment->Text());
    Ini.WriteBool(Section, QStringLiteral("pass1"), cb_authentication->Checked());
    Ini.UpdateFile();
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("保存邮件设置失败！\n") + E.Message());
  }
  try {
    me_content->Lines()->SaveToFile(BodyFile());
  } catch (const Exception&) {
  }
}

void TfrmEleEleGZBill::Button1Click() {
  String Folder;
  if (BrowseForFolder(this, QStringLiteral("选择电子工资条存放路径"), String(), Folder)) EditPath->SetText(Folder);
}

void TfrmEleEleGZBill::Button2Click() {
  const String Folder = EditPath->Text();
  if (Folder.isEmpty()) {
    ShowAppMessage(QStringLiteral("请指定电子工资条的存放路径！"));
    return;
  }
  QList<TSlipItem> Items;
  try {
    Items = ReadSlipItems(FMonth);
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
    return;
  }
  std::unique_ptr<TSlipTemplate> Template;
  try {
    Template = std::make_unique<TSlipTemplate>(FTemplatePath);
  } catch (const Exception& E) {
    ShowAppMessage(E.Message());
    return;
  }
  Button2->SetEnabled(false);
  TSlipRun Run;
  try {
    std::unique_ptr<TADODataSet> Records(MonthRecords(nullptr, FMonth));
    Run = GenerateSlips(*Template, Records.get(), Folder, FMonth, Settings().GEntName, Items, Settings().GShowFloat != 0,
                        [this](Integer Done, Integer Count) {
                          lblHint->SetCaption(QStringLiteral("%1/%2").arg(Done).arg(Count));
                          Application->ProcessMessages();
                        });
  } catch (const Exception& E) {
    Button2->SetEnabled(true);
    ShowAppMessage(QStringLiteral("读取数据库发生错误！\n") + E.Message());
    return;
  }
  Button2->SetEnabled(true);
  if (Run.Failures.isEmpty()) {
    ShowAppMessage(QStringLiteral("生成工资条结束！"));
  } else {
    QStringList Lines{QStringLiteral("生成工资条结束：成功 %1 份，失败 %2 份。").arg(Run.Made).arg(Run.Failures.size())};
    for (const TSlipFailure& F : Run.Failures)
      Lines << QStringLiteral("%1 %2：%3").arg(PadLeftZeros(IntToStr(F.Number), 4), F.EmpName, F.Reason);
    ShowAppMessage(Lines.join(u'\n'));
  }
  if (TDialogs::MessageDlg(QStringLiteral("是否立即打开工资条文件所在目录？"), mtWarning, {mbYes, mbNo}) != mrNo)
    ShellOpen(Folder, String());
}

TSmtpSettings TfrmEleEleGZBill::SmtpSettings() const {
  TSmtpSettings Smtp;
  Smtp.Host = le_smtp->Text().trimmed();
  bool Ok = false;
  const Integer Port = le_port->Text().trimmed().toInt(&Ok);
  Smtp.Port = Ok ? Port : 25;
  Smtp.ImplicitTls = Smtp.Port == 465;
  Smtp.Login = cb_authentication->Checked();
  Smtp.Username = le_user->Text();
  Smtp.Password = le_pass->Text();
  Smtp.CaFile = CaFile;
  return Smtp;
}

void TfrmEleEleGZBill::cmdEmailClick() {
  if (me_content->Lines()->Text().trimmed().isEmpty()) {
    ShowAppMessage(QStringLiteral("输入邮件内容！"));
    return;
  }
  const String Folder = EditPath->Text();
  if (Folder.isEmpty()) {
    ShowAppMessage(QStringLiteral("工资条存放路径尚未指定！"));
    return;
  }
  SavePara();
  QList<TSlipRecipient> Recipients;
  {
    std::unique_ptr<TADODataSet> Records(MonthRecords(nullptr, FMonth));
    Integer Number = 0;
    for (Records->First(); !Records->Eof(); Records->Next())
      Recipients << TSlipRecipient{++Number, Records->FieldByName(QStringLiteral("EmpName"))->AsString(),
                                   Records->FieldByName(QStringLiteral("EMail"))->AsString()};
  }
  // Every slip is there before the first mail goes, so a run never stops halfway.
  const QStringList Missing = MissingSlipFiles(Recipients, Folder);
  if (!Missing.isEmpty()) {
    ledAttachment->SetText(Missing.first());
    ShowAppMessage(QStringLiteral("指定工资条存放路径下没找到工资条Excel文件。未发送任何邮件。\n") +
                   QDir::toNativeSeparators(Missing.join(u'\n')));
    return;
  }
  TSmtpSession Session(SmtpSettings());
  Session.OnIdle = [] { Application->ProcessMessages(); };
  // A failure to connect or to log in reaches the standard error message.
  Session.Connect();
  TSlipMail Mail{le_email->Text().trimmed(), le_title->Text(), me_content->Lines()->Text().split(u'\n')};
  while (!Mail.Body.isEmpty() && Mail.Body.last().isEmpty()) Mail.Body.removeLast();
  TSlipMailer Mailer;
  Mailer.OnStatus = [this](const String& Text) {
    StatusBar1->SetSimpleText(Text);
    Application->ProcessMessages();
  };
  Mailer.Pause = Pause;
  const TSlipMailRun Run = Mailer.Send(Session, Recipients, Folder, Mail);
  Session.Disconnect();
  const String Report = SlipMailReport(Run);
  StatusBar1->SetSimpleText(Run.Failed.isEmpty() && Run.Skipped.isEmpty() ? QStringLiteral("发送完成...")
                                                                           : Report.section(u'\n', 0, 0));
  ShowAppMessage(Report);
}

void ShowEleGZBill(const String& Month, const String& TemplatePath) {
  TfrmEleEleGZBill Form(nullptr, Month, TemplatePath);
  Form.ShowModal();
}
