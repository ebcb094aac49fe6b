#pragma once
// Process-wide values of the payroll program and the small helpers that many
// of its windows share.
#include "platform/rtl/Classes.h"
#include <functional>

class TControl;
class TWinControl;

// The process-wide values of the program: one value, owned by the data
// module (TDM::Settings) and reached through Settings().
struct TPubSettings {
  // Program folder with a trailing separator: the prefix of every file the program uses.
  String GAppPath;
  String GVendorName;
  String GVendorHomePage;
  String GBrand;
  // The user's company name, title prefix of printouts and lists.
  String GEntName;
  // Login and management password; empty means none.
  String GLogPass;
  // Income-tax exemption threshold.
  Integer GGSLimit = 0;
  // Unit word of piecework.
  String GJJUnit;
  // Attendance mode: 0 none, 1 days (day rate), 2 hours (hour rate), 3 piecework.
  Integer GPrintDays = 0;
  // Non-zero: amounts are shown with two decimals.
  Integer GShowFloat = 0;
  Integer GPrintOrientation = 0;
  // Top margin of printed slips in tenths of an inch.
  Integer GTopPos = 0;
  // Number column on printed slips: 0 none, 1 running number, 2 employee code.
  Integer GShowXH = 0;
  // Paper width in millimetres.
  Extended GPageWidth = 0;
  Integer GNameOnTitle = 0;
  bool GSortAscending = false;
  // Automatic backup folder with a trailing separator.
  String GAutoBakPath;
};

// The settings of the data module; raises EInvalidOperation while there is none.
TPubSettings& Settings();

// The format of amounts in lists, footers and the record editor.
String AmountFormat();

// Index of the first item equal to Text (case-sensitive), or with Prefix of
// the first item that begins with it; -1 when none.
Integer FindStringIndex(TStrings* List, const String& Text, bool Prefix);
// Copies every byte of Source into Target (created or truncated); failures raise.
void CopyFileByStream(const String& Source, const String& Target);
// The number text of an amount box: blanks removed, a lone "." or ".0" is
// "0.0", a trailing "." is cut and an empty text is "0".
String NormalizeNumText(const String& Text);
String PadLeftZeros(const String& Text, Integer Width);
// Non-overlapping occurrences of Part in Text, left to right; an empty Part counts 0.
Integer CountSubStr(const String& Part, const String& Text);
// Opens a web address or local page with the desktop's default handler; says so when the
// desktop has no program for it.
void OpenUrlInBrowser(const String& Address);
// Starts a program with Parameters, or opens a document with its default handler.
void ShellOpen(const String& FileName, const String& Parameters);
// Replaces what ShellOpen does (tests watch it instead of starting programs);
// an empty one restores the desktop's handling. Returns the routine in use.
using TShellOpenProc = std::function<void(const String& FileName, const String& Parameters)>;
TShellOpenProc SetShellOpenProc(TShellOpenProc Proc);

// Keeps handling pending events until more than Milliseconds have passed.
void DelayWithMessages(Cardinal Milliseconds);
// Asks for a folder, showing Title above the folders under Root (empty: the
// whole file system). True with the chosen folder in Path, without a trailing
// separator; false with Path empty when the user cancels. The dialog belongs
// to the active window, which is Owner's while Owner asks.
bool BrowseForFolder(TWinControl* Owner, const String& Title, const String& Root, String& Path);
// Enter moves the focus on to the next control in tab order of Control's form,
// once the key has been handled; in a memo only Ctrl+Enter does, as Enter
// there starts a new line. Control may also be the form itself, when it
// previews keys: the form's focused control then decides.
void EnterToNextControl(TControl* Control, Word Key, TShiftState Shift);

// Deletes every file in Folder and its subfolders; the folders remain and
// files that cannot be deleted are left silently. Links to folders are never
// followed.
void ClearFolder(const String& Folder);
// Text followed by blanks up to Width display columns (a CJK character counts 2).
String PadRight(const String& Text, Integer Width);
// A plausibility test: the first "@" is not the first character, and a "." follows
// it without being the last character ("li.ming@corp.com" passes).
bool IsEmailAddress(const String& Text);
