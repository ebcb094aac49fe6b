#include "app/SlipMailing.h"
#include "app/EleSlips.h"
#include "app/uPub.h"
#include <QFileInfo>
#include <map>

QStringList MissingSlipFiles(const QList<TSlipRecipient>& Recipients, const String& Folder) {
  QStringList Missing;
  for (const TSlipRecipient& Recipient : Recipients) {
    const String Slip = SlipFileName(Folder, Recipient.Number, Recipient.EmpName);
    if (!QFileInfo(Slip).isFile()) Missing << Slip;
  }
  return Missing;
}

TSlipMailRun TSlipMailer::Send(TSmtpSession& Session, const QList<TSlipRecipient>& Recipients, const String& Folder,
                               const TSlipMail& Mail) {
  TSlipMailRun Run;
  // A run that stopped halfway would leave people mailed whom a second run mails again.
  Run.MissingSlips = MissingSlipFiles(Recipients, Folder);
  if (!Run.MissingSlips.isEmpty()) return Run;
  const qsizetype Total = Recipients.size();
  for (const TSlipRecipient& Recipient : Recipients) {
    const String Address = Recipient.Address.trimmed();
    if (!IsEmailAddress(Address)) {
      Run.Skipped << TSlipMailFailure{Recipient.Number, Recipient.EmpName, Address, QStringLiteral("邮件地址无效")};
      continue;
    }
    TMailMessage Message;
    Message.From = Mail.Sender;
    Message.ReplyTo = Mail.Sender;
    Message.Recipients = {Address};
    Message.Subject = Mail.Subject;
    Message.Body = Mail.Body;
    Message.Attachment = SlipFileName(Folder, Recipient.Number, Recipient.EmpName);
    try {
      const TSmtpResult Result = Session.Send(Message);
      if (Result.Sent) {
        ++Run.Sent;
        Run.SentTo << TSlipRecipient{Recipient.Number, Recipient.EmpName, Address};
      } else {
        Run.Failed << TSlipMailFailure{Recipient.Number, Recipient.EmpName, Address, Result.Answer};
      }
    } catch (const Exception& E) {
      Run.Failed << TSlipMailFailure{Recipient.Number, Recipient.EmpName, Address, E.Message()};
    }
    if (OnStatus)
      OnStatus(QStringLiteral("正在发送... (%1/%2) %3").arg(Recipient.Number).arg(Total).arg(Address));
    if (Pause) Pause(SlipMailPause);
  }
  return Run;
}

String SlipMailReport(const TSlipMailRun& Run) {
  const auto Who = [](Integer Number, const String& EmpName, const String& Address) {
    return QStringLiteral("%1 %2 <%3>：").arg(PadLeftZeros(IntToStr(Number), 4), EmpName, Address);
  };
  std::multimap<Integer, String> Lines;
  for (const TSlipRecipient& R : Run.SentTo) Lines.emplace(R.Number, Who(R.Number, R.EmpName, R.Address) + QStringLiteral("已发送"));
  for (const TSlipMailFailure& F : Run.Failed)
    Lines.emplace(F.Number, Who(F.Number, F.EmpName, F.Address) + QStringLiteral("发送失败，") + F.Reason);
  for (const TSlipMailFailure& F : Run.Skipped)
    Lines.emplace(F.Number, Who(F.Number, F.EmpName, F.Address) + QStringLiteral("邮件地址无效，未发送"));
  QStringList Report{QStringLiteral("发送完成：成功 %1 封，失败 %2 封，地址无效 %3 个。")
                         .arg(Run.Sent)
                         .arg(Run.Failed.size())
                         .arg(Run.Skipped.size())};
  for (const auto& Line : Lines) Report << Line.second;
  return Report.join(u'\n');
}
