#pragma once
// A test's own program folder with the data module of a first start in it,
// installed as the program's DM (with its own settings) while the object
// lives; the previous data module and program folder come back afterwards,
// so no test sees the settings another one left.
#include "app/uDM.h"
#include "platform/rtl/Files.h"
#include "platform/testing/TestPaths.h"

class TTestDataModule {
public:
  TTestDataModule() : FPrevious(DM), FPreviousFolder(ProgramFolder()) {
    SetProgramFolder(FFolder.Path() + u'/');
    FModule = std::make_unique<TDM>();
    DM = FModule.get();
  }
  ~TTestDataModule() {
    DM = FPrevious;
    FModule.reset();
    SetProgramFolder(FPreviousFolder);
  }
  TTestDataModule(const TTestDataModule&) = delete;
  TTestDataModule& operator=(const TTestDataModule&) = delete;

  const moli::testing::ScratchDir& Folder() const { return FFolder; }
  TDM* Module() const { return FModule.get(); }

private:
  TDM* FPrevious;
  String FPreviousFolder;
  moli::testing::ScratchDir FFolder;
  std::unique_ptr<TDM> FModule;
};
