#pragma once
// "打印预览窗口": a list preview of a grid's columns, captions, cells and footers.
#include "platform/ui/Forms.h"

class TDataSet;
class TDBGridX;
class TPPreview;

class TfrmPreview : public TForm {
public:
  explicit TfrmPreview(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmPreview"); }

  // Hands the grid's columns, their captions split into header rows, every record's
  // cell texts and the footer row to the preview control under the title Title.
  void ReadyData1(const String& Title, TDBGridX* Grid, TDataSet* DataSet);

  TPPreview* PPreview;
};

// The number of caption levels of a column title: one more than its "|"s.
Integer GetMaxTitleRow(const String& Caption);

// Previews the grid's list; a closed data set says "无查询结果！" instead. Always true.
bool PreviewGrid(const String& Title, TDBGridX* Grid, TDataSet* DataSet);
