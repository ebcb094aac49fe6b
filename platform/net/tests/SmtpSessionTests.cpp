#include "platform/net/SmtpSession.h"
#include "platform/testing/SmtpPeer.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

using moli::testing::SmtpPeer;
using moli::testing::SmtpPeerOptions;

TMailMessage MailTo(const QString& Address) {
  TMailMessage Message;
  Message.From = QStringLiteral("hr@example.com");
  Message.ReplyTo = QStringLiteral("hr@example.com");
  Message.Recipients = {Address};
  Message.Subject = QString::fromUtf8("工资条");
  Message.Body = {QStringLiteral("body")};
  return Message;
}

QJsonObject Envelope(const QString& Mail) {
  QFile File(SmtpPeer::EnvelopeOf(Mail));
  EXPECT_TRUE(File.open(QIODevice::ReadOnly));
  return QJsonDocument::fromJson(File.readAll()).object();
}

TSmtpSettings SettingsFor(const SmtpPeer& Peer) {
  TSmtpSettings Settings;
  Settings.Host = QStringLiteral("127.0.0.1");
  Settings.Port = Peer.Port();
  Settings.CaFile = Peer.CaFile();
  return Settings;
}

}  // namespace

TEST(SmtpSession, SendsSeveralMailsOverStartTlsWithLoginAndReportsARefusedRecipient) {
  moli::testing::ScratchDir Dir;
  SmtpPeer Peer(Dir.Path(), {false, QStringLiteral("payroll"), QStringLiteral("s3cret"), {QStringLiteral("refused@example.com")}});
  TSmtpSettings Settings = SettingsFor(Peer);
  Settings.Login = true;
  Settings.Username = QStringLiteral("payroll");
  Settings.Password = QStringLiteral("s3cret");
  TSmtpSession Session(Settings);
  int Idle = 0;
  Session.OnIdle = [&] { ++Idle; };
  Session.Connect();
  EXPECT_TRUE(Session.Connected());
  EXPECT_TRUE(Session.Send(MailTo(QStringLiteral("a@example.com"))).Sent);
  const TSmtpResult Refused = Session.Send(MailTo(QStringLiteral("refused@example.com")));
  EXPECT_FALSE(Refused.Sent);
  EXPECT_TRUE(Refused.Answer.contains(QStringLiteral("Mailbox unavailable"))) << Refused.Answer.toStdString();
  // The session goes on after a refusal.
  EXPECT_TRUE(Session.Send(MailTo(QStringLiteral("b@example.com"))).Sent);
  Session.Disconnect();
  EXPECT_GT(Idle, 0);

  const QStringList Mails = Peer.Mails();
  ASSERT_EQ(Mails.size(), 2);
  for (const QString& Mail : Mails) {
    const QJsonObject Env = Envelope(Mail);
    EXPECT_TRUE(Env[QStringLiteral("tls")].toBool());
    EXPECT_TRUE(Env[QStringLiteral("authenticated")].toBool());
    EXPECT_EQ(Env[QStringLiteral("from")].toString(), QStringLiteral("hr@example.com"));
  }
  EXPECT_EQ(moli::testing::ReadMail(Mails[1])[QStringLiteral("subject")].toString(), QString::fromUtf8("工资条"));
}

TEST(SmtpSession, ConnectFailuresRaiseWithTheReason) {
  moli::testing::ScratchDir Dir;
  SmtpPeer Peer(Dir.Path(), {false, QStringLiteral("payroll"), QStringLiteral("s3cret"), {}});
  const auto Login = [](TSmtpSettings& S, const char* Password) {
    S.Login = true;
    S.Username = QStringLiteral("payroll");
    S.Password = QString::fromLatin1(Password);
  };
  struct Case { const char* what; std::function<void(TSmtpSettings&)> change; const char* reason; };
  for (const Case& c : std::initializer_list<Case>{
         {"wrong password", [&](TSmtpSettings& S) { Login(S, "no"); }, "535"},
         {"certificate of an unknown authority",
          [&](TSmtpSettings& S) { Login(S, "s3cret"); S.CaFile = QStringLiteral("/etc/ssl/certs/ca-certificates.crt"); }, "certificate"},
         {"nobody listening", [](TSmtpSettings& S) { S.Port = 1; }, "127.0.0.1:1"}}) {
    TSmtpSettings Settings = SettingsFor(Peer);
    c.change(Settings);
    TSmtpSession Session(Settings);
    try {
      Session.Connect();
      ADD_FAILURE() << c.what << ": connected";
    } catch (const ESmtpError& E) {
      EXPECT_TRUE(E.Message().contains(QLatin1String(c.reason), Qt::CaseInsensitive)) << c.what << ": " << E.Message().toStdString();
      EXPECT_FALSE(Session.Connected());
    }
  }
  // Without login the server takes the session but refuses the mail: a result, not an exception.
  TSmtpSession Anonymous(SettingsFor(Peer));
  Anonymous.Connect();
  const TSmtpResult Refused = Anonymous.Send(MailTo(QStringLiteral("a@example.com")));
  EXPECT_FALSE(Refused.Sent);
  EXPECT_TRUE(Refused.Answer.contains(QStringLiteral("530"))) << Refused.Answer.toStdString();
  EXPECT_TRUE(Peer.Mails().isEmpty());
}

TEST(SmtpSession, SpeaksTlsFromTheFirstByteWhenAsked) {
  moli::testing::ScratchDir Dir;
  SmtpPeer Peer(Dir.Path(), {true, QString(), QString(), {}});
  TSmtpSettings Settings = SettingsFor(Peer);
  Settings.ConnectTimeout = 2;
  Settings.CommandTimeout = 2;
  TSmtpSession Plain(Settings);
  EXPECT_THROW(Plain.Connect(), ESmtpError);
  Settings.ImplicitTls = true;
  TSmtpSession Secure(Settings);
  Secure.Connect();
  EXPECT_TRUE(Secure.Send(MailTo(QStringLiteral("a@example.com"))).Sent);
  Secure.Disconnect();
  ASSERT_EQ(Peer.Mails().size(), 1);
  EXPECT_TRUE(Envelope(Peer.Mails()[0])[QStringLiteral("tls")].toBool());
}

TEST(SmtpSession, NeverLogsInOverAServerThatOffersNoEncryption) {
  moli::testing::ScratchDir Dir;
  SmtpPeerOptions Options{false, QStringLiteral("payroll"), QStringLiteral("s3cret"), {}};
  Options.Plain = true;
  SmtpPeer Peer(Dir.Path(), Options);
  TSmtpSettings Settings = SettingsFor(Peer);
  Settings.Login = true;
  Settings.Username = QStringLiteral("payroll");
  Settings.Password = QStringLiteral("s3cret");
  TSmtpSession Session(Settings);
  try {
    Session.Connect();
    ADD_FAILURE() << "logged in without encryption";
  } catch (const ESmtpError& E) {
    EXPECT_TRUE(E.Message().startsWith(QString::fromUtf8("服务器不支持加密连接"))) << E.Message().toStdString();
  }
  EXPECT_FALSE(Session.Connected());
  EXPECT_EQ(Peer.LoginAttempts(), 0);
  // Without a login there is nothing to protect: the plain session is taken.
  TSmtpSession Anonymous(SettingsFor(Peer));
  Anonymous.Connect();
  EXPECT_TRUE(Anonymous.Connected());
}
