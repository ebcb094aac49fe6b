#include "platform/net/SmtpSession.h"
#include <QDateTime>
#include <curl/curl.h>

namespace {

struct TCurlGlobal {
  TCurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

void EnsureCurl() { static TCurlGlobal Global; }

// The address inside "Name <addr>", or the text itself.
QByteArray EnvelopeAddress(const String& Address) {
  const qsizetype Open = Address.lastIndexOf(u'<');
  const qsizetype Close = Address.lastIndexOf(u'>');
  const String Bare = Open >= 0 && Close > Open ? Address.mid(Open + 1, Close - Open - 1) : Address.trimmed();
  return "<" + Bare.trimmed().toUtf8() + ">";
}

}  // namespace

struct TSmtpSession::TState {
  TSmtpSettings Settings;
  CURL* Handle = nullptr;
  // Every line the server sent during the last request.
  QList<QByteArray> Replies;
  QByteArray Upload;
  qsizetype UploadAt = 0;
  std::function<void()>* Idle = nullptr;

  ~TState() { Close(); }

  void Close() {
    if (Handle) curl_easy_cleanup(Handle);
    Handle = nullptr;
  }

  String LastAnswer() const {
    for (qsizetype At = Replies.size() - 1; At >= 0; --At) {
      const QByteArray Line = Replies.at(At).trimmed();
      if (!Line.isEmpty()) return String::fromUtf8(Line);
    }
    return String();
  }

  // The last refusal (a 4xx or 5xx reply) the server sent; the last reply when none.
  String RefusalAnswer() const {
    for (qsizetype At = Replies.size() - 1; At >= 0; --At) {
      const QByteArray Line = Replies.at(At).trimmed();
      if (Line.size() >= 3 && (Line[0] == '4' || Line[0] == '5')) return String::fromUtf8(Line);
    }
    return LastAnswer();
  }

  String Failure(CURLcode Code, const char* Buffer) const {
    String Text = String::fromUtf8(*Buffer ? Buffer : curl_easy_strerror(Code));
    const String Answer = RefusalAnswer();
    if (!Answer.isEmpty()) Text += QStringLiteral(" (%1)").arg(Answer);
    return Text;
  }

  static int Debug(CURL*, curl_infotype Type, char* Data, size_t Size, void* User) {
    if (Type == CURLINFO_HEADER_IN) static_cast<TState*>(User)->Replies.append(QByteArray(Data, qsizetype(Size)));
    return 0;
  }

  static size_t Read(char* Buffer, size_t Size, size_t Count, void* User) {
    auto* State = static_cast<TState*>(User);
    const qsizetype Left = State->Upload.size() - State->UploadAt;
    const qsizetype Length = std::min<qsizetype>(Left, qsizetype(Size * Count));
    std::memcpy(Buffer, State->Upload.constData() + State->UploadAt, size_t(Length));
    State->UploadAt += Length;
    return size_t(Length);
  }

  static int Progress(void* User, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* State = static_cast<TState*>(User);
    if (State->Idle && *State->Idle) (*State->Idle)();
    return 0;
  }

  // A handle set up for the server; the connection it opens is kept for the
  // following requests on the same handle.
  void Open() {
    EnsureCurl();
    Handle = curl_easy_init();
    if (!Handle) throw ESmtpError(QStringLiteral("The mail library cannot start a session"));
    const bool Implicit = Settings.ImplicitTls;
    const QByteArray Url = (Implicit ? "smtps://" : "smtp://") + Settings.Host.trimmed().toUtf8() + ":" +
                           QByteArray::number(Settings.Port);
    curl_easy_setopt(Handle, CURLOPT_URL, Url.constData());
    // Credentials never travel in clear text: with a login the session
    // must be encrypted, without one encryption is taken when offered.
    if (!Implicit) curl_easy_setopt(Handle, CURLOPT_USE_SSL, long(Settings.Login ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(Handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(Handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!Settings.CaFile.isEmpty()) curl_easy_setopt(Handle, CURLOPT_CAINFO, Settings.CaFile.toLocal8Bit().constData());
    if (Settings.Login) {
      curl_easy_setopt(Handle, CURLOPT_USERNAME, Settings.Username.toUtf8().constData());
      curl_easy_setopt(Handle, CURLOPT_PASSWORD, Settings.Password.toUtf8().constData());
      curl_easy_setopt(Handle, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    curl_easy_setopt(Handle, CURLOPT_CONNECTTIMEOUT, long(Settings.ConnectTimeout));
    curl_easy_setopt(Handle, CURLOPT_TIMEOUT, long(Settings.CommandTimeout));
    curl_easy_setopt(Handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(Handle, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(Handle, CURLOPT_DEBUGFUNCTION, &TState::Debug);
    curl_easy_setopt(Handle, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(Handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(Handle, CURLOPT_XFERINFOFUNCTION, &TState::Progress);
    curl_easy_setopt(Handle, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(Handle, CURLOPT_READFUNCTION, &TState::Read);
    curl_easy_setopt(Handle, CURLOPT_READDATA, this);
  }
};

TSmtpSession::TSmtpSession(const TSmtpSettings& Settings) : FState(std::make_unique<TState>()) {
  FState->Settings = Settings;
  FState->Idle = &OnIdle;
}

TSmtpSession::~TSmtpSession() = default;

bool TSmtpSession::Connected() const { return FState->Handle != nullptr; }

void TSmtpSession::Connect() {
  Disconnect();
  FState->Open();
  // A NOOP after the greeting, STARTTLS and authentication proves the
  // session works before any mail is handed over.
  curl_easy_setopt(FState->Handle, CURLOPT_CUSTOMREQUEST, "NOOP");
  curl_easy_setopt(FState->Handle, CURLOPT_NOBODY, 1L);
  char Error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(FState->Handle, CURLOPT_ERRORBUFFER, Error);
  FState->Replies.clear();
  const CURLcode Code = curl_easy_perform(FState->Handle);
  curl_easy_setopt(FState->Handle, CURLOPT_ERRORBUFFER, nullptr);
  curl_easy_setopt(FState->Handle, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(FState->Handle, CURLOPT_NOBODY, 0L);
  if (Code != CURLE_OK) {
    const String Reason = FState->Failure(Code, Error);
    FState->Close();
    if (Code == CURLE_USE_SSL_FAILED)
      throw ESmtpError(QStringLiteral("服务器不支持加密连接（STARTTLS），为保护密码，用户名和密码不会以明文发送。"
                                      "请改用服务器的加密端口（如 465）或支持 STARTTLS 的服务器。（%1:%2：%3）")
                           .arg(FState->Settings.Host)
                           .arg(FState->Settings.Port)
                           .arg(Reason));
    throw ESmtpError(QStringLiteral("Cannot open a mail session with %1:%2: %3")
                         .arg(FState->Settings.Host)
                         .arg(FState->Settings.Port)
                         .arg(Reason));
  }
}

TSmtpResult TSmtpSession::Send(const TMailMessage& Message) {
  if (!FState->Handle) throw ESmtpError(QStringLiteral("The mail session is not connected"));
  FState->Upload = ComposeMailMessage(Message, QDateTime::currentDateTime());
  FState->UploadAt = 0;
  const QByteArray From = EnvelopeAddress(Message.From);
  curl_slist* Recipients = nullptr;
  for (const String& Recipient : Message.Recipients)
    Recipients = curl_slist_append(Recipients, EnvelopeAddress(Recipient).constData());
  CURL* Handle = FState->Handle;
  curl_easy_setopt(Handle, CURLOPT_MAIL_FROM, From.constData());
  curl_easy_setopt(Handle, CURLOPT_MAIL_RCPT, Recipients);
  curl_easy_setopt(Handle, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(Handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(FState->Upload.size()));
  char Error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(Handle, CURLOPT_ERRORBUFFER, Error);
  FState->Replies.clear();
  const CURLcode Code = curl_easy_perform(Handle);
  curl_easy_setopt(Handle, CURLOPT_ERRORBUFFER, nullptr);
  curl_easy_setopt(Handle, CURLOPT_MAIL_RCPT, nullptr);
  curl_easy_setopt(Handle, CURLOPT_UPLOAD, 0L);
  curl_slist_free_all(Recipients);
  FState->Upload.clear();
  TSmtpResult Result;
  Result.Sent = Code == CURLE_OK;
  Result.Answer = Result.Sent ? FState->LastAnswer() : FState->Failure(Code, Error);
  return Result;
}

void TSmtpSession::Disconnect() { FState->Close(); }
