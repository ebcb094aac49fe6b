#include "platform/testing/SmtpPeer.h"
#include "platform/testing/TestPaths.h"
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace moli::testing {

SmtpPeer::SmtpPeer(const QString& Folder, const SmtpPeerOptions& Options)
    : FProcess(std::make_unique<QProcess>()), FMailDir(Folder + QStringLiteral("/mail")) {
  QStringList Arguments{SourceDir() + QStringLiteral("/platform/testing/smtp_peer.py"), QStringLiteral("--maildir"),
                        FMailDir, QStringLiteral("--certs"), Folder + QStringLiteral("/certs")};
  if (Options.ImplicitTls) Arguments << QStringLiteral("--implicit-tls");
  if (!Options.User.isEmpty())
    Arguments << QStringLiteral("--user") << Options.User << QStringLiteral("--password") << Options.Password;
  if (Options.Plain) Arguments << QStringLiteral("--plain");
  for (const QString& Address : Options.Refuse) Arguments << QStringLiteral("--refuse") << Address;
  FProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  FProcess->start(QStringLiteral("/usr/bin/python3"), Arguments);
  while (FCaFile.isEmpty() && FProcess->waitForReadyRead(30000)) {
    while (FProcess->canReadLine()) {
      const QString Line = QString::fromUtf8(FProcess->readLine()).trimmed();
      if (Line.startsWith(QStringLiteral("PORT "))) FPort = Line.mid(5).toInt();
      if (Line.startsWith(QStringLiteral("CAFILE "))) FCaFile = Line.mid(7);
    }
  }
  EXPECT_GT(FPort, 0) << "the SMTP peer did not start";
  EXPECT_FALSE(FCaFile.isEmpty()) << "the SMTP peer did not start";
}

SmtpPeer::~SmtpPeer() {
  FProcess->closeWriteChannel();
  if (!FProcess->waitForFinished(30000)) FProcess->kill();
}

QStringList SmtpPeer::Mails() const {
  QStringList Result;
  for (const QString& Name : QDir(FMailDir).entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name))
    Result << FMailDir + u'/' + Name;
  return Result;
}

int SmtpPeer::LoginAttempts() const {
  QFile Log(FMailDir + QStringLiteral("/logins.log"));
  if (!Log.open(QIODevice::ReadOnly)) return 0;
  return int(Log.readAll().count('\n'));
}

QString SmtpPeer::EnvelopeOf(const QString& Mail) {
  return Mail.left(Mail.size() - 4) + QStringLiteral(".json");
}

QJsonObject ReadMail(const QString& Mail, const QString& AttachmentFolder) {
  QProcess Reader;
  QStringList Arguments{SourceDir() + QStringLiteral("/platform/testing/read_mail.py"), Mail};
  if (!AttachmentFolder.isEmpty()) Arguments << AttachmentFolder;
  Reader.start(QStringLiteral("/usr/bin/python3"), Arguments);
  EXPECT_TRUE(Reader.waitForFinished(60000));
  EXPECT_EQ(Reader.exitCode(), 0) << Reader.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(Reader.readAllStandardOutput()).object();
}

}  // namespace moli::testing
