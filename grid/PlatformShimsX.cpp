#include "grid/PlatformShimsX.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>
#include <algorithm>
#include <array>

namespace {
String Leading(const String& Text, Integer Count) { return Count < 0 ? Text : Text.left(Count); }
}  // namespace

Integer PlatformDrawText(TCanvas* Canvas, const String& Text, Integer Count, TRect& R, Cardinal Format) {
  return DrawText(Canvas, Leading(Text, Count), R, Format);
}

Integer PlatformDrawTextEx(TCanvas* Canvas, const String& Text, Integer Count, TRect& R, Cardinal Format,
                           TDrawTextParams Params) {
  return DrawTextEx(Canvas, Leading(Text, Count), R, Format, &Params);
}

Integer PlatformDrawTextExPlain(TCanvas* Canvas, const String& Text, Integer Count, TRect& R, Cardinal Format) {
  return DrawTextEx(Canvas, Leading(Text, Count), R, Format, nullptr);
}

LRESULT PlatformSendMessage(TControl* Window, Cardinal Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessage(Window, Msg, WParam, LParam);
}

LRESULT PlatformSendTextMessage(TControl* Window, Cardinal Msg, WPARAM WParam, const String& Text) {
  std::vector<char16_t> Chars(Text.utf16(), Text.utf16() + Text.size());
  Chars.push_back(0);
  return SendMessage(Window, Msg, WParam, LPARAM(Chars.data()));
}

Integer PlatformGetLineText(TControl* Window, Cardinal Msg, WPARAM WParam, Integer, String& Text) {
  constexpr Integer BufferChars = 4096 / 2;
  std::array<char16_t, BufferChars> Buffer{};
  Buffer[0] = char16_t(4096);
  const Integer Count = std::clamp<Integer>(Integer(SendMessage(Window, Msg, WParam, LPARAM(Buffer.data()))), 0, BufferChars);
  Text = QString(reinterpret_cast<const QChar*>(Buffer.data()), Count);
  return Count;
}

void PlatformInvalidateRect(TWinControl* Window, const TRect* R, bool Erase) { Window->InvalidateRect(R, Erase); }

void PlatformScrollWindowEx(TWinControl* Window, Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip,
                            Cardinal Flags) {
  Window->ScrollWindowEx(DX, DY, Scroll, Clip, Flags);
}

void PlatformScrollWindow(TWinControl* Window, Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip) {
  Window->ScrollWindowEx(DX, DY, Scroll, Clip, SW_INVALIDATE);
}

void PlatformLPtoDP(const TCanvas* Canvas, TRect& R) {
  const TPoint TopLeft = Canvas->LogicalToDevice(TPoint(R.Left, R.Top));
  const TPoint BottomRight = Canvas->LogicalToDevice(TPoint(R.Right, R.Bottom));
  R = TRect(TopLeft.X, TopLeft.Y, BottomRight.X, BottomRight.Y);
}

TRegion PlatformCreatePolygonRgn(const TPoint* Points, Integer Count, TFillMode Mode) {
  return TRegion::Polygon(std::vector<TPoint>(Points, Points + std::max<Integer>(Count, 0)), Mode);
}

void PlatformGetEditSelection(TControl* Edit, Integer& SelStart, Integer& SelEnd) {
  const LRESULT Packed = SendMessage(Edit, EM_GETSEL);
  SelStart = LoWord(uintptr_t(Packed));
  SelEnd = HiWord(uintptr_t(Packed));
}

String PlatformUpperCase(const String& Text) { return AnsiUpperCase(Text); }
String PlatformLowerCase(const String& Text) { return AnsiLowerCase(Text); }
int PlatformCompareStr(const String& A, const String& B) { return AnsiCompareStr(A, B); }
int PlatformCompareText(const String& A, const String& B) { return AnsiCompareText(A, B); }

void PlatformVarArrayRedim(Variant& A, Integer HighBound) { A.SetArrayLength(HighBound + 1); }

void PlatformBeep() { QApplication::beep(); }
