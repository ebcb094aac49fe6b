#include "platform/net/MailMessage.h"
#include "platform/testing/SmtpPeer.h"
#include "platform/testing/TestPaths.h"
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

QString U(const char* Text) { return QString::fromUtf8(Text); }

void WriteFile(const QString& Path, const QByteArray& Data) {
  QFile File(Path);
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.write(Data);
}

}  // namespace

TEST(MailMessage, HeaderWordsStayPlainForAsciiAndAreEncodedShortOtherwise) {
  EXPECT_EQ(EncodeHeaderWords(QStringLiteral("Pay slip")), QByteArray("Pay slip"));
  EXPECT_EQ(EncodeHeaderWords(U("工资条")), QByteArray("=?UTF-8?B?5bel6LWE5p2h?="));
  // Text that looks like an encoded word is encoded itself, so it reads back as written.
  EXPECT_TRUE(EncodeHeaderWords(QStringLiteral("=?x?")).startsWith("=?UTF-8?B?"));
  // A long subject is split between characters into words of at most 75 characters.
  const QByteArray Long = EncodeHeaderWords(QString(40, QChar(0x5DE5)) + QStringLiteral("😀"));
  for (const QByteArray& Word : Long.split('\n')) EXPECT_LE(Word.trimmed().size(), 75) << Word.constData();
}

TEST(MailMessage, ReadsBackThroughAMailParserWithChineseSubjectBodyAndAttachmentName) {
  moli::testing::ScratchDir Dir;
  QByteArray Workbook;
  for (int I = 0; I < 3000; ++I) Workbook.append(char(I * 7));
  const QString Attachment = Dir.File(U("0001_张三.xlsx"));
  WriteFile(Attachment, Workbook);
  TMailMessage Message;
  Message.From = QStringLiteral("hr@example.com");
  Message.ReplyTo = QStringLiteral("hr@example.com");
  Message.Recipients = {QStringLiteral("zhang@example.com")};
  Message.Subject = U("2024年01月工资条（请查收）");
  Message.Body = {U("您好："), U("附件是您本月的工资条。"), QStringLiteral(".")};
  Message.Attachment = Attachment;
  const QString Mail = Dir.File(QStringLiteral("mail.eml"));
  WriteFile(Mail, ComposeMailMessage(Message, QDateTime(QDate(2024, 1, 31), QTime(9, 30))));

  const QJsonObject Read = moli::testing::ReadMail(Mail);
  EXPECT_EQ(Read[QStringLiteral("subject")].toString(), Message.Subject);
  EXPECT_EQ(Read[QStringLiteral("to")].toString(), QStringLiteral("zhang@example.com"));
  EXPECT_EQ(Read[QStringLiteral("reply_to")].toString(), QStringLiteral("hr@example.com"));
  EXPECT_TRUE(Read[QStringLiteral("date")].toString().startsWith(QStringLiteral("Wed, 31 Jan 2024 09:30:00")));
  EXPECT_EQ(Read[QStringLiteral("body")].toString(), Message.Body.join(QStringLiteral("\r\n")));
  const QJsonArray Attachments = Read[QStringLiteral("attachments")].toArray();
  ASSERT_EQ(Attachments.size(), 1);
  EXPECT_EQ(Attachments[0].toObject()[QStringLiteral("name")].toString(), U("0001_张三.xlsx"));
  EXPECT_EQ(QByteArray::fromBase64(Attachments[0].toObject()[QStringLiteral("data")].toString().toLatin1()), Workbook);
}

TEST(MailMessage, RefusesWhatWouldGoOutHalfPreparedOrSmuggleInHeaders) {
  TMailMessage Good;
  Good.From = QStringLiteral("hr@example.com");
  Good.Recipients = {QStringLiteral("a@example.com")};
  struct Case { const char* what; std::function<void(TMailMessage&)> change; };
  for (const Case& c : std::initializer_list<Case>{
         {"no recipient", [](TMailMessage& M) { M.Recipients.clear(); }},
         {"subject with a line break", [](TMailMessage& M) { M.Subject = QStringLiteral("x\r\nBcc: all@example.com"); }},
         {"recipient with a line break", [](TMailMessage& M) { M.Recipients = {QStringLiteral("a@b.c\nX: y")}; }},
         {"sender with a line break", [](TMailMessage& M) { M.From = QStringLiteral("a@b.c\r"); }},
         {"attachment that cannot be read", [](TMailMessage& M) { M.Attachment = QStringLiteral("/nonexistent/0001.xlsx"); }}}) {
    TMailMessage Message = Good;
    c.change(Message);
    EXPECT_THROW(ComposeMailMessage(Message, QDateTime::currentDateTime()), EMailMessage) << c.what;
  }
  EXPECT_NO_THROW(ComposeMailMessage(Good, QDateTime::currentDateTime()));
}
