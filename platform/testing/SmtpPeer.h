#pragma once
// A real SMTP server on loopback (smtp_peer.py beside this file, run by
// Debian's Python with aiosmtpd) with its own throw-away certificate authority.
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace moli::testing {

struct SmtpPeerOptions {
  bool ImplicitTls = false;
  // With a user, AUTH LOGIN over TLS is required.
  QString User;
  QString Password;
  QStringList Refuse;
  // Offers no encryption at all; a user then logs in over the plain session.
  bool Plain = false;
};

class SmtpPeer {
public:
  // Starts the server with its mail and certificate folders under Folder;
  // fails the test when it does not come up.
  SmtpPeer(const QString& Folder, const SmtpPeerOptions& Options);
  ~SmtpPeer();
  int Port() const { return FPort; }
  QString CaFile() const { return FCaFile; }
  // The stored mails in arrival order, and the envelope record of each.
  QStringList Mails() const;
  static QString EnvelopeOf(const QString& Mail);
  // How many times a client tried to log in, successful or not.
  int LoginAttempts() const;

private:
  std::unique_ptr<QProcess> FProcess;
  QString FMailDir;
  int FPort = 0;
  QString FCaFile;
};

// A stored mail as Python's e-mail parser reads it: "subject", "from", "to",
// "reply_to", "body" and "attachments" (each with "name" and base64 "data");
// attachments are also written into AttachmentFolder when one is given.
QJsonObject ReadMail(const QString& Mail, const QString& AttachmentFolder = QString());

}  // namespace moli::testing
