// The statistics window and the dictionaries of the main window: a month's pay
// items, the income-tax brackets and the job titles.
#include "app/AppSettings.h"
#include "app/uGSBaseSet.h"
#include "app/uGZCount.h"
#include "app/uGZBaseSet.h"
#include "app/uMain.h"
#include "app/uZWDict.h"

void TfrmMainGZT::ToolButton10Click(TObject*) { ShowGZCount(); }

void TfrmMainGZT::ToolButton21Click(TObject*) {
  const String Month = CurrentMonth();
  ShowGZBaseSet(Month.isEmpty() ? QStringLiteral("BASE") : Month);
  // The list follows the items whether or not they were saved.
  cmbDepart->SetText(String());
  cmbName->SetText(String());
  if (Month.isEmpty()) {
    ReadyGrid(QStringLiteral("BASE"));
  } else {
    dsGZMonthAfterScroll(dsGZMonth);
  }
  ReCalcAll();
}

void TfrmMainGZT::N31Click(TObject*) {
  ShowGSBaseSet();
  LoadRegPara();
}

void TfrmMainGZT::N30Click(TObject*) { ShowZWDict(); }
