#include "app/LoginPassword.h"
#include "app/AppMessages.h"
#include "app/uDM.h"
#include "app/uPassInput.h"
#include "app/uPub.h"
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace {

const QLatin1String Scheme("pbkdf2-sha256");
constexpr int Iterations = 100000;
constexpr int SaltBytes = 16;
constexpr int KeyBytes = 32;

QByteArray DeriveKey(const String& Password, const QByteArray& Salt, int Rounds) {
  return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, Password.toUtf8(), Salt, Rounds, KeyBytes);
}

// Compares every byte, so the time taken does not tell how much of a guess was right.
bool SameBytes(const QByteArray& A, const QByteArray& B) {
  if (A.size() != B.size()) return false;
  unsigned char Difference = 0;
  for (qsizetype i = 0; i < A.size(); ++i) Difference |= static_cast<unsigned char>(A[i] ^ B[i]);
  return Difference == 0;
}

}  // namespace

bool IsNoPassword(const String& Stored) {
  return Stored.isEmpty() || Stored == QLatin1String("729");
}

bool IsHashedPassword(const String& Stored) {
  return Stored.startsWith(Scheme + u'$');
}

String StoredPasswordOf(const String& Password) {
  if (IsNoPassword(Password)) return Password;
  QByteArray Salt(SaltBytes, Qt::Uninitialized);
  QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(Salt.data()), SaltBytes / 4);
  return QStringList{Scheme, QString::number(Iterations), QString::fromLatin1(Salt.toBase64()),
                     QString::fromLatin1(DeriveKey(Password, Salt, Iterations).toBase64())}
      .join(u'$');
}

bool PasswordMatches(const String& Stored, const String& Entered) {
  if (!IsHashedPassword(Stored)) return Stored == Entered;
  const QStringList Parts = Stored.split(u'$');
  if (Parts.size() != 4) return false;
  bool Ok = false;
  const int Rounds = Parts[1].toInt(&Ok);
  if (!Ok || Rounds < 1) return false;
  const QByteArray Salt = QByteArray::fromBase64(Parts[2].toLatin1());
  const QByteArray Key = QByteArray::fromBase64(Parts[3].toLatin1());
  return !Key.isEmpty() && SameBytes(DeriveKey(Entered, Salt, Rounds), Key);
}

void StoreLoginPassword(const String& Password) {
  const String Stored = StoredPasswordOf(Password);
  DM->ADOLocal->ExecuteSql(QStringLiteral("Update TPara Set LogPass=") + QuotedStr(Stored));
  // The settings data set is read again, so a later reload sees the new value.
  DM->dsPara->Close();
  DM->dsPara->Open();
  Settings().GLogPass = IsNoPassword(Stored) ? String() : Stored;
}

bool CheckPassword(const String& Prompt) {
  const String Stored = Settings().GLogPass;
  if (IsNoPassword(Stored)) return true;
  const String Entered = InputPass(Prompt, Prompt);
  if (!PasswordMatches(Stored, Entered)) {
    ShowAppMessage(QStringLiteral("密码错误！"));
    return false;
  }
  if (!IsHashedPassword(Stored)) {
    try {
      StoreLoginPassword(Entered);
    } catch (const Exception&) {
      ShowAppMessage(QStringLiteral("存储数据发生错误！"));
    }
  }
  return true;
}
