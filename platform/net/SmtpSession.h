#pragma once
// One SMTP session that sends several mails over the same connection:
// login authentication when asked for, STARTTLS whenever the server offers
// it or TLS from the first byte, server certificates always verified.
#include "platform/net/MailMessage.h"
#include <functional>
#include <memory>

MOLI_DECLARE_EXCEPTION(ESmtpError, Exception)

struct TSmtpSettings {
  String Host;
  Integer Port = 25;
  // TLS from the first byte, as servers on port 465 expect; otherwise
  // STARTTLS whenever the server offers it.
  bool ImplicitTls = false;
  // AUTH LOGIN with Username and Password, only ever over an encrypted
  // session; without it no authentication.
  bool Login = false;
  String Username;
  String Password;
  // Certificate authorities to trust in place of the system's; empty for the system's.
  String CaFile;
  // Seconds allowed for connecting, and for each command of a mail.
  Integer ConnectTimeout = 30;
  Integer CommandTimeout = 120;
};

// What became of one mail: accepted, or refused with the server's answer.
struct TSmtpResult {
  bool Sent = false;
  String Answer;
};

class TSmtpSession {
public:
  explicit TSmtpSession(const TSmtpSettings& Settings);
  ~TSmtpSession();
  TSmtpSession(const TSmtpSession&) = delete;
  TSmtpSession& operator=(const TSmtpSession&) = delete;

  // Connects, secures and authenticates; raises ESmtpError with the reason
  // and the server's answer when any of it fails, and before any credential
  // is sent when a login is asked of a server that offers no encryption.
  void Connect();
  // Sends one mail with Message.From as envelope sender; a refusal (of the
  // sender, a recipient or the content) comes back as a result, not raised.
  // Raises EMailMessage when the message cannot be composed.
  TSmtpResult Send(const TMailMessage& Message);
  // Says goodbye and closes the connection; a session may connect again.
  void Disconnect();
  bool Connected() const;

  // Called while the session waits on the network, so a window stays responsive.
  std::function<void()> OnIdle;

private:
  struct TState;
  std::unique_ptr<TState> FState;
};
