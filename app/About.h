#pragma once
// The about box: the program's name and version and the vendor with its web address.
#include "platform/ui/Forms.h"

class TLabel;
class TImage;
class TButton;

class TfrmAbout : public TForm {
public:
  explicit TfrmAbout(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmAbout"); }

  TLabel* lblTitle;
  TLabel* lblVersion;
  TLabel* lblHomePage;
  TLabel* lblVendor;
  TImage* imgLogo;
  TButton* btnOK;
};

void ShowAbout();
