#pragma once
// Filling a loaded report template before it runs: texts, data fields, rectangles and the
// page's size, each found by name on the page "Report1.Page1". A name the template lacks,
// or that names a component of another kind, leaves that one step undone.
#include "platform/rtl/Types.h"

class TRvProject;

// Sets the caption; with Centre the text is centred in slot Slot (from 1) of width SlotWidth
// inches; a caption over 8 bytes gets font size 8.
void SetRavText(TRvProject* Project, const String& Name, const String& Caption, Integer Slot, double SlotWidth,
                bool Centre);
// The caption and the font-size rule only.
void SetRavTextOnly(TRvProject* Project, const String& Name, const String& Caption);
// Sets the data field; with Align the data text's right edge goes on slot Slot's right edge.
void SetRavDataText(TRvProject* Project, const String& Name, const String& Field, Integer Slot, double SlotWidth,
                    bool Align);
// With Place the rectangle spans slot Slot; then it is shown or hidden.
void SetRavRectangle(TRvProject* Project, const String& Name, Integer Slot, double SlotWidth, bool Visible,
                     bool Place);
// The page width in inches; the region "Region1" is centred on it.
void SetPageWidth(TRvProject* Project, double Inches);
// The page height from millimetres (by the factor 0.0394); "Region1" starts TopPos tenths of
// an inch down and reaches the page's bottom.
void SetPageHeight(TRvProject* Project, double Millimetres, Integer TopPos);
// Adds Millimetres (by the factor 0.0394) to the height of "DataBand1".
void SetBandHeight(TRvProject* Project, double Millimetres);
