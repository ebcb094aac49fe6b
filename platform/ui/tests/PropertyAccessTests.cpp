#include "UiTestSupport.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Panels.h"
#include "platform/ui/PropertyAccess.h"
#include <gtest/gtest.h>

TEST(PropertyAccess, ControlsAnswerByTheirPublishedNamesWithoutCase) {
  TSpeedButton speed(nullptr);
  speed.SetCaption("统计");
  speed.SetNumGlyphs(2);
  speed.SetLayout(blGlyphTop);
  TCheckBox box(nullptr);
  box.SetState(cbGrayed);
  TScrollBar bar(nullptr);
  bar.SetKind(sbVertical);
  TStatusBar status(nullptr);
  status.SetSimpleText("就绪");

  EXPECT_EQ(GetTextPropW(&speed, "caption"), "统计");
  EXPECT_EQ(GetOrdPropByName(&speed, "NumGlyphs"), 2);
  EXPECT_EQ(GetEnumPropName(&speed, "Layout"), "blGlyphTop");
  EXPECT_EQ(GetEnumPropName(&speed, "Down"), "False");
  EXPECT_EQ(GetEnumPropName(&speed, "Enabled"), "True");
  EXPECT_EQ(GetObjectPropByName<TBitmap>(&speed, "Glyph"), speed.Glyph());
  EXPECT_EQ(GetObjectPropByName<TFont>(&box, "Font"), box.Font());
  EXPECT_EQ(GetEnumPropName(&box, "State"), "cbGrayed");
  EXPECT_EQ(GetEnumPropName(&bar, "Kind"), "sbVertical");
  EXPECT_EQ(GetTextPropW(&status, "simpletext"), "就绪");

  // Missing names, kinds that do not match and null instances read as nothing.
  EXPECT_EQ(GetOrdPropByName(&box, "NumGlyphs"), -1);
  EXPECT_EQ(GetEnumPropName(&box, "DataField"), "");
  EXPECT_EQ(GetObjectPropByName<TFont>(&speed, "Glyph"), nullptr);
  EXPECT_EQ(GetTextPropW(nullptr, "Caption"), "");
}

TEST(PropertyAccess, SetPropByTextSetsEnumerationsAndIntegersAndIgnoresTheRest) {
  uitest::TShownForm f;
  auto* panel = new TPanel(f.Form);
  panel->SetParentBackground(true);
  SetPropByText(panel, "ParentBackground", "False");
  EXPECT_FALSE(panel->ParentBackground());
  TSpeedButton speed(nullptr);
  SetPropByText(&speed, "Margin", "7");
  SetPropByText(&speed, "Spacing", "x");  // not a number: unchanged
  SetPropByText(&speed, "Caption", "ignored");
  EXPECT_EQ(speed.Margin(), 7);
  EXPECT_EQ(speed.Spacing(), 4);
  EXPECT_EQ(speed.Caption(), "");
  SetPropByText(nullptr, "Margin", "1");
}
