#pragma once
// Grid printing: a component that prints the records of a data-aware grid as a paginated
// table into a virtual printer (the preview's recorder), with the grid's titles on every
// page, the footer rows after the last record, a page header and footer with page macros,
// a title text above the grid and rich text before and after it.
#include "dbgrid/DBGridX.h"
#include "gridout/RichEditStrings.h"
#include "gridout/VirtualPrinter.h"
#include "platform/rtl/Currency.h"
#include <functional>
#include <map>

enum class TMeasureUnits { MM, Inches };
enum TPageColontitleLineType { pcltNon, pcltSingleLine, pcltDoubleLine };
enum TPrintDBGridXOption { pghFitGridToPageWidth, pghColored, pghRowAutoStretch, pghFitingByColWidths,
                           pghOptimalColWidths };
using TPrintDBGridXOptions = TSet<TPrintDBGridXOption>;

// The four page margins, in the unit of their component (MM counts centimetres).
class TPageParams : public TPersistent {
public:
  String ClassName() const override { return QStringLiteral("TPageParams"); }
  void Assign(TPersistent* Source) override;
  Currency BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(Currency Value) { FBottomMargin = Value; }
  Currency LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(Currency Value) { FLeftMargin = Value; }
  Currency RightMargin() const { return FRightMargin; }
  void SetRightMargin(Currency Value) { FRightMargin = Value; }
  Currency TopMargin() const { return FTopMargin; }
  void SetTopMargin(Currency Value) { FTopMargin = Value; }
private:
  Currency FBottomMargin = Currency::FromInt64(2);
  Currency FRightMargin = Currency::FromInt64(2);
  Currency FLeftMargin = Currency::FromInt64(2);
  Currency FTopMargin = Currency::FromInt64(2);
};

// A page header or footer: a left, a centre and a right text, a font and a rule.
class TPageColontitle : public TPersistent {
public:
  TPageColontitle();
  ~TPageColontitle() override;
  String ClassName() const override { return QStringLiteral("TPageColontitle"); }
  void Assign(TPersistent* Source) override;
  TStrings* CenterText() const { return FCenterText.get(); }
  void SetCenterText(TStrings* Value) { FCenterText->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TStrings* LeftText() const { return FLeftText.get(); }
  void SetLeftText(TStrings* Value) { FLeftText->Assign(Value); }
  TPageColontitleLineType LineType() const { return FLineType; }
  void SetLineType(TPageColontitleLineType Value) { FLineType = Value; }
  TStrings* RightText() const { return FRightText.get(); }
  void SetRightText(TStrings* Value) { FRightText->Assign(Value); }
private:
  std::unique_ptr<TStringList> FCenterText;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TStringList> FLeftText;
  TPageColontitleLineType FLineType = pcltNon;
  std::unique_ptr<TStringList> FRightText;
};

// A margin as device units at Resolution dots per inch, measured from the paper's edge.
Integer MarginToDeviceUnits(Currency Margin, TMeasureUnits Units, double Resolution);

// Where the print walk stands: on a record (by bookmark) or on a footer row.
struct TPolyBookmark {
  TBookmarkStr Bookmark;
  Integer FooterRow = -1;
  bool IsDataRow = false;
  bool Finished = false;
};

// Sums and counts of the printed records: per footer row and printed column, at
// column position + printed column count x footer row.
using TFooterValues = std::vector<Currency>;

// Named binary properties of a component, streamed as a name, a byte count and the bytes.
class TFiler {
public:
  using TStreamProc = std::function<void(TStream* Stream)>;
  virtual ~TFiler() = default;
  // Reading calls ReadData with the stored bytes when the stream has the property; writing
  // calls WriteData to fill the property when HasData.
  virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                                    bool HasData) = 0;
};

class TBinaryPropertyWriter : public TFiler {
public:
  explicit TBinaryPropertyWriter(TStream* Stream) : FStream(Stream) {}
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;
private:
  TStream* FStream;
};

// Reads every property of the stream first; raises EReadError on a damaged stream.
class TBinaryPropertyReader : public TFiler {
public:
  explicit TBinaryPropertyReader(TStream* Stream);
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;
  bool Has(const String& Name) const { return FProperties.count(Name) != 0; }
private:
  std::map<String, QByteArray> FProperties;
};

class TGridPrintRun;

class TPrintDBGridX : public TComponent {
public:
  explicit TPrintDBGridX(TComponent* AOwner);
  ~TPrintDBGridX() override;
  String ClassName() const override { return QStringLiteral("TPrintDBGridX"); }

  TStrings* AfterGridText();
  void SetAfterGridText(TStrings* Value);
  TStrings* BeforeGridText();
  void SetBeforeGridText(TStrings* Value);
  TDBGridX* DBGridX() const { return FDBGridX; }
  void SetDBGridX(TDBGridX* Value);
  TPrintDBGridXOptions Options() const { return FOptions; }
  void SetOptions(TPrintDBGridXOptions Value) { FOptions = Value; }
  TPageParams* Page() const { return FPage.get(); }
  void SetPage(TPageParams* Value) { FPage->Assign(Value); }
  TPageColontitle* PageFooter() const { return FPageFooter.get(); }
  void SetPageFooter(TPageColontitle* Value) { FPageFooter->Assign(Value); }
  TPageColontitle* PageHeader() const { return FPageHeader.get(); }
  void SetPageHeader(TPageColontitle* Value) { FPageHeader->Assign(Value); }
  const String& PrintFontName() const { return FPrintFontName; }
  void SetPrintFontName(const String& Value) { FPrintFontName = Value; }
  TStrings* Title() const { return FTitle.get(); }
  void SetTitle(TStrings* Value) { FTitle->Assign(Value); }
  TMeasureUnits Units() const { return FUnits; }
  // Converts the margins to the new unit, except while the component is being read.
  void SetUnits(TMeasureUnits Value);

  // Parallel lists of texts replaced in the rich texts while a print run lasts; absent
  // unless made here.
  TStrings* SubstitutionNames() const { return FSubstitutionNames.get(); }
  TStrings* SubstitutionValues() const { return FSubstitutionValues.get(); }
  void CreateSubstitutions();

  TNotifyEvent OnAfterPrint;
  TNotifyEvent OnBeforePrint;
  TNotifyEvent OnPrinterSetupDialog;

  // Prints into the shared preview, which shows the pages as they come.
  void Preview();
  // One print run. Refused with EInvalidOperation while a run of this component is going on.
  void PrintTo(TVirtualPrinter* Printer);
  bool Printing() const { return FRun != nullptr; }
  // Shows the setup dialog filled from the settings; on OK stores its values. Every margin
  // is checked before any is stored: a margin that is not a number raises EConvertError
  // and changes nothing.
  bool ShowSetupDialog();
  void SetupAndPreview();

  // The rich texts as the binary properties "BeforeGridText_Data" and "AfterGridText_Data".
  void DefineProperties(TFiler* Filer);
  void WriteData(TStream* Stream);
  void ReadData(TStream* Stream);

  // The page macros replaced in Text: "&[Page]" (the printer's page number), "&[ShortDate]",
  // "&[Date]", "&[LongDate]", "&[Time]" and "&[Pages]", in any letter case; a macro right
  // after '&' is written back in its own spelling.
  String ExpandPageMacros(const String& Text) const;
  // True when a header or footer text holds "&[Pages]" in any letter case.
  bool UsesPageCountMacro() const;

  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TGridPrintRun;
  void ComputeMacroValues(Integer PageCount) const;
  void SetPageMacroValue(Integer Page) const;

  std::unique_ptr<TRichEditStrings> FAfterGridText;
  std::unique_ptr<TRichEditStrings> FBeforeGridText;
  std::unique_ptr<TColCellParamsX> FCellParams;
  TDBGridX* FDBGridX = nullptr;
  TPrintDBGridXOptions FOptions;
  std::unique_ptr<TPageParams> FPage;
  std::unique_ptr<TPageColontitle> FPageFooter;
  std::unique_ptr<TPageColontitle> FPageHeader;
  String FPrintFontName;
  std::unique_ptr<TStringList> FSubstitutionNames;
  std::unique_ptr<TStringList> FSubstitutionValues;
  std::unique_ptr<TStringList> FTitle;
  TMeasureUnits FUnits = TMeasureUnits::MM;
  // Macro values of the run: page, short date, date, long date, time, pages.
  mutable std::vector<String> FMacroValues;
  TGridPrintRun* FRun = nullptr;
};
