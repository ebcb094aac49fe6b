// The custom filter dialog and the find dialog, driven as the user would while they are
// shown modally.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXFindDlgs.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXSimpleFilterDlg.h"
#include <QKeyEvent>
#include <QTimer>

using dbgridtest::TGridForm;

namespace {

// Synthetic keys sent to a control's window, as the user types them.
void PressKey(TWinControl* Control, int Key, const QString& Text = QString(),
              Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &press);
  QKeyEvent release(QEvent::KeyRelease, Key, Modifiers, Text);
  QApplication::sendEvent(Control->Handle(), &release);
}

template <class TFormClass>
TFormClass* OpenModalForm() {
  for (Integer i = 0; i < Screen->FormCount(); ++i)
    if (auto* form = dynamic_cast<TFormClass*>(Screen->Forms(i)); form && form->Modal()) return form;
  return nullptr;
}

// Runs Steps on the modal form once its loop runs; a form the steps leave open is cancelled.
template <class TFormClass>
void WhenModal(std::function<void(TFormClass*)> Steps) {
  QTimer::singleShot(0, [Steps] {
    TFormClass* form = OpenModalForm<TFormClass>();
    if (!form) {
      ADD_FAILURE() << "the expected modal form is not open";
      return;
    }
    Steps(form);
    if (form->Modal() && form->ModalResult() == mrNone) form->SetModalResult(mrCancel);
  });
}

struct TDialogForm : TGridForm {
  TDialogForm() : TGridForm(500, 200) {
    InitializeGridUnit();
    Bind();
    FPrevious = Application->OnException;
    Application->OnException = [this](TObject*, const Exception& E) { Errors << E.Message(); };
  }
  ~TDialogForm() { Application->OnException = FPrevious; }
  TColumnX* Column(Integer Index) { return Grid->Columns()->Items(Index); }
  QStringList Errors;
private:
  TExceptionEvent FPrevious;
};

String OperatorText(Integer Code) { return QString::fromUtf8(SSimpleFilterOperatorTexts[Code]); }

}  // namespace

TEST(CustomFilterDialog, OperatorsRoundTripThroughTheColumnFilter) {
  TDialogForm f;
  struct Case {
    Integer Column;
    Integer Code1;
    const char* Value1;
    bool Or;
    Integer Code2;
    const char* Value2;
    const char* Text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {2, 3, "1500", false, 0, "", ">1500"},
           {2, 4, "1000", false, 6, "3000", ">=1000 AND <=3000"},
           {1, 7, "Zh", false, 0, "", "~Zh%"},
           {1, 10, "ng", true, 11, "an", "!~%ng OR ~%an%"},
           {1, 12, "(a)", false, 0, "", "!~'%(a)%'"},
           {1, 13, "L_", false, 0, "", "~L_"},
           {1, 15, "Li,Wang", false, 0, "", "in(Li,Wang)"},
           {1, 16, "Li", false, 0, "", "!in(Li)"},
           {1, 17, "ignored", true, 18, "", "=Null OR <>Null"},
           {1, 1, "O'Brien", false, 0, "", "=O'Brien"}}) {
    const String typed = QString::fromUtf8(c.Text);
    WhenModal<TDBGridXSimpleFilterDialog>([&](TDBGridXSimpleFilterDialog* d) {
      d->SelectOperator(d->ComboBox1, c.Code1);
      d->DBComboBoxEh1->SetText(QString::fromUtf8(c.Value1));
      d->SelectOperator(d->ComboBox2, c.Code2);
      d->DBComboBoxEh2->SetText(QString::fromUtf8(c.Value2));
      (c.Or ? d->rbOr : d->rbAnd)->SetChecked(true);
      d->bOk->Click();
    });
    EXPECT_TRUE(ShowCustomFilterDialog(f.Column(c.Column))) << c.Text;
    EXPECT_EQ(f.Column(c.Column)->STFilter()->ExpressionStr(), typed);

    // Opened again, the dialog shows the stored condition as it was composed.
    WhenModal<TDBGridXSimpleFilterDialog>([&](TDBGridXSimpleFilterDialog* d) {
      EXPECT_EQ(d->OperatorCode(d->ComboBox1), c.Code1) << c.Text;
      if (c.Code1 != 17) {
        EXPECT_EQ(d->DBComboBoxEh1->Text(), QString::fromUtf8(c.Value1)) << c.Text;
      }
      EXPECT_EQ(d->OperatorCode(d->ComboBox2), c.Code2) << c.Text;
      EXPECT_EQ(d->rbOr->Checked(), c.Or) << c.Text;
      EXPECT_EQ(d->FilterText(), typed);
      d->bCancel->Click();
    });
    EXPECT_FALSE(ShowCustomFilterDialog(f.Column(c.Column)));
    f.Column(c.Column)->STFilter()->Clear();
  }
  EXPECT_TRUE(f.Errors.isEmpty()) << f.Errors.join(u'\n').toStdString();
}

TEST(CustomFilterDialog, ANumberColumnOffersNoLikeItemsAndQuotedValuesKeepTheirQuotes) {
  TDialogForm f;
  f.Column(2)->STFilter()->SetExpressionText("~5");
  WhenModal<TDBGridXSimpleFilterDialog>([&](TDBGridXSimpleFilterDialog* d) {
    EXPECT_EQ(d->ComboBox1->Items()->Count(), 11);
    EXPECT_EQ(d->ComboBox1->Items()->IndexOf(OperatorText(13)), -1);
    EXPECT_EQ(d->ComboBox1->Items()->IndexOf(QStringLiteral("大于")), 3);
    EXPECT_EQ(d->ComboBox1->ItemIndex(), -1) << "a stored LIKE has no item here";
    EXPECT_EQ(d->FilterText(), "5") << "and is stored back as the bare value";
    d->bCancel->Click();
  });
  ShowCustomFilterDialog(f.Column(2));

  WhenModal<TDBGridXSimpleFilterDialog>([&](TDBGridXSimpleFilterDialog* d) {
    d->SelectOperator(d->ComboBox1, 1);
    d->DBComboBoxEh1->SetText(QStringLiteral(" O'Brien"));
    d->bOk->Click();
  });
  ASSERT_TRUE(ShowCustomFilterDialog(f.Column(1)));
  EXPECT_EQ(f.Column(1)->STFilter()->ExpressionStr(), "=' O''Brien'");
  EXPECT_EQ(VarToStr(f.Column(1)->STFilter()->Expression().FirstOperand), " O'Brien");
}

TEST(CustomFilterDialog, ARejectedTextKeepsTheDialogOpenAndTheOldFilter) {
  TDialogForm f;
  f.Column(2)->STFilter()->SetExpressionText(">1000");
  bool stillOpen = false;
  WhenModal<TDBGridXSimpleFilterDialog>([&](TDBGridXSimpleFilterDialog* d) {
    d->SelectOperator(d->ComboBox1, 15);
    d->DBComboBoxEh1->SetText(QString());
    d->bOk->Click();
    QTimer::singleShot(0, [&stillOpen, d] {
      stillOpen = d->Modal();
      d->bCancel->Click();
    });
  });
  EXPECT_FALSE(ShowCustomFilterDialog(f.Column(2)));
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(f.Errors.size(), 1);
  EXPECT_TRUE(f.Errors[0].startsWith("'(' expected")) << f.Errors[0].toStdString();
  EXPECT_EQ(f.Column(2)->STFilter()->ExpressionStr(), ">1000");
  EXPECT_EQ(f.Column(2)->STFilter()->Expression().FirstOperator, stoGreaterX);
}

TEST(FindDialog, CtrlFOpensItAndItSearchesAsTheSettingsSay) {
  TDialogForm f;
  f.Grid->SetOptionsX(f.Grid->OptionsX() + TDBGridXOptions{dghDialogFind});
  f.Query.First();
  std::vector<Integer> recNos;
  WhenModal<TDBGridXFindDlg>([&](TDBGridXFindDlg* d) {
    EXPECT_EQ(d->cbFindIn->Items()->Strings(d->cbFindIn->Items()->Count() - 1), "<All>");
    EXPECT_EQ(d->cbFindDirection->Text(), QStringLiteral("全局"));
    d->cbFindIn->SelectedItemIndex(d->cbFindIn->Items()->Count() - 1);
    d->cbText->SetText(QStringLiteral("a"));
    d->bFind->Click();
    recNos.push_back(f.Query.RecNo());  // Zhang: "全局" starts from the top
    d->bFind->Click();
    recNos.push_back(f.Query.RecNo());  // then on downwards from the match: Wang
    PressKey(d, Qt::Key_Control, QString(), Qt::ControlModifier);
    d->bFind->Click();
    recNos.push_back(f.Query.RecNo());  // Ctrl turns it upwards: Zhang
    PressKey(d, Qt::Key_A, QString(), Qt::NoModifier);
    d->cbText->SetText(QStringLiteral("nobody"));
    d->bFind->Click();
    recNos.push_back(f.Query.RecNo());  // no match leaves the record
    d->cbFindIn->SelectedItemIndex(d->cbFindIn->Items()->IndexOf(QStringLiteral("flag")));
    d->cbText->SetText(QStringLiteral("x"));
    d->bFind->Click();
    recNos.push_back(f.Query.RecNo());  // one column only: flag 'x' of Wang
    EXPECT_EQ(d->cbText->Items()->Count(), 3) << "each text searched is kept once";
    d->bCancel->Click();
  });
  Word key = 'F';
  f.Grid->KeyDown(key, TShiftState{ssCtrl});
  EXPECT_EQ(recNos, (std::vector<Integer>{1, 3, 1, 1, 3}));
}
