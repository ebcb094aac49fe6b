#include "app/uParaSet.h"
#include "app/FormControls.h"
#include "app/AppMessages.h"
#include "app/MaskedNumber.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

namespace {

const String TwoDecimals = QStringLiteral("0.00");
const String MillimetreMask = QStringLiteral("999.99");
constexpr Integer LabelLeft = 16, BoxLeft = 210, RowPitch = 30;

TLabel* AddLabel(TCustomForm* Form, const String& Name, const String& Text, Integer Left, Integer Top) {
  auto* Label = PlaceControl<TLabel>(Form, Name, Left, Top + 4, 190, 16);
  Label->SetCaption(Text);
  return Label;
}

TComboBox* List(TCustomForm* Form, const String& Name, Integer Top, Integer Width, const QStringList& Entries,
                TComboBoxStyle Style = csDropDownList) {
  auto* Box = PlaceControl<TComboBox>(Form, Name, BoxLeft, Top, Width, 22);
  Box->SetStyle(Style);
  const TUpdateLock<TStrings> Bulk(Box->Items());
  for (const String& Entry : Entries) Box->Items()->Add(Entry);
  return Box;
}

// The number in a millimetre box; the mask leaves blanks where nothing was typed.
Extended Millimetres(const TMaskEdit* Box) { return StrToFloat(NormalizeNumText(Box->Text())); }

String MillimetreText(const TMaskEdit* Box) { return FormatFloat(TwoDecimals, Millimetres(Box)); }

// Selects entry Value of the list; a value the list does not have selects the first.
void SelectIndex(TComboBox* Box, const String& Value) {
  bool Ok = false;
  const Integer Index = Value.toInt(&Ok);
  Box->SetItemIndex(Ok && Index >= 0 && Index < Box->Items()->Count() ? Index : 0);
}

void ShowMillimetres(TMaskEdit* Box, const String& Value, Extended Default) {
  Box->SetText(AlignToNumberMask(FormatFloat(TwoDecimals, StrToFloatDef(Value.trimmed(), Default)), Box->EditMask()));
}

}  // namespace

TfrmParaSet::TfrmParaSet(TComponent* AOwner) : TForm(AOwner) {
  CreateControls();
}

void TfrmParaSet::CreateControls() {
  SetCaption(QStringLiteral("基本参数设置"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(600);
  SetClientHeight(420);

  Integer Top = 16;
  const auto NextRow = [&Top] { return Top += RowPitch; };
  AddLabel(this, QStringLiteral("lblEntName"), QStringLiteral("公司名称"), LabelLeft, Top);
  EditEntName = PlaceControl<TEdit>(this, QStringLiteral("EditEntName"), BoxLeft, Top, 360, 22);
  EditEntName->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_RETURN) btnSaveClick();
  };

  AddLabel(this, QStringLiteral("lblBillHeight"), QStringLiteral("纸张高度"), LabelLeft, NextRow());
  EditBillHeight = PlaceControl<TMaskEdit>(this, QStringLiteral("EditBillHeight"), BoxLeft, Top, 80, 22);
  EditBillHeight->SetEditMask(MillimetreMask);
  AddLabel(this, QStringLiteral("lblBillHeightUnit"), QStringLiteral("毫米"), BoxLeft + 86, Top);
  btnStdHeight = PlaceControl<TButton>(this, QStringLiteral("btnStdHeight"), BoxLeft + 130, Top, 80, 24);
  btnStdHeight->SetCaption(QStringLiteral("标准高度"));
  pmPaperHeight = new TPopupMenu(this);
  pmPaperHeight->SetName(QStringLiteral("pmPaperHeight"));
  for (const auto& [Paper, Height] : {std::pair{"A4", "296.78"}, std::pair{"A5", "209.85"}, std::pair{"B5", "256.80"}}) {
    auto* Item = new TMenuItem(pmPaperHeight);
    Item->SetCaption(QLatin1String(Paper));
    const String Value = QLatin1String(Height);
    Item->OnClick = [this, Value](TObject*) { EditBillHeight->SetText(Value); };
    pmPaperHeight->Items()->Add(Item);
  }
  btnStdHeight->OnClick = [this](TObject*) {
    const TPoint Corner = btnStdHeight->ClientToScreen(TPoint{0, btnStdHeight->Height()});
    pmPaperHeight->Popup(Corner.X, Corner.Y);
  };

  AddLabel(this, QStringLiteral("lblPrintDays"), QStringLiteral("打印出勤时间及单价"), LabelLeft, NextRow());
  cmbPrintDays = List(this, QStringLiteral("cmbPrintDays"), Top, 360,
                      {QStringLiteral("不打印"), QStringLiteral("打印为日单价(最多20应发 10应扣项目)"),
                       QStringLiteral("打印为小时单价(最多10应发 5应扣项目)"),
                       QStringLiteral("其他计件(最多10应发 5应扣项目)")});
  AddLabel(this, QStringLiteral("lblJJUnit"), QStringLiteral("单位"), LabelLeft, NextRow());
  cmbJJUnit = List(this, QStringLiteral("cmbJJUnit"), Top, 100,
                   {QStringLiteral("件"), QStringLiteral("套"), QStringLiteral("方"), QStringLiteral("米"),
                    QStringLiteral("吨")},
                   csDropDown);
  AddLabel(this, QStringLiteral("lblShowFloat"), QStringLiteral("是否显示和打印小数"), LabelLeft, NextRow());
  cmbShowFloat = List(this, QStringLiteral("cmbShowFloat"), Top, 200,
                      {QStringLiteral("不打印/显示"), QStringLiteral("打印/显示")});
  AddLabel(this, QStringLiteral("lblShowXH"), QStringLiteral("是否显示和打印序号"), LabelLeft, NextRow());
  cmbShowXH = List(this, QStringLiteral("cmbShowXH"), Top, 200,
                   {QStringLiteral("不打印/显示"), QStringLiteral("打印/显示序号"), QStringLiteral("打印/显示职员编码")});
  AddLabel(this, QStringLiteral("lblNameOnTitle"), QStringLiteral("标题上打印部门以及姓名"), LabelLeft, NextRow());
  cmbNameOnTitle = List(this, QStringLiteral("cmbNameOnTitle"), Top, 360,
                        {QStringLiteral("不打印"), QStringLiteral("打印(用于加密工资条加密部分以外的工资条区分)")});

  AddLabel(this, QStringLiteral("lblTopPos"), QStringLiteral("顶  边  距"), LabelLeft, NextRow());
  EditTopPos = PlaceControl<TEdit>(this, QStringLiteral("EditTopPos"), BoxLeft, Top, 50, 22);
  // The arrows set the margin, so the box and the stored position always agree.
  EditTopPos->SetReadOnly(true);
  udTopPos = PlaceControl<TUpDown>(this, QStringLiteral("udTopPos"), BoxLeft + 50, Top, 17, 22);
  udTopPos->SetMin(2);
  udTopPos->SetMax(20);
  udTopPos->SetIncrement(1);
  udTopPos->SetAssociate(EditTopPos);
  udTopPos->OnChangingEx = [this](TObject*, bool&, SmallInt NewValue, TUDBtnType) { ShowTopPosMM(NewValue); };
  AddLabel(this, QStringLiteral("lblTopPosUnit"), QStringLiteral("X 0.1英寸"), BoxLeft + 74, Top);
  lblTopPosMM = AddLabel(this, QStringLiteral("lblTopPosMM"), String(), BoxLeft + 150, Top);
  OnShow = [this](TObject*) { ShowTopPosMM(udTopPos->Position()); };

  AddLabel(this, QStringLiteral("lblParagraph"), QStringLiteral("工资单间距"), LabelLeft, NextRow());
  EditParagraph = PlaceControl<TMaskEdit>(this, QStringLiteral("EditParagraph"), BoxLeft, Top, 80, 22);
  EditParagraph->SetEditMask(MillimetreMask);
  AddLabel(this, QStringLiteral("lblParagraphUnit"), QStringLiteral("毫米"), BoxLeft + 86, Top);

  AddLabel(this, QStringLiteral("lblPageWidth"), QStringLiteral("纸张宽度"), LabelLeft, NextRow());
  EditPageWidth = PlaceControl<TMaskEdit>(this, QStringLiteral("EditPageWidth"), BoxLeft, Top, 80, 22);
  EditPageWidth->SetEditMask(MillimetreMask);
  AddLabel(this, QStringLiteral("lblPageWidthUnit"), QStringLiteral("毫米"), BoxLeft + 86, Top);
  btnA4Width = PlaceControl<TButton>(this, QStringLiteral("btnA4Width"), BoxLeft + 130, Top, 80, 24);
  btnA4Width->SetCaption(QStringLiteral("A4宽度"));
  btnA4Width->OnClick = [this](TObject*) { EditPageWidth->SetText(QStringLiteral("210.00")); };

  // Kept and written back, though no printout uses it.
  TLabel* StepCaption = AddLabel(this, QStringLiteral("lblStepTitleGrid"), QStringLiteral("工资单中标题与表格的纵向距离"),
                                LabelLeft, Top);
  StepCaption->SetVisible(false);
  EditStepTitleGrid = PlaceControl<TMaskEdit>(this, QStringLiteral("EditStepTitleGrid"), BoxLeft, Top, 80, 22);
  EditStepTitleGrid->SetEditMask(MillimetreMask);
  EditStepTitleGrid->SetVisible(false);

  AddLabel(this, QStringLiteral("lblPrintOrientation"), QStringLiteral("工资单打印机打印方向"), LabelLeft, NextRow());
  cmbPrintOrientation = List(this, QStringLiteral("cmbPrintOrientation"), Top, 100,
                             {QStringLiteral("纵向"), QStringLiteral("横向")});

  btnSave = PlaceControl<TButton>(this, QStringLiteral("btnSave"), 380, NextRow() + 14, 90, 28);
  btnSave->SetCaption(QStringLiteral("保存(&S)"));
  btnSave->OnClick = [this](TObject*) { btnSaveClick(); };
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 480, Top + 14, 90, 28);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
}

void TfrmParaSet::ShowTopPosMM(Integer Position) {
  lblTopPosMM->SetCaption(QStringLiteral("合 ") + FormatFloat(TwoDecimals, Position * 2.54L) + QStringLiteral(" 毫米"));
}

void TfrmParaSet::ReadyData() {
  const auto Read = [](const char* Column) {
    return DM->GetDataBySQL(QStringLiteral("Select %1 from TPara").arg(QLatin1String(Column)));
  };
  EditEntName->SetText(Read("EntName"));
  cmbJJUnit->SetText(Read("JJUnit"));
  ShowMillimetres(EditBillHeight, Read("BillHeight"), 296.78L);
  ShowMillimetres(EditParagraph, Read("Paragraph"), 0);
  ShowMillimetres(EditStepTitleGrid, Read("StepTitleGrid"), 0);
  ShowMillimetres(EditPageWidth, Read("PageWidth"), 210);
  bool Ok = false;
  const Integer TopPos = Read("TopPos").toInt(&Ok);
  udTopPos->SetPosition(SmallInt(Ok ? std::clamp(TopPos, 2, 20) : 2));
  SelectIndex(cmbPrintDays, Read("PrintDays"));
  SelectIndex(cmbShowFloat, Read("ShowFloat"));
  SelectIndex(cmbPrintOrientation, Read("PrintOrientation"));
  SelectIndex(cmbShowXH, Read("ShowXH"));
  SelectIndex(cmbNameOnTitle, Read("NameOnTitle"));
  ShowTopPosMM(udTopPos->Position());
}

bool TfrmParaSet::SaveData() {
  const String Name = EditEntName->Text().trimmed();
  EditEntName->SetText(Name);
  String Unit = cmbJJUnit->Text();
  String Statement;
  try {
    if (Millimetres(EditBillHeight) < 43) {
      ShowAppMessage(QStringLiteral("工资条的最小高度为43毫米！"));
      return false;
    }
    if (Unit.trimmed().isEmpty()) {
      if (cmbPrintDays->ItemIndex() == 3) {
        ShowAppMessage(QStringLiteral("您选择了其他计件，请指定计件单位！"));
        return false;
      }
      Unit = QStringLiteral(" ");
    }
    Statement = QStringLiteral("Update TPara Set EntName=") + QuotedStr(Name) +
                QStringLiteral(",BillHeight=") + MillimetreText(EditBillHeight) +
                QStringLiteral(",PrintDays=") + IntToStr(cmbPrintDays->ItemIndex()) +
                QStringLiteral(",ShowFloat=") + IntToStr(cmbShowFloat->ItemIndex()) +
                QStringLiteral(",ShowXH=") + IntToStr(cmbShowXH->ItemIndex()) +
                QStringLiteral(",NameOnTitle=") + IntToStr(cmbNameOnTitle->ItemIndex()) +
                QStringLiteral(",PrintOrientation=") + IntToStr(cmbPrintOrientation->ItemIndex()) +
                QStringLiteral(",TopPos=") + IntToStr(udTopPos->Position()) +
                QStringLiteral(",JJUnit=") + QuotedStr(Unit) +
                QStringLiteral(",Paragraph=") + MillimetreText(EditParagraph) +
                QStringLiteral(",StepTitleGrid=") + MillimetreText(EditStepTitleGrid) +
                QStringLiteral(",PageWidth=") + MillimetreText(EditPageWidth);
  } catch (const EConvertError& E) {
    ShowAppMessage(E.Message());
    return false;
  }
  try {
    DM->ADOLocal->ExecuteSql(Statement);
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("存储数据发生错误！"));
    return false;
  }
  try {
    DM->dsPara->Close();
    DM->dsPara->Open();
  } catch (const Exception&) {
    // The row is written; the settings are read again when they are next loaded.
  }
  Settings().GEntName = Name;
  return true;
}

void TfrmParaSet::btnSaveClick() {
  if (!SaveData()) return;
  FSaved = true;
  SetModalResult(mrOk);
}

bool ShowParaSet() {
  TfrmParaSet Form(nullptr);
  Form.ReadyData();
  Form.ShowModal();
  return Form.Saved();
}
