#pragma once
// An e-mail with an optional file attachment, and its MIME text as it goes
// over SMTP: UTF-8 body and header words (RFC 2047), base64 parts.
#include "platform/rtl/SysUtils.h"
#include <QStringList>

MOLI_DECLARE_EXCEPTION(EMailMessage, Exception)

struct TMailMessage {
  String From;
  String ReplyTo;
  QStringList Recipients;
  String Subject;
  // Lines of the body.
  QStringList Body;
  // Path of the file to attach; empty for none.
  String Attachment;
};

// A header value as RFC 2047 encoded words when it is not plain printable
// ASCII, folded so that no word exceeds 75 characters.
QByteArray EncodeHeaderWords(const String& Text);

// The message text with CR LF line ends. Raises EMailMessage when an address
// or the subject holds a line break (it would smuggle in headers), when there
// is no recipient, or when the attachment cannot be read: a message is never
// sent half-prepared.
QByteArray ComposeMailMessage(const TMailMessage& Message, const QDateTime& Date);
