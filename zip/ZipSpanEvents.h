#pragma once
// The events through which the archive components ask for the parts of a
// split set: NextDisk counts from 1; FName comes in as the current name and
// goes out as the part to use, or empty to give up.
#include "platform/rtl/Types.h"
#include <functional>

using TGetNextDiskEvent = std::function<void(TObject* Sender, Integer NextDisk, String& FName)>;
using TPrepareNextDiskEvent = std::function<void(TObject* Sender, Integer DiskNum)>;
