#include "skin/SkinStream.h"
#include "platform/rtl/SysUtils.h"

void WriteSkinStream(TStream* Stream, const QByteArray& Package) {
  Stream->WriteLittleEndian<int32_t>(int32_t(Package.size()));
  if (!Package.isEmpty()) Stream->WriteBuffer(Package);
}

QByteArray ReadSkinStream(TStream* Stream) {
  const int32_t count = Stream->ReadLittleEndian<int32_t>();
  if (count <= 0) return QByteArray();
  // Checked before allocating, so a damaged count cannot ask for gigabytes.
  if (count > Stream->Size() - Stream->Position()) throw EReadError("SkinStream holds fewer bytes than its count");
  QByteArray package(count, '\0');
  Stream->ReadBuffer(package.data(), count);
  return package;
}
