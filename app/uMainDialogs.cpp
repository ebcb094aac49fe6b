// List printing, the statistics window and the dictionaries of the main window: a month's pay
// items, the income-tax brackets and the job titles.
#include "app/AmountColumns.h"
#include "app/AppSettings.h"
#include "app/uGSBaseSet.h"
#include "app/uGZCount.h"
#include "app/uGZBaseSet.h"
#include "app/uMain.h"
#include "app/uPreview.h"
#include "app/uPub.h"
#include "platform/rtl/ScopeGuards.h"
#include "app/uZWDict.h"

void TfrmMainGZT::N6Click(TObject*) {
  if (!PrintDBGridEh1) {
    PrintDBGridEh1 = new TPrintDBGridX(this);
    PrintDBGridEh1->SetName(QStringLiteral("PrintDBGridEh1"));
    PrintDBGridEh1->SetDBGridX(DBGridEh2);
    PrintDBGridEh1->SetOptions({});
    PrintDBGridEh1->SetUnits(TMeasureUnits::MM);
    for (TPageColontitle* Colontitle : {PrintDBGridEh1->PageHeader(), PrintDBGridEh1->PageFooter()}) {
      Colontitle->Font()->SetName(QStringLiteral("MS Sans Serif"));
      Colontitle->Font()->SetSize(8);
    }
  }
  PrintDBGridEh1->Preview();
}

void TfrmMainGZT::ToolButton10Click(TObject*) { ShowGZCount(); }

void TfrmMainGZT::Button7Click(TObject*) {
  constexpr Integer First = 10, Last = 42;  // GZ1..GZ30, YFTotal, KK1, KK2
  // Narrower than an amount, a column would print its numbers as "###".
  const auto AmountWidth = [this](Integer Index) {
    TColumnX* Column = DBGridEh2->Columns()->Items(Index);
    return std::max<Integer>(52, AmountColumnWidth(Column));
  };
  for (Integer i = First; i <= Last; ++i) {
    TColumnX* Column = DBGridEh2->Columns()->Items(i);
    const String Caption = Column->Title()->Caption();
    const qsizetype Bar = Caption.indexOf(u'|');
    const String Item = Bar >= 0 ? Caption.mid(Bar + 1) : Caption;
    if (Item != QStringLiteral("合计")) Column->SetWidth(13 * Integer(Item.size()));
    WidenTo(Column, AmountWidth(i));
  }
  TScopeGuard Restore([this, AmountWidth] {
    for (Integer i = First; i <= Last; ++i) DBGridEh2->Columns()->Items(i)->SetWidth(AmountWidth(i));
  });
  PreviewGrid(Settings().GEntName + grpDetail->Caption(), DBGridEh2, dsGZDetail);
}

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
