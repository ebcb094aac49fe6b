#pragma once
// A base grid with recorded cells, editor texts and limits, and small helpers to drive it
// by messages the way the window system would.
#include "grid/GridsX.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <map>
#include <memory>
#include <utility>

class TTestGrid : public TCustomGridX {
public:
  using TCustomGridX::TCustomGridX;
  using TCustomGridX::GridClientHeight;
  using TCustomGridX::GridClientWidth;

  std::vector<TGridCoord> Painted;
  std::map<std::pair<Integer, Integer>, TGridDrawState> States;
  std::map<std::pair<Integer, Integer>, String> Texts;
  std::vector<std::pair<TGridCoord, String>> Stored;
  Integer MaxLength = 0;
  String Mask;
  bool HotTracking = false;
  bool SmoothHorz = false;
  bool SmoothVert = false;
  std::vector<std::pair<Integer, Integer>> ColumnMoves, RowMoves;

  void PaintCell(Integer ACol, Integer ARow, TGridDrawState State, TRect) override {
    Painted.push_back({ACol, ARow});
    States[{ACol, ARow}] = State;
  }
  String GetCellEditText(Integer ACol, Integer ARow) override { return Texts[{ACol, ARow}]; }
  void StoreCellEditText(Integer ACol, Integer ARow, const String& Value) override {
    Texts[{ACol, ARow}] = Value;
    Stored.push_back({{ACol, ARow}, Value});
  }
  Integer GetCellEditMaxLength() override { return MaxLength; }
  String GetCellEditMask(Integer, Integer) override { return Mask; }
  bool CanHotTrackCell(Integer, Integer) override { return HotTracking; }
  bool IsSmoothHorzScroll() override { return SmoothHorz || TCustomGridX::IsSmoothHorzScroll(); }
  bool IsSmoothVertScroll() override { return SmoothVert; }
  void ColumnMoved(Integer FromIndex, Integer ToIndex) override { ColumnMoves.push_back({FromIndex, ToIndex}); }
  void RowRelocated(Integer FromIndex, Integer ToIndex) override { RowMoves.push_back({FromIndex, ToIndex}); }

  TGridDrawState StateOf(Integer ACol, Integer ARow) { return States[{ACol, ARow}]; }
  TGridDrawInfoX Info() {
    TGridDrawInfoX di;
    FillDrawInfo(di);
    return di;
  }
};

// A shown form holding a focused grid, so that mouse and editor paths run as in use.
struct TGridOnForm {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TTestGrid* Grid = new TTestGrid(Form.get());
  explicit TGridOnForm(Integer Width = 400, Integer Height = 300) {
    Form->SetBounds(0, 0, Width + 40, Height + 40);
    Grid->SetParent(Form.get());
    Grid->SetBounds(10, 10, Width, Height);
    Form->Show();
    Grid->SetFocus();
    QApplication::processEvents();
  }
  LRESULT Mouse(Cardinal Msg, Integer X, Integer Y, Word Keys = 0) {
    return Grid->Perform(Msg, Keys, PointToLParam({X, Y}));
  }
  void Click(Integer X, Integer Y, Word Keys = 0) {
    Mouse(WM_LBUTTONDOWN, X, Y, Keys | MK_LBUTTON);
    Mouse(WM_LBUTTONUP, X, Y, Keys);
  }
  void Key(Word VirtualKey, TShiftState Shift = {}) { Grid->KeyDown(VirtualKey, Shift); }
  // The client area as painted, in client coordinates.
  QImage Grab() {
    const TRect inWindow = Grid->ClientRectInWindow();
    const QImage all = Grid->Handle()->grab().toImage();
    return all.copy(inWindow.Left, inWindow.Top, inWindow.Width(), inWindow.Height());
  }
};

inline TColor PixelAt(const QImage& Image, Integer X, Integer Y) { return QColorToColor(Image.pixelColor(X, Y)); }
