#include "app/uGSBaseSet.h"
#include "app/ExcelExport.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "app/MaskedNumber.h"
#include "app/uDM.h"
#include "app/uGSBaseSetEdit.h"
#include "app/uPreview.h"
#include "app/uPub.h"
#include "dbgrid/DBGridX.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

namespace {

constexpr Integer MaxBrackets = 9;

}  // namespace

TfrmGSBaseSet::TfrmGSBaseSet(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmGSBaseSet"));
  SetCaption(QStringLiteral("个税计算规则设置"));
  SetPosition(poScreenCenter);
  SetClientWidth(560);
  SetClientHeight(360);

  auto* LimitLabel = PlaceControl<TLabel>(this, QStringLiteral("lblGSLimit"), 12, 16, 100, 16);
  LimitLabel->SetCaption(QStringLiteral("个税不征收上限"));
  EditGSLimit = PlaceControl<TMaskEdit>(this, QStringLiteral("EditGSLimit"), 116, 12, 110, 22);
  EditGSLimit->SetEditMask(QStringLiteral("9999999.99;1;_"));
  EditGSLimit->SetMaxLength(10);
  EditGSLimit->OnExit = [this](TObject*) { EditGSLimitExit(); };

  dsGSModel = new TADODataSet(this);
  dsGSModel->SetName(QStringLiteral("dsGSModel"));
  dsGSModel->SetConnection(DM->ADOLocal);
  dsGSModel->SetCursorType(ctStatic);
  dsGSModel->SetLockType(ltOptimistic);
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(dsGSModel);
  DBGridEh1 = PlaceControl<TDBGridX>(this, QStringLiteral("DBGridEh1"), 8, 44, 544, 260);
  DBGridEh1->SetDataSource(DataSource1);
  DBGridEh1->SetReadOnly(true);
  DBGridEh1->SetOptions(DBGridEh1->Options() + TDBGridOptions{dgRowSelect, dgAlwaysShowSelection} -
                        TDBGridOptions{dgEditing});
  for (const auto& [Field, Title, Width, Shown] :
       {std::tuple{"ClassIdx", "等级", 50, true}, std::tuple{"YNSTotal", "全月应纳税所得额<=", 150, true},
        std::tuple{"YNSTotalNJ", "", 100, false}, std::tuple{"SLRate", "税率(%)", 90, true},
        std::tuple{"SQKCS", "速算扣除数", 120, true}}) {
    TColumnX* Column = DBGridEh1->Columns()->Add();
    Column->SetFieldName(QString::fromUtf8(Field));
    Column->Title()->SetCaption(QString::fromUtf8(Title));
    Column->SetWidth(Width);
    Column->SetVisible(Shown);
  }
  DBGridEh1->OnDblClick = [this](TObject*) { cmdEditClick(); };

  const auto Command = [this](const String& Name, const String& Caption, Integer Left) {
    auto* Button = PlaceControl<TButton>(this, Name, Left, 318, 84, 28);
    Button->SetCaption(Caption);
    return Button;
  };
  cmdPrint = Command(QStringLiteral("cmdPrint"), QStringLiteral("打印明细表"), 8);
  cmdPrint->OnClick = [this](TObject*) { PreviewGrid(Caption(), DBGridEh1, dsGSModel); };
  cmdExcel = Command(QStringLiteral("cmdExcel"), QStringLiteral("发送Excel"), 98);
  cmdExcel->OnClick = [this](TObject*) { cmdExcelClick(); };
  cmdAdd = Command(QStringLiteral("cmdAdd"), QStringLiteral("新增(&A)"), 198);
  cmdAdd->OnClick = [this](TObject*) { cmdAddClick(); };
  cmdEdit = Command(QStringLiteral("cmdEdit"), QStringLiteral("修改(&E)"), 286);
  cmdEdit->OnClick = [this](TObject*) { cmdEditClick(); };
  cmdDelete = Command(QStringLiteral("cmdDelete"), QStringLiteral("删除(&D)"), 374);
  cmdDelete->OnClick = [this](TObject*) { cmdDeleteClick(); };
  cmdClose = Command(QStringLiteral("cmdClose"), QStringLiteral("关闭(&X)"), 468);
  cmdClose->SetCancel(true);
  cmdClose->SetModalResult(mrCancel);
}

void TfrmGSBaseSet::cmdExcelClick() {
  DBGridEh1->SetEnabled(false);
  try {
    ExportGridToXls(Caption(), DBGridEh1);
  } catch (const Exception&) {
    // The list stays as it is; a workbook that cannot be written is not the dialog's concern.
  }
  DBGridEh1->SetEnabled(true);
}

void TfrmGSBaseSet::ReadyData() {
  try {
    dsGSModel->Close();
    dsGSModel->SetCommandText(QStringLiteral("select * from TGSModel Order by ClassIdx"));
    dsGSModel->Open();
  } catch (const Exception&) {
    // The window still opens; the list stays empty.
  }
  TStringList Limit;
  DM->GetDataBySQLToItems(QStringLiteral("Select GSLimit from TPara"), &Limit, true);
  if (Limit.Count() > 0)
    EditGSLimit->SetText(AlignToNumberMask(Limit.Strings(0).trimmed(), EditGSLimit->EditMask()));
}

void TfrmGSBaseSet::EditGSLimitExit() {
  const String Limit = NormalizeNumText(EditGSLimit->Text());
  bool Numeric = false;
  Limit.toDouble(&Numeric);
  // Only a number goes into the statement: the text is spliced, not bound.
  if (!Numeric) return;
  try {
    DM->ADOLocal->ExecuteSql(QStringLiteral("Update TPara Set GSLimit=") + Limit);
  } catch (const Exception&) {
    // The threshold stays as stored; the next departure tries again.
  }
}

void TfrmGSBaseSet::cmdAddClick() {
  if (!dsGSModel->Active()) return;
  if (dsGSModel->RecordCount() >= MaxBrackets) {
    ShowAppMessage(QStringLiteral("个税等级最多只能设置9级！"));
    return;
  }
  EditGSModel(dsGSModel, gemAdd);
}

void TfrmGSBaseSet::cmdEditClick() {
  if (!dsGSModel->Active() || dsGSModel->IsEmpty()) return;
  EditGSModel(dsGSModel, gemEdit);
}

void TfrmGSBaseSet::cmdDeleteClick() {
  if (!dsGSModel->Active() || dsGSModel->IsEmpty()) {
    ShowAppMessage(QStringLiteral("没有可删除记录！"));
    return;
  }
  dsGSModel->Last();
  if (TDialogs::MessageBox(QStringLiteral("将删除最后1条，是否继续？"), Application->Title(), MB_YESNO | MB_ICONWARNING) !=
      IDYES)
    return;
  try {
    dsGSModel->Delete();
  } catch (const Exception&) {
    // The bracket stays; the list shows it.
  }
}

void ShowGSBaseSet() {
  TfrmGSBaseSet Form(nullptr);
  Form.ReadyData();
  Form.ShowModal();
}
