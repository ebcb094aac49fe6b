#pragma once
// The settings dialog over the settings row: company name, paper, attendance
// mode, amount and number display and slip layout.
#include "platform/ui/Forms.h"

class TLabel;
class TEdit;
class TMaskEdit;
class TComboBox;
class TButton;
class TUpDown;
class TPopupMenu;

class TfrmParaSet : public TForm {
public:
  explicit TfrmParaSet(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmParaSet"); }

  // Shows the settings row; values that cannot be read show their defaults.
  void ReadyData();
  // Validates and writes the settings row; a refusal or failure is shown and gives false.
  bool SaveData();
  bool Saved() const { return FSaved; }

  TEdit* EditEntName;
  TMaskEdit* EditBillHeight;
  TButton* btnStdHeight;
  TPopupMenu* pmPaperHeight;
  TComboBox* cmbPrintDays;
  TComboBox* cmbJJUnit;
  TComboBox* cmbShowFloat;
  TComboBox* cmbShowXH;
  TComboBox* cmbNameOnTitle;
  TEdit* EditTopPos;
  TUpDown* udTopPos;
  TLabel* lblTopPosMM;
  TMaskEdit* EditParagraph;
  TMaskEdit* EditPageWidth;
  TButton* btnA4Width;
  TMaskEdit* EditStepTitleGrid;
  TComboBox* cmbPrintOrientation;
  TButton* btnSave;
  TButton* btnCancel;

private:
  void CreateControls();
  void ShowTopPosMM(Integer Position);
  void btnSaveClick();
  bool FSaved = false;
};

// Opens the settings dialog; true when the user saved.
bool ShowParaSet();
