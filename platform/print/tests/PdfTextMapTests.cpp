#include "platform/print/PdfTextMap.h"
#include <gtest/gtest.h>

TEST(PdfTextMap, RadicalCharactersBecomeTheIdeographsTheirGlyphsShow) {
  // Glyph codes that look like radicals (2F00) stay; only the characters are rewritten.
  const QByteArray map =
      "2 beginbfrange\n<2F00> <2F00> <2F00>\n<0001> <0004> [<7B2C> <2F00> <2EDA> <2F2F> ]\nendbfrange\n"
      "1 beginbfchar\n<2F06> <2F06>\nendbfchar\nstream <2F00> outside a map\n";
  const QByteArray repaired = RepairPdfTextMaps(map);
  EXPECT_EQ(repaired.size(), map.size());
  EXPECT_EQ(repaired,
            QByteArray("2 beginbfrange\n<2F00> <2F00> <4E00>\n<0001> <0004> [<7B2C> <4E00> <9875> <5DE5> ]\nendbfrange\n"
                       "1 beginbfchar\n<2F06> <4E8C>\nendbfchar\nstream <2F00> outside a map\n"));
}
