#include "zip/ZipCrypt.h"
#include "platform/rtl/Encodings.h"
#include "zip/ZipCrc32.h"
#include <QRandomGenerator>

QByteArray ZipPasswordBytes(const String& Password) { return StringToGbk(Password); }

TZipCrypt::TZipCrypt(const QByteArray& Password) : FKeys{0x12345678u, 0x23456789u, 0x34567890u} {
  for (char c : Password) UpdateKeys(uint8_t(c));
}

void TZipCrypt::UpdateKeys(uint8_t Plain) {
  FKeys[0] = ZipCrcStep(FKeys[0], Plain);
  FKeys[1] = (FKeys[1] + (FKeys[0] & 0xFF)) * 134775813u + 1;
  FKeys[2] = ZipCrcStep(FKeys[2], uint8_t(FKeys[1] >> 24));
}

uint8_t TZipCrypt::StreamByte() const {
  const uint32_t t = (FKeys[2] & 0xFFFF) | 2;
  return uint8_t((t * (t ^ 1)) >> 8);
}

uint8_t TZipCrypt::Decrypt(uint8_t Cipher) {
  const uint8_t plain = Cipher ^ StreamByte();
  UpdateKeys(plain);
  return plain;
}

uint8_t TZipCrypt::Encrypt(uint8_t Plain) {
  const uint8_t cipher = Plain ^ StreamByte();
  UpdateKeys(Plain);
  return cipher;
}

void TZipCrypt::Decrypt(uint8_t* Buffer, size_t Count) {
  for (size_t i = 0; i < Count; ++i) Buffer[i] = Decrypt(Buffer[i]);
}

void TZipCrypt::Encrypt(uint8_t* Buffer, size_t Count) {
  for (size_t i = 0; i < Count; ++i) Buffer[i] = Encrypt(Buffer[i]);
}

std::array<uint8_t, ZipCryptHeaderSize> TZipCrypt::MakeHeader(uint32_t Crc32) {
  std::array<uint8_t, ZipCryptHeaderSize> header{};
  for (unsigned i = 0; i < ZipCryptHeaderSize - 2; ++i)
    header[i] = uint8_t(QRandomGenerator::global()->bounded(32767) >> 7);
  header[10] = uint8_t(Crc32 >> 16);
  header[11] = uint8_t(Crc32 >> 24);
  Encrypt(header.data(), header.size());
  return header;
}

bool TZipCrypt::CheckHeader(const uint8_t* Header, uint8_t CheckByte) {
  uint8_t last = 0;
  for (unsigned i = 0; i < ZipCryptHeaderSize; ++i) last = Decrypt(Header[i]);
  return last == CheckByte;
}

uint8_t TZipCrypt::CheckByteOf(uint16_t Flags, uint32_t FileDateTime, uint32_t Crc32) {
  return (Flags & 8) ? uint8_t(FileDateTime >> 8) : uint8_t(Crc32 >> 24);
}

size_t TZipDecryptSource::Read(uint8_t* Buffer, size_t Count) {
  const size_t n = FInner.Read(Buffer, Count);
  if (FHook)
    FHook(Buffer, n);
  else
    FCrypt.Decrypt(Buffer, n);
  return n;
}

TZipDecryptedEntry::TZipDecryptedEntry(TByteSource& Raw, const QByteArray& Password, TZipCryptHook Hook)
    : FCrypt(Password), FSource(Raw, FCrypt, std::move(Hook)) {
  uint8_t header[ZipCryptHeaderSize];
  size_t got = 0;
  for (size_t n; got < ZipCryptHeaderSize && (n = Raw.Read(header + got, ZipCryptHeaderSize - got)) > 0;) got += n;
  FCrypt.Decrypt(header, got);
}

void TZipEncryptSink::Write(const uint8_t* Buffer, size_t Count) {
  FBlock = QByteArray(reinterpret_cast<const char*>(Buffer), qsizetype(Count));
  uint8_t* block = reinterpret_cast<uint8_t*>(FBlock.data());
  if (FHook)
    FHook(block, Count);
  else
    FCrypt.Encrypt(block, Count);
  FInner.Write(block, Count);
}
