#pragma once
// The preview control: a scrolling box showing the recorded pages one at a time on a white
// page with a dark shadow, at ten zoom settings; it prints the pages and opens printer setup.
#include "gridout/PrinterPreview.h"
#include "platform/ui/Panels.h"

class TPreviewBox;

// The page: it maps the page's device units onto its own size. A click zooms, a drag pans.
class TDrawPanel : public TCustomPanel {
public:
  explicit TDrawPanel(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TDrawPanel"); }
  TPoint DragOrigin() const { return FDragOrigin; }
  void Dispatch(TMessage& Message) override;
protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
private:
  TPreviewBox* Box() const;
  TPoint FDragOrigin;
};

// Screen cursors of the page: the magnifier it shows and the hand shown while dragging.
TCursor ZoomCursor();
TCursor DragCursor();

class TPreviewBox : public TCustomControl {
public:
  explicit TPreviewBox(TComponent* AOwner);
  ~TPreviewBox() override;
  String ClassName() const override { return QStringLiteral("TPreviewBox"); }

  TNotifyEvent OnOpenPreviewer;
  TNotifyEvent OnPrinterPreviewChanged;
  TNotifyEvent SetupChangedHandler;
  TNotifyEvent SetupDialogHandler;

  Integer PageCount() const { return FPageCount; }
  Integer PageIndex() const { return FPageIndex; }
  // Clamped to 1..PageCount; a change repaints the page and is reported.
  void SetPageIndex(Integer Value);
  TPrinterPreview* Preview() const { return FPreview.get(); }
  TComponent* PrintComponent() const { return FPrintComponent; }
  void SetPrintComponent(TComponent* Value);
  // 0..7: 500, 200, 150, 100, 75, 50, 25 and 10 %; 8: page width; 9: whole page.
  Byte ScaleMode() const { return FScaleMode; }
  void SetScaleMode(Byte Value);
  Integer ScalePercent() const { return FScalePercent; }
  TDrawPanel* DrawPanel() const { return FDrawPanel; }
  TPanel* ShadowPanel() const { return FShadowPanel; }

  // Sizes and places the page for the zoom setting.
  void UpdatePageLayout();
  void InvalidatePage();
  // Asks for the pages in the print dialog and replays them to the chosen printer.
  void PrintPages();
  void PrinterSetup();

  // The scrolled area: SB_HORZ or SB_VERT. Positions stay within range less the client size.
  Integer ScrollRange(Integer Bar) const { return FAxes[Bar].Range; }
  Integer ScrollPosition(Integer Bar) const { return FAxes[Bar].Position; }
  void SetScrollPosition(Integer Bar, Integer Value);
  Integer ScrollIncrement() const { return 8; }

  void Dispatch(TMessage& Message) override;

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Resize() override;

private:
  friend class TPrinterPreview;
  friend class TDrawPanel;
  struct TAxis {
    Integer Range = 0;
    Integer Position = 0;
  };
  void SetRanges(Integer Horz, Integer Vert);
  void UpdateScrollBars();
  void PlacePage();
  void Changed();
  Integer ClientExtent(Integer Bar) const;

  TDrawPanel* FDrawPanel = nullptr;
  Integer FPageCount = 0;
  Integer FPageIndex = 1;
  std::unique_ptr<TPrinterPreview> FPreview;
  TComponent* FPrintComponent = nullptr;
  Byte FScaleMode = 9;
  TPanel* FShadowPanel = nullptr;
  Integer FScalePercent = 100;
  TAxis FAxes[2];
  TRect FPage;  // the page's place in the scrolled area
  bool FLayingOut = false;
};
