#pragma once
// The receipt slip window: the text of the last slips ("tmp.Txt") in a fixed-width Chinese
// font, printed from here on the default printer.
#include "platform/ui/Forms.h"

class TButton;
class TPanel;
class TRichEdit;

class TfrmPosPrint : public TForm {
public:
  explicit TfrmPosPrint(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TfrmPosPrint"); }

  // Loads "tmp.Txt" from the program folder when it is there.
  void FormCreate();
  void cmdMinClick(TObject* Sender);   // font size 9
  void cmdMaxClick(TObject* Sender);   // font size 11
  // Prints the whole text on the default printer, without a dialog or a job title.
  void Button4Click(TObject* Sender);
  void Button5Click(TObject* Sender);  // closes

  TRichEdit* RichEdit1;
  TPanel* Panel1;
  TButton* cmdMin;
  TButton* cmdMax;
  TButton* Button4;
  TButton* Button5;

private:
  void SetTextSize(Integer Points);
};

// Opens the window modally and frees it.
void ShowPosPrint();
