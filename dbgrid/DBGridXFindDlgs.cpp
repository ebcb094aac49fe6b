#include "dbgrid/DBGridXFindDlgs.h"
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"

namespace {

TDBGridXFindDlg*& FindDialog() {
  static TDBGridXFindDlg* dialog = nullptr;
  return dialog;
}

const char* const AllColumnsText = "<All>";

}  // namespace

TDBGridXFindDlg::TDBGridXFindDlg(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("DBGridXFindDlg"));
  SetCaption(QStringLiteral("查找记录"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(505);
  SetClientHeight(150);
  Font()->SetName(QStringLiteral("宋体"));
  Font()->SetHeight(-12);
  SetKeyPreview(true);

  auto label = [this](const char* Name, const char* Caption, Integer Left, Integer Top) {
    auto* l = new TLabel(this);
    l->SetName(QString::fromLatin1(Name));
    l->SetCaption(QString::fromUtf8(Caption));
    l->SetLeft(Left);
    l->SetTop(Top);
    l->SetParent(this);
    return l;
  };
  auto combo = [this](const char* Name, Integer Top, Integer Width) {
    auto* c = new TDBComboBoxX(this);
    c->SetName(QString::fromLatin1(Name));
    c->SetBounds(88, Top, Width, 21);
    c->SetParent(this);
    return c;
  };
  auto items = [](TDBComboBoxX* Box, std::initializer_list<const char*> Texts) {
    for (const char* text : Texts) Box->Items()->Add(QString::fromUtf8(text));
  };
  Label1 = label("Label1", "查找内容", 10, 12);
  cbText = combo("cbText", 9, 316);
  cbText->DropDownBox()->Rows = 17;
  cbText->DropDownBox()->Sizable = true;
  Label2 = label("Label2", "查找字段", 10, 35);
  cbFindIn = combo("cbFindIn", 32, 192);
  cbFindIn->DropDownBox()->Rows = 17;
  cbFindIn->DropDownBox()->Sizable = true;
  cbMatchType = label("cbMatchType", "匹配方式", 10, 58);
  cbMatchinType = combo("cbMatchinType", 55, 144);
  items(cbMatchinType, {"包含", "等于", "开头包含"});
  cbMatchinType->SelectedItemIndex(0);
  Label3 = label("Label3", "搜索方向", 10, 82);
  cbFindDirection = combo("cbFindDirection", 79, 144);
  items(cbFindDirection, {"向上", "向下", "全局"});
  for (const char* key : {"Up", "Down", "All"}) cbFindDirection->KeyItems()->Add(QString::fromLatin1(key));
  cbFindDirection->SelectedItemIndex(2);
  auto check = [this](const char* Name, const char* Caption, Integer Left) {
    auto* c = new TDBCheckBoxX(this);
    c->SetName(QString::fromLatin1(Name));
    c->SetCaption(QString::fromUtf8(Caption));
    c->SetBounds(Left, 105, 144, 17);
    c->SetParent(this);
    return c;
  };
  cbCharCase = check("cbCharCase", "区分大小写", 88);
  cbUseFormat = check("cbUseFormat", "Match F&ormat", 260);
  cbUseFormat->SetChecked(true);
  cbUseFormat->SetVisible(false);
  Label4 = label("Label4", "Find in Tree:", 10, 128);
  Label4->SetVisible(false);
  dbcTreeFindRange = combo("dbcTreeFindRange", 124, 145);
  items(dbcTreeFindRange, {"In all nodes", "In expanded nodes", "In current level", "In current node"});
  dbcTreeFindRange->SelectedItemIndex(0);
  dbcTreeFindRange->SetVisible(false);

  auto button = [this](const char* Name, const char* Caption, Integer Top) {
    auto* b = new TButton(this);
    b->SetName(QString::fromLatin1(Name));
    b->SetCaption(QString::fromUtf8(Caption));
    b->SetBounds(413, Top, 82, 25);
    b->SetParent(this);
    return b;
  };
  bFind = button("bFind", "查找下一个(&F)", 9);
  bFind->OnClick = [this](TObject* Sender) { bFindClick(Sender); };
  bCancel = button("bCancel", "关闭(&X)", 37);
  bCancel->SetCancel(true);
  bCancel->SetModalResult(mrCancel);
  bCancel->OnClick = [this](TObject*) {
    if (!Modal()) Close();
  };

  Integer order = 0;
  for (TWinControl* c : std::initializer_list<TWinControl*>{cbText, cbFindIn, cbMatchinType, cbFindDirection, cbCharCase,
                                                           cbUseFormat, dbcTreeFindRange, bFind, bCancel})
    c->SetTabOrder(order++);

  FDesignedHeight = ClientHeight();
  for (TDBComboBoxX* box : {cbText, cbFindIn, cbFindDirection, dbcTreeFindRange})
    box->OnChange = [this](TObject*) { SettingsChanged(); };
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
  OnShow = [this](TObject*) { SetActiveControl(cbText); };
}

void TDBGridXFindDlg::Prepare(TCustomDBGridX* Grid, const String& Text) {
  // Grids over tree-shaped in-memory data would show the tree range; no data set offers it.
  SetClientHeight(dbcTreeFindRange->Top());
  Label4->SetVisible(false);
  dbcTreeFindRange->SetVisible(false);
  cbText->SetText(Text);
  FGrid = Grid;
  cbFindIn->OnChange = nullptr;
  cbFindIn->Items()->Clear();
  cbFindIn->KeyItems()->Clear();
  TColumnsXList* visible = Grid->VisibleColumns();
  for (Integer i = 0; i < visible->Count(); ++i)
    cbFindIn->Items()->AddObject(visible->Items(i)->Title()->Caption(), visible->Items(i));
  cbFindIn->Items()->Add(QString::fromLatin1(AllColumnsText));
  cbFindIn->KeyItems()->Assign(cbFindIn->Items());
  Integer selected = -1;
  if (TColumnX* current = Grid->SelectedColumn()) selected = cbFindIn->Items()->IndexOf(current->Title()->Caption());
  cbFindIn->SelectedItemIndex(selected >= 0 ? selected : cbFindIn->Items()->Count() - 1);
  cbFindIn->OnChange = [this](TObject*) { SettingsChanged(); };
  FFirstTry = true;
  if (Visible() && !Modal()) Close();
}

void TDBGridXFindDlg::bFindClick(TObject*) {
  const String text = cbText->Text();
  if (cbText->Items()->IndexOf(text) < 0) cbText->Items()->Add(text);
  if (!FGrid || !FGrid->DataSet() || !FGrid->DataSet()->Active()) return;
  TGridSearchDirectionX direction = cbFindDirection->ItemIndex() == 0   ? gsdUpX
                                    : cbFindDirection->ItemIndex() == 1 ? gsdDownX
                                                                        : gsdAllX;
  if (ReadKeyboardShiftState().Contains(ssCtrl)) direction = direction == gsdUpX ? gsdDownX : gsdUpX;
  else if (!FFirstTry && direction == gsdAllX) direction = gsdDownX;
  const Integer matchIndex = cbMatchinType->ItemIndex();
  const TGridSearchMatchX match = matchIndex == 1 ? gsmWholeX : matchIndex == 2 ? gsmStartX : gsmContainsX;
  const Integer rangeIndex = dbcTreeFindRange->ItemIndex();
  const auto range = TGridSearchTreeRangeX(rangeIndex >= 0 && rangeIndex <= 3 ? rangeIndex : 0);
  const Integer findIn = cbFindIn->ItemIndex();
  auto* column = findIn >= 0 ? dynamic_cast<TColumnX*>(cbFindIn->Items()->Objects(findIn)) : nullptr;
  TGridSearchOptionsX options;
  if (!cbCharCase->Checked()) options.Include(gsoIgnoreCaseX);
  if (cbUseFormat->Checked()) options.Include(gsoDisplayTextX);
  if (findIn >= 0 && findIn == cbFindIn->Items()->Count() - 1) options.Include(gsoAllColumnsX);
  if (FGrid->LocateText(column ? column->FieldName() : String(), text, options, direction, match, range))
    FFirstTry = false;
}

// Enter finds, Escape closes a dialog left open beside its grid; a control that wants the key
// itself (an open drop-down) gets it instead.
void TDBGridXFindDlg::FormKeyDown(Word& Key, TShiftState) {
  if (Key != VK_RETURN && Key != VK_ESCAPE) return;
  if (ActiveControl() && ActiveControl()->Perform(CM_WANTSPECIALKEY, Key, 0) != 0) return;
  if (Key == VK_ESCAPE) {
    if (!Modal()) Close();
    else return;
  } else {
    bFindClick(this);
  }
  Key = 0;
  cbText->SetModified(false);
}

void ShowFindDialog(TCustomDBGridX* Grid, const String& Text, const String&, TColumnsXList*, bool Modal) {
  TDBGridXFindDlg*& dialog = FindDialog();
  if (!dialog) dialog = new TDBGridXFindDlg(Application);
  dialog->Prepare(Grid, Text);
  if (Modal) {
    dialog->SetFormStyle(fsNormal);
    dialog->ShowModal();
  } else {
    dialog->SetFormStyle(fsStayOnTop);
    dialog->Show();
    dialog->SetFocus();
  }
}

void InstallFindDialog() { GridFindHook() = ShowFindDialog; }
