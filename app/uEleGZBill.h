#pragma once
// "生成电子工资条": makes one slip workbook per employee of a month from a
// template and mails each slip to its employee over SMTP.
#include "app/SlipMailing.h"
#include "platform/ui/Forms.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TMemo;
class TStatusBar;

class TfrmEleEleGZBill : public TForm {
public:
  TfrmEleEleGZBill(TComponent* AOwner, const String& Month, const String& TemplatePath);
  String ClassName() const override { return QStringLiteral("TfrmEleEleGZBill"); }

  // Reads "comm.ini" and "EMailContent.Lst" into the fields.
  void FormShow();
  // Writes the fields to "comm.ini" (readable by its owner only, as it holds
  // the password) and the body to "EMailContent.Lst".
  void SavePara();
  // "选择": the folder the slips go to.
  void Button1Click();
  // "1:开始生成": one slip per record of the month; failures are listed.
  void Button2Click();
  // "2:发送邮件": mails every slip; failures and skipped addresses are listed.
  void cmdEmailClick();

  // The SMTP settings the fields give.
  TSmtpSettings SmtpSettings() const;

  TEdit* EditPath;
  TButton* btnChoose;
  TLabel* lblHint;
  TGroupBox* grpConfig;
  TEdit* le_smtp;
  TEdit* le_port;
  TEdit* le_user;
  TEdit* le_pass;
  TEdit* le_email;
  TEdit* le_title;
  TCheckBox* cb_authentication;
  TMemo* me_content;
  TEdit* ledAttachment;
  TStatusBar* StatusBar1;
  TButton* Button2;
  TButton* cmdEmail;
  TButton* btnClose;

  // Waits between mails; DelayWithMessages unless a test replaces it.
  std::function<void(Cardinal Milliseconds)> Pause;
  // Certificate authorities to trust for the mail server in place of the system's.
  String CaFile;

private:
  TEdit* LabeledEdit(const String& Name, const String& Caption, Integer Top);
  String SettingsFile() const;
  String BodyFile() const;

  String FMonth;
  String FTemplatePath;
};

// The window for Month with the template at TemplatePath, shown modally.
void ShowEleGZBill(const String& Month, const String& TemplatePath);
