#pragma once
// The pictures of the preview, drawn here: the magnifier and hand cursors of the page and
// the 32 x 32 images of the preview window's buttons.
#include "platform/rtl/SysUtils.h"
#include <QCursor>
#include <QImage>

// "MAGNIFIERX" or "HANDX"; raises EOutOfResources ("Cannot load cursor resource") for others.
QCursor PreviewCursor(const String& Name);
// Button image Index of the preview window: 0 print, 1 print with dialog, 2 printer setup,
// 3 scale, 4 previous page, 5 next page, 6 page setup, 7 stop, 8 close.
QImage PreviewButtonImage(Integer Index);
constexpr Integer PreviewButtonImageCount = 9;
