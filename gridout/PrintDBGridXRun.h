#pragma once
// One print run of a TPrintDBGridX: the state that lives while the pages are laid out and
// drawn, and the steps that lay them out. Sizes are device units of the printer; screen
// lengths of the grid are scaled by printer resolution / screen resolution per axis.
#include "gridout/PrintDBGridX.h"
#include "platform/print/PageRecording.h"

class TGridPrintRun {
public:
  TGridPrintRun(TPrintDBGridX* Owner, TVirtualPrinter* Printer);
  ~TGridPrintRun();
  TGridPrintRun(const TGridPrintRun&) = delete;
  TGridPrintRun& operator=(const TGridPrintRun&) = delete;

  void Execute();
  // The page being laid out: counted during the page-count pass, else the printer's.
  Integer PageNumber() const;

  // The text routine of every printed text: measures (returns the height) or draws (returns 0).
  Integer DrawCellText(const TRect& Rect, bool Fill, Integer HorzMargin, Integer VertMargin, const String& Text,
                       TAlignment Alignment, TTextLayout Layout, bool WordWrap, bool EndEllipsis, Integer LeftMargin,
                       Integer RightMargin, bool Measure);

private:
  struct TBand {
    TPolyBookmark Start;
    TPolyBookmark End;
    std::vector<Integer> Heights;
  };

  // ---- the run
  void Body();
  void CountPages();
  void StartNewPage();
  // Lets the application handle its events; a grid changed meanwhile ends the run.
  void PumpEvents();
  // ---- the walk
  TDBGridXSelectionType SelectionKind() const;
  TPolyBookmark StartWalk();
  void StepWalk(TPolyBookmark& Pos);
  void GoToFooterRows(TPolyBookmark& Pos) const;
  bool MoveTo(const TBookmarkStr& Bookmark);
  // ---- bands
  TBand MeasureBand(const TPolyBookmark& From, Integer Top, Integer Limit);
  TPolyBookmark StartBandPage(const TBand& Band, Integer Group, Integer Top);
  Integer PrintBand(const TBand& Band, Integer Top);
  void AddFooterValues();
  // ---- layout (scaling, columns, widths, page groups, canvas, lines)
  void ComputeMetrics();
  void BuildColumnList();
  void ComputeColumnWidths();
  void MeasureOptimalWidths();
  void FitByColumnWidths();
  void FitByScaling();
  void ComputePageGroups();
  void PrepareCanvas();
  void ApplyScaling();
  void TakeFont(TFont* Font, bool WithPrintFont = true);
  Integer TextWidthOf(const String& Text);
  // Lines and rectangles are laid out left to right; a right-to-left grid prints them
  // mirrored inside the printable width.
  TRect Mirrored(const TRect& R) const;
  void AddLine(std::vector<TPoint> Points);
  void DrawLines();
  // ---- cells
  Integer PrintCell(Integer Position, const TRect& Rect, const TPolyBookmark& Pos, Integer RowInBand, bool Measure);
  Integer PrintRecordCell(TColumnX* Column, Integer Position, const TRect& Rect, Integer RowInBand, bool Measure);
  Integer PrintFooterCell(TColumnX* Column, Integer Position, const TRect& Rect, Integer FooterRow, bool Measure);
  String FooterText(TColumnX* Column, Integer Position, Integer FooterRow);
  TField* FooterField(TColumnX* Column, Integer FooterRow) const;
  void FillCell(const TRect& Rect);
  void PrintCheckBox(const TRect& Box, Integer State);
  void DrawCellImage(TCustomImageList* Images, const TRect& Rect, TAlignment Alignment, Integer Index);
  // Measures (returns the height) or draws the picture of a picture column's current record.
  Integer DrawFieldPicture(TColumnX* Column, const TRect& Rect, bool Measure);
  // The text a hidden duplicate is recognised by.
  String DuplicateCheckText(TColumnX* Column);
  bool WordWrapOn(TColumnX* Column, bool Measure) const;
  // The tree indent of the current record in screen pixels when Column is the grid's first
  // visible column, else 0.
  Integer TreeIndentOf(TColumnX* Column) const;
  void PrintTreeLines(const TRect& Area);
  // ---- the row panel: every record printed as a block laid out as the grid's panel
  bool PanelActive() const { return FGrid->RowPanel()->Active(); }
  Integer PanelBlockHeight() const;
  // Column's panel rectangle on paper, in a block whose top is Top.
  TRect PanelCell(TColumnX* Column, Integer Top) const;
  Integer PrintPanelBand(const TBand& Band, Integer Top);
  void PrintPanelTitles(const TRect& Area);
  // ---- titles, header and footer, rich text
  void ComputeHeights();
  Integer SingleTitleHeight();
  Integer MultiTitleHeight();
  Integer MeasureTitleRing(THeadTreeNode* Node);
  Integer TitleTextHeight();
  void PrintTitles(Integer Group, Integer Bottom);
  void PrintSingleTitles(Integer First, Integer Last, const TRect& Area);
  void PrintMultiTitles(Integer First, Integer Last, const TRect& Area);
  void PrintTitleText(Integer First, Integer Last, Integer Top);
  void DrawTitleCaption(TColumnX* Column, const String& Caption, const TRect& Rect, TTextLayout Layout, bool WordWrap,
                        Integer VertMargin, Integer LeftMargin, Integer RightMargin);
  void DrawVerticalTitle(TColumnX* Column, const String& Caption, const TRect& Rect, TAlignment Alignment,
                         Integer VertMargin, Integer HorzMargin);
  Integer PrintPageColontitle(const TRect& Rect, bool Header, bool Measure);
  void DrawHeaderAndFooter();
  void PrintRichText(TRichEditStrings* Text);
  void ApplySubstitutions();
  void RestoreSubstitutedTexts();

  Integer GroupFirst(Integer Group) const { return Group == 0 ? 0 : FPageGroups[size_t(Group - 1)] + 1; }

  TPrintDBGridX* FOwner;
  TVirtualPrinter* FPrinter;
  TDBGridX* FGrid = nullptr;
  TDataSet* FDataSet = nullptr;
  TCanvas* FCanvas = nullptr;
  std::unique_ptr<TPageRecording> FMeasuringPage;
  std::unique_ptr<TRecordingCanvas> FMeasuringCanvas;
  Integer FPageCount = 1;
  bool FFirstPage = false;
  bool FCounting = false;

  double FScreenResX = 96, FScreenResY = 96, FResX = 600, FResY = 600, FScaleX = 1, FScaleY = 1;
  Integer FHorzMargin = 0, FVertMargin = 0, FBandMargin = 0, FLineWidth = 0;
  Integer FOffsetX = 0, FOffsetY = 0;
  TRect FPrintRect, FHeaderRect, FFooterRect, FContentRect;
  bool FScaled = false;
  bool FRightToLeft = false, FRightToLeftReading = false;
  Integer FGridWidth = 0, FAvailable = 0;

  TColumnsXList FColumns;
  std::vector<TColumnX*> FGridColumns;  // the grid's columns when the run began
  std::vector<Integer> FWidths, FClipped, FPageGroups;

  Integer FDataRowHeight = 0, FTitleHeight = 0, FTitleTextHeight = 0, FUsedHeight = 0;
  bool FMultiLineRows = false;
  TFooterValues FFooterValues;
  std::vector<std::vector<TPoint>> FLines;
  std::vector<String> FPreviousTexts;
  TColCellParamsX FDuplicateCheck;
  TFont FDuplicateCheckFont;
  std::vector<QByteArray> FSavedTexts;
  bool FSubstituted = false;
};
