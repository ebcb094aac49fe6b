// What all grids share: images, shortcuts and the output hooks gridout fills.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXOutputHooks.h"

TEST(DBGridXGlobals, SharedImagesShortcutsAndSearchArrow) {
  InitializeGridUnit();
  InitializeGridUnit();
  TDBGridXGlobals& g = DBGridXGlobals();
  ASSERT_TRUE(g.IndicatorImages);
  EXPECT_EQ(g.IndicatorImages->Count(), 7);
  EXPECT_EQ(g.IndicatorImages->Width(), 6);
  EXPECT_EQ(g.IndicatorImages->Height(), 11);
  EXPECT_EQ(g.SignImages->Count(), 5);
  EXPECT_EQ(g.SignImages->Width(), 10);
  EXPECT_EQ(g.SortNumberFont->Height(), -8);
  EXPECT_EQ(g.IncSearchShortCut, ShortCut(Word('F'), TShiftState{ssCtrl}));
  EXPECT_EQ(g.FindDialogShortCut, g.IncSearchShortCut);
  // A search colour equal to the list's mask colour is nudged off it instead of vanishing.
  const TColor saved = g.IncSearchColor;
  g.IncSearchColor = TColor(0x808000);
  RebuildSearchIndicatorImage();
  EXPECT_EQ(g.IndicatorImages->Count(), 7);
  TBitmap bitmap;
  bitmap.SetSize(6, 11);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(TRect(0, 0, 6, 11));
  g.IndicatorImages->Draw(bitmap.Canvas(), 0, 0, IndicatorImageOfKind[4]);
  EXPECT_EQ(bitmap.Canvas()->Pixel(5, 0), TColor(0x7F7F00));
  EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clBlack);
  g.IncSearchColor = saved;
  RebuildSearchIndicatorImage();
}

TEST(DBGridXOutputHooks, UnsetHooksDoNothing) {
  for (TGridOutputActionX action : {goaCopyX, goaCutX, goaPasteX, goaDeleteSelectionX}) {
    EXPECT_FALSE(GridOutputHookSet(action));
    EXPECT_FALSE(RunGridOutputHook(action, nullptr, false));
  }
  Integer calls = 0;
  SetGridOutputHook(goaPasteX, [&](TCustomDBGridX*, bool WholeGrid) { calls += WholeGrid ? 10 : 1; });
  EXPECT_TRUE(GridOutputHookSet(goaPasteX));
  EXPECT_TRUE(RunGridOutputHook(goaPasteX, nullptr, true));
  EXPECT_EQ(calls, 10);
  SetGridOutputHook(goaPasteX, nullptr);
  EXPECT_FALSE(GridOutputHookSet(goaPasteX));
}
