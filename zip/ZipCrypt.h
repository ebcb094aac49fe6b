#pragma once
// The traditional zip stream cipher (general purpose flag bit 0): three
// 32-bit keys driven by the CRC-32 table, and the 12-byte header in front of
// each encrypted entry's data.
#include "platform/rtl/Types.h"
#include "zip/ByteChannels.h"
#include <QByteArray>
#include <array>
#include <cstdint>
#include <functional>

constexpr unsigned ZipCryptHeaderSize = 12;

// The bytes a password enters the cipher as: the Windows ANSI code page of
// the archives this program exchanges (936), which keeps ASCII as it is.
QByteArray ZipPasswordBytes(const String& Password);

class TZipCrypt {
public:
  // Keys set up from the password's bytes; an empty password leaves the initial keys.
  explicit TZipCrypt(const QByteArray& Password);

  uint8_t Decrypt(uint8_t Cipher);
  uint8_t Encrypt(uint8_t Plain);
  void Decrypt(uint8_t* Buffer, size_t Count);
  void Encrypt(uint8_t* Buffer, size_t Count);

  // Ten random bytes and the two high bytes of the entry's CRC-32, encrypted.
  std::array<uint8_t, ZipCryptHeaderSize> MakeHeader(uint32_t Crc32);
  // Decrypts a header read from an archive (the keys move on past it) and
  // tells whether its last byte is the entry's check byte.
  bool CheckHeader(const uint8_t* Header, uint8_t CheckByte);

  // The byte a header ends with: the high byte of the file time when the
  // entry has a data descriptor (flag bit 3), else the CRC-32's high byte.
  static uint8_t CheckByteOf(uint16_t Flags, uint32_t FileDateTime, uint32_t Crc32);

private:
  void UpdateKeys(uint8_t Plain);
  uint8_t StreamByte() const;
  uint32_t FKeys[3];
};

// The components' events: another password after a failed check, and an
// application cipher in place of the built-in one.
using TBadPasswordEvent = std::function<void(TObject* Sender, Integer FileIndex, String& NewPassword)>;
using TCryptEvent = std::function<void(TObject* Sender, uint8_t* Buffer, Integer Length, const String& Password)>;

// Called instead of the built-in cipher for each block when assigned.
using TZipCryptHook = std::function<void(uint8_t* Buffer, size_t Count)>;

// Reads through Inner and decrypts what comes back.
class TZipDecryptSource : public TByteSource {
public:
  TZipDecryptSource(TByteSource& Inner, TZipCrypt& Crypt, TZipCryptHook Hook = {})
      : FInner(Inner), FCrypt(Crypt), FHook(std::move(Hook)) {}
  size_t Read(uint8_t* Buffer, size_t Count) override;

private:
  TByteSource& FInner;
  TZipCrypt& FCrypt;
  TZipCryptHook FHook;
};

// The data of an encrypted entry whose password was checked already: takes
// the 12-byte header from Raw on construction (the keys move on past it),
// then decrypts what follows.
class TZipDecryptedEntry : public TByteSource {
public:
  TZipDecryptedEntry(TByteSource& Raw, const QByteArray& Password, TZipCryptHook Hook = {});
  size_t Read(uint8_t* Buffer, size_t Count) override { return FSource.Read(Buffer, Count); }

private:
  TZipCrypt FCrypt;
  TZipDecryptSource FSource;
};

// Encrypts each block and hands it to Inner, going on from the keys Crypt
// has reached (after the header).
class TZipEncryptSink : public TByteSink {
public:
  TZipEncryptSink(TByteSink& Inner, const TZipCrypt& Crypt, TZipCryptHook Hook = {})
      : FInner(Inner), FCrypt(Crypt), FHook(std::move(Hook)) {}
  void Write(const uint8_t* Buffer, size_t Count) override;

private:
  TByteSink& FInner;
  TZipCrypt FCrypt;
  TZipCryptHook FHook;
  QByteArray FBlock;
};
