#pragma once
// System colours and metrics come from one table, so painting does not depend on the
// desktop it runs on unless the program asks for that. The classic table is fixed and is
// what tests use; the palette table follows the running desktop's palette.
#include "platform/rtl/Types.h"
#include <QColor>
#include <array>

constexpr Integer SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
                  SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8,
                  SM_CYVTHUMB = 9, SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13,
                  SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21,
                  SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37,
                  SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CXDRAG = 68,
                  SM_CYDRAG = 69, SM_CXMENUCHECK = 71, SM_CYMENUCHECK = 72;

struct TSystemTable {
  std::array<TColor, 31> Colors{};   // indexed like the system colour constants (clBtnFace & 0xFF ...)
  std::array<Integer, 100> Metrics{};
  Cardinal DoubleClickTime = 500;    // milliseconds
  Integer PixelsPerInch = 96;
};

// The fixed table with the classic grey 3-D scheme at 96 pixels per inch.
const TSystemTable& ClassicSystemTable();
// The classic table with its colours taken from the application's palette.
TSystemTable PaletteSystemTable();

// The table in use (the classic one until SetSystemTable replaces it).
const TSystemTable& SystemTable();
void SetSystemTable(const TSystemTable& Table);

// The RGB value of a system colour index; 0 for an unknown index.
TColor GetSysColor(Integer Index);
// Resolves system colours; other values (clNone and clDefault included) come back unchanged.
TColor ColorToRGB(TColor Color);
QColor ColorToQColor(TColor Color);
TColor QColorToColor(const QColor& Color);
Integer GetSystemMetrics(Integer Index);
Cardinal GetDoubleClickTime();
