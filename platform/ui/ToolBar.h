#pragma once
// Tool bars: a row of flat buttons laid out left to right, each running its click or
// opening its drop-down menu under itself.
#include "platform/ui/Buttons.h"

class TPopupMenu;
class TCustomImageList;
class TToolBar;

enum TToolButtonStyle { tbsButton, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TSpeedButton {
public:
  explicit TToolButton(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TToolButton"); }
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle Value);
  // Opened under the button when it is clicked (a drop-down button opens it from its arrow).
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TToolBar* ToolBar() const;
  void SetParent(TWinControl* AParent) override;
  void Click() override;
  void Dispatch(TMessage& Message) override;
protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  TToolButtonStyle FStyle = tbsButton;
  TPopupMenu* FDropdownMenu = nullptr;
  Integer FImageIndex = -1;
};

class TToolBar : public TCustomControl {
public:
  explicit TToolBar(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TToolBar"); }
  Integer ButtonCount() const;
  TToolButton* Buttons(Integer Index) const;
  Integer ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(Integer Value);
  Integer ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(Integer Value);
  // Captions under the images; buttons widen to fit their captions.
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Places the buttons one after the other in creation order.
  void ArrangeButtons();
  void Dispatch(TMessage& Message) override;
protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
private:
  Integer FButtonWidth = 23, FButtonHeight = 22;
  bool FShowCaptions = false;
  TCustomImageList* FImages = nullptr;
};
