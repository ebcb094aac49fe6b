#pragma once
// The data module: the one connection to the payroll database that every
// window uses, the settings data set, the program's settings and the two
// query helpers.
#include "app/uPub.h"
#include "platform/db/ADODB.h"

class TDM : public TComponent {
public:
  // Sets the program folder and connects (DataModuleCreate).
  explicit TDM(TComponent* AOwner = nullptr);

  // Sets the program folder and connects to "db/VIRE.dat" under it, creating
  // the file with its tables first when it is missing. A failure is shown with
  // the file and the reason, and the program goes on without a connection.
  void DataModuleCreate();

  // First field of the first row as text; empty when there is no row or the
  // statement fails.
  String GetDataBySQL(const String& SQL);
  // Appends the first field of every row that is not empty to Items, in query
  // order; with ClearFirst the list is emptied once the query has opened. A
  // failing query leaves the list as it was; a failure half-way keeps the
  // rows added so far.
  void GetDataBySQLToItems(const String& SQL, TStrings* Items, bool ClearFirst);

  TADOConnection* ADOLocal;
  // Scratch data set of the query helpers; left open on the last query.
  TADODataSet* dsQuery;
  // The settings row; stays open once opened.
  TADODataSet* dsPara;
  // The program's settings; a data module starts with the empty ones.
  TPubSettings Settings;
};

extern TDM* DM;
