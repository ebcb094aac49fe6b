// The main window's printouts: pay sheets and pay strips through the report templates, and
// receipt slips as plain text for the receipt printer.
#include "app/AppMessages.h"
#include "app/PayBillLayout.h"
#include "app/PosSlips.h"
#include "app/RavTemplateFill.h"
#include "app/RecordColumns.h"
#include "app/uDM.h"
#include "app/uMain.h"
#include "app/uPosPrint.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include <QFile>

namespace {

constexpr Integer EarningsSlots = 30;
constexpr Integer DeductionsSlots = 15;
constexpr Integer StripSlots = 15;
// Record grid columns of the pay items.
constexpr Integer LastEarningsColumn = FirstEarningsColumn + 29;
constexpr Integer LastDeductionsColumn = FirstDeductionsColumn + 14;

String Numbered(const char* Prefix, Integer N) { return QString::fromLatin1(Prefix) + QString::number(N); }

// A stored number, or Default when the query gave nothing or no number.
double StoredNumber(const String& Sql, double Default) {
  double value = 0;
  return TryStrToFloat(DM->GetDataBySQL(Sql).trimmed(), value) ? value : Default;
}

Integer StoredCount(const String& Sql) { return Integer(StoredNumber(Sql, 0)); }

// The title caption of a record column after its group ("应发工资|基本工资" gives "基本工资").
String ItemCaption(const String& Title) {
  const Integer bar = Title.indexOf(u'|');
  return bar < 0 ? Title : Title.mid(bar + 1);
}

}  // namespace

void TfrmMainGZT::CreateReportComponents() {
  RvSystem1 = new TRvSystem(this);
  RvSystem1->SetName(QStringLiteral("RvSystem1"));
  RvProject1 = new TRvProject(this);
  RvProject1->SetName(QStringLiteral("RvProject1"));
  RvProject1->SetEngine(RvSystem1);
  RvDataSetConnection1 = new TRvDataSetConnection(this);
  RvDataSetConnection1->SetName(QStringLiteral("RvDataSetConnection1"));
  RvDataSetConnection1->SetDataSet(dsGZDetail);
  RvDataSetConnection2 = new TRvDataSetConnection(this);
  RvDataSetConnection2->SetName(QStringLiteral("RvDataSetConnection2"));
  RvDataSetConnection2->SetDataSet(DM->dsPara);

  const auto Run = [this](void (TfrmMainGZT::*Handler)(TObject*)) {
    return TNotifyEvent([this, Handler](TObject* Sender) { (this->*Handler)(Sender); });
  };
  pmPayPrint = new TPopupMenu(this);
  MenuItem(pmPayPrint, QStringLiteral("工资单-全部打印"), Run(&TfrmMainGZT::N7Click));
  MenuItem(pmPayPrint, QStringLiteral("工资单-打印选定行"), Run(&TfrmMainGZT::N8Click));
  MenuItem(pmPayPrint, QStringLiteral("工资条-全部打印"), Run(&TfrmMainGZT::N38Click));
  MenuItem(pmPayPrint, QStringLiteral("工资条-打印选定行"), Run(&TfrmMainGZT::N39Click));
  pmPosPrint = new TPopupMenu(this);
  MenuItem(pmPosPrint, QStringLiteral("全部打印"), Run(&TfrmMainGZT::MenuItem3Click));
  MenuItem(pmPosPrint, QStringLiteral("打印选定行"), Run(&TfrmMainGZT::MenuItem4Click));
}

void TfrmMainGZT::PopupUnder(TButton* Button, TPopupMenu* Menu) {
  const TPoint at = Button->ClientToScreen({5, 16});
  Menu->Popup(at.X, at.Y);
}

void TfrmMainGZT::Button8Click(TObject*) { PopupUnder(Button8, pmPayPrint); }

void TfrmMainGZT::Button14Click(TObject*) { PopupUnder(Button11, pmPosPrint); }

bool TfrmMainGZT::LoadReportTemplate(const String& Name) {
  RvProject1->SetActive(false);
  RvProject1->SetProjectFile(ResolvePath(Settings().GAppPath, QStringLiteral("RPT/") + Name));
  try {
    RvProject1->SetActive(true);
  } catch (const Exception& E) {
    ShowAppMessage(E.Message());
    return false;
  }
  return true;
}

String TfrmMainGZT::ReportTitle() const {
  TDataSet* Para = DM->dsPara;
  String Company;
  if (Para->Active() && !Para->IsEmpty()) Company = Para->FieldByName(QStringLiteral("EntName"))->AsString();
  return Company + QStringLiteral("工资单");
}

void TfrmMainGZT::N7Click(TObject*) {
  const TPubSettings& S = Settings();
  String Key = CurrentMonth();
  const String Count = DM->GetDataBySQL(QStringLiteral("Select Count(*) from TGZSet where GZMonth=") + QuotedStr(Key));
  if (Count.isEmpty() || Count == u"0") Key = QStringLiteral("BASE");
  const String KeyTerm = QStringLiteral(" and GZMonth=") + QuotedStr(Key);
  const Integer K = StoredCount(QStringLiteral("Select Count(*) from TGZSet where GZType=1 and ShowStu=0") + KeyTerm);
  const Integer G = StoredCount(QStringLiteral("Select Count(*) from TGZSet where GZType=0 and ShowStu=0") + KeyTerm);

  const double BillHeight = StoredNumber(QStringLiteral("Select [BillHeight] from TPara"), 296.78);
  const double Paragraph = StoredNumber(QStringLiteral("Select Paragraph from TPara"), 0);
  String PrintDays = DM->GetDataBySQL(QStringLiteral("Select PrintDays from TPara")).trimmed();
  if (PrintDays.isEmpty()) PrintDays = QStringLiteral("0");

  RvSystem1->SystemPrinter().Orientation = S.GPrintOrientation != 0 ? poLandscape : poPortrait;
  if (!LoadReportTemplate(PayBillTemplateName(PrintDays, K, G))) return;
  TRvProject* P = RvProject1;
  SetPageWidth(P, double(S.GPageWidth) / 25.4);
  SetPageHeight(P, BillHeight, S.GTopPos);
  SetBandHeight(P, Paragraph);
  if (auto* Page = P->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr))
    if (auto* Title = dynamic_cast<TRaveText*>(P->ProjectManager()->FindRaveComponent(QStringLiteral("TextTitle"), Page)))
      Title->SetText(ReportTitle());
  if (S.GNameOnTitle == 1) {
    SetRavTextOnly(P, QStringLiteral("Text61"), QStringLiteral("-"));
  } else {
    SetRavTextOnly(P, QStringLiteral("Text61"), QStringLiteral(" "));
    SetRavDataText(P, QStringLiteral("DataText91"), QStringLiteral(" "), 0, 0, false);
    SetRavDataText(P, QStringLiteral("DataText92"), QStringLiteral(" "), 0, 0, false);
  }

  const TPayBillLayout Layout = PayBillLayout(K, G);
  const bool Move = Layout.Movable;
  // The month's visible items of one kind fill the numbered slots; the rest are blanked.
  // Deductions come in the order they were made; without any the template keeps its slots.
  const auto FillSlots = [&](bool Earnings, const char* Text, const char* Data, const char* FrameTop,
                             const char* FrameBottom, Integer Slots, double Width, bool HideUnused) {
    dsTmp->Close();
    dsTmp->SetCommandText(QStringLiteral("Select * from TGZSet where GZType=%1 and ShowStu=0").arg(Earnings ? 0 : 1) +
                          KeyTerm + (Earnings ? QStringLiteral(" Order by SortIdx") : QStringLiteral(" Order by ID")));
    dsTmp->Open();
    if (!Earnings && dsTmp->IsEmpty()) return;
    Integer N = 0;
    for (dsTmp->First(); !dsTmp->Eof() && N < Slots; dsTmp->Next()) {
      ++N;
      SetRavText(P, Numbered(Text, N), dsTmp->FieldByName(QStringLiteral("GZName"))->AsString(), N, Width, Move);
      SetRavDataText(P, Numbered(Data, N), dsTmp->FieldByName(QStringLiteral("GZField1"))->AsString().trimmed(), N,
                     Width, Move);
      SetRavRectangle(P, Numbered(FrameTop, N), N, Width, true, Move);
      SetRavRectangle(P, Numbered(FrameBottom, N), N, Width, true, Move);
    }
    for (++N; N <= Slots; ++N) {
      SetRavText(P, Numbered(Text, N), QStringLiteral(" "), N, Width, false);
      SetRavDataText(P, Numbered(Data, N), QStringLiteral(" "), N, Width, false);
      if (HideUnused) {
        SetRavRectangle(P, Numbered(FrameTop, N), N, Width, false, false);
        SetRavRectangle(P, Numbered(FrameBottom, N), N, Width, false, false);
      }
    }
  };
  try {
    FillSlots(true, "TextA", "DataTextA", "RectangleA", "RectangleB", EarningsSlots, Layout.EarningsWidth, Move);
    FillSlots(false, "TextC", "DataTextC", "RectangleC", "RectangleD", DeductionsSlots, Layout.DeductionsWidth, true);
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
    return;
  }

  if (S.GShowXH == 0) {
    SetRavTextOnly(P, QStringLiteral("Text2"), QStringLiteral(" "));
    SetRavDataText(P, QStringLiteral("DataText3"), QStringLiteral(" "), 0, 0, false);
  } else if (S.GShowXH == 2) {
    SetRavTextOnly(P, QStringLiteral("Text2"), QStringLiteral("职员编码"));
    SetRavDataText(P, QStringLiteral("DataText3"), QStringLiteral("EmpCode"), 0, 0, false);
  }
  switch (S.GPrintDays) {
    case 1: SetRavTextOnly(P, QStringLiteral("Text6"), QStringLiteral("工资标准")); break;
    case 2: SetRavTextOnly(P, QStringLiteral("Text6"), QStringLiteral("工资/小时")); break;
    case 3:
      SetRavTextOnly(P, QStringLiteral("Text1"), QStringLiteral("完工件数"));
      SetRavTextOnly(P, QStringLiteral("Text6"), QStringLiteral("工资/") + S.GJJUnit);
      break;
    default: break;
  }
  RvProject1->Execute();
}

void TfrmMainGZT::N38Click(TObject*) {
  if (!LoadReportTemplate(QStringLiteral("GZTiao.RAV"))) return;
  TRvProject* P = RvProject1;
  TRaveComponent* Page = P->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr);
  const auto Text = [&](Integer N) {
    return Page ? dynamic_cast<TRaveText*>(P->ProjectManager()->FindRaveComponent(Numbered("TextA", N), Page)) : nullptr;
  };
  const auto Group = [&](const char* Name) {
    return Page ? dynamic_cast<TRaveText*>(P->ProjectManager()->FindRaveComponent(QLatin1String(Name), Page)) : nullptr;
  };
  Integer N = 0;
  const auto AddItem = [&](Integer Col) {
    TColumnX* Column = DBGridEh2->Columns()->Items(Col);
    ++N;
    SetRavTextOnly(P, Numbered("TextA", N), ItemCaption(Column->Title()->Caption()));
    SetRavDataText(P, Numbered("DataTextA", N), Column->FieldName(), N, 0, false);
  };
  for (Integer Col = FirstEarningsColumn; Col <= LastEarningsColumn; ++Col)
    if (DBGridEh2->Columns()->Items(Col)->Visible()) AddItem(Col);
  if (!Page) return;
  if (TRaveText* Last = Text(N); Last && N >= 1)
    if (TRaveText* Title = Group("TextYFTitle")) Title->SetLeft(Last->Left() - 0.3);
  if (auto* Title = Group("TextTitle")) Title->SetText(ReportTitle());
  bool First = true;
  for (Integer Col = FirstDeductionsColumn; Col <= LastDeductionsColumn; ++Col) {
    if (!DBGridEh2->Columns()->Items(Col)->Visible()) continue;
    if (First) {
      if (TRaveText* Slot = Text(N + 1))
        if (TRaveText* Title = Group("TextYKTitle")) Title->SetLeft(Slot->Left() + 0.2);
      First = false;
    }
    AddItem(Col);
  }
  for (Integer Slot = N + 1; Slot <= StripSlots; ++Slot) {
    SetRavTextOnly(P, Numbered("TextA", Slot), QStringLiteral(" "));
    SetRavDataText(P, Numbered("DataTextA", Slot), QStringLiteral(" "), Slot, 0, false);
    // An unused slot prints no empty cell either.
    SetRavRectangle(P, Numbered("RectangleA", Slot), Slot, 0, false, false);
    SetRavRectangle(P, Numbered("RectangleB", Slot), Slot, 0, false, false);
  }
  SetRavDataText(P, QStringLiteral("DataTextYFTotal"), QStringLiteral("GZTotal"), 0, 0, false);
  RvProject1->Execute();
}

void TfrmMainGZT::PrintSelected(void (TfrmMainGZT::*Print)(TObject*), TObject* Sender) {
  TDataSet* Records = dsGZDetail;
  const auto Mark = [Records](Integer Value) {
    Records->Edit();
    Records->FieldByName(QStringLiteral("SelectStu"))->SetAsInteger(Value);
    Records->Post();
  };
  TBookmarkListX* Selected = DBGridEh2->RecordBookmarks();
  try {
    if (Selected->GetCount() > 0) {
      std::vector<TBookmarkStr> Rows;
      for (Integer i = 0; i < Selected->GetCount(); ++i) Rows.push_back(Selected->GetBookmark(i));
      for (const TBookmarkStr& Row : Rows) {
        Records->SetBookmark(Row);
        Mark(1);
      }
    } else if (Records->Active() && !Records->IsEmpty()) {
      Mark(1);
    }
  } catch (const Exception&) {
    // Marking ends at the first record that cannot be marked; the marked ones print.
  }
  // Whatever the printout does, the list ends unfiltered and unmarked.
  TScopeGuard Unmark([Records, &Mark] {
    Records->SetFiltered(false);
    try {
      TDisableControlsLock Lock(Records);
      for (Records->First(); !Records->Eof(); Records->Next())
        if (Records->FieldByName(QStringLiteral("SelectStu"))->AsInteger() == 1) Mark(0);
    } catch (const Exception&) {
      // A record that cannot be unmarked ends the walk; the marks never reach the database.
    }
  });
  Records->SetFilter(QStringLiteral("SelectStu=1"));
  Records->SetFiltered(true);
  (this->*Print)(Sender);
}

void TfrmMainGZT::N8Click(TObject* Sender) { PrintSelected(&TfrmMainGZT::N7Click, Sender); }

void TfrmMainGZT::N39Click(TObject* Sender) { PrintSelected(&TfrmMainGZT::N38Click, Sender); }

void TfrmMainGZT::MenuItem3Click(TObject*) {
  if (!dsGZDetail->Active()) {
    ShowAppMessage(QStringLiteral("没有用于打印的工资数据！"));
    return;
  }
  const String FileName = ResolvePath(Settings().GAppPath, QStringLiteral("tmp.Txt"));
  QFile::remove(FileName);
  std::vector<TPosColumn> Columns;
  for (Integer i = 0; i < DBGridEh2->Columns()->Count(); ++i) {
    TColumnX* Column = DBGridEh2->Columns()->Items(i);
    Columns.push_back({Column->Title()->Caption(), Column->FieldName(), Column->Visible()});
  }
  WritePosSlips(FileName, PosSlipLines(dsGZDetail, Columns, AmountFormat()));
  ShowPosPrint();
}

void TfrmMainGZT::MenuItem4Click(TObject* Sender) {
  if (!dsGZDetail->Active()) {
    ShowAppMessage(QStringLiteral("没有用于打印的工资数据！"));
    return;
  }
  PrintSelected(&TfrmMainGZT::MenuItem3Click, Sender);
}
