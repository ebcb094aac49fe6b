#pragma once
// Exceptions of the run-time library. Every failure the program reports is one of these.
#include "platform/rtl/Types.h"
#include <QByteArray>
#include <exception>

class Exception : public std::exception {
public:
  explicit Exception(const String& message) : FMessage(message), FUtf8(message.toUtf8()) {}
  const String& Message() const { return FMessage; }
  void SetMessage(const String& message) { FMessage = message; FUtf8 = message.toUtf8(); }
  const char* what() const noexcept override { return FUtf8.constData(); }
private:
  String FMessage;
  QByteArray FUtf8;
};

#define MOLI_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {               \
  public:                                  \
    using Base::Base;                      \
  };

MOLI_DECLARE_EXCEPTION(EAbort, Exception)
MOLI_DECLARE_EXCEPTION(EConvertError, Exception)
MOLI_DECLARE_EXCEPTION(EVariantError, Exception)
MOLI_DECLARE_EXCEPTION(EMathError, Exception)
MOLI_DECLARE_EXCEPTION(EDivByZero, Exception)
MOLI_DECLARE_EXCEPTION(ERangeError, Exception)
MOLI_DECLARE_EXCEPTION(EOverflow, EMathError)
MOLI_DECLARE_EXCEPTION(EZeroDivide, EMathError)
MOLI_DECLARE_EXCEPTION(EInvalidOp, EMathError)
MOLI_DECLARE_EXCEPTION(EInvalidOperation, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidPointer, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidCast, Exception)
MOLI_DECLARE_EXCEPTION(EListError, Exception)
MOLI_DECLARE_EXCEPTION(EStringListError, Exception)
MOLI_DECLARE_EXCEPTION(EStreamError, Exception)
MOLI_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
MOLI_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
MOLI_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
MOLI_DECLARE_EXCEPTION(EReadError, EStreamError)
MOLI_DECLARE_EXCEPTION(EWriteError, EStreamError)
MOLI_DECLARE_EXCEPTION(EInOutError, Exception)
MOLI_DECLARE_EXCEPTION(EOutOfResources, Exception)
MOLI_DECLARE_EXCEPTION(EComponentError, Exception)
MOLI_DECLARE_EXCEPTION(EDatabaseError, Exception)
MOLI_DECLARE_EXCEPTION(EIniFileException, Exception)
MOLI_DECLARE_EXCEPTION(EEncodingError, Exception)
MOLI_DECLARE_EXCEPTION(EPrinter, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)

// Raises EAbort, the silent exception that ends an operation without a message.
[[noreturn]] void Abort();
