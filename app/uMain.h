#pragma once
// The program's main window: the pay months on the left, the current month's
// pay records on the right under a filter bar, the toolbar and menus that
// reach every other command. Month and record maintenance live in
// uMainMaintenance.cpp; backup, restore and clearing in uMainBackup.cpp.
#include "dbgrid/DBGridX.h"
#include "gridout/PrintDBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/report/RvProject.h"
#include "skin/SkinData.h"
#include <array>
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ToolBar.h"

class TfrmMainGZT : public TForm {
public:
  // Builds the window and runs the start-up steps (FormCreate).
  explicit TfrmMainGZT(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmMainGZT"); }

  // ---- start-up and lists
  // Program folder, vendor information, caption, default pay items, settings,
  // the month list, the skin and the filter lists, in that order.
  void FormCreate();
  // The first activation: login, first-start tutorial or the backup-folder timer.
  void FormActivate(TObject* Sender);
  // Reopens the months, newest first; failures are ignored.
  void ReadyMonth();
  // Reloads the current month's records and its name filter list.
  void dsGZMonthAfterScroll(TDataSet* DataSet);
  // Titles and shows the record columns of Month, then opens its records
  // under the filters; false when the records cannot be opened.
  bool ReadyGZList(const String& Month);
  void ReadyGrid(const String& Month);
  // The amount format on the amount columns, their footers and the record fields.
  void SetFloatFormat();
  // Sorts the records by the clicked column, the direction alternating from click to click.
  void DBGridEh2TitleClick(TColumnX* Column);
  // Index of the first record column showing FieldName (without case); -1 when none.
  Integer GetCol(const String& FieldName) const;
  // The record column's title ("应发工资|基本工资") and visibility as the month's items set them.
  const String& ColumnTitle(Integer Index) const;
  bool ColumnVisible(Integer Index) const;
  // Recomputes and stores the three totals of every record in the list from
  // the visible item columns; a failure to store them is shown.
  void ReCalcAll();
  // Makes skin Number (1 to 5, "RPT/Skin<Number>.skn") the program's skin: it is
  // built first, then replaces "RPT/Skin.Skn" in one step and is applied; a file
  // that cannot be read or built keeps the current skin.
  void SkinMenuClick(Integer Number);
  // The settings dialog; the settings are loaded again and the list follows them.
  void ParaSetClick(TObject* Sender);
  // The backup-folder check, once.
  void Timer1Timer(TObject* Sender);
  // The current month's name; empty without months.
  String CurrentMonth() const;

  // ---- month and record maintenance (uMainMaintenance.cpp)
  void Button1Click(TObject* Sender);   // add month
  void Button2Click(TObject* Sender);   // rename month
  void Button3Click(TObject* Sender);   // delete month
  void Button4Click(TObject* Sender);   // add record
  void Button5Click(TObject* Sender);   // change record
  void Button6Click(TObject* Sender);   // delete record
  void N4Click(TObject* Sender);        // batch delete of the selected records
  void Button9Click(TObject* Sender);   // month data copy
  void Button10Click(TObject* Sender);  // employee data copy

  // ---- list printing, statistics, pay items, tax brackets, job titles (uMainDialogs.cpp)
  void ToolButton10Click(TObject* Sender);  // statistics
  // Previews the record list, its item columns widened to their captions meanwhile.
  void Button7Click(TObject* Sender);
  // Prints the record grid (its selected rows when rows are selected) into the preview.
  void N6Click(TObject* Sender);
  // The current month's pay items ("BASE" without months); the list and its
  // titles follow, and the totals are computed again.
  void ToolButton21Click(TObject* Sender);
  void N31Click(TObject* Sender);  // tax brackets; the settings are read again
  void N30Click(TObject* Sender);  // job titles

  // ---- workbooks and mail (uMainExchange.cpp)
  // Electronic pay slips of the current month, from the template its items call for.
  void Button13Click(TObject* Sender);
  // The record grid into an .xlsx with one header row, opened afterwards;
  // failures reach the standard error message.
  void Excel1Click(TObject* Sender);
  void Excel2Click(TObject* Sender);
  void Excel20101Click(TObject* Sender);
  void Excel3Click(TObject* Sender);
  // Records of the current month appended from a workbook sheet; the list,
  // its name filter and the totals follow.
  void ToolButton7Click(TObject* Sender);

  // ---- backup, restore, clearing, close (uMainBackup.cpp)
  void MenuItem1Click(TObject* Sender);    // backup
  void MenuItem2Click(TObject* Sender);    // restore
  void N2Click(TObject* Sender);           // clearing
  void ToolButton2Click(TObject* Sender);  // close with the backup offer

  // ---- pay sheets, pay strips and receipt slips (uMainPrint.cpp)
  void Button8Click(TObject* Sender);     // the pay sheet and strip menu
  void N7Click(TObject* Sender);          // pay sheet of every record shown
  void N8Click(TObject* Sender);          // pay sheet of the selected records
  void N38Click(TObject* Sender);         // pay strip of every record shown
  void N39Click(TObject* Sender);         // pay strip of the selected records
  void Button14Click(TObject* Sender);    // the receipt slip menu
  void MenuItem3Click(TObject* Sender);   // receipt slips of every record shown
  void MenuItem4Click(TObject* Sender);   // receipt slips of the selected records

  // The report project and its engine; the records and the settings row reach the
  // templates through the two connections.
  TRvProject* RvProject1;
  TRvSystem* RvSystem1;
  TRvDataSetConnection* RvDataSetConnection1;
  TRvDataSetConnection* RvDataSetConnection2;
  TPopupMenu* pmPayPrint;
  TPopupMenu* pmPosPrint;

  // Data sets on the window's connection.
  TADODataSet* dsGZMonth;
  TADODataSet* dsGZDetail;
  TADODataSet* dsTmp;
  TADODataSet* dsTmp1;
  TADOCommand* ADOCommand1;
  TDataSource* DataSource1;  // months
  TDataSource* DataSource2;  // records

  // Controls.
  TToolBar* ToolBar1;
  TPanel* pnlMonths;
  TGroupBox* grpMonths;
  TButton* Button1;
  TButton* Button2;
  TButton* Button3;
  TDBGridX* DBGridEh1;  // months
  TSplitter* Splitter1;
  TGroupBox* grpDetail;
  TPanel* pnlFilter;
  TDBGridX* DBGridEh2;  // records
  TComboBox* cmbDepart;
  TComboBox* cmbName;
  TComboBox* cmbEmpCode;
  TButton* btnClearFilter;
  TPanel* pnlCommands;
  TButton* Button4;
  TButton* Button5;
  TButton* Button6;
  TButton* Button7;
  TButton* Button8;
  TButton* Button9;
  TButton* Button10;
  TButton* Button11;  // receipt slips (Button14Click)
  TButton* Button12;
  TListBox* ListBox1;
  TTimer* Timer1;
  TSkinData* SkinData1;
  TPrintDBGridX* PrintDBGridEh1 = nullptr;  // the record grid on paper, made on first use

  // Menus.
  TPopupMenu* pmMonth;
  TPopupMenu* pmDetail;
  TPopupMenu* pmPrint;
  TPopupMenu* pmSettings;
  TPopupMenu* pmDatabase;
  TPopupMenu* pmHelp;
  TPopupMenu* pmExport;  // the toolbar's "发送Excel"
  TMenuItem* MenuItem1;  // backup
  TMenuItem* MenuItem2;  // restore
  TMenuItem* N2;         // clearing

  // Ends the program (restore, rebuild, a wrong login password); tests
  // replace it to watch the end instead.
  std::function<void()> EndProcess;

private:
  void CreateDataSets();
  void CreateToolBar();
  void CreateMonthPanel();
  void CreateDetailPanel();
  void CreateRecordGrid();
  // Puts the titles and visibility of ReadyGrid on the record grid's columns.
  void ApplyColumnLayout();
  void CreateMenus();
  void CreateReportComponents();
  // Marks the selected records (or the current one) with SelectStu = 1, prints them with
  // Print, then always switches the filter off and clears the marks.
  void PrintSelected(void (TfrmMainGZT::*Print)(TObject*), TObject* Sender);
  // The menu under Button, at the place the command buttons open their menus.
  void PopupUnder(TButton* Button, TPopupMenu* Menu);
  // Closes the project, points it at RPT/Name and loads it; a missing or unreadable
  // template is shown and gives false.
  bool LoadReportTemplate(const String& Name);
  // The company name of the settings row, before "工资单".
  String ReportTitle() const;
  TButton* CommandButton(TWinControl* Parent, const String& Name, const String& Caption, TNotifyEvent Click);
  TMenuItem* MenuItem(TMenu* Menu, const String& Caption, TNotifyEvent Click);
  void SortIdxCalcFields(TDataSet* DataSet);
  void FillFilterLists();
  String DetailFilter() const;

  bool FFirstActivation = true;
  std::array<String, 63> FColumnTitle;
  std::array<bool, 63> FColumnVisible{};
  // The sort of the record list after the last title click; cleared by a
  // mouse press in the month list.
  String FSavedSort;
};

extern TfrmMainGZT* frmMainGZT;
