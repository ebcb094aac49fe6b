#include "gridout/PrintDBGridX.h"
#include "gridout/fPrnDBGridXSetupDialog.h"
#include "platform/rtl/Clock.h"
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

Currency Money(double Value) { return Currency::FromDouble(Value); }

struct ManualClock {
  TManualClock Clock{46000.5};
  ManualClock() { TClock::SetCurrent(&Clock); }
  ~ManualClock() { TClock::SetCurrent(nullptr); }
};

// Shows the setup dialog of Print, lets Answer fill it, and returns ShowSetupDialog's result.
bool AnswerSetupDialog(TPrintDBGridX& Print, std::function<void(TfPrnDBGridXSetupDialog*)> Answer) {
  QTimer::singleShot(0, [Answer] { Answer(PrintSetupDialog); });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { PrintSetupDialog->SetModalResult(mrAbort); });
  watchdog.start(10000);
  return Print.ShowSetupDialog();
}

}  // namespace

TEST(PrintDBGridXSettings, StartsWithTwoCentimetreMarginsAndNoTexts) {
  TPrintDBGridX print(nullptr);
  EXPECT_TRUE(print.Options().IsEmpty());
  EXPECT_EQ(print.Units(), TMeasureUnits::MM);
  for (Currency m : {print.Page()->TopMargin(), print.Page()->BottomMargin(), print.Page()->LeftMargin(),
                     print.Page()->RightMargin()})
    EXPECT_EQ(m, Currency::FromInt64(2));
  EXPECT_EQ(print.PageHeader()->LineType(), pcltNon);
  EXPECT_EQ(print.BeforeGridText()->Count(), 0);
  EXPECT_EQ(print.SubstitutionNames(), nullptr);
}

TEST(PrintDBGridXSettings, MarginsBecomeDeviceUnitsFromThePapersEdge) {
  struct Case { double margin; TMeasureUnits units; double dpi; Integer expected; };
  for (const Case& c : std::initializer_list<Case>{{2, TMeasureUnits::MM, 600, 472},
                                                   {2, TMeasureUnits::MM, 300, 236},
                                                   {0.7874, TMeasureUnits::Inches, 600, 472},
                                                   {1, TMeasureUnits::Inches, 600, 600},
                                                   {2.5, TMeasureUnits::MM, 96, 94},
                                                   {0, TMeasureUnits::MM, 600, 0}})
    EXPECT_EQ(MarginToDeviceUnits(Money(c.margin), c.units, c.dpi), c.expected) << c.margin << " at " << c.dpi;
}

TEST(PrintDBGridXSettings, SwitchingUnitsConvertsEveryMarginBothWays) {
  TPrintDBGridX print(nullptr);
  print.Page()->SetLeftMargin(Money(1.5));
  print.SetUnits(TMeasureUnits::Inches);
  EXPECT_EQ(print.Page()->TopMargin(), Money(0.7874));
  EXPECT_EQ(print.Page()->BottomMargin(), Money(0.7874));
  EXPECT_EQ(print.Page()->RightMargin(), Money(0.7874));
  EXPECT_EQ(print.Page()->LeftMargin(), Money(0.5906));  // 1.5 x 0.3937 = 0.59055
  print.SetUnits(TMeasureUnits::Inches);                // unchanged: nothing converts
  EXPECT_EQ(print.Page()->TopMargin(), Money(0.7874));
  print.SetUnits(TMeasureUnits::MM);
  EXPECT_EQ(print.Page()->TopMargin(), Currency::FromInt64(2));  // 1.999996 to four places
  EXPECT_EQ(print.Page()->LeftMargin(), Money(1.5001));
}

TEST(PrintDBGridXSettings, PageObjectsCopyTheirValuesAndRefuseOtherKinds) {
  TPrintDBGridX a(nullptr), b(nullptr);
  a.Page()->SetTopMargin(Money(3.25));
  a.PageHeader()->LeftText()->SetText(QStringLiteral("工资表"));
  a.PageHeader()->SetLineType(pcltDoubleLine);
  a.PageHeader()->Font()->SetName(QStringLiteral("Noto Sans CJK SC"));
  TPageParams* own = b.Page();
  b.SetPage(a.Page());
  b.SetPageHeader(a.PageHeader());
  EXPECT_EQ(b.Page(), own);
  EXPECT_EQ(b.Page()->TopMargin(), Money(3.25));
  EXPECT_EQ(b.PageHeader()->LeftText()->Text(), QStringLiteral("工资表\r\n"));
  EXPECT_EQ(b.PageHeader()->LineType(), pcltDoubleLine);
  EXPECT_EQ(b.PageHeader()->Font()->Name(), QStringLiteral("Noto Sans CJK SC"));
  EXPECT_THROW(b.Page()->Assign(a.PageHeader()), EConvertError);
}

TEST(PrintDBGridXSettings, PageMacrosIgnoreLetterCaseAndKeepEscapedOnes) {
  ManualClock clock;
  TPrintDBGridX print(nullptr);
  const TDateTime now = clock.Clock.Now();
  struct Case { const char* text; String expected; };
  for (const Case& c : std::initializer_list<Case>{
           {"&[Page] of &[Pages]", QStringLiteral("1 of 1")},
           {"&[page]/&[PAGES]", QStringLiteral("1/1")},
           {"&&[Page]", QStringLiteral("&&[Page]")},
           {"&&[page]", QStringLiteral("&&[Page]")},
           {"&[DATE]", DateToStr(now)},
           {"&[ShortDate] &[Time]", DateToStr(now) + QStringLiteral(" ") + TimeToStr(now)},
           {"&[LongDate]", FormatDateTime(LongDateFormat, now)},
           {"第&[Page]页 共&[Pages]页", QStringLiteral("第1页 共1页")},
           {"&[Pagex] & [Page]", QStringLiteral("&[Pagex] & [Page]")},
           {"", String()}})
    EXPECT_EQ(print.ExpandPageMacros(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(PrintDBGridXSettings, ThePageCountMacroInAnyLetterCaseAsksForTheCount) {
  struct Case { const char* text; bool header; bool expected; };
  for (const Case& c : std::initializer_list<Case>{{"&[Pages]", true, true},
                                                   {"共&[pages]页", false, true},
                                                   {"&[PAGES]", false, true},
                                                   {"&[Page]", true, false},
                                                   {"&&[Pages]", true, false},
                                                   {"", true, false}}) {
    TPrintDBGridX print(nullptr);
    TPageColontitle* part = c.header ? print.PageHeader() : print.PageFooter();
    part->RightText()->SetText(QString::fromUtf8(c.text));
    EXPECT_EQ(print.UsesPageCountMacro(), c.expected) << c.text;
  }
}

TEST(PrintDBGridXSettings, RichTextsRoundTripThroughTheComponentsStream) {
  TPrintDBGridX print(nullptr);
  TRichEditStrings rich;
  rich.RichEdit()->Lines()->SetText(QStringLiteral("工资说明\r\n第二行"));
  {
    QTextCursor cursor(rich.RichEdit()->Document());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(bold);
  }
  print.SetBeforeGridText(&rich);
  TStringList plain;
  plain.SetText(QStringLiteral("签字：\n日期："));
  print.SetAfterGridText(&plain);

  TMemoryStream stream;
  print.WriteData(&stream);
  stream.SetPosition(0);
  TPrintDBGridX read(nullptr);
  read.ReadData(&stream);
  EXPECT_EQ(read.BeforeGridText()->Text(), QStringLiteral("工资说明\r\n第二行\r\n"));
  EXPECT_EQ(read.AfterGridText()->Text(), QStringLiteral("签字：\r\n日期：\r\n"));
  auto* before = static_cast<TRichEditStrings*>(read.BeforeGridText());
  QTextCursor first(before->RichEdit()->Document());
  first.movePosition(QTextCursor::NextCharacter);
  EXPECT_EQ(first.charFormat().fontWeight(), QFont::Bold);
  QTextCursor second(before->RichEdit()->Document()->findBlockByNumber(1));
  second.movePosition(QTextCursor::NextCharacter);
  EXPECT_NE(second.charFormat().fontWeight(), QFont::Bold);
}

TEST(PrintDBGridXSettings, EmptyTextsWriteNothingAndMissingOnesLeaveTheListEmpty) {
  TPrintDBGridX print(nullptr);
  TMemoryStream stream;
  print.WriteData(&stream);
  EXPECT_EQ(stream.Size(), 0);

  print.AfterGridText()->SetText(QStringLiteral("只有后面"));
  print.WriteData(&stream);
  stream.SetPosition(0);
  TPrintDBGridX read(nullptr);
  TBinaryPropertyReader reader(&stream);
  EXPECT_TRUE(reader.Has(QStringLiteral("AfterGridText_Data")));
  EXPECT_FALSE(reader.Has(QStringLiteral("BeforeGridText_Data")));
  stream.SetPosition(0);
  read.ReadData(&stream);
  EXPECT_EQ(read.BeforeGridText()->Count(), 0);
  EXPECT_EQ(read.AfterGridText()->Text(), QStringLiteral("只有后面\r\n"));
}

TEST(PrintDBGridXSettings, ADamagedStreamIsRefusedAndChangesNothing) {
  TPrintDBGridX print(nullptr);
  print.BeforeGridText()->SetText(QStringLiteral("说明"));
  TMemoryStream stream;
  print.WriteData(&stream);
  for (Int64 cut : {Int64(2), Int64(10), stream.Size() - 1}) {
    TMemoryStream damaged;
    damaged.WriteBuffer(stream.Bytes().constData(), Integer(cut));
    damaged.SetPosition(0);
    TPrintDBGridX read(nullptr);
    read.AfterGridText()->SetText(QStringLiteral("原来的"));
    EXPECT_THROW(read.ReadData(&damaged), EReadError) << cut;
    EXPECT_EQ(read.AfterGridText()->Text(), QStringLiteral("原来的\r\n"));
    EXPECT_FALSE(read.ComponentState().Contains(csLoading));
  }
}

TEST(PrintDBGridXSettings, RichEditStringsLoadPlainTextWhenItIsNotRichText) {
  TRichEditStrings list;
  TStringStream plain(QStringLiteral("一\n二\r三"));
  list.LoadFromStream(&plain);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Text(), QStringLiteral("一\r\n二\r\n三\r\n"));
  list.Insert(1, QStringLiteral("插入"));
  list.Delete(0);
  list.SetStrings(0, QStringLiteral("改"));
  EXPECT_EQ(list.Text(), QStringLiteral("改\r\n二\r\n三\r\n"));
  list.Insert(-1, QStringLiteral("x"));
  list.Delete(9);
  EXPECT_EQ(list.Count(), 3);
}

TEST(PrintDBGridXSettings, RichEditStringsFillTheEditWithoutItsNoticesAndGiveItsHandlersBack) {
  TRichEditStrings list;
  TRichEdit* edit = list.RichEdit();
  edit->HandleNeeded();
  Integer changes = 0, selections = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->OnSelectionChange = [&](TObject*) { ++selections; };

  list.SetText(QStringLiteral("一\r\n二"));
  EXPECT_EQ(changes, 0);
  selections = 0;
  TStringList more;
  more.SetText(QStringLiteral("三\n四"));
  list.AddStrings(&more);
  EXPECT_EQ(list.Text(), QStringLiteral("一\r\n二\r\n三\r\n四\r\n"));
  EXPECT_EQ(selections, 0);

  // The handlers are back: the edit's own changes reach them again.
  edit->Lines()->SetText(QStringLiteral("五"));
  EXPECT_GT(changes, 0);
  edit->SetSelStart(1);
  EXPECT_GT(selections, 0);

  // A shown edit holds its drawing while the list is updated.
  edit->SetVisible(true);
  list.BeginUpdate();
  EXPECT_FALSE(edit->Handle()->updatesEnabled());
  list.EndUpdate();
  EXPECT_TRUE(edit->Handle()->updatesEnabled());
}

TEST(PrintDBGridXSettings, SetupDialogShowsTheSettingsAndStoresThemOnOk) {
  TPrintDBGridX print(nullptr);
  print.Page()->SetLeftMargin(Money(1.25));
  print.SetOptions({pghFitGridToPageWidth, pghFitingByColWidths});
  print.SetPrintFontName(QStringLiteral("宋体"));
  const bool ok = AnswerSetupDialog(print, [](TfPrnDBGridXSetupDialog* d) {
    EXPECT_EQ(d->seLeftMargin->Text(), QStringLiteral("1.25"));
    EXPECT_EQ(d->seUpMargin->Text(), QStringLiteral("2"));
    EXPECT_TRUE(d->cbFitWidthToPage->Checked());
    EXPECT_EQ(d->rgFitingType->ItemIndex(), 1);
    EXPECT_EQ(d->ePrintFont->Text(), QStringLiteral("宋体"));
    d->seUpMargin->SetText(QStringLiteral("1.23456"));
    d->seRightMargin->SetText(QStringLiteral("0"));
    d->cbColored->SetChecked(true);
    d->rgFitingType->SetItemIndex(0);
    d->ePrintFont->SetText(QStringLiteral("黑体"));
    d->bOk->Click();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(print.Page()->TopMargin(), Money(1.2346));
  EXPECT_EQ(print.Page()->RightMargin(), Currency());
  EXPECT_EQ(print.Options(), TPrintDBGridXOptions({pghFitGridToPageWidth, pghColored}));
  EXPECT_EQ(print.PrintFontName(), QStringLiteral("黑体"));
}

TEST(PrintDBGridXSettings, SetupDialogChecksEveryMarginBeforeStoringAny) {
  TPrintDBGridX print(nullptr);
  EXPECT_THROW(AnswerSetupDialog(print,
                                 [](TfPrnDBGridXSetupDialog* d) {
                                   d->seUpMargin->SetText(QStringLiteral("1"));
                                   d->seLowMargin->SetText(QStringLiteral("1"));
                                   d->seLeftMargin->SetText(QStringLiteral("1"));
                                   d->seRightMargin->SetText(QStringLiteral("一厘米"));
                                   d->cbColored->SetChecked(true);
                                   d->bOk->Click();
                                 }),
               EConvertError);
  EXPECT_EQ(print.Page()->TopMargin(), Currency::FromInt64(2));
  EXPECT_EQ(print.Page()->LeftMargin(), Currency::FromInt64(2));
  EXPECT_TRUE(print.Options().IsEmpty());

  const bool cancelled = AnswerSetupDialog(print, [](TfPrnDBGridXSetupDialog* d) {
    d->seUpMargin->SetText(QStringLiteral("5"));
    d->bCancel->Click();
  });
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(print.Page()->TopMargin(), Currency::FromInt64(2));
}
