#pragma once
// File masks of the archive components: '*' any run, '?' one character,
// '<set>' and '<!set>' (or '<^set>') one character in or not in a set with
// 'a-z' ranges. Sets use angle brackets because square brackets are legal in
// file names, and '\' is only a path separator. Letter case is ignored.
#include "platform/rtl/Types.h"

bool MatchesMask(const String& Mask, const String& Name);

// Whether Text holds any of the mask characters '*', '?', '<', '>' or '|'.
bool IsWildcardName(const String& Text);
