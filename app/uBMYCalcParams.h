#pragma once
// The dialog that asks how many days of a part month were worked, so the
// record editor can scale the month's earnings to them.
#include "platform/ui/Forms.h"

class TLabel;
class TMaskEdit;
class TButton;

class TfrmBMYCalcParams : public TForm {
public:
  explicit TfrmBMYCalcParams(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmBMYCalcParams"); }

  // The numbers in the two boxes; EConvertError when a box holds no number.
  Extended DaysToWork() const;
  Extended DaysWorked() const;
  void SetDaysWorked(Extended Value);

  TLabel* Label1;
  TMaskEdit* EditDaysToWork;
  TLabel* Label2;
  TMaskEdit* EditDaysWorked;
  TButton* btnOK;
  TButton* btnCancel;

private:
  // Closes as confirmed only when both numbers are days a month can have.
  void btnOKClick(TObject* Sender);
};

// Asks for the days to work this month (out) and the days worked (in and
// out); true when the user confirmed. Nothing changes when the user cancels.
bool EditBMYCalcParams(Extended& DaysToWork, Extended& DaysWorked);
