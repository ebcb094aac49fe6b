#pragma once
// The font dialog. Like every modal question it goes through a replaceable answerer, so
// tests script the answer and never block.
#include "platform/ui/Graphics.h"

// Edits Font in place; false when the user cancelled (Font is then unchanged).
using TFontDialogAnswer = std::function<bool(TFont* Font)>;

class TFontDialog : public TComponent {
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  String ClassName() const override { return QStringLiteral("TFontDialog"); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  // Shows the dialog with Font; on OK Font holds the choice.
  bool Execute();
  // Installs Answer (an empty one restores the Qt dialog) and returns the previous one.
  static TFontDialogAnswer SetAnswer(TFontDialogAnswer Answer);
private:
  std::unique_ptr<TFont> FFont;
};
