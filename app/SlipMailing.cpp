#include "app/SlipMailing.h"
#include "app/EleSlips.h"
#include "app/uPub.h"
#include <QFileInfo>

TSlipMailRun TSlipMailer::Send(TSmtpSession& Session, const QList<TSlipRecipient>& Recipients, const String& Folder,
                               const TSlipMail& Mail) {
  TSlipMailRun Run;
  const qsizetype Total = Recipients.size();
  for (const TSlipRecipient& Recipient : Recipients) {
    const String Slip = SlipFileName(Folder, Recipient.Number, Recipient.EmpName);
    if (!QFileInfo(Slip).isFile()) {
      Run.MissingSlip = Slip;
      return Run;
    }
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
    Message.Attachment = Slip;
    try {
      const TSmtpResult Result = Session.Send(Message);
      if (Result.Sent)
        ++Run.Sent;
      else
        Run.Failed << TSlipMailFailure{Recipient.Number, Recipient.EmpName, Address, Result.Answer};
    } catch (const Exception& E) {
      Run.Failed << TSlipMailFailure{Recipient.Number, Recipient.EmpName, Address, E.Message()};
    }
    if (OnStatus)
      OnStatus(QStringLiteral("正在发送... (%1/%2) %3").arg(Recipient.Number).arg(Total).arg(Address));
    if (Pause) Pause(SlipMailPause);
  }
  return Run;
}

String SlipMailFailureReport(const TSlipMailRun& Run) {
  QStringList Lines;
  for (const TSlipMailFailure& F : Run.Failed)
    Lines << QStringLiteral("%1 %2 <%3>：发送失败，%4").arg(PadLeftZeros(IntToStr(F.Number), 4), F.EmpName, F.Address, F.Reason);
  for (const TSlipMailFailure& F : Run.Skipped)
    Lines << QStringLiteral("%1 %2 <%3>：邮件地址无效，未发送").arg(PadLeftZeros(IntToStr(F.Number), 4), F.EmpName, F.Address);
  return Lines.join(u'\n');
}
