#include "skin/SkinColourText.h"
#include "skin/SkinText.h"

TColor ColourTextToRGB(const String& text) {
  const String t = SkinTrim(text);
  Integer channels[3] = {0, 0, 0};
  int stored = 0;
  String digits;
  auto store = [&] {
    bool ok = false;
    const Integer value = digits.toInt(&ok);
    digits.clear();
    if (ok && stored < 3) channels[stored++] = value % 256;
  };
  for (QChar c : t) {
    if (c >= u'0' && c <= u'9')
      digits += c;
    else if (!digits.isEmpty())
      store();
  }
  // A number that runs to the end of the text only counts as the third one.
  if (!digits.isEmpty() && stored == 2) store();
  return RGB(Byte(channels[0]), Byte(channels[1]), Byte(channels[2]));
}

TColor ColourOfText(const String& text, TColor defaultColour) {
  return text.isEmpty() ? defaultColour : ColourTextToRGB(text);
}
