#include "app/uGZCount.h"
#include "app/AmountColumns.h"
#include "app/ExcelExport.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "app/RecordColumns.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/db/SqlText.h"
#include "dbgrid/DBGridX.h"
#include "gridout/PrintDBGridX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"

namespace {

const String SumFormat = QStringLiteral("0.00");
const String EarningsGroup = QStringLiteral("应发工资|");
const String DeductionsGroup = QStringLiteral("应扣/代扣工资|");

// Record view: the record list's columns without the phone number and bank account.
constexpr Integer DetailEarningsFirst = 10, DetailDeductionsFirst = 41, DetailDeductionsTotal = 56;
// Employee view: department, code, name, days, rate, hours, then the item sums.
constexpr Integer EmpEarningsFirst = 6, EmpDeductionsFirst = 37, EmpDeductionsTotal = 52;

TADODataSet* View(TComponent* Owner, const String& Name) {
  auto* DataSet = new TADODataSet(Owner);
  DataSet->SetName(Name);
  DataSet->SetConnection(DM->ADOLocal);
  DataSet->SetCursorType(ctStatic);
  DataSet->SetLockType(ltReadOnly);
  return DataSet;
}

TDBGridX* ViewGrid(TWinControl* Parent, const String& Name, TDataSource* Source, bool MultiTitle) {
  auto* Grid = new TDBGridX(GetParentForm(Parent));
  Grid->SetName(Name);
  Grid->SetParent(Parent);
  Grid->SetAlign(alClient);
  Grid->SetDataSource(Source);
  Grid->SetReadOnly(true);
  Grid->SetOptions(Grid->Options() + TDBGridOptions{dgRowSelect, dgAlwaysShowSelection} - TDBGridOptions{dgEditing});
  Grid->SetUseMultiTitle(MultiTitle);
  Grid->SetFooterRowCount(1);
  Grid->SumList()->SetActive(true);
  return Grid;
}

TColumnX* AddColumn(TDBGridX* Grid, const String& Field, const String& Title, Integer Width, bool Visible = true) {
  TColumnX* Column = Grid->Columns()->Add();
  Column->SetFieldName(Field);
  Column->Title()->SetCaption(Title);
  Column->SetWidth(Width);
  Column->SetVisible(Visible);
  return Column;
}

void SumFooter(TColumnX* Column, const String& Format = SumFormat) {
  Column->Footer()->SetValueType(fvtSum);
  Column->Footer()->SetDisplayFormat(Format);
}

// Amounts show as in the main window's record list, in columns that hold them whole.
void AmountColumns(TDBGridX* Grid, Integer First, Integer Last) {
  for (Integer i = First; i <= Last; ++i) {
    TColumnX* Column = Grid->Columns()->Items(i);
    Column->SetDisplayFormat(AmountFormat());
    WidenTo(Column, AmountColumnWidth(Column));
  }
}

void CountFooter(TColumnX* Column) {
  Column->Footer()->SetValueType(fvtCount);
  Column->Footer()->SetDisplayFormat(QStringLiteral("0条"));
}

void TotalCaptionFooter(TColumnX* Column) {
  Column->Footer()->SetValueType(fvtStaticText);
  Column->Footer()->SetValue(QStringLiteral("合计"));
  Column->Footer()->SetAlignment(taCenter);
}

TColumnX* ColumnOfField(TDBGridX* Grid, const String& Field) {
  for (Integer i = 0; i < Grid->Columns()->Count(); ++i)
    if (Grid->Columns()->Items(i)->FieldName().compare(Field, Qt::CaseInsensitive) == 0) return Grid->Columns()->Items(i);
  return nullptr;
}

// " and <Column> like" a pattern that matches texts containing the box's; nothing for an empty box.
String FilterTerm(const char* Column, const TComboBox* Box) {
  const String Text = Box->Text();
  if (Text.isEmpty()) return String();
  return QStringLiteral(" and %1 like ").arg(QLatin1String(Column)) + SqlLikeContains(Text);
}

String EmployeeSums() {
  String Sql = QStringLiteral(
      "Select DepartName,EmpCode,EmpName,Sum(WorkDays) as WorkDays,Max(OneDayMOney) as OneDayMOney,"
      "Sum(HourCount) as HourCount,Sum(GZTotal) as AGZTotal");
  for (int i = 1; i <= 30; ++i) Sql += QStringLiteral(",Sum(GZ%1) as AGZ%1").arg(i);
  Sql += QStringLiteral(",Sum(YFTotal) as AYFTotal");
  for (int i = 1; i <= 15; ++i) Sql += QStringLiteral(",Sum(KK%1) as AKK%1").arg(i);
  return Sql + QStringLiteral(",Sum(KKTotal) as AKKTotal");
}

}  // namespace

TfrmGZCount::TfrmGZCount(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmGZCount"));
  SetCaption(QStringLiteral("工资统计"));
  SetPosition(poScreenCenter);
  SetClientWidth(980);
  SetClientHeight(620);

  dsDetail = View(this, QStringLiteral("dsDetail"));
  auto* SortIdx = new TIntegerField(dsDetail);
  SortIdx->SetFieldName(QStringLiteral("SortIdx"));
  SortIdx->SetFieldKind(fkCalculated);
  SortIdx->SetDataSet(dsDetail);
  dsDetail->OnCalcFields = [](TDataSet* DataSet) {
    DataSet->FieldByName(QStringLiteral("SortIdx"))->SetAsInteger(std::abs(DataSet->RecNo()));
  };
  dsDepart = View(this, QStringLiteral("dsDepart"));
  dsEmp = View(this, QStringLiteral("dsEmp"));
  DataSource3 = new TDataSource(this);
  DataSource3->SetDataSet(dsDetail);
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(dsDepart);
  DataSource2 = new TDataSource(this);
  DataSource2->SetDataSet(dsEmp);

  auto* Bottom = new TPanel(this);
  Bottom->SetParent(this);
  Bottom->SetAlign(alBottom);
  Bottom->SetHeight(40);
  Bottom->SetBevelOuter(bvNone);
  PrintDBGridEh1 = new TPrintDBGridX(this);
  PrintDBGridEh1->SetName(QStringLiteral("PrintDBGridEh1"));
  PrintDBGridEh1->SetOptions({});
  PrintDBGridEh1->SetUnits(TMeasureUnits::MM);
  Button7 = PlaceControl<TButton>(Bottom, QStringLiteral("Button7"), 700, 6, 90, 28);
  Button7->SetCaption(QStringLiteral("打印明细表"));
  Button7->OnClick = [this](TObject*) { Button7Click(); };
  Button1 = PlaceControl<TButton>(Bottom, QStringLiteral("Button1"), 796, 6, 86, 28);
  Button1->SetCaption(QStringLiteral("发送Excel"));
  Button1->OnClick = [this](TObject*) { Button1Click(); };
  Button2 = PlaceControl<TButton>(Bottom, QStringLiteral("Button2"), 888, 6, 86, 28);
  Button2->SetCaption(QStringLiteral("关闭(&X)"));
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);

  CreateMonthPanel();
  PageControl1 = new TPageControl(this);
  PageControl1->SetName(QStringLiteral("PageControl1"));
  PageControl1->SetParent(this);
  PageControl1->SetAlign(alClient);
  const auto Page = [this](const String& Name, const String& Caption) {
    auto* Sheet = new TTabSheet(this);
    Sheet->SetName(Name);
    Sheet->SetPageControl(PageControl1);
    Sheet->SetCaption(Caption);
    return Sheet;
  };
  TabSheet1 = Page(QStringLiteral("TabSheet1"), QStringLiteral("综合统计"));
  TabSheet2 = Page(QStringLiteral("TabSheet2"), QStringLiteral("按部门统计"));
  TabSheet3 = Page(QStringLiteral("TabSheet3"), QStringLiteral("按部门/职员统计"));
  CreateDetailPage();
  DBGridEh1 = ViewGrid(TabSheet2, QStringLiteral("DBGridEh1"), DataSource1, false);
  TotalCaptionFooter(AddColumn(DBGridEh1, QStringLiteral("DepartName"), QStringLiteral("部门"), 160));
  SumFooter(AddColumn(DBGridEh1, QStringLiteral("GZTotal"), QStringLiteral("实发工资"), 120));
  AmountColumns(DBGridEh1, 1, 1);
  CreateEmployeePage();
  PageControl1->SetActivePage(TabSheet1);

  for (TDBGridX* Grid : {DBGridEh3, DBGridEh1, DBGridEh2})
    Grid->OnTitleClick = [this, Grid](TColumnX* Column) { GridTitleClick(Grid, Column); };
  for (TComboBox* Depart : {cmbDepart, cmbDepart1})
    DM->GetDataBySQLToItems(QStringLiteral("Select Distinct DepartName from TGZ order by DepartName"), Depart->Items(),
                            true);
  for (TComboBox* Emp : {cmbEmp, cmbEmp1})
    DM->GetDataBySQLToItems(QStringLiteral("Select Distinct EmpName from TGZ order by EmpName"), Emp->Items(), true);
}

void TfrmGZCount::CreateMonthPanel() {
  grpMonths = new TGroupBox(this);
  grpMonths->SetName(QStringLiteral("grpMonths"));
  grpMonths->SetParent(this);
  grpMonths->SetAlign(alLeft);
  grpMonths->SetWidth(170);
  grpMonths->SetCaption(QStringLiteral("工资月度选择"));
  chkList = PlaceControl<TCheckListBox>(grpMonths, QStringLiteral("chkList"), 8, 20, 154, 500);
  chkList->OnClickCheck = [this](TObject*) { chkListClick(); };
  const auto TickAll = [this](bool Ticked) {
    for (Integer i = 0; i < chkList->Items()->Count(); ++i) chkList->SetChecked(i, Ticked);
    chkListClick();
  };
  btnSelectAll = PlaceControl<TButton>(grpMonths, QStringLiteral("btnSelectAll"), 8, 530, 72, 28);
  btnSelectAll->SetCaption(QStringLiteral("全选"));
  btnSelectAll->OnClick = [TickAll](TObject*) { TickAll(true); };
  btnSelectNone = PlaceControl<TButton>(grpMonths, QStringLiteral("btnSelectNone"), 90, 530, 72, 28);
  btnSelectNone->SetCaption(QStringLiteral("全不选"));
  btnSelectNone->OnClick = [TickAll](TObject*) { TickAll(false); };
}

void TfrmGZCount::CreateFilterRow(TTabSheet* Page, TComboBox*& Depart, TComboBox*& Emp, TComboBox*& EmpCode,
                                  TButton*& Clear) {
  auto* Row = new TPanel(this);
  Row->SetParent(Page);
  Row->SetAlign(alTop);
  Row->SetHeight(34);
  Row->SetBevelOuter(bvNone);
  Integer Left = 6;
  const auto Box = [this, Row, &Left](const String& Caption, Integer LabelWidth) {
    auto* Label = PlaceControl<TLabel>(Row, String(), Left, 9, LabelWidth, 18);
    Label->SetCaption(Caption);
    Left += LabelWidth;
    auto* Combo = PlaceControl<TComboBox>(Row, String(), Left, 5, 130, 24);
    Combo->SetDropDownCount(20);
    Combo->OnSelect = [this](TObject*) { chkListClick(); };
    Combo->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
      if (Key == VK_RETURN) chkListClick();
    };
    Left += 140;
    return Combo;
  };
  Depart = Box(QStringLiteral("部门："), 46);
  Emp = Box(QStringLiteral("职员："), 46);
  EmpCode = Box(QStringLiteral("职员编码："), 72);
  Clear = PlaceControl<TButton>(Row, String(), Left, 4, 80, 26);
  Clear->SetCaption(QStringLiteral("清除条件"));
  Clear->OnClick = [this, Depart, Emp, EmpCode](TObject*) {
    for (TComboBox* Combo : {Depart, Emp, EmpCode}) Combo->SetText(String());
    chkListClick();
  };
}

void TfrmGZCount::CreateDetailPage() {
  CreateFilterRow(TabSheet1, cmbDepart, cmbEmp, cmbEmpCode, btnClear);
  DBGridEh3 = ViewGrid(TabSheet1, QStringLiteral("DBGridEh3"), DataSource3, true);
  for (const TRecordColumn& Column : RecordColumns()) {
    if (Column.FieldName == QLatin1String("MobileCode") || Column.FieldName == QLatin1String("BankNo")) continue;
    AddColumn(DBGridEh3, Column.FieldName, Column.Title, Column.Width, Column.Visible);
  }
  const auto Col = [this](Integer Index) { return DBGridEh3->Columns()->Items(Index); };
  TotalCaptionFooter(Col(1));
  CountFooter(Col(5));
  for (Integer i = DetailEarningsFirst; i <= DetailDeductionsTotal + 1; ++i) SumFooter(Col(i));
  AmountColumns(DBGridEh3, FirstAmountColumn, LastAmountColumn);
  WidenTo(Col(2), MonthColumnWidth(Col(2)));
  Col(60)->SetDisplayFormat(QStringLiteral("yy-MM-dd hh:nn"));
}

void TfrmGZCount::CreateEmployeePage() {
  CreateFilterRow(TabSheet3, cmbDepart1, cmbEmp1, cmbEmpCode1, btnClear1);
  DBGridEh2 = ViewGrid(TabSheet3, QStringLiteral("DBGridEh2"), DataSource2, true);
  TotalCaptionFooter(AddColumn(DBGridEh2, QStringLiteral("DepartName"), QStringLiteral("部门"), 80));
  AddColumn(DBGridEh2, QStringLiteral("EmpCode"), QStringLiteral("职员编码"), 70);
  CountFooter(AddColumn(DBGridEh2, QStringLiteral("EmpName"), QStringLiteral("姓名"), 60));
  SumFooter(AddColumn(DBGridEh2, QStringLiteral("WorkDays"), QStringLiteral("出勤数"), 60));
  AddColumn(DBGridEh2, QStringLiteral("OneDayMOney"), QStringLiteral("工资标准"), 60);
  AddColumn(DBGridEh2, QStringLiteral("HourCount"), QStringLiteral("出勤小时"), 60, false);
  for (int i = 1; i <= 30; ++i)
    SumFooter(AddColumn(DBGridEh2, QStringLiteral("AGZ%1").arg(i), EarningsGroup + QStringLiteral("GZ%1").arg(i), 52));
  SumFooter(AddColumn(DBGridEh2, QStringLiteral("AYFTotal"), EarningsGroup + QStringLiteral("合计"), 66));
  for (int i = 1; i <= 15; ++i)
    SumFooter(
        AddColumn(DBGridEh2, QStringLiteral("AKK%1").arg(i), DeductionsGroup + QStringLiteral("KK%1").arg(i), 52));
  SumFooter(AddColumn(DBGridEh2, QStringLiteral("AKKTotal"), DeductionsGroup + QStringLiteral("合计"), 66));
  SumFooter(AddColumn(DBGridEh2, QStringLiteral("AGZTotal"), QStringLiteral("实发工资"), 66));
  AmountColumns(DBGridEh2, 4, 4);
  AmountColumns(DBGridEh2, EmpEarningsFirst, EmpDeductionsTotal + 1);
}

void TfrmGZCount::ReadyMonth() {
  const TUpdateLock<TStrings> Bulk(chkList->Items());
  chkList->Items()->Clear();
  TADODataSet* Query = DM->dsQuery;
  try {
    Query->Close();
    Query->SetCommandText(QStringLiteral("select * from  TGZMonth Order by ID Desc"));
    Query->Open();
    for (Query->First(); !Query->Eof(); Query->Next())
      chkList->Items()->Add(Query->FieldByName(QStringLiteral("GZMonth"))->AsString());
  } catch (const Exception&) {
    // The list keeps the months read so far.
  }
}

bool TfrmGZCount::TitleItems(TDBGridX* Grid, const String& Month, const String& FieldPrefix, Integer First,
                             Integer DeductionFirst, Integer DeductionTotal) {
  TADODataSet* Items = DM->dsQuery;
  for (const bool Earnings : {true, false}) {
    const String Type = Earnings ? QStringLiteral("0") : QStringLiteral("1");
    try {
      for (const String& Owner : {Month, QStringLiteral("BASE")}) {
        Items->Close();
        Items->SetCommandText(QStringLiteral("Select * from TGZSet where GZType=") + Type +
                              QStringLiteral(" and GZMonth=") + QuotedStr(Owner) + QStringLiteral(" Order by SortIDx"));
        Items->Open();
        if (!Items->IsEmpty()) break;
      }
    } catch (const Exception&) {
      ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
      return false;
    }
    const Integer From = Earnings ? First : DeductionFirst;
    const Integer Count = Earnings ? 30 : 15;
    // Each item titles the column of its own field; columns no item names stay hidden.
    for (Integer i = From; i < From + Count; ++i) Grid->Columns()->Items(i)->SetVisible(false);
    bool AnyShown = false;
    for (Items->First(); !Items->Eof(); Items->Next()) {
      TColumnX* Column =
          ColumnOfField(Grid, FieldPrefix + Items->FieldByName(QStringLiteral("GZField1"))->AsString().trimmed());
      if (!Column || Column->Index() < From || Column->Index() >= From + Count) continue;
      const bool Shown = Items->FieldByName(QStringLiteral("SHowStu"))->AsInteger() == 0;
      Column->Title()->SetCaption((Earnings ? EarningsGroup : DeductionsGroup) +
                                  Items->FieldByName(QStringLiteral("GZName"))->AsString());
      Column->SetVisible(Shown);
      AnyShown = AnyShown || Shown;
    }
    if (!Earnings) Grid->Columns()->Items(DeductionTotal)->SetVisible(AnyShown);
  }
  return true;
}

void TfrmGZCount::ReadyGrid(const String& Month) {
  TitleItems(DBGridEh2, Month, QStringLiteral("A"), EmpEarningsFirst, EmpDeductionsFirst, EmpDeductionsTotal);
}

void TfrmGZCount::ReadyGrid3(const String& Month) {
  if (!TitleItems(DBGridEh3, Month, String(), DetailEarningsFirst, DetailDeductionsFirst, DetailDeductionsTotal))
    return;
  const Integer Mode = Settings().GPrintDays;
  const auto Col = [this](Integer Index) { return DBGridEh3->Columns()->Items(Index); };
  Col(7)->SetVisible(Mode >= 1 && Mode <= 3);
  Col(8)->SetVisible(Mode == 2);
  Col(9)->SetVisible(Mode >= 1 && Mode <= 3);
  Col(7)->Title()->SetCaption(Mode == 3 ? QStringLiteral("出勤数") : QStringLiteral("出勤天数"));
  Col(8)->Title()->SetCaption(QStringLiteral("出勤小时"));
  Col(9)->Title()->SetCaption(QStringLiteral("工资标准"));
}

void TfrmGZCount::chkListClick() {
  QStringList Ticked;
  for (Integer i = 0; i < chkList->Items()->Count(); ++i)
    if (chkList->Checked(i)) Ticked << chkList->Items()->Strings(i);
  for (TADODataSet* DataSet : {dsDetail, dsDepart, dsEmp}) DataSet->Close();
  if (Ticked.isEmpty()) return;
  ReadyGrid(Ticked.first());
  ReadyGrid3(Ticked.first());

  String Months;
  for (const String& Month : Ticked) Months += QStringLiteral(" Or GZMonth=") + QuotedStr(Month);
  const String Condition = QStringLiteral("(") + Months.mid(3) + QStringLiteral(")");
  const String DetailFilter =
      FilterTerm("DepartName", cmbDepart) + FilterTerm("EmpName", cmbEmp) + FilterTerm("EmpCode", cmbEmpCode);
  const String EmpFilter =
      FilterTerm("DepartName", cmbDepart1) + FilterTerm("EmpName", cmbEmp1) + FilterTerm("EmpCode", cmbEmpCode1);
  dsDetail->SetCommandText(QStringLiteral("Select * from TGZ where ") + Condition + DetailFilter +
                           QStringLiteral(" order by GZMonth,DepartName,EmpName"));
  dsDepart->SetCommandText(QStringLiteral("Select DepartName,Sum(GZTotal) as GZTotal from TGZ where ") + Condition +
                           QStringLiteral(" Group by DepartName Order by DepartName"));
  dsEmp->SetCommandText(EmployeeSums() + QStringLiteral(" from TGZ where ") + Condition + EmpFilter +
                        QStringLiteral(" Group by DepartName,EmpCode,EmpName Order by DepartName,EmpCode,EmpName"));
  try {
    for (TADODataSet* DataSet : {dsDetail, dsDepart, dsEmp}) DataSet->Open();
  } catch (const Exception&) {
    // A view that cannot be read stays closed, and so do the ones after it.
  }
}

void TfrmGZCount::GridTitleClick(TDBGridX* Grid, TColumnX* Column) {
  auto* DataSet = dynamic_cast<TADODataSet*>(Grid->DataSource()->DataSet());
  if (!DataSet || !DataSet->Active()) return;
  TPubSettings& S = Settings();
  S.GSortAscending = !S.GSortAscending;
  for (Integer i = 0; i < Grid->Columns()->Count(); ++i) Grid->Columns()->Items(i)->Title()->SetSortMarker(smNoneX);
  Column->Title()->SetSortMarker(S.GSortAscending ? smDownX : smUpX);
  try {
    DataSet->SetSort(Column->FieldName() + (S.GSortAscending ? QStringLiteral(" ASC") : QStringLiteral(" DESC")));
  } catch (const Exception&) {
    // A column without a sortable field keeps the order.
  }
}

TDBGridX* TfrmGZCount::CurrentGrid() const {
  const TTabSheet* Page = PageControl1->ActivePage();
  return Page == TabSheet2 ? DBGridEh1 : Page == TabSheet3 ? DBGridEh2 : DBGridEh3;
}

void TfrmGZCount::Button1Click() {
  TDBGridX* Grid = CurrentGrid();
  Grid->SetEnabled(false);
  try {
    ExportGridToExcelGrouped(Caption(), Grid);
  } catch (const Exception&) {
    // The view stays as it is; a workbook that cannot be written is not the window's concern.
  }
  Grid->SetEnabled(true);
}

void TfrmGZCount::Button7Click() {
  PrintDBGridEh1->SetDBGridX(CurrentGrid());
  PrintDBGridEh1->Preview();
}

void ShowGZCount() {
  TfrmGZCount Form(nullptr);
  Form.ReadyMonth();
  Form.ShowModal();
}
