#include "dbgrid/DBGridXSimpleFilterDlg.h"
#include "dbgrid/DBGridXFilterEdit.h"

const char* const SSimpleFilterOperatorTexts[19] = {
    "",          "等于",     "不等于",   "大于",        "大于等于",        "小于",        "小于等于",
    "begins with", "does not begin with", "ends with", "does not end with", "contains", "does not contain",
    "包含",      "不包含",   "in list",  "not in list", "空格",            "非空格"};

namespace {

// The operator text each code writes before its value.
const char* const ConditionPrefixes[19] = {"",   "=",  "<>", ">",  ">=", "<",   "<=",    "~",     "!~", "~",
                                           "!~", "~",  "!~", "~",  "!~", "in",  "!in",   "=Null", "<>Null"};

TSTValueKindX ColumnValueKind(TColumnX* Column) {
  if (Column->KeyList()->Count() > 0 && Column->PickList()->Count() > 0) return stvkTextX;
  TField* field = Column->Field();
  return field ? STValueKindOfFieldType.at(field->DataType()) : stvkOtherX;
}

TDBGridXSimpleFilterDialog*& SimpleFilterDialog() {
  static TDBGridXSimpleFilterDialog* dialog = nullptr;
  return dialog;
}

}  // namespace

TDBGridXSimpleFilterDialog::TDBGridXSimpleFilterDialog(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("DBGridXSimpleFilterDialog"));
  SetCaption(QStringLiteral("Custom filter"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(410);
  SetClientHeight(218);

  auto label = [this](const char* Name, const char* Caption, Integer Left, Integer Top) {
    auto* l = new TLabel(this);
    l->SetName(QString::fromLatin1(Name));
    l->SetCaption(QString::fromUtf8(Caption));
    l->SetLeft(Left);
    l->SetTop(Top);
    l->SetParent(this);
    return l;
  };
  Label1 = label("Label1", "Show records where:", 6, 7);
  Bevel1 = new TBevel(this);
  Bevel1->SetName(QStringLiteral("Bevel1"));
  Bevel1->SetShape(bsTopLine);
  Bevel1->SetBounds(4, 27, 399, 9);
  Bevel1->SetParent(this);

  auto operators = [this](const char* Name, Integer Top) {
    auto* c = new TComboBox(this);
    c->SetName(QString::fromLatin1(Name));
    c->SetStyle(csDropDownList);
    c->SetBounds(8, Top, 191, 21);
    c->SetParent(this);
    return c;
  };
  auto placeholder = [this](const char* Name, Integer Top) {
    auto* e = new TEdit(this);
    e->SetName(QString::fromLatin1(Name));
    e->SetBounds(207, Top, 194, 21);
    e->SetVisible(false);
    e->SetParent(this);
    return e;
  };
  auto valueBox = [this](const char* Name) {
    auto* v = new TDBComboBoxX(this);
    v->SetName(QString::fromLatin1(Name));
    v->DropDownBox()->Rows = 17;
    v->DropDownBox()->Sizable = true;
    v->SetParent(this);
    return v;
  };
  ComboBox1 = operators("ComboBox1", 39);
  Edit1 = placeholder("Edit1", 39);
  DBComboBoxEh1 = valueBox("DBComboBoxEh1");
  rbAnd = new TRadioButton(this);
  rbAnd->SetName(QStringLiteral("rbAnd"));
  rbAnd->SetCaption(QStringLiteral("&And"));
  rbAnd->SetBounds(38, 69, 57, 17);
  rbAnd->SetParent(this);
  rbAnd->SetChecked(true);
  rbOr = new TRadioButton(this);
  rbOr->SetName(QStringLiteral("rbOr"));
  rbOr->SetCaption(QStringLiteral("&Or"));
  rbOr->SetBounds(105, 69, 57, 17);
  rbOr->SetParent(this);
  ComboBox2 = operators("ComboBox2", 92);
  Edit2 = placeholder("Edit2", 92);
  DBComboBoxEh2 = valueBox("DBComboBoxEh2");
  Label2 = label("Label2", "Use '_' to represent any single character", 6, 131);
  Label3 = label("Label3", "Use '%' to represent any series of characters", 6, 151);

  auto button = [this](const char* Name, const char* Caption, Integer Left) {
    auto* b = new TButton(this);
    b->SetName(QString::fromLatin1(Name));
    b->SetCaption(QString::fromLatin1(Caption));
    b->SetBounds(Left, 188, 75, 25);
    b->SetParent(this);
    return b;
  };
  bOk = button("bOk", "OK", 237);
  bOk->SetDefault(true);
  bOk->SetModalResult(mrOk);
  bCancel = button("bCancel", "Cancel", 323);
  bCancel->SetCancel(true);
  bCancel->SetModalResult(mrCancel);

  Integer order = 0;
  for (TWinControl* c : std::initializer_list<TWinControl*>{ComboBox1, DBComboBoxEh1, rbAnd, rbOr, ComboBox2,
                                                           DBComboBoxEh2, bOk, bCancel})
    c->SetTabOrder(order++);

  // A text the column's filter refuses shows its error and keeps the dialog open.
  OnCloseQuery = [this](TObject*, bool& CanClose) {
    CanClose = false;
    if (ModalResult() == mrOk) FColumn->STFilter()->SetExpressionText(FilterText());
    CanClose = true;
  };
}

void TDBGridXSimpleFilterDialog::FillOperators(TComboBox* Operators, bool OfferLike) {
  Operators->Items()->Clear();
  FCodes.clear();
  for (Integer code = 0; code < 19; ++code) {
    if (!OfferLike && code >= 7 && code <= 14) continue;
    Operators->Items()->Add(QString::fromUtf8(SSimpleFilterOperatorTexts[code]));
    FCodes.push_back(code);
  }
  Operators->SetDropDownCount(Integer(FCodes.size()));
}

Integer TDBGridXSimpleFilterDialog::OperatorCode(TComboBox* Operators) const {
  const Integer index = Operators->ItemIndex();
  return index >= 0 && size_t(index) < FCodes.size() ? FCodes[size_t(index)] : 0;
}

void TDBGridXSimpleFilterDialog::SelectOperator(TComboBox* Operators, Integer Code) {
  const auto found = std::find(FCodes.begin(), FCodes.end(), Code);
  Operators->SetItemIndex(found == FCodes.end() ? -1 : Integer(found - FCodes.begin()));
}

void TDBGridXSimpleFilterDialog::Prepare(TColumnX* Column) {
  FColumn = Column;
  const TSTValueKindX kind = Column->Field() ? ColumnValueKind(Column) : stvkOtherX;
  const bool offerLike = !Column->Field() || (kind != stvkNumberX && kind != stvkDateTimeX && kind != stvkBooleanX);
  FillOperators(ComboBox1, offerLike);
  FillOperators(ComboBox2, offerLike);
  for (auto [placeholder, box] : {std::pair{Edit1, DBComboBoxEh1}, std::pair{Edit2, DBComboBoxEh2}}) {
    box->SetBounds(placeholder->Left(), placeholder->Top(), placeholder->Width(), placeholder->Height());
    box->SetVisible(true);
    box->Items()->Clear();
    if (IMemTableDataFieldValueListX* values = Column->STFilter()->CreateListValueList())
      box->Items()->Assign(values->GetValueList());
    box->SetText(String());
  }
  const TSTFilterExpressionX expression = Column->STFilter()->Expression();
  LoadCondition(ComboBox1, DBComboBoxEh1, expression.FirstOperator, expression.FirstOperand);
  LoadCondition(ComboBox2, DBComboBoxEh2, expression.SecondOperator, expression.SecondOperand);
  rbOr->SetChecked(expression.Junction == stoOrX);
  rbAnd->SetChecked(expression.Junction != stoOrX);
}

void TDBGridXSimpleFilterDialog::LoadCondition(TComboBox* Operators, TDBComboBoxX* Value, TSTOperatorX Operator,
                                               const Variant& Operand) {
  String text = Operator == stoNoneX || Operator == stoIsNullX || Operator == stoIsNotNullX
                    ? String()
                    : FColumn->STFilter()->OperandText(Operator, Operand);
  Integer code = 0;
  switch (Operator) {
    case stoEqualX: code = 1; break;
    case stoNotEqualX: code = 2; break;
    case stoGreaterX: code = 3; break;
    case stoGreaterOrEqualX: code = 4; break;
    case stoLessX: code = 5; break;
    case stoLessOrEqualX: code = 6; break;
    case stoInListX: code = 15; break;
    case stoNotInListX: code = 16; break;
    case stoIsNullX: code = 17; break;
    case stoIsNotNullX: code = 18; break;
    case stoLikeX:
    case stoNotLikeX: {
      const bool like = Operator == stoLikeX;
      const qsizetype n = text.size();
      const bool leading = n >= 1 && text[0] == u'%' && (n < 2 || text[1] != u'%');
      const bool trailing = n >= 1 && text[n - 1] == u'%' && (n < 2 || text[n - 2] != u'%');
      if (leading && trailing && n >= 2) {
        code = like ? 11 : 12;
        text = text.mid(1, n - 2);
      } else if (leading) {
        code = like ? 9 : 10;
        text = text.mid(1);
      } else if (trailing) {
        code = like ? 7 : 8;
        text.chop(1);
      } else {
        code = like ? 13 : 14;
      }
      break;
    }
    default: break;
  }
  Value->SetText(text);
  SelectOperator(Operators, code);
}

String TDBGridXSimpleFilterDialog::ConditionText(TComboBox* Operators, TDBComboBoxX* Value) {
  if (Operators->ItemIndex() < 0) Operators->SetItemIndex(0);
  const Integer code = OperatorCode(Operators);
  String v = Value->Text();
  const String prefix = QString::fromLatin1(ConditionPrefixes[code]);
  if (code == 17 || code == 18 || v.isEmpty()) return prefix;
  const bool quote = (ColumnValueKind(FColumn) == stvkTextX && v.startsWith(u' ')) || v.contains(u'(') ||
                     v.contains(u')');
  if (code == 7 || code == 8 || code == 11 || code == 12) v += u'%';
  if (code >= 9 && code <= 12) v.prepend(u'%');
  // Quotes inside a quoted value are doubled, so the value reads back as typed.
  if (quote) v = QuotedStr(v);
  if (code == 15 || code == 16) v = u'(' + v + u')';
  return prefix + v;
}

String TDBGridXSimpleFilterDialog::FilterText() {
  const String first = ConditionText(ComboBox1, DBComboBoxEh1);
  const String second = ConditionText(ComboBox2, DBComboBoxEh2);
  if (second.isEmpty()) return first;
  return first + (rbOr->Checked() ? QStringLiteral(" OR ") : QStringLiteral(" AND ")) + second;
}

bool ShowCustomFilterDialog(TColumnX* Column) {
  TDBGridXSimpleFilterDialog*& dialog = SimpleFilterDialog();
  if (!dialog) dialog = new TDBGridXSimpleFilterDialog(Application);
  dialog->Prepare(Column);
  return dialog->ShowModal() == mrOk;
}
