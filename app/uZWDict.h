#pragma once
// "常用职务字典": the job titles the record editor offers, one per line of "ZW.Txt"
// in the program folder.
#include "platform/ui/Forms.h"

class TButton;
class TMemo;

class TfrmZWDict : public TForm {
public:
  explicit TfrmZWDict(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmZWDict"); }

  // Writes the lines and closes; a failure is shown and the window stays.
  void cmdSHClick();
  // Replaces the lines by the job titles the records use.
  void cmdAutoClick();

  TMemo* EditZW;
  TButton* cmdSH;
  TButton* cmdCancel;
  TButton* cmdAuto;
};

// The job-title file in the program folder, found without regard to case.
String JobTitlesFile();
void ShowZWDict();
