#include "skin/SkinReader.h"
#include "skin/SkinLzh.h"
#include "skin/SkinText.h"
#include <QtEndian>

const char* const SOlderSkinFile = "This is Older Skin File\rPlease update to new version !";

namespace {

constexpr qsizetype HeaderSize = 16;
// A bit-level bound: the shortest token (a one-bit length code and a nine-bit position) yields
// sixty bytes, so no stream produces more than 48 bytes per input byte.
constexpr qint64 MaxExpansion = 48;
constexpr qint64 MaxUnpackedSize = 256 * 1024 * 1024;

[[noreturn]] void Refuse(const char* why) {
  throw ESkinError(String("The skin package is damaged: ") + QString::fromLatin1(why) + ".");
}

int32_t Int32At(const QByteArray& bytes, qsizetype offset) {
  return qFromLittleEndian<int32_t>(bytes.constData() + offset);
}

// Names end at CR, LF or CR LF; a final line break adds no name, an empty line inside does.
QStringList SplitNames(QByteArray list) {
  const qsizetype zero = list.indexOf('\0');
  if (zero >= 0) list.truncate(zero);
  for (char& c : list)
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
  QStringList names;
  qsizetype start = 0;
  for (qsizetype i = 0; i < list.size(); ++i) {
    if (list[i] != '\r' && list[i] != '\n') continue;
    names << SkinTextFromBytes(list.mid(start, i - start));
    if (list[i] == '\r' && i + 1 < list.size() && list[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < list.size()) names << SkinTextFromBytes(list.mid(start));
  return names;
}

}  // namespace

void TSkinReader::ReadPackage(const QByteArray& packed) {
  if (packed.size() < 4) Refuse("it is too short to hold its size");
  const quint32 unpackedSize = qFromLittleEndian<quint32>(packed.constData());
  const qint64 streamSize = packed.size() - 4;
  if (qint64(unpackedSize) > MaxUnpackedSize || qint64(unpackedSize) > streamSize * MaxExpansion + 64)
    Refuse("it declares more data than it holds");

  bool cutShort = false;
  const QByteArray unpacked = LzhDecode(packed.mid(4), unpackedSize, &cutShort);
  if (cutShort) Refuse("it ends before its data does");
  QByteArray header = unpacked.left(HeaderSize);
  const qsizetype headerRead = header.size();
  header.append(HeaderSize - headerRead, '\0');
  if (Int32At(header, 0) != ContainerVersion) throw ESkinError(QString::fromLatin1(SOlderSkinFile));
  if (headerRead < HeaderSize) Refuse("its header is cut short");

  const quint32 listLength = qFromLittleEndian<quint32>(header.constData() + 4);
  if (qint64(listLength) > unpacked.size() - HeaderSize) Refuse("its name list runs past the end");
  const QStringList names = SplitNames(unpacked.mid(HeaderSize, listLength));
  if (names.size() > MaxMembers) Refuse("it holds more than 1001 members");

  const qsizetype sizesAt = HeaderSize + qsizetype(listLength);
  const qsizetype dataAt = sizesAt + 4 * names.size();
  if (dataAt > unpacked.size()) Refuse("its size table runs past the end");
  std::vector<int32_t> sizes;
  std::vector<qsizetype> offsets;
  qint64 total = 0;
  for (qsizetype i = 0; i < names.size(); ++i) {
    const int32_t size = Int32At(unpacked, sizesAt + 4 * i);
    if (size < 0) Refuse("a member has a negative size");
    offsets.push_back(qsizetype(total));
    sizes.push_back(size);
    total += size;
  }
  if (total > unpacked.size() - dataAt) Refuse("its members run past the end");

  FHeader = header;
  FNames = names;
  FSizes = std::move(sizes);
  FOffsets = std::move(offsets);
  FData = unpacked.mid(dataAt);
}

QByteArray TSkinReader::MemberAt(int index) const { return FData.mid(FOffsets[size_t(index)], FSizes[size_t(index)]); }

QByteArray TSkinReader::GetMember(const String& name) const {
  const qsizetype index = FNames.indexOf(AsciiLowerCase(name));
  return index < 0 ? QByteArray() : MemberAt(int(index));
}

QByteArray TSkinReader::GetMemberContaining(const String& text, String& foundName) const {
  for (int i = 0; i < Count(); ++i) {
    if (!FNames[i].contains(text)) continue;
    foundName = FNames[i];
    return MemberAt(i);
  }
  return QByteArray();
}
