#include "platform/net/MailMessage.h"
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>

namespace {

bool IsPlainHeaderText(const String& Text) {
  for (const QChar C : Text)
    if (C.unicode() < 0x20 || C.unicode() > 0x7E) return false;
  return !Text.contains(QStringLiteral("=?"));
}

void RefuseLineBreaks(const String& Value, const char* What) {
  if (Value.contains(u'\r') || Value.contains(u'\n'))
    throw EMailMessage(QStringLiteral("The %1 of the mail holds a line break: %2").arg(QLatin1String(What), Value));
}

QByteArray Base64Lines(const QByteArray& Data) {
  const QByteArray Encoded = Data.toBase64();
  QByteArray Lines;
  Lines.reserve(Encoded.size() + Encoded.size() / 76 * 2 + 2);
  for (qsizetype At = 0; At < Encoded.size(); At += 76) {
    Lines += Encoded.mid(At, 76);
    Lines += "\r\n";
  }
  return Lines;
}

// RFC 2231 form of a parameter value: UTF-8 with every byte outside the
// unreserved set percent-encoded.
QByteArray ExtendedParameter(const String& Value) {
  return "UTF-8''" + Value.toUtf8().toPercentEncoding();
}

QByteArray DateHeader(const QDateTime& Date) {
  const int Offset = Date.offsetFromUtc() / 60;
  const char Sign = Offset < 0 ? '-' : '+';
  const int Minutes = std::abs(Offset);
  return QLocale::c().toString(Date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() + Sign +
         QByteArray::number(Minutes / 60).rightJustified(2, '0') + QByteArray::number(Minutes % 60).rightJustified(2, '0');
}

}  // namespace

QByteArray EncodeHeaderWords(const String& Text) {
  if (IsPlainHeaderText(Text)) return Text.toLatin1();
  // 45 bytes of UTF-8 make 60 base64 characters: with "=?UTF-8?B?" and "?="
  // a word stays within 75. Characters are never split between words.
  constexpr qsizetype MaxBytes = 45;
  QByteArray Result;
  QByteArray Chunk;
  const auto Flush = [&] {
    if (Chunk.isEmpty()) return;
    if (!Result.isEmpty()) Result += "\r\n ";
    Result += "=?UTF-8?B?" + Chunk.toBase64() + "?=";
    Chunk.clear();
  };
  for (qsizetype At = 0; At < Text.size();) {
    const qsizetype Length = Text.at(At).isHighSurrogate() && At + 1 < Text.size() ? 2 : 1;
    const QByteArray Bytes = Text.mid(At, Length).toUtf8();
    if (Chunk.size() + Bytes.size() > MaxBytes) Flush();
    Chunk += Bytes;
    At += Length;
  }
  Flush();
  return Result;
}

QByteArray ComposeMailMessage(const TMailMessage& Message, const QDateTime& Date) {
  if (Message.Recipients.isEmpty()) throw EMailMessage(QStringLiteral("The mail has no recipient"));
  RefuseLineBreaks(Message.From, "sender");
  RefuseLineBreaks(Message.ReplyTo, "reply address");
  RefuseLineBreaks(Message.Subject, "subject");
  for (const String& Recipient : Message.Recipients) RefuseLineBreaks(Recipient, "recipient");

  QByteArray Attached;
  if (!Message.Attachment.isEmpty()) {
    QFile File(Message.Attachment);
    if (!File.open(QIODevice::ReadOnly))
      throw EMailMessage(QStringLiteral("The attachment cannot be read: %1 (%2)").arg(Message.Attachment, File.errorString()));
    Attached = File.readAll();
    if (File.error() != QFileDevice::NoError)
      throw EMailMessage(QStringLiteral("The attachment cannot be read: %1 (%2)").arg(Message.Attachment, File.errorString()));
  }

  const QByteArray Boundary =
      "=_moli_" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + "_" +
      QByteArray::number(QRandomGenerator::global()->generate64(), 36);
  QByteArray Text;
  Text += "Date: " + DateHeader(Date) + "\r\n";
  Text += "From: " + EncodeHeaderWords(Message.From) + "\r\n";
  if (!Message.ReplyTo.isEmpty()) Text += "Reply-To: " + EncodeHeaderWords(Message.ReplyTo) + "\r\n";
  Text += "To: " + EncodeHeaderWords(Message.Recipients.join(QStringLiteral(", "))) + "\r\n";
  Text += "Subject: " + EncodeHeaderWords(Message.Subject) + "\r\n";
  Text += "MIME-Version: 1.0\r\n";
  Text += "Content-Type: multipart/mixed; boundary=\"" + Boundary + "\"\r\n\r\n";
  Text += "--" + Boundary + "\r\n";
  Text += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
  Text += Base64Lines(Message.Body.join(QStringLiteral("\r\n")).toUtf8());
  if (!Message.Attachment.isEmpty()) {
    const String Name = QFileInfo(Message.Attachment).fileName();
    const QByteArray Encoded = EncodeHeaderWords(Name).replace("\r\n ", " ");
    Text += "--" + Boundary + "\r\n";
    Text += "Content-Type: application/octet-stream; name=\"" + Encoded + "\"\r\n";
    Text += "Content-Transfer-Encoding: base64\r\n";
    Text += "Content-Disposition: attachment; filename=\"" + Encoded + "\";\r\n filename*=" +
            ExtendedParameter(Name) + "\r\n\r\n";
    Text += Base64Lines(Attached);
  }
  Text += "--" + Boundary + "--\r\n";
  return Text;
}
