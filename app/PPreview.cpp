#include "app/PPreview.h"
#include "grid/FittedNumberX.h"
#include "gridout/PreviewBox.h"
#include "platform/ui/StdCtrls.h"
#include <cmath>

namespace {

const String ListFont = QStringLiteral("宋体");

// Where the list lies on a page, in the recorder's device pixels.
struct TListLayout {
  Integer Left = 0, Top = 0, Bottom = 0;
  Integer RowHeight = 0, CaptionHeight = 0;
  Integer RowsPerPage = 1;
  std::vector<Integer> Columns;  // shown columns
  std::vector<Integer> X;        // left edge of each shown column, then the right edge of the last
};

void AlignedText(TCanvas* Canvas, const TRect& Cell, Integer Align, const String& Text) {
  const Integer Pad = std::max<Integer>(2, Cell.Height() / 8);
  const String Shown = FittedNumberText(Canvas, Text, Cell.Width() - 2 * Pad);
  const Integer Width = Canvas->TextWidth(Shown);
  Integer X = Cell.Left + Pad;
  if (Align == 1) X = Cell.Left + (Cell.Width() - Width) / 2;
  if (Align == 2) X = Cell.Right - Pad - Width;
  Canvas->TextRect(Cell, X, Cell.Top + (Cell.Height() - Canvas->TextHeight(Shown)) / 2, Shown);
}

struct TZoom {
  String Caption;
  Byte ScaleMode;  // the preview box's
};

const std::vector<TZoom>& Zooms() {
  static const std::vector<TZoom> List{{QStringLiteral("整页"), 9}, {QStringLiteral("页宽"), 8},
                                       {QStringLiteral("200%"), 1}, {QStringLiteral("150%"), 2},
                                       {QStringLiteral("100%"), 3}, {QStringLiteral("75%"), 4},
                                       {QStringLiteral("50%"), 5}};
  return List;
}

// Text and frames are drawn without a brush: neither may paint over a neighbour's lines.
void CellFrame(TCanvas* Canvas, const TRect& Cell) { Canvas->Rectangle(Cell.Left, Cell.Top, Cell.Right + 1, Cell.Bottom + 1); }

}  // namespace

TPPreview::TPPreview(TComponent* AOwner) : TCustomPanel(AOwner) {
  SetBevelOuter(bvNone);
  auto* Bar = new TPanel(this);
  Bar->SetParent(this);
  Bar->SetAlign(alTop);
  Bar->SetHeight(34);
  Bar->SetBevelOuter(bvNone);
  Integer Left = 6;
  const auto Command = [Bar, &Left, this](const String& Caption, std::function<void()> Run) {
    auto* Button = new TButton(this);
    Button->SetParent(Bar);
    Button->SetBounds(Left, 4, 76, 26);
    Button->SetCaption(Caption);
    Button->OnClick = [Run = std::move(Run)](TObject*) { Run(); };
    Left += 82;
    return Button;
  };
  btnPrint = Command(QStringLiteral("打印"), [this] { FBox->PrintPages(); });
  btnPrior = Command(QStringLiteral("上一页"), [this] { FBox->SetPageIndex(FBox->PageIndex() - 1); });
  btnNext = Command(QStringLiteral("下一页"), [this] { FBox->SetPageIndex(FBox->PageIndex() + 1); });
  btnClose = Command(QStringLiteral("关闭"), [this] {
    if (OnReturn) OnReturn(this);
  });
  cmbZoom = new TComboBox(this);
  cmbZoom->SetParent(Bar);
  cmbZoom->SetStyle(csDropDownList);
  cmbZoom->SetBounds(Left + 8, 6, 90, 22);
  for (const TZoom& Zoom : Zooms()) cmbZoom->Items()->Add(Zoom.Caption);
  cmbZoom->SetItemIndex(0);
  cmbZoom->OnChange = [this](TObject*) {
    if (cmbZoom->ItemIndex() < 0) return;
    FBox->SetScaleMode(Zooms()[size_t(cmbZoom->ItemIndex())].ScaleMode);
    FBox->UpdatePageLayout();
  };
  FBox = new TPreviewBox(this);
  FBox->SetParent(this);
  FBox->SetAlign(alClient);
}

void TPPreview::SetpColCount(Integer Value) { FColumns.resize(size_t(std::max<Integer>(0, Value))); }

const TPPreview::TColumn& TPPreview::Column(Integer Col) const {
  if (Col < 0 || Col >= pColCount()) throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Col));
  return FColumns[size_t(Col)];
}

TPPreview::TColumn& TPPreview::Column(Integer Col) {
  return const_cast<TColumn&>(static_cast<const TPPreview*>(this)->Column(Col));
}

void TPPreview::SetColWidth(Integer Col, Integer Width) { Column(Col).Width = std::max<Integer>(0, Width); }
void TPPreview::SetColAlign(Integer Col, Integer Align) { Column(Col).Align = Align; }

void TPPreview::SetCellText(Integer Col, Integer Row, const String& Text) {
  Column(Col);
  FCells[{Row, Col}] = Text;
}

void TPPreview::SetTitleText(Integer Col, Integer HeaderRow, const String& Text) { Column(Col).Titles[HeaderRow] = Text; }

String TPPreview::CellText(Integer Col, Integer Row) const {
  const auto Found = FCells.find({Row, Col});
  return Found == FCells.end() ? String() : Found->second;
}

String TPPreview::TitleText(Integer Col, Integer HeaderRow) const {
  const auto& Titles = Column(Col).Titles;
  const auto Found = Titles.find(HeaderRow);
  return Found == Titles.end() ? String() : Found->second;
}

Integer TPPreview::PrintedRowCount() const {
  const Integer LastWithText = FCells.empty() ? -1 : FCells.rbegin()->first.first;
  return std::max(FDataRowCount, LastWithText + 1);
}

Integer TPPreview::PageCount() const { return FBox->PageCount(); }

void TPPreview::SetpActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (FActive) RecordPages();
}

void TPPreview::RecordPages() {
  TPrinterPreview* Recorder = FBox->Preview();
  const Integer Dpi = Recorder->GetPixelsPerInchY();
  const double Scale = double(Recorder->GetPixelsPerInchX()) / 96;
  const Integer Margin = Dpi / 2;
  TListLayout Layout;
  Layout.Left = Margin;
  Layout.Top = Margin;
  Layout.Bottom = Recorder->GetPageHeight() - Margin;

  double Total = 0;
  for (Integer Col = 0; Col < pColCount(); ++Col)
    if (FColumns[size_t(Col)].Width > 0) {
      Layout.Columns.push_back(Col);
      Total += FColumns[size_t(Col)].Width * Scale;
    }
  // A list wider than the paper is narrowed to its width.
  const double Room = Recorder->GetPageWidth() - 2 * Margin;
  const double Fit = Total > Room && Total > 0 ? Room / Total : 1;
  double X = Layout.Left;
  for (const Integer Col : Layout.Columns) {
    Layout.X.push_back(Integer(std::lround(X)));
    X += FColumns[size_t(Col)].Width * Scale * Fit;
  }
  Layout.X.push_back(Integer(std::lround(X)));
  // Rows and their text shrink with the columns, so the cells keep the grid's proportions.
  Layout.RowHeight = std::max<Integer>(1, Integer(std::lround(FRowHeight * Scale * Fit)));
  Layout.CaptionHeight = Integer(std::lround(FRowHeight * Scale * 2));
  const Integer TextHeight = std::max<Integer>(1, Integer(std::lround(9.0 * Dpi / 72 * Fit)));

  const Integer Body = Layout.Bottom - Layout.Top - Layout.CaptionHeight - FHeaderRowCount * Layout.RowHeight -
                       Integer(std::lround(FRowHeight * Scale));
  Layout.RowsPerPage = std::max<Integer>(1, Body / Layout.RowHeight);
  const Integer Rows = PrintedRowCount();
  const Integer Pages = std::max<Integer>(1, (Rows + Layout.RowsPerPage - 1) / Layout.RowsPerPage);

  Recorder->SetTitle(FCaption);
  Recorder->BeginDoc();
  for (Integer Page = 1; Page <= Pages; ++Page) {
    if (Page > 1) Recorder->NewPage();
    TCanvas* Canvas = Recorder->GetCanvas();
    Canvas->Font()->SetName(ListFont);
    Canvas->Font()->SetSize(14);
    Canvas->Font()->SetStyle({fsBold});
    Canvas->Brush()->SetStyle(bsClear);
    AlignedText(Canvas, TRect(Layout.Left, Layout.Top, Layout.X.back(), Layout.Top + Layout.CaptionHeight), 1, FCaption);

    Canvas->Font()->SetHeight(-TextHeight);
    Canvas->Font()->SetStyle({});
    Canvas->Pen()->SetColor(clBlack);
    Canvas->Pen()->SetWidth(std::max<Integer>(1, Dpi / 150));  // a hairline vanishes once scaled down
    Integer Y = Layout.Top + Layout.CaptionHeight;
    // Header: equal texts under equal parents merge across; a caption with fewer
    // levels than the header repeats its last one, which then fills the rows below.
    const auto OwnLevels = [this](Integer Col) {
      Integer Last = FHeaderRowCount - 1;
      while (Last > 0 && TitleText(Col, Last - 1) == TitleText(Col, Last)) --Last;
      return Last;
    };
    for (Integer Row = 0; Row < FHeaderRowCount; ++Row) {
      for (size_t i = 0; i < Layout.Columns.size();) {
        const Integer Col = Layout.Columns[i];
        const Integer Last = OwnLevels(Col);
        size_t End = i + 1;
        if (Row > Last) {
          i = End;
          continue;
        }
        const auto SameCell = [&](Integer Other) {
          if (OwnLevels(Other) < Row || (OwnLevels(Other) == Row) != (Last == Row)) return false;
          for (Integer Level = 0; Level <= Row; ++Level)
            if (TitleText(Other, Level) != TitleText(Col, Level)) return false;
          return true;
        };
        while (End < Layout.Columns.size() && SameCell(Layout.Columns[End])) ++End;
        const Integer Top = Y + Row * Layout.RowHeight;
        const Integer Height = Layout.RowHeight * (Row == Last ? FHeaderRowCount - Row : 1);
        const TRect Placed(Layout.X[i], Top, Layout.X[End], Top + Height);
        CellFrame(Canvas, Placed);
        AlignedText(Canvas, Placed, 1, TitleText(Col, Row));
        i = End;
      }
    }
    Y += FHeaderRowCount * Layout.RowHeight;
    const Integer First = (Page - 1) * Layout.RowsPerPage;
    for (Integer Row = First; Row < std::min(Rows, First + Layout.RowsPerPage); ++Row) {
      for (size_t i = 0; i < Layout.Columns.size(); ++i) {
        const Integer Col = Layout.Columns[i];
        const TRect Cell(Layout.X[i], Y, Layout.X[i + 1], Y + Layout.RowHeight);
        CellFrame(Canvas, Cell);
        AlignedText(Canvas, Cell, FColumns[size_t(Col)].Align, CellText(Col, Row));
      }
      Y += Layout.RowHeight;
    }
    Canvas->Font()->SetSize(9);
    const Integer NumberHeight = Integer(std::lround(FRowHeight * Scale));
    AlignedText(Canvas, TRect(Layout.Left, Layout.Bottom - NumberHeight, Layout.X.back(), Layout.Bottom), 2,
                QStringLiteral("第%1页 共%2页").arg(Page).arg(Pages));
  }
  Recorder->EndDoc();
  FBox->SetPageIndex(1);
}
