#pragma once
// The data module: the one connection to the payroll database that every
// window uses, the settings data set and the two query helpers.
#include "platform/db/ADODB.h"

class TDM : public TComponent {
public:
  // Sets the program folder and connects (DataModuleCreate).
  explicit TDM(TComponent* AOwner = nullptr);

  // Connects to "db/VIRE.dat" under the program folder, creating it with its
  // tables first when it is missing. A failure is shown and the program goes
  // on without a connection.
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
};

extern TDM* DM;
