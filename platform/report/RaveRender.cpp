#include "platform/report/RaveRender.h"
#include "platform/db/DB.h"
#include "platform/report/RaveTemplate.h"
#include "platform/rtl/ScopeGuards.h"
#include <cmath>

namespace {

// A thin frame line: half a point.
constexpr double FrameLineInches = 0.5 / 72;
// Texts aligned to a side keep this far from it, off the frames drawn along their boxes.
constexpr double TextInsetInches = 0.03;

Integer Dots(double Inches) { return Integer(std::lround(Inches * RaveRecordingResolution)); }

class TPageWriter {
public:
  TPageWriter(const TRavePage& Page, const TRaveDataLookup& Data, const TRavePageStarted& PageStarted)
      : FPage(Page), FData(Data), FPageStarted(PageStarted) {}

  std::vector<std::unique_ptr<TPageRecording>> Run() {
    StartPage();
    for (const auto& child : FPage.Children())
      if (child->Kind() == TRaveKind::Region && child->Visible()) WriteRegion(*child);
    FCanvas.reset();
    return std::move(FPages);
  }

private:
  void StartPage() {
    FCanvas.reset();
    FPages.push_back(std::make_unique<TPageRecording>(Dots(FPage.PageWidth()), Dots(FPage.PageHeight()),
                                                      RaveRecordingResolution, RaveRecordingResolution));
    FCanvas = std::make_unique<TRecordingCanvas>(FPages.back().get());
    if (FPageStarted) FPageStarted(Integer(FPages.size()));
    for (const auto& child : FPage.Children())
      if (child->Kind() != TRaveKind::Region) WriteItem(*child, 0, 0);
  }

  void WriteRegion(const TRaveComponent& Region) {
    // The first page's region is already started; later regions go on where the last one ended.
    double y = Region.Top();
    const double bottom = Region.Top() + Region.Height();
    bool empty = true;
    const auto place = [&](const TRaveComponent& Band) {
      if (!empty && y + Band.Height() > bottom) {
        StartPage();
        y = Region.Top();
      }
      for (const auto& item : Band.Children()) WriteItem(*item, Region.Left(), y);
      y += Band.Height();
      empty = false;
    };
    for (const auto& band : Region.Children()) {
      if (!band->Visible()) continue;
      TDataSet* data = DataSetOf(static_cast<const TRaveDataBand&>(*band).DataView());
      const TBookmarkStr was = data->IsEmpty() ? TBookmarkStr() : data->Bookmark();
      TDisableControlsLock lock(data);
      TScopeGuard restore([&] {
        if (!was.isEmpty() && data->BookmarkValid(was)) data->SetBookmark(was);
      });
      for (data->First(); !data->Eof(); data->Next()) place(*band);
    }
  }

  TDataSet* DataSetOf(const String& Name) {
    TDataSet* data = FData ? FData(Name) : nullptr;
    if (!data) throw ERaveError(QStringLiteral("报表没有数据连接“%1”").arg(Name));
    if (!data->Active()) data->Open();
    return data;
  }

  void WriteItem(const TRaveComponent& Item, double OriginX, double OriginY) {
    if (!Item.Visible()) return;
    const double left = OriginX + Item.Left(), top = OriginY + Item.Top();
    switch (Item.Kind()) {
      case TRaveKind::Rectangle: {
        TCanvas* canvas = FCanvas.get();
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetColor(clBlack);
        canvas->Pen()->SetWidth(std::max<Integer>(1, Dots(FrameLineInches)));
        canvas->Rectangle(Dots(left), Dots(top), Dots(left + Item.Width()), Dots(top + Item.Height()));
        break;
      }
      case TRaveKind::Text:
        WriteText(static_cast<const TRaveTextItem&>(Item), static_cast<const TRaveText&>(Item).Text(), left, top);
        break;
      case TRaveKind::DataText: {
        const auto& dataText = static_cast<const TRaveDataText&>(Item);
        if (dataText.DataField().trimmed().isEmpty()) break;
        TDataSet* data = DataSetOf(dataText.DataView());
        TField* field = data->FindField(dataText.DataField());
        if (!field)
          throw ERaveError(QStringLiteral("数据连接“%1”没有字段“%2”").arg(dataText.DataView(), dataText.DataField()));
        if (!data->IsEmpty()) WriteText(dataText, field->DisplayText(), left, top);
        break;
      }
      default: break;
    }
  }

  void WriteText(const TRaveTextItem& Item, const String& Text, double Left, double Top) {
    if (Text.trimmed().isEmpty()) return;
    TCanvas* canvas = FCanvas.get();
    TFont* font = canvas->Font();
    if (!Item.Font().Name.isEmpty()) font->SetName(Item.Font().Name);
    font->SetSize(Item.Font().Size);
    font->SetStyle(Item.Font().Bold ? TFontStyles{fsBold} : TFontStyles{});
    font->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    Integer x = Dots(Left);
    const Integer free = Dots(Item.Width()) - canvas->TextWidth(Text);
    switch (Item.Alignment()) {
      case TRaveAlignment::Left: x += Dots(TextInsetInches); break;
      case TRaveAlignment::Center: x += free / 2; break;
      case TRaveAlignment::Right: x += free - Dots(TextInsetInches); break;
    }
    // Centred across the box's height, so a caption printed smaller does not hug its cell's top.
    const Integer y = Dots(Top) + std::max<Integer>(0, (Dots(Item.Height()) - canvas->TextHeight(Text)) / 2);
    canvas->TextOut(x, y, Text);
  }

  const TRavePage& FPage;
  const TRaveDataLookup& FData;
  const TRavePageStarted& FPageStarted;
  std::vector<std::unique_ptr<TPageRecording>> FPages;
  std::unique_ptr<TRecordingCanvas> FCanvas;
};

}  // namespace

std::vector<std::unique_ptr<TPageRecording>> RenderRavePage(const TRavePage& Page, const TRaveDataLookup& Data,
                                                            const TRavePageStarted& PageStarted) {
  if (Page.PageWidth() <= 0 || Page.PageHeight() <= 0)
    throw ERaveError(QStringLiteral("报表页“%1”没有大小").arg(Page.Name()));
  return TPageWriter(Page, Data, PageStarted).Run();
}
