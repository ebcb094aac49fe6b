#pragma once
// Window messages: the numbers, the message record and typed views of its fields.
// Controls talk to each other and to the window system only through these.
#include "platform/rtl/Types.h"
#include <cstdint>

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TMessage {
  Cardinal Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr Word LoWord(uintptr_t v) { return Word(v & 0xFFFF); }
constexpr Word HiWord(uintptr_t v) { return Word((v >> 16) & 0xFFFF); }
constexpr LPARAM MakeLParam(Word lo, Word hi) { return LPARAM(uint32_t(lo) | (uint32_t(hi) << 16)); }
constexpr WPARAM MakeWParam(Word lo, Word hi) { return WPARAM(uint32_t(lo) | (uint32_t(hi) << 16)); }
// Mouse positions travel as two signed 16-bit halves of LParam.
constexpr LPARAM PointToLParam(TPoint p) { return MakeLParam(Word(SmallInt(p.X)), Word(SmallInt(p.Y))); }
constexpr TPoint LParamToPoint(LPARAM l) { return {SmallInt(LoWord(uintptr_t(l))), SmallInt(HiWord(uintptr_t(l)))}; }

// Window messages. WM_PAINT, WM_ERASEBKGND and WM_NCPAINT carry in WParam the TCanvas* to
// draw on (valid while the message is handled): the client area for the first two, the
// whole window for WM_NCPAINT.
constexpr Cardinal WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
                   WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008,
                   WM_ENABLE = 0x000A, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_PAINT = 0x000F,
                   WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014, WM_SYSCOLORCHANGE = 0x0015,
                   WM_SHOWWINDOW = 0x0018, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020,
                   WM_MOUSEACTIVATE = 0x0021, WM_WINDOWPOSCHANGED = 0x0047, WM_CONTEXTMENU = 0x007B,
                   WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085,
                   WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087, WM_NCMOUSEMOVE = 0x00A0,
                   WM_NCLBUTTONDOWN = 0x00A1, WM_NCLBUTTONUP = 0x00A2, WM_NCLBUTTONDBLCLK = 0x00A3,
                   WM_NCRBUTTONDOWN = 0x00A4, WM_NCRBUTTONUP = 0x00A5, WM_KEYDOWN = 0x0100,
                   WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105,
                   WM_SYSCHAR = 0x0106, WM_IME_STARTCOMPOSITION = 0x010D, WM_IME_ENDCOMPOSITION = 0x010E,
                   WM_COMMAND = 0x0111, WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113, WM_HSCROLL = 0x0114,
                   WM_VSCROLL = 0x0115, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
                   WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204,
                   WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
                   WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A,
                   WM_CAPTURECHANGED = 0x0215, WM_CUT = 0x0300, WM_COPY = 0x0301, WM_PASTE = 0x0302,
                   WM_CLEAR = 0x0303, WM_USER = 0x0400;

// Notices of the control layer.
constexpr Cardinal CM_BASE = 0xB000;
constexpr Cardinal CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_DIALOGKEY = CM_BASE + 5,
                   CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7,
                   CM_PARENTFONTCHANGED = CM_BASE + 8, CM_PARENTCOLORCHANGED = CM_BASE + 9,
                   CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
                   CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13,
                   CM_FONTCHANGED = CM_BASE + 14, CM_CURSORCHANGED = CM_BASE + 15,
                   CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
                   CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
                   CM_MENUCHANGED = CM_BASE + 21, CM_APPKEYDOWN = CM_BASE + 22,
                   CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25,
                   CM_ENTER = CM_BASE + 26, CM_EXIT = CM_BASE + 27, CM_DESIGNHITTEST = CM_BASE + 28,
                   CM_SHOWHINTCHANGED = CM_BASE + 30, CM_PARENTSHOWHINTCHANGED = CM_BASE + 31,
                   CM_SYSCOLORCHANGE = CM_BASE + 32, CM_FONTCHANGE = CM_BASE + 34,
                   CM_TABSTOPCHANGED = CM_BASE + 36, CM_UIACTIVATE = CM_BASE + 37,
                   CM_CONTROLLISTCHANGE = CM_BASE + 39, CM_GETDATALINK = CM_BASE + 40,
                   CM_CHILDKEY = CM_BASE + 41, CM_HINTSHOW = CM_BASE + 48, CM_RECREATEWND = CM_BASE + 51,
                   CM_CANCELMODE = CM_BASE + 53, CM_BORDERCHANGED = CM_BASE + 59,
                   CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
                   CM_MOUSEWHEEL = CM_BASE + 67, CM_WANTSPECIALKEY = CM_BASE + 68,
                   CM_RELEASE = CM_BASE + 69, CM_HINTSHOWPAUSE = CM_BASE + 70, CM_CHANGED = CM_BASE + 72;
// Notices reflected back to the child window that caused them.
constexpr Cardinal CN_BASE = 0xBC00;
constexpr Cardinal CN_COMMAND = CN_BASE + WM_COMMAND, CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
                   CN_CHAR = CN_BASE + WM_CHAR;
constexpr Word EN_CHANGE = 0x0300;

// WM_SIZE kinds.
constexpr Integer SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;

// Scroll-bar notification codes (low word of WM_HSCROLL/WM_VSCROLL's WParam).
constexpr Integer SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
                  SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4,
                  SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
// Which scroll bar.
constexpr Integer SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;

// Mouse-key flags of mouse messages.
constexpr Word MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
               MK_MBUTTON = 0x0010;

// Hit-test codes.
constexpr Integer HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2,
                  HTSYSMENU = 3, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7, HTMINBUTTON = 8,
                  HTMAXBUTTON = 9, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14,
                  HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18, HTCLOSE = 20;

// Dialog codes answered to WM_GETDLGCODE.
constexpr Integer DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
                  DLGC_HASSETSEL = 0x0008, DLGC_WANTCHARS = 0x0080, DLGC_BUTTON = 0x2000;

// Window styles kept in the creation parameters.
constexpr Cardinal WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                   WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000, WS_CLIPSIBLINGS = 0x04000000,
                   WS_CLIPCHILDREN = 0x02000000, WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000,
                   WS_DLGFRAME = 0x00400000, WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000,
                   WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000, WS_TABSTOP = 0x00010000,
                   WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000;
constexpr Cardinal WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_TOPMOST = 0x00000008,
                   WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100,
                   WS_EX_CLIENTEDGE = 0x00000200, WS_EX_RIGHT = 0x00001000, WS_EX_RTLREADING = 0x00002000,
                   WS_EX_LEFTSCROLLBAR = 0x00004000, WS_EX_STATICEDGE = 0x00020000,
                   WS_EX_LAYERED = 0x00080000, WS_EX_NOACTIVATE = 0x08000000;
constexpr Cardinal CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800;

// Virtual-key codes.
constexpr Word VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
               VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
               VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
               VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
               VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B,
               VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B,
               VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
               VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
               VK_F24 = 0x87, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB,
               VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF,
               VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

// Typed views of a message's fields, read the way each message packs them.
struct TWMKey {
  TMessage& M;
  Word CharCode() const { return Word(M.WParam); }
  void SetCharCode(Word v) { M.WParam = v; }
  LPARAM KeyData() const { return M.LParam; }
};

struct TWMMouse {
  TMessage& M;
  Word Keys() const { return Word(M.WParam); }
  TPoint Pos() const { return LParamToPoint(M.LParam); }
  Integer XPos() const { return Pos().X; }
  Integer YPos() const { return Pos().Y; }
};

// The position is packed into the upper 32 bits of WParam so that ranges beyond 16 bits survive.
struct TWMScroll {
  TMessage& M;
  Integer ScrollCode() const { return Integer(M.WParam & 0xFFFF); }
  Integer Pos() const { return Integer(uint32_t(uint64_t(M.WParam) >> 32)); }
  static WPARAM Pack(Integer Code, Integer Pos) { return WPARAM(uint64_t(uint16_t(Code)) | (uint64_t(uint32_t(Pos)) << 32)); }
};

struct TWMSize {
  TMessage& M;
  Integer SizeType() const { return Integer(M.WParam); }
  Integer Width() const { return LoWord(uintptr_t(M.LParam)); }
  Integer Height() const { return HiWord(uintptr_t(M.LParam)); }
};

struct TWMTimer {
  TMessage& M;
  Integer TimerID() const { return Integer(M.WParam); }
};

// WParam: mouse keys in the low word, signed wheel delta (120 per notch) in the high word;
// LParam: the cursor in screen coordinates.
struct TWMMouseWheel {
  TMessage& M;
  Word Keys() const { return LoWord(M.WParam); }
  Integer WheelDelta() const { return SmallInt(HiWord(M.WParam)); }
  TPoint Pos() const { return LParamToPoint(M.LParam); }
};

// LParam: hit-test code in the low word, the mouse message that caused it in the high word.
struct TWMSetCursor {
  TMessage& M;
  Integer HitTest() const { return SmallInt(LoWord(uintptr_t(M.LParam))); }
  Cardinal MouseMsg() const { return HiWord(uintptr_t(M.LParam)); }
};

struct TWMNCHitTest {
  TMessage& M;
  TPoint Pos() const { return LParamToPoint(M.LParam); }  // screen coordinates
};

// LParam points to the proposed client rectangle in window coordinates; handlers shrink it.
struct TWMNCCalcSize {
  TMessage& M;
  TRect& Rect() const { return *reinterpret_cast<TRect*>(M.LParam); }
};

// LParam: the screen point, or (-1, -1) when the menu key or Shift+F10 asked for the menu.
struct TWMContextMenu {
  TMessage& M;
  TPoint Pos() const { return LParamToPoint(M.LParam); }
};
