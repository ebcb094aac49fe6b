#pragma once
// Basic value types shared by every layer: integers, geometry, colours and sets.
#include <QString>
#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>

using String = QString;
using Integer = int32_t;
using Cardinal = uint32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using Word = uint16_t;
using Byte = uint8_t;
using SmallInt = int16_t;
using LongWord = uint32_t;
using Extended = long double;
using Double = double;
using TDateTime = double;  // days since 1899-12-30, fraction = time of day

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(Integer x, Integer y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  constexpr TSize() = default;
  constexpr TSize(Integer w, Integer h) : cx(w), cy(h) {}
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom are exclusive.
struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(Integer l, Integer t, Integer r, Integer b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(Integer l, Integer t, Integer r, Integer b) { return {l, t, r, b}; }
constexpr TRect Bounds(Integer l, Integer t, Integer w, Integer h) { return {l, t, l + w, t + h}; }
constexpr TPoint Point(Integer x, Integer y) { return {x, y}; }
constexpr bool PtInRect(const TRect& r, const TPoint& p) { return r.Contains(p); }
constexpr void OffsetRect(TRect& r, Integer dx, Integer dy) { r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy; }
constexpr void InflateRect(TRect& r, Integer dx, Integer dy) { r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy; }
// The overlap of a and b; false (and an empty dest) when they do not overlap.
bool IntersectRect(TRect& dest, const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty rectangle does not count.
bool UnionRect(TRect& dest, const TRect& a, const TRect& b);

// Colours keep the 0x00BBGGRR order. Values with the top byte 0x80 name system colours,
// resolved through the window layer's colour table when drawing.
using TColor = int32_t;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clLtGray = 0xC0C0C0, clDkGray = 0x808080, clCream = 0xF0FBFF, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clMedGray = 0xA4A0A0;
constexpr TColor clSystemColor = int32_t(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
                 clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
                 clMenu = clSystemColor | 4, clWindow = clSystemColor | 5, clWindowFrame = clSystemColor | 6,
                 clMenuText = clSystemColor | 7, clWindowText = clSystemColor | 8,
                 clCaptionText = clSystemColor | 9, clActiveBorder = clSystemColor | 10,
                 clInactiveBorder = clSystemColor | 11, clAppWorkSpace = clSystemColor | 12,
                 clHighlight = clSystemColor | 13, clHighlightText = clSystemColor | 14,
                 clBtnFace = clSystemColor | 15, clBtnShadow = clSystemColor | 16,
                 clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
                 clInactiveCaptionText = clSystemColor | 19, clBtnHighlight = clSystemColor | 20,
                 cl3DDkShadow = clSystemColor | 21, cl3DLight = clSystemColor | 22,
                 clInfoText = clSystemColor | 23, clInfoBk = clSystemColor | 24,
                 clHotLight = clSystemColor | 26, clGradientActiveCaption = clSystemColor | 27,
                 clGradientInactiveCaption = clSystemColor | 28, clMenuHighlight = clSystemColor | 29,
                 clMenuBar = clSystemColor | 30;
constexpr Byte GetRValue(TColor c) { return Byte(c & 0xFF); }
constexpr Byte GetGValue(TColor c) { return Byte((c >> 8) & 0xFF); }
constexpr Byte GetBValue(TColor c) { return Byte((c >> 16) & 0xFF); }
constexpr TColor RGB(Byte r, Byte g, Byte b) { return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16); }

// A set of enumeration values (at most 256 distinct values).
template <typename E>
class TSet {
public:
  constexpr TSet() = default;
  TSet(std::initializer_list<E> values) { for (E v : values) Include(v); }
  bool Contains(E v) const { return FBits.test(Index(v)); }
  TSet& Include(E v) { FBits.set(Index(v)); return *this; }
  TSet& Exclude(E v) { FBits.reset(Index(v)); return *this; }
  bool IsEmpty() const { return FBits.none(); }
  void Clear() { FBits.reset(); }
  friend TSet operator+(TSet a, const TSet& b) { a.FBits |= b.FBits; return a; }
  friend TSet operator-(TSet a, const TSet& b) { a.FBits &= ~b.FBits; return a; }
  friend TSet operator*(TSet a, const TSet& b) { a.FBits &= b.FBits; return a; }
  TSet& operator+=(const TSet& b) { FBits |= b.FBits; return *this; }
  TSet& operator-=(const TSet& b) { FBits &= ~b.FBits; return *this; }
  TSet& operator*=(const TSet& b) { FBits &= b.FBits; return *this; }
  friend bool operator==(const TSet& a, const TSet& b) { return a.FBits == b.FBits; }
  // a <= b: every member of a is in b.
  friend bool operator<=(const TSet& a, const TSet& b) { return (a.FBits & ~b.FBits).none(); }
private:
  static size_t Index(E v) { return static_cast<size_t>(v); }
  std::bitset<256> FBits;
};

// Horizontal alignment of text in fields, columns and edit controls.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TShiftStateValue { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateValue>;
using TShortCut = Word;

class TObject {
public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
