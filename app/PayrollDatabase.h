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
