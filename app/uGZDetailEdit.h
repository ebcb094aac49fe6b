#pragma once
// The modal window in which one pay record is added or changed: the month's
// enabled pay items as labelled amount boxes over the window-free pay
// calculation, recomputed as the user types.
#include "app/PayRecordCalc.h"
#include "platform/ui/Forms.h"
#include <array>

class TLabel;
class TEdit;
class TMaskEdit;
class TComboBox;
class TGroupBox;
class TButton;
class TADODataSet;

class TfrmGZDetailEdit : public TForm {
public:
  // ID -1 opens an empty record of Month.
  TfrmGZDetailEdit(TComponent* AOwner, Integer ID, const String& Month);
  String ClassName() const override { return QStringLiteral("TfrmGZDetailEdit"); }

  // Loads the lists, the record and the month's items; a failure is shown and gives false.
  bool ReadyData();
  // Validates the boxes and writes the record; a failure is shown and gives false, leaving
  // the database as it was.
  bool SaveData();
  bool Saved() const { return FSaved; }
  // The calculation the amount boxes are bound to.
  const TPayRecordCalc& Calc() const { return FCalc; }
  // The amount box of slot Index of Group.
  TEdit* SlotBox(TSlotGroup Group, Integer Index) const;
  TLabel* SlotLabel(TSlotGroup Group, Integer Index) const;

  TEdit* EditMonth;
  TComboBox* cmbDepart;
  TComboBox* cmbEmpName;
  TEdit* EditEmpCode;
  TComboBox* cmbZWName;
  TLabel* lblDays;
  TMaskEdit* EditDays;
  TLabel* lblHours;
  TMaskEdit* EditHours;
  TLabel* lblPayStandard;
  TEdit* EditPayStandard;
  TEdit* EditQM;
  TEdit* EditEMail;
  TEdit* EditMobileCode;
  TEdit* EditBankNo;
  TEdit* EditYFTotal;
  TEdit* EditKKTotal;
  TEdit* EditGZTotal;
  TGroupBox* grpEarnings;
  TGroupBox* grpDeductions;
  TButton* btnProrate;
  TButton* btnAttendance;
  TButton* btnCalculator;
  TButton* btnSave;
  TButton* btnCancel;

private:
  void CreateControls();
  void CreateSlots(TSlotGroup Group);
  void ApplyAttendanceMode();
  void FillLists();
  void LoadRecord();
  // The month's enabled items of one kind ("BASE"'s when the month has none), each
  // bound to a column of its kind; at most as many as the group has slots.
  std::vector<TPayItem> ReadItems(TSlotGroup Group);
  void LoadSlots(TSlotGroup Group);

  // Box events: a change recomputes the totals, leaving a box recomputes the formulas.
  void SlotChanged(TSlotGroup Group, Integer Index);
  void SlotExit();
  void AmountKeyPress(QChar& Key);
  // Runs a calculation over the boxes and shows its results; a box that holds no
  // number is reported and the calculation stops there.
  void Calculate(const std::function<void()>& Calculation);
  void ShowCalcResults();

  void btnSaveClick();
  void btnProrateClick();
  void btnAttendanceClick();
  static void StartCalculator();

  Integer FID;
  String FMonth;
  bool FSaved = false;
  bool FShowingResults = false;
  TPayRecordCalc FCalc;
  TADODataSet* dsGZ;
  std::array<TLabel*, TPayRecordCalc::EarningsSlotCount> FEarningLabels{};
  std::array<TEdit*, TPayRecordCalc::EarningsSlotCount> FEarningBoxes{};
  std::array<TLabel*, TPayRecordCalc::DeductionSlotCount> FDeductionLabels{};
  std::array<TEdit*, TPayRecordCalc::DeductionSlotCount> FDeductionBoxes{};
};

// Opens the editor on record ID (-1 for a new record of Month); true when the user saved.
bool EditGZDetail(Integer ID, const String& Month);
