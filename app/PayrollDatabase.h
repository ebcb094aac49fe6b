#pragma once
// The payroll database file: where it lives and how a new one is made.
#include "platform/rtl/Types.h"

class TADOConnection;

// "db/VIRE.dat" under the program folder AppPath.
String DatabaseFileName(const String& AppPath);
// The database file inside a data folder ("VIRE.dat").
String DatabaseFileOfFolder(const String& DataFolder);
// Creates FileName with the payroll tables, the settings row and the current
// tax brackets. The file appears only once complete; raises EDatabaseError or
// EFCreateError when it cannot be made.
void CreatePayrollDatabase(const String& FileName);
// Adds the indexes the lists read by to a database made without them; the
// name and department lists and a month's names then come without a sort.
void EnsurePayrollIndexes(TADOConnection& Connection);
// Raises EDatabaseError saying what is wrong when the open database of
// Connection is damaged (SQLite's quick check finds faults) or lacks the
// payroll tables (an empty file opens as an empty database).
void CheckPayrollDatabase(TADOConnection& Connection);
// True when changes to the open database of Connection cannot be saved:
// SQLite opened the file read-only, or the folder holding it takes no new
// files (SQLite writes its journal there).
bool PayrollDatabaseReadOnly(TADOConnection& Connection);
