#include "app/uExcelLoadIn.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "dbgrid/DBGridX.h"
#include "platform/office/SheetDataSet.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

namespace {

// Columns of the mapping grid; the key and required marks stay hidden.
const QStringList MappingColumns{QStringLiteral("指标名称"), QStringLiteral("字段名称"), QStringLiteral("指标类型"),
                                 QStringLiteral("唯一性关键字段"), QStringLiteral("必填字段"),
                                 QStringLiteral("对应Excel列")};
constexpr Integer CaptionColumn = 0, FieldColumn = 1, SheetColumnColumn = 5;
constexpr Integer SheetColumnWidthLimit = 100;

TDBGridX* DataGrid(TWinControl* Parent, const String& Name, TSheetDataSet* DataSet, Integer Left, Integer Top,
                   Integer Width, Integer Height) {
  auto* Source = new TDataSource(GetParentForm(Parent));
  Source->SetDataSet(DataSet);
  auto* Grid = PlaceControl<TDBGridX>(Parent, Name, Left, Top, Width, Height);
  Grid->SetDataSource(Source);
  Grid->SetReadOnly(true);
  return Grid;
}

}  // namespace

TfrmExcelLoadIn::TfrmExcelLoadIn(TComponent* AOwner, const String& Month, const QList<TImportField>& Fields)
    : TForm(AOwner), FMonth(Month), FFields(Fields) {
  SetName(QStringLiteral("frmExcelLoadIn"));
  SetCaption(QStringLiteral("Excel数据导入工具"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(760);
  SetClientHeight(560);
  dsSheet = new TSheetDataSet(this);
  dsMapping = new TSheetDataSet(this);

  auto* Page = PlaceControl<TGroupBox>(this, QStringLiteral("grpSource"), 8, 8, 744, 250);
  Page->SetCaption(QStringLiteral("请选择用于导入的Excel文件"));
  auto* TablesLabel = PlaceControl<TLabel>(Page, QStringLiteral("lblTables"), 12, 24, 150, 18);
  TablesLabel->SetCaption(QStringLiteral("Excel文件所包含表名称"));
  cmbTables = PlaceControl<TComboBox>(Page, QStringLiteral("cmbTables"), 168, 20, 220, 24);
  cmbTables->SetStyle(csDropDownList);
  cmbTables->SetEnabled(false);
  cmbTables->OnSelect = [this](TObject*) { cmbTablesClick(); };
  DBGridEh1 = DataGrid(Page, QStringLiteral("DBGridEh1"), dsSheet, 12, 52, 720, 186);

  grpMapping = PlaceControl<TGroupBox>(this, QStringLiteral("grpMapping"), 8, 264, 744, 246);
  grpMapping->SetCaption(QStringLiteral("字段对应设置"));
  Grid = DataGrid(grpMapping, QStringLiteral("Grid"), dsMapping, 12, 22, 620, 212);
  Button1 = PlaceControl<TButton>(grpMapping, QStringLiteral("Button1"), 644, 22, 88, 28);
  Button1->SetCaption(QStringLiteral("对应设定"));
  Button1->OnClick = [this](TObject*) { Button1Click(); };
  pmColumns = new TPopupMenu(this);

  Button6 = PlaceControl<TButton>(this, QStringLiteral("Button6"), 360, 522, 140, 28);
  Button6->SetCaption(QStringLiteral("选择来源Excel数据"));
  Button6->OnClick = [this](TObject*) { Button6Click(); };
  Button4 = PlaceControl<TButton>(this, QStringLiteral("Button4"), 508, 522, 116, 28);
  Button4->SetCaption(QStringLiteral("导入数据"));
  Button4->SetEnabled(false);
  Button4->OnClick = [this](TObject*) { Button4Click(); };
  pbImport = PlaceControl<TProgressBar>(this, QStringLiteral("pbImport"), 8, 526, 240, 20);
  btnCancelImport = PlaceControl<TButton>(this, QStringLiteral("btnCancelImport"), 256, 522, 96, 28);
  btnCancelImport->SetCaption(QStringLiteral("取消导入"));
  btnCancelImport->SetEnabled(false);
  btnCancelImport->OnClick = [this](TObject*) { btnCancelImportClick(); };
  btnExit = PlaceControl<TButton>(this, QStringLiteral("btnExit"), 632, 522, 116, 28);
  btnExit->SetCaption(QStringLiteral("退出(&X)"));
  btnExit->SetCancel(true);
  btnExit->SetModalResult(mrCancel);

  cmdJSClick();
}

TfrmExcelLoadIn::~TfrmExcelLoadIn() = default;

void TfrmExcelLoadIn::cmdJSClick() {
  TSheetTable Rows;
  Rows.Columns = MappingColumns;
  for (const TImportField& Field : FFields)
    Rows.Rows << QStringList{Field.Caption, Field.FieldName, QStringLiteral("CHAR"), QStringLiteral("N"),
                             QStringLiteral("N"), String()};
  dsMapping->SetTable(Rows);
  dsMapping->Open();
  if (Grid->Columns()->Count() == MappingColumns.size()) {
    Grid->Columns()->Items(3)->SetVisible(false);
    Grid->Columns()->Items(4)->SetVisible(false);
  }
  RebuildColumnMenu();
}

void TfrmExcelLoadIn::RebuildColumnMenu() {
  pmColumns->Items()->Clear();
  if (!dsSheet->Active()) return;
  for (const String& Column : dsSheet->Table().Columns) {
    auto* Item = new TMenuItem(this);
    Item->SetCaption(Column);
    Item->OnClick = [this, Column](TObject*) { MapColumnClick(Column); };
    pmColumns->Items()->Add(Item);
  }
}

void TfrmExcelLoadIn::Button6Click() {
  TFileDialogRequest Request;
  Request.Title = QStringLiteral("选择用来导入的数据文件");
  Request.Filter = QStringLiteral("Excel 数据文件(*.xls)|*.xls");
  Request.DefaultExt = QStringLiteral("XLS");
  if (!TDialogs::ChooseFile(Request)) return;
  OpenWorkbook(Request.FileName);
}

bool TfrmExcelLoadIn::OpenWorkbook(const String& FileName) {
  dsSheet->Close();
  FWorkbook.reset();
  try {
    FWorkbook = std::make_unique<TXlsWorkbook>(FileName);
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("确认选择的数据文件是正确的数据文件！"));
    return false;
  }
  try {
    cmbTables->Items()->Clear();
    for (const String& Name : FWorkbook->TableNames()) cmbTables->Items()->Add(Name);
    cmbTables->SetItemIndex(0);
    ShowSheet(cmbTables->Text());
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("读取数据表发生错误！\r") + E.Message());
    return false;
  }
  cmbTables->SetEnabled(true);
  cmdJSClick();
  Button2Click();
  Button4->SetEnabled(true);
  return true;
}

void TfrmExcelLoadIn::ShowSheet(const String& Name) {
  dsSheet->SetTable(FWorkbook->ReadTable(Name));
  dsSheet->Open();
  for (Integer i = 0; i < DBGridEh1->Columns()->Count(); ++i) {
    TColumnX* Column = DBGridEh1->Columns()->Items(i);
    if (Column->Width() > SheetColumnWidthLimit) Column->SetWidth(SheetColumnWidthLimit);
  }
}

void TfrmExcelLoadIn::cmbTablesClick() {
  if (!FWorkbook) return;
  try {
    ShowSheet(cmbTables->Text());
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("读取数据表发生错误！\r") + E.Message());
    return;
  }
  RebuildColumnMenu();
}

void TfrmExcelLoadIn::Button2Click() {
  if (!dsSheet->Active()) return;
  const TSheetTable& Sheet = dsSheet->Table();
  for (dsMapping->First(); !dsMapping->Eof(); dsMapping->Next()) {
    const Integer Found = FindSheetColumn(Sheet, dsMapping->Fields()->Fields(CaptionColumn)->AsString());
    if (Found < 0) continue;
    dsMapping->Edit();
    dsMapping->Fields()->Fields(SheetColumnColumn)->SetAsString(Sheet.Columns[Found]);
    dsMapping->Post();
  }
  dsMapping->First();
}

void TfrmExcelLoadIn::Button1Click() {
  if (pmColumns->Items()->Count() == 0) {
    ShowAppMessage(QStringLiteral("请首先选择源Excel数据文件，然后再指定列对应关系。"));
    return;
  }
  const TPoint At = Button1->ClientToScreen(TPoint{0, 0});
  pmColumns->Popup(At.X, At.Y);
}

void TfrmExcelLoadIn::MapColumnClick(const String& SheetColumn) {
  if (!dsMapping->Active() || dsMapping->IsEmpty()) return;
  dsMapping->Edit();
  dsMapping->Fields()->Fields(SheetColumnColumn)->SetAsString(SheetColumn);
  dsMapping->Post();
}

QList<TImportMapping> TfrmExcelLoadIn::Mapping() const {
  QList<TImportMapping> Result;
  if (!dsMapping->Active()) return Result;
  const TBookmarkStr Place = dsMapping->Bookmark();
  for (dsMapping->First(); !dsMapping->Eof(); dsMapping->Next())
    Result << TImportMapping{dsMapping->Fields()->Fields(FieldColumn)->AsString(),
                             dsMapping->Fields()->Fields(SheetColumnColumn)->AsString()};
  dsMapping->SetBookmark(Place);
  return Result;
}

void TfrmExcelLoadIn::Button4Click() {
  if (!dsSheet->Active()) return;
  FCancelImport = false;
  Button4->SetEnabled(false);
  btnCancelImport->SetEnabled(true);
  pbImport->SetPosition(0);
  const TImportRun Run = ImportSheetRows(dsSheet->Table(), Mapping(), FMonth, [this](Integer Done, Integer Count) {
    pbImport->SetMax(Count);
    pbImport->SetPosition(Done);
    Application->ProcessMessages();
    return !FCancelImport;
  });
  btnCancelImport->SetEnabled(false);
  if (Run.Cancelled || !Run.Failure.isEmpty()) {
    pbImport->SetPosition(0);
    Button4->SetEnabled(true);
    ShowAppMessage(Run.Cancelled ? QStringLiteral("导入已取消，没有导入任何数据。")
                                 : QStringLiteral("导入数据失败，没有导入任何数据：") + Run.Failure);
    return;
  }
  String TotalsFailure;
  try {
    RecomputeMonthTotals(FMonth);
  } catch (const Exception& E) {
    TotalsFailure = E.Message();
  }
  if (Run.Skipped.isEmpty() && TotalsFailure.isEmpty()) {
    ShowAppMessage(QStringLiteral("导入数据结束！"));
  } else {
    QStringList Lines{QStringLiteral("导入数据结束：导入 %1 条，跳过 %2 条。").arg(Run.Imported).arg(Run.Skipped.size())};
    for (const TImportRowFailure& Row : Run.Skipped) Lines << QStringLiteral("第 %1 行：%2").arg(Row.SheetRow).arg(Row.Reason);
    if (!TotalsFailure.isEmpty()) Lines << QStringLiteral("重新计算工资合计失败：") + TotalsFailure;
    ShowAppMessage(Lines.join(u'\n'));
  }
}

void TfrmExcelLoadIn::btnCancelImportClick() { FCancelImport = true; }

void ShowExcelLoadIn(const String& Month, const QList<TImportField>& Fields) {
  TfrmExcelLoadIn Form(nullptr, Month, Fields);
  Form.ShowModal();
}
