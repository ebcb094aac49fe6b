#pragma once
// The glyphs of the engine's own system menu: four 16 x 16 pictures (0 restore, 1 maximise,
// 2 minimise, 3 close) drawn in black on white, white being the transparent colour.
#include "platform/ui/ImgList.h"

void LoadMenuGlyphs(TCustomImageList* List);
// One list of them for every system menu of the program.
TCustomImageList* SystemMenuGlyphs();
