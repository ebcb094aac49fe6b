#pragma once
// A test's own program folder with the database of a first start and its
// settings loaded, for tests that drive the program's windows.
#include "TestDataModule.h"
#include "app/AppSettings.h"
#include "app/uPub.h"
#include <gtest/gtest.h>

class TScratchPayrollDb {
public:
  TScratchPayrollDb() { EXPECT_TRUE(LoadRegPara()); }
  String Query(const String& Sql) const { return DM->GetDataBySQL(Sql); }
  void Exec(const String& Sql) const { DM->ADOLocal->ExecuteSql(Sql); }

private:
  TTestDataModule FModule;
};
