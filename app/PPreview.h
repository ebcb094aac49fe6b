#pragma once
// The list preview: a control that takes a list as columns (width, alignment), header
// rows, cell texts and a caption, lays it out into pages on the recording printer of a
// preview box and shows them with a small toolbar for printing, paging and closing.
// A row beyond the data rows that received texts (the footer row) prints after them.
#include "platform/ui/Panels.h"
#include <map>
#include <vector>

class TButton;
class TComboBox;
class TPreviewBox;

class TPPreview : public TCustomPanel {
public:
  explicit TPPreview(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TPPreview"); }

  Integer pPrintType() const { return FPrintType; }
  void SetpPrintType(Integer Value) { FPrintType = Value; }
  Integer pColCount() const { return Integer(FColumns.size()); }
  void SetpColCount(Integer Value);
  Integer pDataRowCount() const { return FDataRowCount; }
  void SetpDataRowCount(Integer Value) { FDataRowCount = std::max<Integer>(0, Value); }
  Integer pHeaderRowCount() const { return FHeaderRowCount; }
  void SetpHeaderRowCount(Integer Value) { FHeaderRowCount = std::max<Integer>(1, Value); }
  Integer pCountRowCount() const { return FCountRowCount; }
  void SetpCountRowCount(Integer Value) { FCountRowCount = Value; }
  Integer pRowHeight() const { return FRowHeight; }
  void SetpRowHeight(Integer Value) { FRowHeight = Value > 0 ? Value : 16; }
  // Turning it on lays the pages out and shows the first.
  bool pActive() const { return FActive; }
  void SetpActive(bool Value);
  const String& pCaption() const { return FCaption; }
  void SetpCaption(const String& Value) { FCaption = Value; }
  bool pShowCount() const { return FShowCount; }
  void SetpShowCount(bool Value) { FShowCount = Value; }

  // Columns and rows count from 0; calls outside the columns raise.
  void SetColWidth(Integer Col, Integer Width);
  void SetColAlign(Integer Col, Integer Align);  // 0 left, 1 centre, 2 right
  void SetCellText(Integer Col, Integer Row, const String& Text);
  void SetTitleText(Integer Col, Integer HeaderRow, const String& Text);

  Integer ColWidth(Integer Col) const { return Column(Col).Width; }
  String CellText(Integer Col, Integer Row) const;
  String TitleText(Integer Col, Integer HeaderRow) const;
  // Data rows and the rows after them that hold texts.
  Integer PrintedRowCount() const;
  Integer PageCount() const;

  TPreviewBox* PreviewBox() const { return FBox; }
  TButton* btnPrint;
  TButton* btnPrior;
  TButton* btnNext;
  TButton* btnClose;
  TComboBox* cmbZoom;  // whole page, page width or a percentage
  // The control's own close request.
  TNotifyEvent OnReturn;

private:
  struct TColumn {
    Integer Width = 64;
    Integer Align = 0;
    std::map<Integer, String> Titles;
  };
  const TColumn& Column(Integer Col) const;
  TColumn& Column(Integer Col);
  // Lays every page out on the preview box's recorder.
  void RecordPages();
  std::vector<TColumn> FColumns;
  std::map<std::pair<Integer, Integer>, String> FCells;  // (row, column)
  Integer FPrintType = 0, FDataRowCount = 0, FHeaderRowCount = 1, FCountRowCount = 0, FRowHeight = 16;
  bool FActive = false, FShowCount = false;
  String FCaption;
  TPreviewBox* FBox;
};
