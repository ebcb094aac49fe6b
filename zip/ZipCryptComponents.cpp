// The archive components' side of traditional encryption: checking an
// entry's password before anything is written, asking for another one, the
// decrypted data of an entry, and the encrypted data of a new one.
#include "zip/ZipCrc32.h"
#include "zip/ZipCrypt.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

namespace {

uint8_t CheckByteOf(const TZipHeaderInfo& Entry) {
  return TZipCrypt::CheckByteOf(Entry.Flags, Entry.FileDateTime, Entry.Crc32);
}

}  // namespace

bool TZipReader::PasswordAccepted(Integer Index, const TZipHeaderInfo& Entry) {
  for (;;) {
    TZipHeaderInfo local;
    FArchive->Seek(ArchiveOffset(Entry.DiskNumberStart, Entry.LocalHeaderOffset), soBeginning);
    if (!local.ReadLocal(FArchive.get())) throw EBadZipFile(QStringLiteral("Not a valid zip file!"));
    FArchive->Seek(local.LocalExtraLength, soCurrent);
    uint8_t header[ZipCryptHeaderSize];
    const bool read = FArchive->Read(header, ZipCryptHeaderSize) == Integer(ZipCryptHeaderSize);
    if (read && TZipCrypt(ZipPasswordBytes(FPassword)).CheckHeader(header, CheckByteOf(Entry))) return true;
    if (!AskNewPassword(Index)) return false;
  }
}

bool TZipReader::AskNewPassword(Integer Index) {
  if (!OnBadPassword) return false;
  String answer = FPassword;
  OnBadPassword(this, Index, answer);
  if (answer == FPassword) return false;
  FPassword = answer;
  return true;
}

std::unique_ptr<TByteSource> TZipReader::DecryptedSource(TByteSource& Raw, const TZipHeaderInfo& Entry) {
  // A stored entry's bytes are always decrypted by the built-in cipher.
  TZipCryptHook hook;
  if (OnDecrypt && Entry.CompressionMethod != kMethodStored)
    hook = [this](uint8_t* Buffer, size_t Count) { OnDecrypt(this, Buffer, Integer(Count), FPassword); };
  return std::make_unique<TZipDecryptedEntry>(Raw, ZipPasswordBytes(FPassword), std::move(hook));
}

std::unique_ptr<TByteSink> TZipWriter::EncryptingSink(TStream& Source, TByteSink& Archive, TZipHeaderInfo& Entry) {
  if (Password().isEmpty()) return nullptr;
  // The header ends in the CRC's high bytes, so the file is read once before it is packed.
  uint32_t crc = 0xFFFFFFFF;
  uint8_t block[8192];
  for (Integer n; (n = Source.Read(block, Integer(sizeof block))) > 0;) crc = ZipCrcUpdate(crc, block, size_t(n));
  Source.Seek(0, soBeginning);
  TZipCrypt crypt(ZipPasswordBytes(Password()));
  const auto header = crypt.MakeHeader(~crc);
  Archive.Write(header.data(), header.size());
  Entry.Flags |= kFlagEncrypted;
  TZipCryptHook hook;
  if (OnEncrypt) hook = [this](uint8_t* Buffer, size_t Count) { OnEncrypt(this, Buffer, Integer(Count), Password()); };
  return std::make_unique<TZipEncryptSink>(Archive, crypt, std::move(hook));
}
