#pragma once
// Lays a template page out over its data: the page's own items on every page, then each
// region's data bands, one band per row of the band's data connection, starting a new
// page when the next band would cross the bottom of its region. Pages are recorded, so
// they can be previewed, printed and written to a file alike.
#include "platform/print/PageRecording.h"
#include "platform/report/RaveComponents.h"
#include <functional>

class TDataSet;

// The data set of the connection called Name, or nullptr when there is none.
using TRaveDataLookup = std::function<TDataSet*(const String& Name)>;
// Told each page number as soon as that page is begun.
using TRavePageStarted = std::function<void(Integer PageNumber)>;

// Resolution of the recorded pages, in dots per inch.
constexpr Integer RaveRecordingResolution = 600;

// The pages of Page over the data. Each data band walks its data set from the first row in
// the set's filter and order and leaves it on the row it was on. Raises ERaveError for a
// connection or data field the data does not have; a blank data field prints nothing.
std::vector<std::unique_ptr<TPageRecording>> RenderRavePage(const TRavePage& Page, const TRaveDataLookup& Data,
                                                            const TRavePageStarted& PageStarted = {});
