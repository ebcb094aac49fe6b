// The skin's ini text comes from a package: any text must load, and every lookup on it,
// numbers and colour texts included, must answer without fault.
#include "skin/SkinColourText.h"
#include "skin/SkinIni.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TQuickIni ini;
  ini.Load(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  const QStringList sections = ini.ReadSections();
  // The answers are folded together so none is optimised away; unsigned sums wrap.
  uint32_t sum = 0;
  for (const String& section : sections) {
    for (const char* key : {"Image", "LeftWidth", "Trans", "Tile", "Action", "ButtonFace", "color"}) {
      sum += uint32_t(ini.ReadInteger(section, key, 0));
      sum ^= uint32_t(ColourOfText(ini.ReadString(section, key, String()), 0));
    }
  }
  return sum == 0x7FFFFFFF ? 1 : 0;
}
