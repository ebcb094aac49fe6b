#include "app/RavTemplateFill.h"
#include "app/PayBillLayout.h"
#include "app/PrintedText.h"
#include "platform/report/RvProject.h"

namespace {

// Settings give millimetres; templates measure inches.
constexpr double InchesPerMillimetre = 0.0394;
// Captions longer than this many bytes print smaller.
constexpr Integer LongCaptionBytes = 8;
constexpr Integer LongCaptionFontSize = 8;

TRaveComponent* PageOf(TRvProject* Project) {
  return Project->ProjectManager()->FindRaveComponent(QStringLiteral("Report1.Page1"), nullptr);
}

template <class TKind>
TKind* Find(TRvProject* Project, const String& Name) {
  TRaveComponent* page = PageOf(Project);
  return page ? dynamic_cast<TKind*>(Project->ProjectManager()->FindRaveComponent(Name, page)) : nullptr;
}

void SetCaption(TRaveText* Text, const String& Caption) {
  Text->SetText(Caption);
  if (GbkLength(Caption) > LongCaptionBytes) Text->Font().Size = LongCaptionFontSize;
}

}  // namespace

void SetRavText(TRvProject* Project, const String& Name, const String& Caption, Integer Slot, double SlotWidth,
                bool Centre) {
  auto* text = Find<TRaveText>(Project, Name);
  if (!text) return;
  if (Centre) text->SetLeft(PayBillSlotsLeft + (Slot - 1) * SlotWidth + (SlotWidth - text->Width()) / 2);
  SetCaption(text, Caption);
}

void SetRavTextOnly(TRvProject* Project, const String& Name, const String& Caption) {
  if (auto* text = Find<TRaveText>(Project, Name)) SetCaption(text, Caption);
}

void SetRavDataText(TRvProject* Project, const String& Name, const String& Field, Integer Slot, double SlotWidth,
                    bool Align) {
  auto* data = Find<TRaveDataText>(Project, Name);
  if (!data) return;
  data->SetDataField(Field);
  if (Align) data->SetLeft(PayBillSlotsLeft + Slot * SlotWidth - data->Width());
}

void SetRavRectangle(TRvProject* Project, const String& Name, Integer Slot, double SlotWidth, bool Visible,
                     bool Place) {
  auto* rectangle = Find<TRaveRectangle>(Project, Name);
  if (!rectangle) return;
  if (Place) {
    rectangle->SetLeft(PayBillSlotsLeft + (Slot - 1) * SlotWidth);
    rectangle->SetWidth(SlotWidth);
  }
  rectangle->SetVisible(Visible);
}

void SetPageWidth(TRvProject* Project, double Inches) {
  auto* page = dynamic_cast<TRavePage*>(PageOf(Project));
  if (!page) return;
  page->SetPageWidth(Inches);
  if (auto* region = Find<TRaveRegion>(Project, QStringLiteral("Region1")))
    region->SetLeft((page->PageWidth() - region->Width()) / 2);
}

void SetPageHeight(TRvProject* Project, double Millimetres, Integer TopPos) {
  auto* page = dynamic_cast<TRavePage*>(PageOf(Project));
  if (!page) return;
  page->SetPageHeight(Millimetres * InchesPerMillimetre);
  auto* region = Find<TRaveRegion>(Project, QStringLiteral("Region1"));
  if (!region) return;
  region->SetTop(TopPos * 0.1);
  region->SetHeight(Millimetres * InchesPerMillimetre - TopPos * 0.1);
}

void SetBandHeight(TRvProject* Project, double Millimetres) {
  if (auto* band = Find<TRaveDataBand>(Project, QStringLiteral("DataBand1")))
    band->SetHeight(band->Height() + Millimetres * InchesPerMillimetre);
}
