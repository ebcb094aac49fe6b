#pragma once
// Process-wide values of the payroll program and the small helpers that many
// of its windows share.
#include "platform/rtl/Classes.h"

class TControl;
class TWinControl;

// Program folder with a trailing separator: the prefix of every file the program uses.
extern String GAppPath;
extern String GVendorName;
extern String GVendorHomePage;
extern String GBrand;
// The user's company name, title prefix of printouts and lists.
extern String GEntName;
// Login and management password; empty means none.
extern String GLogPass;
// Income-tax exemption threshold.
extern Integer GGSLimit;
// Unit word of piecework.
extern String GJJUnit;
// Attendance mode: 0 none, 1 days (day rate), 2 hours (hour rate), 3 piecework.
extern Integer GPrintDays;
// Non-zero: amounts are shown with two decimals.
extern Integer GShowFloat;
extern Integer GPrintOrientation;
// Top margin of printed slips in tenths of an inch.
extern Integer GTopPos;
// Number column on printed slips: 0 none, 1 running number, 2 employee code.
extern Integer GShowXH;
// Paper width in millimetres.
extern Extended GPageWidth;
extern Integer GNameOnTitle;
extern bool GSortAscending;
// Automatic backup folder with a trailing separator.
extern String GAutoBakPath;

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
// Opens a web address or local page with the desktop's default handler.
void OpenUrlInBrowser(const String& Address);
// Starts a program with Parameters, or opens a document with its default handler.
void ShellOpen(const String& FileName, const String& Parameters);

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
// A plausibility test: the first "@" is not the first character, and the text's first
// "." comes after it without being the last character (so "li.ming@corp.com" fails).
bool IsEmailAddress(const String& Text);
