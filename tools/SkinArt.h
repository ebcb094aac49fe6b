#pragma once
// Draws every bitmap of one skin and writes the ini that names them.
#include "skin/SkinPacker.h"
#include "tools/SkinStyles.h"
#include <vector>

// The members of the skin's package: "skin.ini" first, then the bitmaps it names.
std::vector<TSkinMember> DrawSkinMembers(const TSkinStyle& style);
