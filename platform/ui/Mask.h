#pragma once
// The masked edit: an edit whose text follows an edit mask (see MaskEngine.h for the mask
// syntax). The window shows EditText, with literals and blank characters; Text is the
// value a program reads, as the mask's save-literals flag says.
#include "platform/rtl/SysUtils.h"
#include "platform/ui/MaskEngine.h"
#include "platform/ui/StdCtrls.h"

MOLI_DECLARE_EXCEPTION(EDBEditError, Exception)

class TCustomMaskEdit : public TCustomEdit {
public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  const String& EditMask() const { return FEditMask; }
  // Keeps the value: the current Text is laid into the new mask.
  void SetEditMask(const String& Value);
  bool IsMasked() const { return FEngine.IsMasked(); }
  const TMaskEngine& Engine() const { return FEngine; }

  // The displayed text.
  const String& EditText() const { return TCustomEdit::Text(); }
  void SetEditText(const String& Value);
  // The value: without a mask the displayed text. Hides the control's Text, which holds
  // the displayed text of a masked edit.
  String Text() const;
  void SetText(const String& Value) override;

  // Raises EDBEditError, with the caret on the first blank required position, when the
  // text does not fill the mask.
  virtual void ValidateEdit();
  // Whether the user may change the text now.
  virtual bool EditCanModify() { return true; }
  // Puts back the text the edit had when it took the focus.
  void Reset();

  void Dispatch(TMessage& Message) override;

protected:
  void CreateHandle() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void DoEnter() override;

private:
  TMaskEngine::TEditState CurrentState() const;
  void ApplyState(const TMaskEngine::TEditState& State);
  void ApplyMaskToWidget();
  void MaskedClipboardMessage(TMessage& Message);
  String FEditMask;
  TMaskEngine FEngine;
  String FOldValue;
};

class TMaskEdit : public TCustomMaskEdit {
public:
  using TCustomMaskEdit::TCustomMaskEdit;
  String ClassName() const override { return QStringLiteral("TMaskEdit"); }
};
