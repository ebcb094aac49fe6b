#pragma once
// The message box and the input box of the dialog service, made as forms of the layer so that
// whatever handles forms (the skin manager) handles them too.
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include <vector>

class TButton;
class TEdit;

class TMessageForm : public TForm {
public:
  explicit TMessageForm(const TMessageBoxRequest& Request);
  String ClassName() const override { return QStringLiteral("TMessageForm"); }
  // The IDxxx code of the button pressed. Closing the box answers like Cancel, or like No when
  // there is no Cancel, or OK for a lone OK button.
  Integer Answer() const;
  const std::vector<TButton*>& Buttons() const { return FButtons; }

private:
  std::vector<TButton*> FButtons;
};

class TInputForm : public TForm {
public:
  explicit TInputForm(const TInputRequest& Request);
  String ClassName() const override { return QStringLiteral("TInputForm"); }
  TEdit* Edit() const { return FEdit; }

private:
  TEdit* FEdit;
};
