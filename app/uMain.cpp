#include "app/uMain.h"
#include "app/AmountColumns.h"
#include "app/AppMessages.h"
#include "app/About.h"
#include "app/AppSettings.h"
#include "app/HelpCommands.h"
#include "app/LoginPassword.h"
#include "app/PayItemSets.h"
#include "app/RecordColumns.h"
#include "app/SkinChoice.h"
#include "app/uDM.h"
#include "app/uParaSet.h"
#include "app/uPassSet.h"
#include "app/uPub.h"
#include "platform/db/SqlText.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Dialogs.h"
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <tuple>
#include <vector>

TfrmMainGZT* frmMainGZT = nullptr;

namespace {

template <class TControlClass>
TControlClass* Place(TWinControl* Parent, const String& Name, TAlign Align, Integer Size = 0) {
  auto* Control = new TControlClass(Parent);
  Control->SetName(Name);
  Control->SetParent(Parent);
  if (Align == alLeft || Align == alRight) Control->SetWidth(Size);
  if (Align == alTop || Align == alBottom) Control->SetHeight(Size);
  Control->SetAlign(Align);
  return Control;
}

TADODataSet* NewDataSet(TComponent* Owner, const String& Name, TADOLockType Lock) {
  auto* DataSet = new TADODataSet(Owner);
  DataSet->SetName(Name);
  DataSet->SetConnection(DM->ADOLocal);
  DataSet->SetCursorType(ctStatic);
  DataSet->SetLockType(Lock);
  return DataSet;
}

// The running number of a list: the row's position in the current order.
void AddSortIdxField(TDataSet* DataSet) {
  auto* Field = new TIntegerField(DataSet);
  Field->SetFieldName(QStringLiteral("SortIdx"));
  Field->SetFieldKind(fkCalculated);
  Field->SetDataSet(DataSet);
}

String FilterTerm(const char* Column, const String& Text) {
  if (Text.isEmpty()) return String();
  return QStringLiteral(" and %1 like ").arg(QLatin1String(Column)) + SqlLikeContains(Text);
}

}  // namespace

TfrmMainGZT::TfrmMainGZT(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmMainGZT"));
  SetBounds(0, 0, 1024, 700);
  SetWindowState(wsMaximized);
  for (size_t i = 0; i < RecordColumns().size(); ++i) {
    FColumnTitle[i] = RecordColumns()[i].Title;
    FColumnVisible[i] = RecordColumns()[i].Visible;
  }
  CreateDataSets();
  CreateReportComponents();
  CreateMenus();
  CreateToolBar();
  CreateMonthPanel();
  CreateDetailPanel();
  SkinData1 = new TSkinData(this);
  SkinData1->SetName(QStringLiteral("SkinData1"));
  SkinData1->Loaded();
  Timer1 = new TTimer(this);
  Timer1->SetName(QStringLiteral("Timer1"));
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1000);
  Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
  OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
  EndProcess = [] { Application->Terminate(); };
  FormCreate();
}

void TfrmMainGZT::CreateDataSets() {
  dsGZMonth = NewDataSet(this, QStringLiteral("dsGZMonth"), ltOptimistic);
  AddSortIdxField(dsGZMonth);
  dsGZMonth->OnCalcFields = [this](TDataSet* DataSet) { SortIdxCalcFields(DataSet); };
  dsGZMonth->AfterScroll = [this](TDataSet* DataSet) { dsGZMonthAfterScroll(DataSet); };
  dsGZDetail = NewDataSet(this, QStringLiteral("dsGZDetail"), ltBatchOptimistic);
  AddSortIdxField(dsGZDetail);
  dsGZDetail->OnCalcFields = [this](TDataSet* DataSet) { SortIdxCalcFields(DataSet); };
  dsGZDetail->AfterOpen = [this](TDataSet*) { SetFloatFormat(); };
  dsTmp = NewDataSet(this, QStringLiteral("dsTmp"), ltBatchOptimistic);
  dsTmp1 = NewDataSet(this, QStringLiteral("dsTmp1"), ltBatchOptimistic);
  ADOCommand1 = new TADOCommand(this);
  ADOCommand1->SetName(QStringLiteral("ADOCommand1"));
  ADOCommand1->SetConnection(DM->ADOLocal);
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(dsGZMonth);
  DataSource2 = new TDataSource(this);
  DataSource2->SetDataSet(dsGZDetail);
}

TMenuItem* TfrmMainGZT::MenuItem(TMenu* Menu, const String& Caption, TNotifyEvent Click) {
  auto* Item = new TMenuItem(this);
  Item->SetCaption(Caption);
  Item->OnClick = std::move(Click);
  Item->SetEnabled(bool(Item->OnClick));
  Menu->Items()->Add(Item);
  return Item;
}

void TfrmMainGZT::CreateMenus() {
  const auto Run = [this](void (TfrmMainGZT::*Handler)(TObject*)) {
    return TNotifyEvent([this, Handler](TObject* Sender) { (this->*Handler)(Sender); });
  };
  pmMonth = new TPopupMenu(this);
  MenuItem(pmMonth, QStringLiteral("增加月度"), Run(&TfrmMainGZT::Button1Click));
  MenuItem(pmMonth, QStringLiteral("修改月度"), Run(&TfrmMainGZT::Button2Click));
  MenuItem(pmMonth, QStringLiteral("删除月度"), Run(&TfrmMainGZT::Button3Click));

  pmDetail = new TPopupMenu(this);
  MenuItem(pmDetail, QStringLiteral("增加明细"), Run(&TfrmMainGZT::Button4Click));
  MenuItem(pmDetail, QStringLiteral("修改明细"), Run(&TfrmMainGZT::Button5Click));
  MenuItem(pmDetail, QStringLiteral("删除明细"), Run(&TfrmMainGZT::Button6Click));
  MenuItem(pmDetail, QStringLiteral("发送到&Excel"), Run(&TfrmMainGZT::Excel1Click));
  MenuItem(pmDetail, QStringLiteral("发送到Exce&l（临时文件方式）"), Run(&TfrmMainGZT::Excel2Click));
  MenuItem(pmDetail, QStringLiteral("批量删除-先鼠标拖选"), Run(&TfrmMainGZT::N4Click));
  MenuItem(pmDetail, QStringLiteral("列表打印-打印选定行"), Run(&TfrmMainGZT::N6Click));

  pmPrint = new TPopupMenu(this);
  MenuItem(pmPrint, QStringLiteral("打印明细表"), Run(&TfrmMainGZT::Button7Click));
  MenuItem(pmPrint, QStringLiteral("打印工资条"), Run(&TfrmMainGZT::N7Click));
  MenuItem(pmPrint, QStringLiteral("POS工资条"), Run(&TfrmMainGZT::MenuItem3Click));

  pmSettings = new TPopupMenu(this);
  MenuItem(pmSettings, QStringLiteral("基本参数设置"), Run(&TfrmMainGZT::ParaSetClick));
  MenuItem(pmSettings, QStringLiteral("设置登陆密码"), [](TObject*) { ShowPassSet(); });
  MenuItem(pmSettings, QStringLiteral("职务字典"), Run(&TfrmMainGZT::N30Click));
  MenuItem(pmSettings, QStringLiteral("个人所得税规则"), Run(&TfrmMainGZT::N31Click));

  pmDatabase = new TPopupMenu(this);
  MenuItem1 = MenuItem(pmDatabase, QStringLiteral("数据库备份"), Run(&TfrmMainGZT::MenuItem1Click));
  MenuItem2 = MenuItem(pmDatabase, QStringLiteral("数据库还原"), Run(&TfrmMainGZT::MenuItem2Click));
  N2 = MenuItem(pmDatabase, QStringLiteral("数据清除"), Run(&TfrmMainGZT::N2Click));

  pmExport = new TPopupMenu(this);
  MenuItem(pmExport, QStringLiteral("发送Excel2010以下版本(快速)"), Run(&TfrmMainGZT::Excel20101Click));
  MenuItem(pmExport, QStringLiteral("发送Excel （较慢）"), Run(&TfrmMainGZT::Excel3Click));

  pmHelp = new TPopupMenu(this);
  MenuItem(pmHelp, QStringLiteral("动画教程"), [](TObject*) { OpenTutorial(); });
  TMenuItem* Skins = MenuItem(pmHelp, QStringLiteral("界面风格"), nullptr);
  Skins->SetEnabled(true);
  Integer Number = 0;
  for (const char* Name : {"沙漠", "夜色", "蓝天", "绿草", "柔和旧苹果界面"}) {
    auto* Item = new TMenuItem(this);
    Item->SetCaption(QString::fromUtf8(Name));
    Item->SetTag(++Number);
    Item->OnClick = [this, Item](TObject*) { SkinMenuClick(Item->Tag()); };
    Skins->Add(Item);
  }
  MenuItem(pmHelp, QStringLiteral("关于.."), [](TObject*) { ShowAbout(); });
}

void TfrmMainGZT::CreateToolBar() {
  ToolBar1 = Place<TToolBar>(this, QStringLiteral("ToolBar1"), alTop, 30);
  ToolBar1->SetShowCaptions(true);
  ToolBar1->SetButtonHeight(28);
  const auto Button = [this](const String& Caption, TPopupMenu* Menu, TNotifyEvent Click) {
    auto* Tool = new TToolButton(this);
    Tool->SetCaption(Caption);
    Tool->SetParent(ToolBar1);
    Tool->SetDropdownMenu(Menu);
    Tool->OnClick = std::move(Click);
    Tool->SetEnabled(Menu || Tool->OnClick);
    return Tool;
  };
  Button(QStringLiteral("工资编辑与打印"), pmPrint, nullptr);
  Button(QStringLiteral("工资统计"), nullptr, [this](TObject* Sender) { ToolButton10Click(Sender); });
  Button(QStringLiteral("工资项目参数设置"), nullptr, [this](TObject* Sender) { ToolButton21Click(Sender); });
  Button(QStringLiteral("系统参数设置"), pmSettings, nullptr);
  Button(QStringLiteral("发送Excel"), pmExport, nullptr);
  Button(QStringLiteral("从Excel导入"), nullptr, [this](TObject* Sender) { ToolButton7Click(Sender); });
  Button(QStringLiteral("数据库维护"), pmDatabase, nullptr);
  Button(QStringLiteral("在线升级"), nullptr, [](TObject*) { StartUpdater(); });
  Button(QStringLiteral("帮助"), pmHelp, nullptr);
  Button(QStringLiteral("关闭"), nullptr, [this](TObject* Sender) { ToolButton2Click(Sender); });
  ToolBar1->ArrangeButtons();
}

TButton* TfrmMainGZT::CommandButton(TWinControl* Parent, const String& Name, const String& Caption,
                                     TNotifyEvent Click) {
  auto* Button = new TButton(this);
  Button->SetName(Name);
  Button->SetParent(Parent);
  Button->SetCaption(Caption);
  Button->OnClick = std::move(Click);
  Button->SetEnabled(bool(Button->OnClick));
  return Button;
}

void TfrmMainGZT::CreateMonthPanel() {
  pnlMonths = Place<TPanel>(this, QStringLiteral("pnlMonths"), alLeft, 210);
  pnlMonths->SetBevelOuter(bvNone);
  grpMonths = Place<TGroupBox>(pnlMonths, QStringLiteral("grpMonths"), alClient);
  grpMonths->SetCaption(QStringLiteral("工资发放月度"));
  auto* Buttons = Place<TPanel>(grpMonths, QStringLiteral("pnlMonthButtons"), alTop, 34);
  Buttons->SetBevelOuter(bvNone);
  Button1 = CommandButton(Buttons, QStringLiteral("Button1"), QStringLiteral("增加月度"),
                          [this](TObject* Sender) { Button1Click(Sender); });
  Button1->SetBounds(4, 4, 70, 26);
  Button2 = CommandButton(Buttons, QStringLiteral("Button2"), QStringLiteral("修改"),
                          [this](TObject* Sender) { Button2Click(Sender); });
  Button2->SetBounds(78, 4, 56, 26);
  Button3 = CommandButton(Buttons, QStringLiteral("Button3"), QStringLiteral("删除"),
                          [this](TObject* Sender) { Button3Click(Sender); });
  Button3->SetBounds(138, 4, 56, 26);
  DBGridEh1 = Place<TDBGridX>(grpMonths, QStringLiteral("DBGridEh1"), alClient);
  DBGridEh1->SetDataSource(DataSource1);
  DBGridEh1->SetReadOnly(true);
  DBGridEh1->SetOptions(DBGridEh1->Options() + TDBGridOptions{dgRowSelect, dgAlwaysShowSelection} -
                        TDBGridOptions{dgEditing});
  DBGridEh1->SetPopupMenu(pmMonth);
  for (const auto& [Field, Title, Width] : {std::tuple{"SortIdx", "编号", 40}, std::tuple{"GZMonth", "发放月度", 120}}) {
    TColumnX* Column = DBGridEh1->Columns()->Add();
    Column->SetFieldName(QString::fromUtf8(Field));
    Column->Title()->SetCaption(QString::fromUtf8(Title));
    Column->SetWidth(Width);
  }
  WidenTo(DBGridEh1->Columns()->Items(1), MonthColumnWidth(DBGridEh1->Columns()->Items(1)));
  DBGridEh1->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { FSavedSort.clear(); };
  Splitter1 = Place<TSplitter>(this, QStringLiteral("Splitter1"), alLeft, 4);
  Splitter1->SetLeft(pnlMonths->Width());
}

void TfrmMainGZT::CreateDetailPanel() {
  grpDetail = Place<TGroupBox>(this, QStringLiteral("grpDetail"), alClient);
  grpDetail->SetCaption(QStringLiteral("月度工资发放明细表"));

  pnlFilter = Place<TPanel>(grpDetail, QStringLiteral("pnlFilter"), alTop, 34);
  pnlFilter->SetBevelOuter(bvNone);
  Integer Left = 6;
  const auto Filter = [this, &Left](const String& Name, const String& Caption) {
    auto* Label = new TLabel(this);
    Label->SetParent(pnlFilter);
    Label->SetCaption(Caption);
    Label->SetBounds(Left, 9, 70, 18);
    Left += 70;
    auto* Box = new TComboBox(this);
    Box->SetName(Name);
    Box->SetParent(pnlFilter);
    Box->SetBounds(Left, 5, 130, 24);
    Box->SetDropDownCount(20);
    Box->OnSelect = [this](TObject*) { dsGZMonthAfterScroll(dsGZMonth); };
    Box->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
      if (Key == VK_RETURN) dsGZMonthAfterScroll(dsGZMonth);
    };
    Left += 140;
    return Box;
  };
  cmbDepart = Filter(QStringLiteral("cmbDepart"), QStringLiteral("部门："));
  cmbName = Filter(QStringLiteral("cmbName"), QStringLiteral("姓名："));
  cmbEmpCode = Filter(QStringLiteral("cmbEmpCode"), QStringLiteral("职员编码："));
  btnClearFilter = CommandButton(pnlFilter, QStringLiteral("btnClearFilter"), QStringLiteral("清除条件"),
                                 [this](TObject*) {
                                   cmbDepart->SetText(String());
                                   cmbName->SetText(String());
                                   cmbEmpCode->SetText(String());
                                   dsGZMonthAfterScroll(dsGZMonth);
                                 });
  btnClearFilter->SetBounds(Left, 4, 80, 26);

  pnlCommands = Place<TPanel>(grpDetail, QStringLiteral("pnlCommands"), alBottom, 36);
  pnlCommands->SetBevelOuter(bvNone);
  Integer At = 4;
  const auto Command = [this, &At](const String& Name, const String& Caption, Integer Width, TNotifyEvent Click) {
    TButton* Button = CommandButton(pnlCommands, Name, Caption, std::move(Click));
    Button->SetBounds(At, 5, Width, 26);
    At += Width + 4;
    return Button;
  };
  Button4 = Command(QStringLiteral("Button4"), QStringLiteral("增加明细"), 72,
                    [this](TObject* Sender) { Button4Click(Sender); });
  Button5 = Command(QStringLiteral("Button5"), QStringLiteral("修改明细"), 72,
                    [this](TObject* Sender) { Button5Click(Sender); });
  Button6 = Command(QStringLiteral("Button6"), QStringLiteral("删除明细"), 72,
                    [this](TObject* Sender) { Button6Click(Sender); });
  Button7 = Command(QStringLiteral("Button7"), QStringLiteral("打印明细表"), 84,
                    [this](TObject* Sender) { Button7Click(Sender); });
  Button8 = Command(QStringLiteral("Button8"), QStringLiteral("打印工资条"), 84,
                    [this](TObject* Sender) { Button8Click(Sender); });
  Button9 = Command(QStringLiteral("Button9"), QStringLiteral("月度数据复制"), 96,
                    [this](TObject* Sender) { Button9Click(Sender); });
  Button10 = Command(QStringLiteral("Button10"), QStringLiteral("职员数据复制"), 96,
                     [this](TObject* Sender) { Button10Click(Sender); });
  Button11 = Command(QStringLiteral("Button11"), QStringLiteral("POS工资条"), 84,
                     [this](TObject* Sender) { Button14Click(Sender); });
  Button12 = Command(QStringLiteral("Button12"), QStringLiteral("生成电子工资条并EMail"), 150,
                     [this](TObject* Sender) { Button13Click(Sender); });

  CreateRecordGrid();
  ListBox1 = new TListBox(this);
  ListBox1->SetName(QStringLiteral("ListBox1"));
  ListBox1->SetParent(grpDetail);
  ListBox1->SetVisible(false);
}

void TfrmMainGZT::CreateRecordGrid() {
  DBGridEh2 = Place<TDBGridX>(grpDetail, QStringLiteral("DBGridEh2"), alClient);
  DBGridEh2->SetDataSource(DataSource2);
  DBGridEh2->SetReadOnly(true);
  DBGridEh2->SetOptions(DBGridEh2->Options() + TDBGridOptions{dgRowSelect, dgMultiSelect, dgAlwaysShowSelection} -
                        TDBGridOptions{dgEditing});
  DBGridEh2->SetUseMultiTitle(true);
  DBGridEh2->SetRowHeight(24);
  DBGridEh2->SetRowSizingAllowed(true);
  DBGridEh2->SetFooterRowCount(1);
  DBGridEh2->SumList()->SetActive(true);
  DBGridEh2->SetPopupMenu(pmDetail);
  const std::vector<TRecordColumn>& Layout = RecordColumns();
  for (size_t i = 0; i < Layout.size(); ++i) {
    TColumnX* Column = DBGridEh2->Columns()->Add();
    Column->SetFieldName(Layout[i].FieldName);
    Column->Title()->SetCaption(Layout[i].Title);
    Column->SetVisible(Layout[i].Visible);
    Column->SetWidth(Layout[i].Width);
  }
  const auto Col = [this](Integer Index) { return DBGridEh2->Columns()->Items(Index); };
  Col(1)->Footer()->SetValueType(fvtStaticText);
  Col(1)->Footer()->SetValue(QStringLiteral("合计"));
  Col(1)->Footer()->SetAlignment(taCenter);
  Col(5)->Footer()->SetValueType(fvtCount);
  Col(5)->Footer()->SetDisplayFormat(QStringLiteral("0条"));
  Col(7)->SetDisplayFormat(QStringLiteral("0.00"));
  Col(7)->Footer()->SetValueType(fvtSum);
  Col(7)->Footer()->SetDisplayFormat(QStringLiteral("0.0"));
  Col(8)->SetDisplayFormat(QStringLiteral("0.0"));
  for (Integer i = FirstEarningsColumn; i <= LastAmountColumn; ++i) Col(i)->Footer()->SetValueType(fvtSum);
  for (Integer i = FirstAmountColumn; i <= LastAmountColumn; ++i) WidenTo(Col(i), AmountColumnWidth(Col(i)));
  WidenTo(Col(2), MonthColumnWidth(Col(2)));
  Col(62)->SetDisplayFormat(QStringLiteral("yy-MM-dd hh:nn"));
  DBGridEh2->OnTitleClick = [this](TColumnX* Column) { DBGridEh2TitleClick(Column); };
  DBGridEh2->OnDblClick = [this](TObject* Sender) { Button5Click(Sender); };
  DBGridEh2->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState) {
    if (Key == VK_RETURN) Button5Click(Sender);
  };
}

void TfrmMainGZT::FormCreate() {
  TPubSettings& S = Settings();
  S.GAppPath = ProgramFolder();
  S.GTopPos = 2;
  ReadyPara();
  SetCaption(S.GBrand + QStringLiteral("工资条制作打印软件"));
  Application->SetTitle(Caption());
  S.GLogPass.clear();
  StructUpdate();
  if (LoadRegPara()) SetFloatFormat();
  ReadyMonth();
  try {
    SkinData1->SetSkinFile(ResolvePath(S.GAppPath, QStringLiteral("RPT/Skin.Skn")));
    SkinData1->SetActive(false);
    SkinData1->SetActive(true);
  } catch (const Exception&) {
  }
  FFirstActivation = true;
  FillFilterLists();
}

void TfrmMainGZT::ParaSetClick(TObject*) {
  ShowParaSet();
  if (LoadRegPara()) SetFloatFormat();
  dsGZMonthAfterScroll(dsGZMonth);
}

void TfrmMainGZT::SkinMenuClick(Integer Number) { ChooseSkin(Number, SkinData1); }

void TfrmMainGZT::FillFilterLists() {
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct DepartName from TGZ order by DepartName"),
                          cmbDepart->Items(), true);
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct EmpName from TGZ order by EmpName"), cmbName->Items(),
                          true);
  cmbDepart->SetText(String());
  cmbName->SetText(String());
}

void TfrmMainGZT::SortIdxCalcFields(TDataSet* DataSet) {
  DataSet->FieldByName(QStringLiteral("SortIdx"))->SetAsInteger(std::abs(DataSet->RecNo()));
}

void TfrmMainGZT::ReadyMonth() {
  try {
    dsGZMonth->Close();
    dsGZMonth->SetCommandText(QStringLiteral("select * from  TGZMonth Order by ID Desc"));
    dsGZMonth->Open();
  } catch (const Exception&) {
  }
}

String TfrmMainGZT::CurrentMonth() const {
  if (!dsGZMonth->Active() || dsGZMonth->IsEmpty()) return String();
  return dsGZMonth->FieldByName(QStringLiteral("GZMonth"))->AsString();
}

void TfrmMainGZT::dsGZMonthAfterScroll(TDataSet*) {
  const String Month = CurrentMonth();
  ReadyGZList(Month);
  DM->GetDataBySQLToItems(
      QStringLiteral("Select Distinct EmpName from TGZ where GZMonth=") + QuotedStr(Month) + QStringLiteral(" order by EmpName"),
      cmbName->Items(), true);
  // Every change of the records comes through here, so a department entered since the start
  // is offered at once; the text typed in the box stays.
  const String Department = cmbDepart->Text();
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct DepartName from TGZ order by DepartName"),
                          cmbDepart->Items(), true);
  if (cmbDepart->Text() != Department) cmbDepart->SetText(Department);
}

String TfrmMainGZT::DetailFilter() const {
  return FilterTerm("DepartName", cmbDepart->Text()) + FilterTerm("EmpName", cmbName->Text()) +
         FilterTerm("EmpCode", cmbEmpCode->Text());
}

bool TfrmMainGZT::ReadyGZList(const String& Month) {
  ReadyGrid(Month);
  try {
    dsGZDetail->Close();
    dsGZDetail->SetCommandText(QStringLiteral("Select * from TGZ where GZMonth=") + QuotedStr(Month) + DetailFilter() +
                               QStringLiteral(" order by DepartName,EmpName"));
    // Rows already unmarked are left alone: rewriting every row of the month on each visit
    // would cost a written transaction each time the month is shown.
    DM->ADOLocal->ExecuteSql(QStringLiteral("Update TGZ Set SelectStu=0 where GZMonth=") + QuotedStr(Month) +
                             QStringLiteral(" and SelectStu is not 0"));
    dsGZDetail->Open();
  } catch (const Exception&) {
    return false;
  }
  grpDetail->SetCaption(QStringLiteral("月度[") + Month + QStringLiteral("]工资发放明细表"));
  return true;
}

void TfrmMainGZT::ReadyGrid(const String& Month) {
  for (const bool Earnings : {true, false}) {
    const String Type = Earnings ? QStringLiteral("0") : QStringLiteral("1");
    const String Group = Earnings ? QStringLiteral("应发工资|") : QStringLiteral("应扣/代扣工资|");
    const Integer First = Earnings ? FirstEarningsColumn : FirstDeductionsColumn;
    const Integer Count = Earnings ? 30 : 15;
    try {
      for (const String& Owner : {Month, QStringLiteral("BASE")}) {
        dsTmp->Close();
        dsTmp->SetCommandText(QStringLiteral("Select * from TGZSet where GZType=") + Type + QStringLiteral(" and GZMonth=") +
                              QuotedStr(Owner) + QStringLiteral(" Order by SortIDx"));
        dsTmp->Open();
        if (!dsTmp->IsEmpty()) break;
      }
    } catch (const Exception&) {
      ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
      return;
    }
    // Each item titles the column of its own field; columns no item names stay hidden.
    for (Integer Col = First; Col < First + Count; ++Col) FColumnVisible[size_t(Col)] = false;
    bool AnyShown = false;
    for (dsTmp->First(); !dsTmp->Eof(); dsTmp->Next()) {
      const Integer Col = GetCol(dsTmp->FieldByName(QStringLiteral("GZField1"))->AsString().trimmed());
      if (Col < First || Col >= First + Count) continue;
      const bool Shown = dsTmp->FieldByName(QStringLiteral("ShowStu"))->AsInteger() == 0;
      FColumnTitle[size_t(Col)] = Group + dsTmp->FieldByName(QStringLiteral("GZName"))->AsString();
      FColumnVisible[size_t(Col)] = Shown;
      AnyShown = AnyShown || Shown;
    }
    if (!Earnings) FColumnVisible[KKTotalColumn] = AnyShown;
  }
  const Integer Mode = Settings().GPrintDays;
  FColumnVisible[7] = Mode >= 1 && Mode <= 3;
  FColumnVisible[8] = Mode == 2;
  FColumnVisible[9] = Mode >= 1 && Mode <= 3;
  FColumnTitle[7] = Mode == 3 ? QStringLiteral("出勤数") : QStringLiteral("出勤天数");
  FColumnTitle[8] = QStringLiteral("出勤小时");
  FColumnTitle[9] = QStringLiteral("工资标准");
  ApplyColumnLayout();
}

void TfrmMainGZT::ApplyColumnLayout() {
  TDBGridColumnsX* Columns = DBGridEh2->Columns();
  bool Reshaped = false;
  for (Integer i = 0; i < Columns->Count(); ++i)
    Reshaped = Reshaped || Columns->Items(i)->Visible() != FColumnVisible[size_t(i)];
  // Each shown or hidden column would lay the grid out anew: once for all of them.
  if (Reshaped) Columns->BeginUpdate();
  TScopeGuard OneLayout([Columns, Reshaped] {
    if (Reshaped) Columns->EndUpdate();
  });
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnX* Column = Columns->Items(i);
    Column->Title()->SetCaption(FColumnTitle[size_t(i)]);
    Column->SetVisible(FColumnVisible[size_t(i)]);
  }
}

void TfrmMainGZT::DBGridEh2TitleClick(TColumnX* Column) {
  TPubSettings& S = Settings();
  S.GSortAscending = !S.GSortAscending;
  for (Integer i = 0; i < DBGridEh2->Columns()->Count(); ++i)
    DBGridEh2->Columns()->Items(i)->Title()->SetSortMarker(smNoneX);
  Column->Title()->SetSortMarker(S.GSortAscending ? smDownX : smUpX);
  try {
    dsGZDetail->SetSort(Column->FieldName() + (S.GSortAscending ? QStringLiteral(" ASC") : QStringLiteral(" DESC")));
    FSavedSort = dsGZDetail->Sort();
  } catch (const Exception&) {
  }
}

void TfrmMainGZT::SetFloatFormat() {
  const String Format = AmountFormat();
  for (Integer i = FirstAmountColumn; i <= LastAmountColumn; ++i) {
    TColumnX* Column = DBGridEh2->Columns()->Items(i);
    Column->SetDisplayFormat(Format);
    if (Column->Footer()->ValueType() == fvtSum) Column->Footer()->SetDisplayFormat(Format);
  }
  if (!dsGZDetail->Active()) return;
  for (Integer i = 0; i < dsGZDetail->FieldCount(); ++i)
    if (auto* Field = dynamic_cast<TFloatField*>(dsGZDetail->Fields()->Fields(i))) Field->SetDisplayFormat(Format);
}

Integer TfrmMainGZT::GetCol(const String& FieldName) const {
  const std::vector<TRecordColumn>& Columns = RecordColumns();
  for (size_t i = 0; i < Columns.size(); ++i)
    if (Columns[i].FieldName.compare(FieldName, Qt::CaseInsensitive) == 0) return Integer(i);
  return -1;
}

bool TfrmMainGZT::ColumnVisible(Integer Index) const { return FColumnVisible.at(size_t(Index)); }
const String& TfrmMainGZT::ColumnTitle(Integer Index) const { return FColumnTitle.at(size_t(Index)); }

void TfrmMainGZT::ReCalcAll() {
  if (!dsGZDetail->Active()) return;
  // The item fields that count, found once for the whole list.
  const auto Shown = [this](const char* Prefix, int Count) {
    std::vector<TField*> Fields;
    for (int n = 1; n <= Count; ++n) {
      const String Name = QStringLiteral("%1%2").arg(QLatin1String(Prefix)).arg(n);
      const Integer Col = GetCol(Name);
      if (Col > 0 && ColumnVisible(Col)) Fields.push_back(dsGZDetail->FieldByName(Name));
    }
    return Fields;
  };
  const auto Sum = [](const std::vector<TField*>& Fields) {
    Extended Total = 0;
    for (TField* Field : Fields) Total += Field->AsFloat();
    return Total;
  };
  try {
    const std::vector<TField*> EarningFields = Shown("GZ", 30), DeductionFields = Shown("KK", 15);
    TField* EarningsTotal = dsGZDetail->FieldByName(QStringLiteral("YFTotal"));
    TField* DeductionsTotal = dsGZDetail->FieldByName(QStringLiteral("KKTotal"));
    TField* NetTotal = dsGZDetail->FieldByName(QStringLiteral("GZTotal"));
    const TDisableControlsLock Quiet(dsGZDetail);
    for (dsGZDetail->First(); !dsGZDetail->Eof(); dsGZDetail->Next()) {
      const Extended Earnings = Sum(EarningFields), Deductions = Sum(DeductionFields);
      dsGZDetail->Edit();
      EarningsTotal->SetAsFloat(double(Earnings));
      DeductionsTotal->SetAsFloat(double(Deductions));
      NetTotal->SetAsFloat(double(Earnings - Deductions));
      dsGZDetail->Post();
    }
    dsGZDetail->UpdateBatch();
  } catch (const Exception& E) {
    if (dsGZDetail->State() != dsBrowse) dsGZDetail->Cancel();
    dsGZDetail->CancelBatch();
    ShowAppMessage(QStringLiteral("重新计算工资合计失败！\n") + E.Message());
  }
}

void TfrmMainGZT::FormActivate(TObject*) {
  if (!FFirstActivation) return;
  FFirstActivation = false;
  // The records stay hidden while the login is asked; without a password there is nothing to
  // hide, and the list just read stays open.
  if (!IsNoPassword(Settings().GLogPass)) {
    dsGZDetail->Close();
    if (!CheckPassword(QStringLiteral("请输入登陆密码："))) {
      SkinData1->SetActive(false);
      DM->ADOLocal->Close();
      EndProcess();
      return;
    }
    try {
      dsGZDetail->Open();
    } catch (const Exception&) {
    }
  }
  const String Marker = ResolvePath(Settings().GAppPath, QStringLiteral("NotFirst.txt"));
  if (!QFile::exists(Marker)) {
    ShowAppMessage(QStringLiteral("您是首次运行本软件，点击确认按钮然后查看软件使用动画说明！"));
    OpenUrlInBrowser(ResolvePath(Settings().GAppPath, QStringLiteral("Help/Tessaly.htm")));
    QFile File(Marker);
    if (File.open(QIODevice::WriteOnly)) File.write("1\n");
    return;
  }
  Timer1->SetEnabled(true);
}

void TfrmMainGZT::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  TPubSettings& S = Settings();
  const String PathFile = ResolvePath(S.GAppPath, QStringLiteral("AutoBakPath.txt"));
  if (QFile::exists(PathFile)) {
    TStringList Lines;
    try {
      Lines.LoadFromFile(PathFile);
    } catch (const Exception&) {
    }
    if (Lines.Count() > 0) {
      S.GAutoBakPath = Lines.Strings(0);
      if (!S.GAutoBakPath.isEmpty() && QDir(S.GAutoBakPath).exists()) return;
    }
  }
  ShowAppMessage(QStringLiteral("您没有指定自动备份路径，或原来指定的自动备份路径位置已经不存在！\n"
                                "请指定自动备份路径，建议在非系统盘上建立专门的备份存放路径，以免重新装系统后数据丢失！"));
  String Folder;
  if (!BrowseForFolder(this, QStringLiteral("选择自动备份文件保存的目标路径"), String(), Folder)) {
    ShowAppMessage(QStringLiteral("您没有成功指定自动备份路径，可下次登陆系统提示的时候再指定！"));
    return;
  }
  if (!Folder.endsWith(u'/')) Folder += u'/';
  S.GAutoBakPath = Folder;
  TStringList Lines;
  Lines.Add(Folder);
  try {
    Lines.SaveToFile(PathFile);
  } catch (const Exception&) {
  }
}
