#include "platform/print/PdfTextMap.h"
#include <QFont>
#include <QRawFont>
#include <QRegularExpression>
#include <map>

namespace {

constexpr char16_t FirstRadical = 0x2E80, LastRadical = 0x2FDF;

// The ideograph each radical character stands for: its compatibility form where Unicode
// gives one, else the ideograph a CJK font draws with the same glyph.
const std::map<char16_t, char16_t>& RadicalIdeographs() {
  static const std::map<char16_t, char16_t> map = [] {
    std::map<char16_t, char16_t> result;
    std::map<quint32, char16_t> byGlyph;
    const QRawFont font = QRawFont::fromFont(QFont(QStringLiteral("Noto Sans CJK SC")));
    auto glyphOf = [&font](char16_t Ch) -> quint32 {
      if (!font.isValid() || !font.supportsCharacter(QChar(Ch))) return 0;
      const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(Ch)));
      return glyphs.isEmpty() ? 0 : glyphs.first();
    };
    for (char16_t r = FirstRadical; r <= LastRadical; ++r) {
      const QString compatible = QString(QChar(r)).normalized(QString::NormalizationForm_KC);
      if (compatible.size() == 1 && compatible[0] != QChar(r)) result[r] = compatible[0].unicode();
      else if (const quint32 glyph = glyphOf(r)) byGlyph[glyph] = r;
    }
    for (char16_t u = 0x4E00; u <= 0x9FFF && !byGlyph.empty(); ++u) {
      const auto it = byGlyph.find(glyphOf(u));
      if (it == byGlyph.end()) continue;
      result[it->second] = u;
      byGlyph.erase(it);
    }
    return result;
  }();
  return map;
}

}  // namespace

QByteArray RepairPdfTextMaps(const QByteArray& Pdf) {
  QByteArray result = Pdf;
  static const QRegularExpression section(QStringLiteral("begin(bfrange|bfchar)(.*?)endbf"),
                                          QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression entry(QStringLiteral("[^\\n]+"));
  static const QRegularExpression code(QStringLiteral("<([0-9A-Fa-f]{4})>"));
  // Latin-1 keeps byte offsets equal to character offsets.
  const QString text = QString::fromLatin1(Pdf);
  for (const QRegularExpressionMatch& block : section.globalMatch(text)) {
    // Each line is one entry: glyph codes first (one for a character, two for a range),
    // then the characters they stand for; only the characters are rewritten.
    const qsizetype glyphCodes = block.captured(1) == QLatin1String("bfrange") ? 2 : 1;
    for (const QRegularExpressionMatch& line : entry.globalMatch(block.captured(2))) {
      qsizetype index = 0;
      for (const QRegularExpressionMatch& hex : code.globalMatch(line.captured(0))) {
        if (index++ < glyphCodes) continue;
        const char16_t value = char16_t(hex.captured(1).toUInt(nullptr, 16));
        if (value < FirstRadical || value > LastRadical) continue;
        const auto it = RadicalIdeographs().find(value);
        if (it == RadicalIdeographs().end()) continue;
        const qsizetype at = block.capturedStart(2) + line.capturedStart(0) + hex.capturedStart(1);
        result.replace(at, 4, QStringLiteral("%1").arg(uint(it->second), 4, 16, QLatin1Char('0')).toUpper().toLatin1());
      }
    }
  }
  return result;
}
