#pragma once
// "Excel数据导入工具": appends pay records of a month from a workbook sheet
// after the user matched the sheet's columns to the record columns.
#include "app/ExcelImport.h"
#include "platform/ui/Forms.h"
#include <memory>

class TButton;
class TComboBox;
class TDataSource;
class TDBGridX;
class TGroupBox;
class TPopupMenu;
class TProgressBar;
class TSheetDataSet;
class TXlsWorkbook;

class TfrmExcelLoadIn : public TForm {
public:
  TfrmExcelLoadIn(TComponent* AOwner, const String& Month, const QList<TImportField>& Fields);
  ~TfrmExcelLoadIn() override;
  String ClassName() const override { return QStringLiteral("TfrmExcelLoadIn"); }

  // Rebuilds the mapping rows from the fields, with no sheet column matched,
  // and the menu of sheet columns.
  void cmdJSClick();
  // "选择来源Excel数据": asks for a workbook and opens it.
  void Button6Click();
  // Opens FileName and its first sheet, then matches the columns; false after
  // a failure, which is shown.
  bool OpenWorkbook(const String& FileName);
  // Shows the sheet chosen in cmbTables.
  void cmbTablesClick();
  // Matches every row whose caption names a sheet column.
  void Button2Click();
  // "对应设定": the menu of sheet columns under the button.
  void Button1Click();
  // Puts SheetColumn into the current mapping row.
  void MapColumnClick(const String& SheetColumn);
  // "导入数据": appends the rows with the progress shown, recomputes the
  // month's totals and reports.
  void Button4Click();
  // "取消导入": the running import stops and keeps nothing.
  void btnCancelImportClick();

  // The mapping as it stands: field and sheet column of every row.
  QList<TImportMapping> Mapping() const;

  TComboBox* cmbTables;
  TDBGridX* DBGridEh1;  // the sheet
  TGroupBox* grpMapping;
  TDBGridX* Grid;       // the mapping
  TButton* Button1;
  TButton* Button6;
  TButton* Button4;
  TButton* btnExit;
  TProgressBar* pbImport;
  TButton* btnCancelImport;  // enabled while an import runs
  TPopupMenu* pmColumns;
  TSheetDataSet* dsSheet;
  TSheetDataSet* dsMapping;

private:
  void ShowSheet(const String& Name);
  void RebuildColumnMenu();

  bool FCancelImport = false;
  String FMonth;
  QList<TImportField> FFields;
  std::unique_ptr<TXlsWorkbook> FWorkbook;
};

// The import window for Month over Fields, shown modally.
void ShowExcelLoadIn(const String& Month, const QList<TImportField>& Fields);
