#include "skin/SkinPacker.h"
#include "skin/LzhTree.h"
#include <QtEndian>

namespace {

// Bits go out most significant first; the last byte is padded with zero bits.
class TBitSink {
public:
  void Put(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      FByte = uint8_t((FByte << 1) | ((value >> i) & 1u));
      if (++FCount == 8) Flush();
    }
  }
  QByteArray Finish() {
    if (FCount > 0) {
      FByte = uint8_t(FByte << (8 - FCount));
      Flush();
    }
    return FOut;
  }

private:
  void Flush() {
    FOut.append(char(FByte));
    FByte = 0;
    FCount = 0;
  }
  QByteArray FOut;
  uint8_t FByte = 0;
  int FCount = 0;
};

class TLzhEncoder {
public:
  explicit TLzhEncoder(const QByteArray& data) : FData(data), FPrev(size_t(data.size()), -1), FHead(1 << 16, -1) {}

  QByteArray Run() {
    const qsizetype n = FData.size();
    qsizetype pos = 0;
    while (pos < n) {
      int distance = 0;
      const int length = LongestMatch(pos, distance);
      if (length <= lzh::Threshold) {
        PutSymbol(uint8_t(FData[pos]));
        Insert(pos);
        ++pos;
        continue;
      }
      PutSymbol(255 - lzh::Threshold + length);
      PutPosition(distance - 1);
      for (int k = 0; k < length; ++k) Insert(pos + k);
      pos += length;
    }
    return FBits.Finish();
  }

private:
  unsigned Hash(qsizetype pos) const {
    const auto* p = reinterpret_cast<const uint8_t*>(FData.constData()) + pos;
    return (unsigned(p[0]) << 8 ^ unsigned(p[1]) << 4 ^ unsigned(p[2])) & 0xFFFF;
  }
  void Insert(qsizetype pos) {
    if (pos + 3 > FData.size()) return;
    const unsigned h = Hash(pos);
    FPrev[size_t(pos)] = FHead[h];
    FHead[h] = pos;
  }
  // Longest earlier occurrence within the ring's reach; the nearest wins a tie.
  int LongestMatch(qsizetype pos, int& distance) const {
    const qsizetype n = FData.size();
    if (pos + 3 > n) return 0;
    const int limit = int(std::min<qsizetype>(lzh::MaxMatch, n - pos));
    const char* d = FData.constData();
    int best = 0;
    int steps = 256;
    for (qsizetype c = FHead[Hash(pos)]; c >= 0 && pos - c <= lzh::RingSize && steps-- > 0; c = FPrev[size_t(c)]) {
      int len = 0;
      while (len < limit && d[c + len] == d[pos + len]) ++len;
      if (len > best) {
        best = len;
        distance = int(pos - c);
        if (len == limit) break;
      }
    }
    return best;
  }
  void PutSymbol(int symbol) {
    // The path is collected from the leaf up and sent from the root down.
    unsigned bits[lzh::TableSize];
    int count = 0;
    int node = FTree.LeafOf(symbol);
    do {
      bits[count++] = unsigned(node & 1);
      node = FTree.Parent(node);
    } while (node != lzh::Root);
    while (count > 0) FBits.Put(bits[--count], 1);
    FTree.Update(symbol);
  }
  void PutPosition(int position) {
    const auto& code = lzh::PositionEncodeTable()[position >> 6];
    FBits.Put(unsigned(code.Code) >> (8 - code.Length), code.Length);
    FBits.Put(unsigned(position & 0x3F), 6);
  }

  const QByteArray& FData;
  std::vector<qsizetype> FPrev;
  std::vector<qsizetype> FHead;
  lzh::TLzhTree FTree;
  TBitSink FBits;
};

void AppendInt32(QByteArray& out, int32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  out.append(bytes, 4);
}

}  // namespace

QByteArray LzhEncode(const QByteArray& data) { return TLzhEncoder(data).Run(); }

QByteArray BuildSkinContainer(const std::vector<TSkinMember>& members) {
  QByteArray names;
  for (const TSkinMember& m : members) names += m.Name + "\r\n";
  QByteArray out;
  AppendInt32(out, 20000);
  AppendInt32(out, int32_t(names.size()));
  AppendInt32(out, 0);
  AppendInt32(out, 0);
  out += names;
  for (const TSkinMember& m : members) AppendInt32(out, int32_t(m.Data.size()));
  for (const TSkinMember& m : members) out += m.Data;
  return out;
}

QByteArray PackSkinPackage(const QByteArray& container) {
  QByteArray out;
  AppendInt32(out, int32_t(container.size()));
  return out + LzhEncode(container);
}
