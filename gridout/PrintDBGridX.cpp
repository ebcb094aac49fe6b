#include "gridout/PrintDBGridX.h"
#include "gridout/PrintDBGridXRun.h"
#include "gridout/PrinterPreview.h"
#include "gridout/fPrnDBGridXSetupDialog.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"

// ---- page margins, header and footer

void TPageParams::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPageParams*>(Source)) {
    FBottomMargin = p->FBottomMargin;
    FLeftMargin = p->FLeftMargin;
    FRightMargin = p->FRightMargin;
    FTopMargin = p->FTopMargin;
    return;
  }
  TPersistent::Assign(Source);
}

TPageColontitle::TPageColontitle()
    : FCenterText(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>()),
      FLeftText(std::make_unique<TStringList>()),
      FRightText(std::make_unique<TStringList>()) {}

TPageColontitle::~TPageColontitle() = default;

void TPageColontitle::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TPageColontitle*>(Source)) {
    FLeftText->Assign(c->FLeftText.get());
    FCenterText->Assign(c->FCenterText.get());
    FRightText->Assign(c->FRightText.get());
    FFont->Assign(c->FFont.get());
    FLineType = c->FLineType;
    return;
  }
  TPersistent::Assign(Source);
}

// ---- binary properties

namespace {

void WriteInt32(TStream* Stream, qint32 Value) { Stream->WriteBuffer(&Value, sizeof Value); }

qint32 ReadInt32(TStream* Stream) {
  qint32 value = 0;
  if (Stream->Read(&value, sizeof value) != Integer(sizeof value))
    throw EReadError(QStringLiteral("Stream read error"));
  return value;
}

QByteArray ReadBytes(TStream* Stream, qint32 Count) {
  if (Count < 0 || Count > Stream->Size() - Stream->Position()) throw EReadError(QStringLiteral("Stream read error"));
  QByteArray bytes(Count, Qt::Uninitialized);
  Stream->ReadBuffer(bytes.data(), Count);
  return bytes;
}

}  // namespace

void TBinaryPropertyWriter::DefineBinaryProperty(const String& Name, const TStreamProc&, const TStreamProc& WriteData,
                                                 bool HasData) {
  if (!HasData) return;
  TMemoryStream data;
  WriteData(&data);
  const QByteArray name = Name.toUtf8();
  WriteInt32(FStream, qint32(name.size()));
  FStream->WriteBuffer(name.constData(), Integer(name.size()));
  WriteInt32(FStream, qint32(data.Bytes().size()));
  FStream->WriteBuffer(data.Bytes().constData(), Integer(data.Bytes().size()));
}

TBinaryPropertyReader::TBinaryPropertyReader(TStream* Stream) {
  while (Stream->Position() < Stream->Size()) {
    const String name = String::fromUtf8(ReadBytes(Stream, ReadInt32(Stream)));
    FProperties[name] = ReadBytes(Stream, ReadInt32(Stream));
  }
}

void TBinaryPropertyReader::DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc&,
                                                 bool) {
  const auto found = FProperties.find(Name);
  if (found == FProperties.end()) return;
  TMemoryStream data;
  data.WriteBuffer(found->second.constData(), Integer(found->second.size()));
  data.SetPosition(0);
  ReadData(&data);
}

// ---- the component

TPrintDBGridX::TPrintDBGridX(TComponent* AOwner)
    : TComponent(AOwner),
      FCellParams(std::make_unique<TColCellParamsX>()),
      FPage(std::make_unique<TPageParams>()),
      FPageFooter(std::make_unique<TPageColontitle>()),
      FPageHeader(std::make_unique<TPageColontitle>()),
      FTitle(std::make_unique<TStringList>()) {}

TPrintDBGridX::~TPrintDBGridX() = default;

TStrings* TPrintDBGridX::AfterGridText() {
  if (!FAfterGridText) FAfterGridText = std::make_unique<TRichEditStrings>();
  return FAfterGridText.get();
}

TStrings* TPrintDBGridX::BeforeGridText() {
  if (!FBeforeGridText) FBeforeGridText = std::make_unique<TRichEditStrings>();
  return FBeforeGridText.get();
}

namespace {

// Rich text stays rich; plain strings arrive as plain text.
void CopyThroughStream(TStrings* Source, TStrings* Target) {
  TMemoryStream stream;
  Source->SaveToStream(&stream);
  stream.SetPosition(0);
  Target->LoadFromStream(&stream);
}

}  // namespace

void TPrintDBGridX::SetAfterGridText(TStrings* Value) { CopyThroughStream(Value, AfterGridText()); }

void TPrintDBGridX::SetBeforeGridText(TStrings* Value) { CopyThroughStream(Value, BeforeGridText()); }

void TPrintDBGridX::SetDBGridX(TDBGridX* Value) {
  if (Value == FDBGridX) return;
  if (FDBGridX) FDBGridX->RemoveFreeNotification(this);
  FDBGridX = Value;
  if (FDBGridX) FDBGridX->FreeNotification(this);
}

void TPrintDBGridX::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDBGridX) FDBGridX = nullptr;
}

void TPrintDBGridX::SetUnits(TMeasureUnits Value) {
  if (Value == FUnits) return;
  FUnits = Value;
  if (ComponentState().Contains(csLoading)) return;
  const double factor = Value == TMeasureUnits::Inches ? 0.3937 : 2.54;
  const auto convert = [factor](Currency Margin) { return Currency::FromDouble(Margin.ToDouble() * factor); };
  FPage->SetBottomMargin(convert(FPage->BottomMargin()));
  FPage->SetTopMargin(convert(FPage->TopMargin()));
  FPage->SetLeftMargin(convert(FPage->LeftMargin()));
  FPage->SetRightMargin(convert(FPage->RightMargin()));
}

void TPrintDBGridX::CreateSubstitutions() {
  if (!FSubstitutionNames) FSubstitutionNames = std::make_unique<TStringList>();
  if (!FSubstitutionValues) FSubstitutionValues = std::make_unique<TStringList>();
}

void TPrintDBGridX::DefineProperties(TFiler* Filer) {
  const auto define = [Filer](const String& Name, TStrings* Text) {
    Filer->DefineBinaryProperty(
        Name, [Text](TStream* Stream) { Text->LoadFromStream(Stream); },
        [Text](TStream* Stream) { Text->SaveToStream(Stream); }, Text->Count() > 0);
  };
  define(QStringLiteral("BeforeGridText_Data"), BeforeGridText());
  define(QStringLiteral("AfterGridText_Data"), AfterGridText());
}

void TPrintDBGridX::WriteData(TStream* Stream) {
  TBinaryPropertyWriter writer(Stream);
  DefineProperties(&writer);
}

void TPrintDBGridX::ReadData(TStream* Stream) {
  TBinaryPropertyReader reader(Stream);
  IncludeState(csLoading);
  try {
    DefineProperties(&reader);
  } catch (...) {  // the loading state must not outlive a failed read; the failure goes on
    ExcludeState(csLoading);
    throw;
  }
  ExcludeState(csLoading);
}

// ---- page macros

namespace {

const char* const MacroNames[] = {"&[Page]", "&[ShortDate]", "&[Date]", "&[LongDate]", "&[Time]", "&[Pages]"};
constexpr Integer PageMacro = 0, PagesMacro = 5;

// Whether Text holds Macro, in any letter case, not escaped by a '&' before it.
bool HoldsMacro(const String& Text, const String& Macro) {
  for (qsizetype at = Text.indexOf(Macro, 0, Qt::CaseInsensitive); at >= 0;
       at = Text.indexOf(Macro, at + Macro.size(), Qt::CaseInsensitive))
    if (at == 0 || Text[at - 1] != QLatin1Char('&')) return true;
  return false;
}

}  // namespace

void TPrintDBGridX::ComputeMacroValues(Integer PageCount) const {
  const TDateTime now = TClock::Current().Now();
  FMacroValues = {QStringLiteral("1"), DateToStr(now), DateToStr(now), FormatDateTime(LongDateFormat, now),
                  TimeToStr(now), QString::number(PageCount)};
}

void TPrintDBGridX::SetPageMacroValue(Integer Page) const {
  if (FMacroValues.empty()) ComputeMacroValues(1);
  FMacroValues[PageMacro] = QString::number(Page);
}

String TPrintDBGridX::ExpandPageMacros(const String& Text) const {
  if (FMacroValues.empty()) ComputeMacroValues(1);
  if (FRun) SetPageMacroValue(FRun->PageNumber());
  String result = Text;
  for (Integer m = 0; m < Integer(std::size(MacroNames)); ++m) {
    const String macro = QString::fromLatin1(MacroNames[m]);
    qsizetype at = result.indexOf(macro, 0, Qt::CaseInsensitive);
    while (at >= 0) {
      const bool escaped = at > 0 && result[at - 1] == QLatin1Char('&');
      const String& insert = escaped ? macro : FMacroValues[size_t(m)];
      result.replace(at, macro.size(), insert);
      at = result.indexOf(macro, at + insert.size(), Qt::CaseInsensitive);
    }
  }
  return result;
}

bool TPrintDBGridX::UsesPageCountMacro() const {
  const String pages = QString::fromLatin1(MacroNames[PagesMacro]);
  for (const TPageColontitle* part : {FPageHeader.get(), FPageFooter.get()})
    for (const TStrings* text : {part->LeftText(), part->CenterText(), part->RightText()})
      if (HoldsMacro(text->Text(), pages)) return true;
  return false;
}

// ---- setup and preview

bool TPrintDBGridX::ShowSetupDialog() {
  if (!PrintSetupDialog) PrintSetupDialog = new TfPrnDBGridXSetupDialog(Application);
  TfPrnDBGridXSetupDialog* d = PrintSetupDialog;
  d->seUpMargin->SetText(FloatToStr(FPage->TopMargin().ToDouble()));
  d->seLowMargin->SetText(FloatToStr(FPage->BottomMargin().ToDouble()));
  d->seLeftMargin->SetText(FloatToStr(FPage->LeftMargin().ToDouble()));
  d->seRightMargin->SetText(FloatToStr(FPage->RightMargin().ToDouble()));
  d->cbFitWidthToPage->SetChecked(FOptions.Contains(pghFitGridToPageWidth));
  d->ePrintFont->SetText(FPrintFontName);
  d->cbAutoStretch->SetChecked(FOptions.Contains(pghRowAutoStretch));
  d->cbColored->SetChecked(FOptions.Contains(pghColored));
  d->rgFitingType->SetItemIndex(FOptions.Contains(pghFitingByColWidths) ? 1 : 0);
  d->cbOptimalColWidths->SetChecked(FOptions.Contains(pghOptimalColWidths));
  if (d->ShowModal() != mrOk) return false;

  // Every margin is read before any is stored, so a bad one leaves all four as they were.
  const auto margin = [](TEdit* Edit) { return Currency::FromDouble(double(StrToFloat(Edit->Text()))); };
  const Currency top = margin(d->seUpMargin), bottom = margin(d->seLowMargin), left = margin(d->seLeftMargin),
                 right = margin(d->seRightMargin);
  FPage->SetTopMargin(top);
  FPage->SetBottomMargin(bottom);
  FPage->SetLeftMargin(left);
  FPage->SetRightMargin(right);
  const auto option = [this](TPrintDBGridXOption Option, bool On) {
    if (On) FOptions.Include(Option);
    else FOptions.Exclude(Option);
  };
  option(pghFitGridToPageWidth, d->cbFitWidthToPage->Checked());
  option(pghRowAutoStretch, d->cbAutoStretch->Checked());
  option(pghColored, d->cbColored->Checked());
  option(pghFitingByColWidths, d->rgFitingType->ItemIndex() == 1);
  option(pghOptimalColWidths, d->cbOptimalColWidths->Checked());
  FPrintFontName = d->ePrintFont->Text();
  return true;
}

void TPrintDBGridX::SetupAndPreview() {
  if (ShowSetupDialog()) Preview();
}

void TPrintDBGridX::Preview() {
  TPrinterPreview* preview = SharedPrinterPreview();
  if (OnPrinterSetupDialog) preview->SetSetupHandler(OnPrinterSetupDialog);
  else preview->SetSetupHandler([this](TObject*) { SetupAndPreview(); });
  preview->SetPendingPrintComponent(this);
  PrintTo(preview);
}

void TPrintDBGridX::PrintTo(TVirtualPrinter* Printer) {
  if (FRun) throw EInvalidOperation(QStringLiteral("正在打印，请稍候"));
  TGridPrintRun run(this, Printer);
  FRun = &run;
  try {
    run.Execute();
  } catch (...) {  // the component must not keep pointing at a finished run; the failure goes on
    FRun = nullptr;
    throw;
  }
  FRun = nullptr;
}
