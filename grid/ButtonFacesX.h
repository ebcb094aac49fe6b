#pragma once
// One painter for every small button face of the library: edit buttons, the drop-down,
// ellipsis, spin and check-box images in grid cells and the data-aware check box. Faces
// are painted once per size and state into a process-wide bitmap cache and then copied.
#include "platform/ui/Graphics.h"
#include <memory>
#include <vector>

// Face kinds.
constexpr Integer fkDropDownX = 0, fkEllipsisX = 1, fkSpinX = 2, fkCheckBoxX = 3, fkPlusX = 4, fkMinusX = 5,
                  fkAltDropDownX = 6, fkAltSpinX = 7;

// Set when the library starts.
extern Integer FlatButtonWidth;
extern Integer CheckBoxGlyphWidth;
extern Integer CheckBoxGlyphHeight;

// PressedPart: 0 nothing, 1 the whole face or its upper half, 2 the lower half.
// CheckState: 0 unchecked, 1 checked, 2 grayed.
void PaintEditButtonFace(TCanvas* Canvas, const TRect& R, TColor BackColor, Integer Kind, Integer PressedPart, bool Flat,
                         bool Hot, bool Enabled, Integer CheckState);
// One face or half face (Half 0 upper, 1 lower) of any kind but the check box, uncached.
void PaintFaceKind(TCanvas* Canvas, const TRect& R, Integer Kind, Integer Half, bool Pressed, bool Hot, bool Flat,
                   bool Enabled);
void PaintCheckBoxFace(TCanvas* Canvas, const TRect& R, Integer CheckState, bool Enabled, bool Flat, bool Pressed,
                       bool Hot);

struct TFaceKeyX {
  Integer Width = 0, Height = 0, Kind = 0;
  bool Flat = false, Pressed = false, Hot = false, Enabled = true;
  Integer Half = 0, CheckState = 0;
  friend bool operator==(const TFaceKeyX&, const TFaceKeyX&) = default;
};

class TButtonsBitmapCache {
public:
  // The cached face for Key, painted on first use.
  TBitmap* GetFaceBitmap(const TFaceKeyX& Key);
  Integer Count() const { return Integer(FItems.size()); }
  void Clear() { FItems.clear(); }
private:
  struct TItem {
    TFaceKeyX Key;
    std::unique_ptr<TBitmap> Bitmap;
  };
  std::vector<TItem> FItems;
};

TButtonsBitmapCache& ButtonBitmapCache();
// Edits and grids call it when the system colours change.
void ResetButtonBitmapCache();

// Two thirds of the default font's text height, made odd, at most a scroll bar's width.
Integer ComputeFlatButtonWidth();
// Flat buttons are half again as high as wide; others square.
Integer EditButtonHeightForWidth(Integer Width, bool Flat);
void MeasureSystemCheckBox();
