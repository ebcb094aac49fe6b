#include "app/PayrollDatabase.h"
#include "platform/db/ADODB.h"
#include "platform/rtl/Files.h"
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Text columns compare without case, as users expect of names and months.
String Text(const char* Name, int Width) {
  return QStringLiteral("%1 VARCHAR(%2) COLLATE NOCASE").arg(QLatin1String(Name)).arg(Width);
}

String NumberedColumns(const char* Prefix, int Count) {
  QStringList Columns;
  for (int n = 1; n <= Count; ++n) Columns << QStringLiteral("%1%2 FLOAT").arg(QLatin1String(Prefix)).arg(n);
  return Columns.join(QStringLiteral(", "));
}

QStringList TableStatements() {
  const String Key = QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT");
  return {
    QStringLiteral("CREATE TABLE TGZMonth (%1, %2)").arg(Key, Text("GZMonth", 50)),
    QStringLiteral("CREATE TABLE TGZ (%1, %2, %3, %4, %5, %6, WorkDays FLOAT, HourCount FLOAT, OneDayMOney FLOAT, "
                   "%7, YFTotal FLOAT, %8, KKTotal FLOAT, GZTotal FLOAT, %9, %10, %11, %12, "
                   "LOGTime DATETIME, SelectStu INTEGER DEFAULT 0)")
        .arg(Key, Text("GZMonth", 50), Text("DepartName", 50), Text("EmpCode", 20), Text("EmpName", 50),
             Text("ZWName", 20), NumberedColumns("GZ", 30), NumberedColumns("KK", 15), Text("QM", 50))
        .arg(Text("MobileCode", 30), Text("BankNo", 30), Text("EMail", 50)),
    QStringLiteral("CREATE INDEX TGZ_GZMonth ON TGZ (GZMonth)"),
    QStringLiteral("CREATE TABLE TGZSet (%1, %2, %3, %4, GZType INTEGER, SortIdx INTEGER, ShowStu INTEGER, %5)")
        .arg(Key, Text("GZMonth", 50), Text("GZField1", 10), Text("GZName", 50), Text("CalcStr", 255)),
    QStringLiteral("CREATE INDEX TGZSet_GZMonth ON TGZSet (GZMonth)"),
    QStringLiteral("CREATE TABLE TPara (%1, BillHeight FLOAT, PrintDays INTEGER, ShowFloat INTEGER, ShowXH INTEGER, "
                   "NameOnTitle INTEGER, PrintOrientation INTEGER, TopPos INTEGER, %2, Paragraph FLOAT, "
                   "StepTitleGrid FLOAT, PageWidth FLOAT, GSLimit INTEGER, %3, %4)")
        .arg(Text("EntName", 100), Text("JJUnit", 10), Text("ClientVer", 50), Text("LogPass", 50)),
    QStringLiteral("CREATE TABLE TGSModel (%1, ClassIdx INTEGER, YNSTotal FLOAT, YNSTotalNJ FLOAT, SLRate FLOAT, "
                   "SQKCS FLOAT)").arg(Key),
  };
}

// One settings row for an A4 office printer, amounts with two decimals, and
// the initial password that counts as none.
const char* const SettingsRow =
    "INSERT INTO TPara (EntName, BillHeight, PrintDays, ShowFloat, ShowXH, NameOnTitle, PrintOrientation, TopPos, "
    "JJUnit, Paragraph, StepTitleGrid, PageWidth, GSLimit, ClientVer, LogPass) "
    "VALUES ('', 296.78, 0, 1, 1, 0, 0, 2, ' ', 5, 2, 210, 5000, '1.0', '729')";

// The lists of names and departments, over all months and of one month.
const char* const ListIndexes[] = {
    "CREATE INDEX IF NOT EXISTS TGZ_EmpName ON TGZ (EmpName)",
    "CREATE INDEX IF NOT EXISTS TGZ_DepartName ON TGZ (DepartName)",
    "CREATE INDEX IF NOT EXISTS TGZ_GZMonth_EmpName ON TGZ (GZMonth, EmpName)",
};

// Today's monthly income-tax table above a threshold of 5000; the last bound
// is beyond any salary.
struct TBracketRow { int ClassIdx; double Bound, BoundNJ, Rate, Deduction; };
constexpr TBracketRow Brackets[] = {
  {1, 3000, 2910, 3, 0},          {2, 12000, 11010, 10, 210},    {3, 25000, 21410, 20, 1410},
  {4, 35000, 28910, 25, 2660},    {5, 55000, 42910, 30, 4410},   {6, 80000, 59160, 35, 7160},
  {7, 1e12, 1e12, 45, 15160},
};

void CreateTables(TADOConnection& Connection) {
  for (const String& Statement : TableStatements()) Connection.ExecuteSql(Statement);
  EnsurePayrollIndexes(Connection);
  Connection.ExecuteSql(QString::fromLatin1(SettingsRow));
  for (const TBracketRow& b : Brackets)
    Connection.ExecuteSql(QStringLiteral("INSERT INTO TGSModel (ClassIdx, YNSTotal, YNSTotalNJ, SLRate, SQKCS) "
                                         "VALUES (%1, %2, %3, %4, %5)")
                              .arg(b.ClassIdx)
                              .arg(b.Bound, 0, 'f', 0)
                              .arg(b.BoundNJ, 0, 'f', 0)
                              .arg(b.Rate, 0, 'f', 0)
                              .arg(b.Deduction, 0, 'f', 0));
}

// The tables every payroll database has had since its first start.
const char* const PayrollTables[] = {"TGZMonth", "TGZ", "TGZSet", "TPara", "TGSModel"};

}  // namespace

void EnsurePayrollIndexes(TADOConnection& Connection) {
  for (const char* Statement : ListIndexes) Connection.ExecuteSql(QString::fromLatin1(Statement));
}

String DatabaseFileName(const String& AppPath) {
  return DatabaseFileOfFolder(ResolvePath(AppPath, QStringLiteral("db")));
}

String DatabaseFileOfFolder(const String& DataFolder) {
  return ResolvePath(DataFolder, QStringLiteral("VIRE.dat"));
}

void CreatePayrollDatabase(const String& FileName) {
  ForceDirectories(ExtractFilePath(FileName));
  // Built under another name and renamed when complete, so that a failure
  // never leaves a half-made database that later starts would take as real.
  const String Building = FileName + QStringLiteral(".new");
  QFile::remove(Building);
  {
    QFile Empty(Building);
    if (!Empty.open(QIODevice::WriteOnly))
      throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(Building, Empty.errorString()));
  }
  try {
    TADOConnection Connection;
    Connection.SetConnectionString(QStringLiteral("Data Source=") + Building);
    Connection.BeginTrans();
    CreateTables(Connection);
    Connection.CommitTrans();
    Connection.Close();
    if (!RenameFile(Building, FileName))
      throw EFCreateError(QStringLiteral("Cannot create file \"%1\".").arg(FileName));
  } catch (...) {
    // A database that could not be built whole leaves no half-built file behind.
    QFile::remove(Building);
    throw;
  }
}

void CheckPayrollDatabase(TADOConnection& Connection) {
  QStringList Faults;
  {
    // A handful of findings tell enough; the check stops there.
    SqliteStatement Check(Connection.Database(), "PRAGMA quick_check(5)");
    while (Check.Step()) {
      const String Finding = String::fromUtf8(Check.ColumnText(0));
      if (Finding != QStringLiteral("ok")) Faults << Finding;
    }
  }
  if (!Faults.isEmpty()) throw EDatabaseError(Faults.join(u'\n'));
  QStringList Missing;
  for (const char* Table : PayrollTables) {
    SqliteStatement Find(Connection.Database(), "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
    Find.BindText(1, Table);
    if (!Find.Step()) Missing << QLatin1String(Table);
  }
  if (!Missing.isEmpty())
    throw EDatabaseError(QStringLiteral("The payroll tables are missing: %1").arg(Missing.join(QStringLiteral(", "))));
}

bool PayrollDatabaseReadOnly(TADOConnection& Connection) {
  sqlite3* Handle = Connection.Database().Handle();
  if (!Handle) return false;
  if (sqlite3_db_readonly(Handle, "main") == 1) return true;
  const char* File = sqlite3_db_filename(Handle, "main");
  if (!File || !*File) return false;
  // The effective identity decides, as it does when SQLite creates the journal.
  const QByteArray Folder = QFile::encodeName(QFileInfo(QString::fromUtf8(File)).absolutePath());
  return ::faccessat(AT_FDCWD, Folder.constData(), W_OK | X_OK, AT_EACCESS) != 0;
}
