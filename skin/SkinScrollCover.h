#pragma once
// A skinned scroll bar drawn in place of a QScrollBar's own look. The cover takes the bar's
// paint and mouse events: it draws arrows, track and thumb from the skin's scroll-bar elements
// and turns presses on its own parts into the bar's actions (steps, pages with auto-repeat,
// thumb drags), so that what is hit is always what is drawn. The bar's window scrolls through
// the bar's signals as before.
#include "platform/ui/Controls.h"
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <QScrollBar>
class TSkinControl;
class TBitmap;

// A bar's range as scroll information holds it: the page counted in the maximum.
struct TScrollRange {
  Integer Min = 0;
  Integer Max = 0;
  Integer Page = 0;
  Integer Position = 0;
};

// A thumb's start and end, in pixels from the bar's start.
struct TScrollThumb {
  Integer Start = 0;
  Integer End = 0;
  Integer Length() const { return End - Start; }
};

// The cross size a bar is drawn at: the skin's arrow image height, or the system's arrow size
// when the two differ by more than 2 pixels.
Integer ScrollBarThickness(Integer ImageHeight, Integer ArrowSize);
// The thumb of a bar Length long with arrows Arrow long, for the range Min…Max (the page
// counted in, as scroll information holds it). With a page the thumb covers the page's share
// of the track; without one it is an arrow long. An empty range leaves it at the first arrow.
TScrollThumb ThumbOfRange(Integer Length, Integer Arrow, Integer Min, Integer Max, Integer Page, Integer Position);
// The position whose thumb starts nearest to Start (the inverse of ThumbOfRange), within the
// positions the range allows.
Integer PositionOfThumb(Integer Start, Integer Length, Integer Arrow, const TScrollRange& Range);
// The scroll code of a press Along pixels from the bar's start: SB_LINEUP on the first arrow,
// SB_PAGEUP before the thumb, SB_THUMBTRACK on it, SB_PAGEDOWN after it, SB_LINEDOWN on the
// second arrow.
Integer ScrollHitPart(Integer Along, Integer Arrow, const TScrollThumb& Thumb, Integer Length);
// The thumb moved Delta pixels from where it was at the press, kept between the arrows.
TScrollThumb TrackThumb(const TScrollThumb& AtPress, Integer Delta, Integer Arrow, Integer Length);

class TWScrollbar : public QObject {
public:
  // Which bar of the target: the frame's horizontal or vertical one, or a scroll-bar control.
  enum TKind { skHorizontal = 0, skVertical = 1, skControl = 2 };

  explicit TWScrollbar(TSkinControl* Owner);
  ~TWScrollbar() override;

  // Covers the bar of the owner's control named by Kind; for skControl the control is the bar
  // and its "Kind" property gives the orientation.
  void AttachToControl(Integer Kind);
  // The bar draws itself again until the next placing.
  void HideCover();
  // Finds the bar again (a frame re-makes its bars) and covers it while it is shown.
  void UpdatePosition();
  void Repaint();

  bool Shown() const { return FShown; }
  Integer LastScrollCode() const { return FLastScrollCode; }
  void SetLastScrollCode(Integer Value) { FLastScrollCode = Value; }
  QScrollBar* Bar() const { return FBar; }
  // The bar in skin images at its own size; false (nothing drawn) when the skin has no
  // arrow image or the bar is not to be seen.
  bool Paint(TBitmap& Work) const;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  struct TInfo {
    Integer Length = 0;
    Integer Arrow = 0;
    bool Enabled = true;
    TScrollRange Range;
    TScrollThumb Thumb;
  };
  QScrollBar* FindBar() const;
  bool ReadInfo(TInfo& Info) const;
  void Watch(QScrollBar* Bar);
  bool Skinned() const;
  void Press(const QPoint& Local, const QPoint& Global);
  void Drag(const QPoint& Global);
  void Release();
  // One step or page of the pressed part; a page stops once the thumb reached the cursor.
  void Repeat();

  // The target is the owner painter's control, so the cover never outlives knowing of its end.
  TWinControl* Target() const;

  TSkinControl* FOwner;
  QPointer<QScrollBar> FBar;
  Integer FKind = skHorizontal;
  Integer FOrientation = 0;
  Integer FArrowSize;
  Integer FCursorAtPress = 0;
  TScrollThumb FThumbAtPress;
  Integer FCursorNow = 0;
  Integer FPressAlong = 0;
  QTimer FRepeat;
  Integer FLastScrollCode = -1;
  bool FShown = false;
  bool FMouseDown = false;
};
