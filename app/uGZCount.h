#pragma once
// "工资统计": the pay records of any ticked months at once, as every record,
// as totals per department and as totals per department and employee.
#include "platform/ui/Forms.h"

class TADODataSet;
class TButton;
class TCheckListBox;
class TColumnX;
class TComboBox;
class TDataSource;
class TDBGridX;
class TGroupBox;
class TPageControl;
class TPrintDBGridX;
class TTabSheet;

class TfrmGZCount : public TForm {
public:
  explicit TfrmGZCount(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmGZCount"); }

  // Lists every month, newest first; a failure leaves the list as far as filled.
  void ReadyMonth();
  // Reopens the three views for the ticked months and the filters; none ticked closes them.
  void chkListClick();
  // Titles and shows the item columns of the employee view (ReadyGrid) and of the
  // record view with its attendance columns (ReadyGrid3) as Month's items say.
  void ReadyGrid(const String& Month);
  void ReadyGrid3(const String& Month);
  // Sorts Grid's records by Column, alternating the direction shared by every list.
  void GridTitleClick(TDBGridX* Grid, TColumnX* Column);
  // The grid of the page shown.
  TDBGridX* CurrentGrid() const;
  // Prints the grid of the page shown into the preview.
  void Button7Click();
  // "发送Excel": the current page's grid into a workbook with grouped titles, opened afterwards.
  void Button1Click();

  TGroupBox* grpMonths;
  TCheckListBox* chkList;
  TButton* btnSelectAll;
  TButton* btnSelectNone;
  TPageControl* PageControl1;
  TTabSheet* TabSheet1;  // every record
  TTabSheet* TabSheet2;  // per department
  TTabSheet* TabSheet3;  // per department and employee
  TComboBox* cmbDepart;
  TComboBox* cmbEmp;
  TComboBox* cmbEmpCode;
  TButton* btnClear;
  TComboBox* cmbDepart1;
  TComboBox* cmbEmp1;
  TComboBox* cmbEmpCode1;
  TButton* btnClear1;
  TADODataSet* dsDetail;
  TADODataSet* dsDepart;
  TADODataSet* dsEmp;
  TDataSource* DataSource3;
  TDataSource* DataSource1;
  TDataSource* DataSource2;
  TDBGridX* DBGridEh3;  // every record
  TDBGridX* DBGridEh1;  // per department
  TDBGridX* DBGridEh2;  // per department and employee
  TPrintDBGridX* PrintDBGridEh1;
  TButton* Button7;     // print
  TButton* Button1;     // send to a workbook
  TButton* Button2;     // close

private:
  void CreateMonthPanel();
  void CreateDetailPage();
  void CreateEmployeePage();
  // A filter row of department, name and code boxes with its clear button on Page.
  void CreateFilterRow(TTabSheet* Page, TComboBox*& Depart, TComboBox*& Emp, TComboBox*& EmpCode, TButton*& Clear);
  // Titles the item columns from First (earnings) and DeductionFirst of Grid by
  // their fields; false when the items cannot be read.
  bool TitleItems(TDBGridX* Grid, const String& Month, const String& FieldPrefix, Integer First,
                  Integer DeductionFirst, Integer DeductionTotal);
};

void ShowGZCount();
