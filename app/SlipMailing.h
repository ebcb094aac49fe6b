#pragma once
// Mailing the electronic pay slips: one mail per employee with the slip as
// its attachment, all over one SMTP session, with a pause between mails.
#include "platform/net/SmtpSession.h"
#include <functional>

// What every slip mail carries.
struct TSlipMail {
  String Sender;  // sender and reply address
  String Subject;
  QStringList Body;
};

// One employee in mailing order, numbered from 1 as the slips are.
struct TSlipRecipient {
  Integer Number = 0;
  String EmpName;
  String Address;
};

// An employee whose slip did not go out, with the reason (the server's
// answer for a refused mail).
struct TSlipMailFailure {
  Integer Number = 0;
  String EmpName;
  String Address;
  String Reason;
};

struct TSlipMailRun {
  Integer Sent = 0;
  // Everyone whose mail the server accepted, in mailing order.
  QList<TSlipRecipient> SentTo;
  QList<TSlipMailFailure> Failed;
  // Addresses that fail the address test; nothing was sent to them.
  QList<TSlipMailFailure> Skipped;
  // Slips found missing before the first mail; when any is, nothing is sent.
  QStringList MissingSlips;
};

// The slip files of Recipients that are not in Folder, in mailing order.
QStringList MissingSlipFiles(const QList<TSlipRecipient>& Recipients, const String& Folder);

class TSlipMailer {
public:
  // Sends the slip of each recipient (the file SlipFileName gives for Folder,
  // its number and name) through Session, which must be connected. Every
  // slip is checked first: when any is missing, nothing is sent. Status gets
  // "正在发送... (i/total) address" after each mail; Pause waits the given
  // milliseconds between mails.
  TSlipMailRun Send(TSmtpSession& Session, const QList<TSlipRecipient>& Recipients, const String& Folder,
                    const TSlipMail& Mail);

  std::function<void(const String& Text)> OnStatus;
  // Waits between mails; the window's wait keeps it responsive, tests count.
  std::function<void(Cardinal Milliseconds)> Pause;
};

// The pause between two mails, in milliseconds.
constexpr Cardinal SlipMailPause = 300;

// The counts of a run, then one line per mail in mailing order saying
// whether it was sent, refused (with the reason) or not sent for its address.
String SlipMailReport(const TSlipMailRun& Run);
