#pragma once
// A recorded page: the drawing operations made on a canvas, kept in the recording device's
// units (pixels at its resolution) and replayed later onto any painter with an explicit
// scale. Text is measured while recording on a device of the recording resolution, so a
// page breaks the same on paper and on the screen.
#include "platform/ui/Graphics.h"
#include <memory>
#include <vector>

class QPainter;
class TRecordingDevice;

class TPageRecording {
public:
  TPageRecording(Integer Width, Integer Height, Integer PixelsPerInchX, Integer PixelsPerInchY);
  ~TPageRecording();
  TPageRecording(const TPageRecording&) = delete;
  TPageRecording& operator=(const TPageRecording&) = delete;

  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  Integer PixelsPerInchX() const { return FPixelsPerInchX; }
  Integer PixelsPerInchY() const { return FPixelsPerInchY; }
  // Number of drawing operations (state changes not counted).
  Integer OperationCount() const;
  bool Empty() const { return OperationCount() == 0; }
  // The texts drawn on the page, in drawing order.
  QStringList Texts() const;

  // Draws the page with its (0, 0) at the painter's current origin; one recorded unit
  // becomes ScaleX by ScaleY units of the painter. The painter's state is kept, and its
  // clip stays in force under the page's own clipping.
  void Replay(QPainter& Painter, double ScaleX = 1, double ScaleY = 1) const;
  // The same through a canvas, in the canvas's logical units (its mapping applies).
  void Replay(TCanvas* Canvas, double ScaleX = 1, double ScaleY = 1) const;

  struct TOperation;
  struct TStateChange;
private:
  friend class TRecordingDevice;
  friend class TRecordingEngine;
  Integer FWidth, FHeight, FPixelsPerInchX, FPixelsPerInchY;
  std::vector<TOperation> FOperations;
};

// A canvas that records into a page. Its font is sized for the page's resolution, and
// drawing ends (the page is complete) when the canvas is destroyed or Finish is called.
class TRecordingCanvas : public TCanvas {
public:
  explicit TRecordingCanvas(TPageRecording* Page);
  ~TRecordingCanvas() override;
  void Finish();
  TSize DeviceSize() const override;
  TPageRecording* Page() const { return FPage; }
protected:
  bool CreateHandle() override;
private:
  TPageRecording* FPage;
  std::unique_ptr<TRecordingDevice> FDevice;
  bool FFinished = false;
};
