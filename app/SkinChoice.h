#pragma once
// Choosing the window skin: the chosen skin file replaces "RPT/Skin.Skn", the
// file loaded at every start, only once it has been built successfully.
#include "platform/rtl/Types.h"

class TSkinData;

// Replaces Target by the skin package in Source. Raises, leaving Target as it was,
// when Source cannot be read or is not a skin this program can build.
void InstallSkinFile(const String& Source, const String& Target);

// Makes skin Number (1 to 5, "RPT/Skin<Number>.skn") the program's skin and shows
// it through SkinData. A skin that cannot be installed is reported and the
// current one stays.
void ChooseSkin(Integer Number, TSkinData* SkinData);
