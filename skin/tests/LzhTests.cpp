// The compressed stream of skin packages: our decoder against an independent reference, and
// our packer and decoder against each other.
#include "skin/SkinLzh.h"
#include "skin/SkinPacker.h"
#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray LcgBytes(quint32 seed, int count) {
  QByteArray out;
  quint32 x = seed;
  for (int i = 0; i < count; ++i) {
    x = (x * 1103515245u + 12345u) % (1u << 31);
    out.append(char((x >> 16) & 0xFF));
  }
  return out;
}

}  // namespace

// lzh_golden.txt was printed by lzh_reference.py, a decoder written separately from the
// algorithm's description; its inputs are arbitrary bits, so they reach literals, matches into
// the space-primed ring, reading past the end of the input, and a tree rebuild.
TEST(LzhDecode, MatchesTheReferenceDecoder) {
  QFile golden("lzh_golden.txt");
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  int vectors = 0;
  while (!golden.atEnd()) {
    const QList<QByteArray> f = golden.readLine().trimmed().split(' ');
    if (f.size() != 6) continue;
    const QByteArray out = LzhDecode(LcgBytes(f[1].toUInt(), f[2].toInt()), f[3].toUInt());
    EXPECT_EQ(out.size(), f[3].toInt()) << f[0].constData();
    EXPECT_EQ(out.left(64).toHex(), f[5]) << f[0].constData();
    EXPECT_EQ(QCryptographicHash::hash(out, QCryptographicHash::Sha256).toHex(), f[4]) << f[0].constData();
    ++vectors;
  }
  EXPECT_EQ(vectors, 3);
}

TEST(LzhDecode, RoundTripsWhatThePackerWrites) {
  QRandomGenerator random(20051001);
  auto randomBytes = [&](int n) {
    QByteArray b(n, '\0');
    for (char& c : b) c = char(random.bounded(256));
    return b;
  };
  QByteArray text;
  while (text.size() < 20000) text += "[Personality]\r\nTopTopHeight=41\r\nTop=top.bmp\r\n" + QByteArray::number(text.size());
  struct Case {
    const char* name;
    QByteArray data;
  };
  const Case cases[] = {
      {"empty", QByteArray()},
      {"one byte", "x"},
      {"spaces like the primed ring", QByteArray(5000, ' ')},
      {"long repeat", QByteArray(100000, 'a')},
      {"period longer than a match", QByteArray("0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(300)},
      {"repeat just inside the ring", randomBytes(4096).repeated(3)},
      {"repeat just outside the ring", randomBytes(4097).repeated(3)},
      {"ini-like text", text},
      // Enough symbols for the root frequency to reach its limit many times over.
      {"random data", randomBytes(200000)},
  };
  for (const Case& c : cases) {
    const QByteArray packed = LzhEncode(c.data);
    EXPECT_EQ(LzhDecode(packed, quint32(c.data.size())), c.data) << c.name;
  }
  EXPECT_LT(LzhEncode(QByteArray(100000, 'a')).size(), 3000);
}

TEST(LzhDecode, StopsAtTheDeclaredSizeEvenInsideAMatch) {
  const QByteArray data(1000, 'q');
  const QByteArray packed = LzhEncode(data);
  for (quint32 size : {0u, 1u, 2u, 59u, 61u, 999u})
    EXPECT_EQ(LzhDecode(packed, size), data.left(size)) << size;
}
