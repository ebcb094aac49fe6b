#pragma once
// The base of the control painters: a painter steps in front of a control's message
// handling through its WindowProc, draws the skinned look after the control painted, and
// gives back what it changed when it is detached.
#include "platform/ui/Controls.h"
#include "skin/SkinModel.h"

class TSkinData;
class TSkinForm;

class TSkinControl : public TComponent {
public:
  enum TLifeState { lsCreated = 0, lsAttached = 1, lsDetached = 2, lsGone = 6 };

  TSkinControl();
  ~TSkinControl() override;
  String ClassName() const override { return QStringLiteral("TSkinControl"); }

  // Hooks the control's WindowProc; a second attach does nothing. With Recolour the control
  // takes the skin's face colour (and gives up its parent background) until Detach.
  virtual void AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour);
  // Gives the control back its colour and parent background.
  virtual void Detach();
  // Sees a message before the control: true passes it on, false consumes it.
  virtual bool BeforeMessage(TMessage& Message);
  // Sees a message the control handled.
  virtual void AfterMessage(TMessage& Message);
  // Paints the control's skinned look on the canvas of its paint message.
  virtual void PaintFrame(TCanvas* Canvas);
  virtual void DrawSkin(TCanvas* Canvas, const TRect& R);
  // The skin was changed or re-applied.
  virtual void SkinChanged();
  virtual bool CanSkin() const { return true; }

  // The handler installed in the control's WindowProc.
  void PainterWndProc(TMessage& Message);
  // The control's own handling of Message; what it raises is swallowed.
  void PassToControl(TMessage& Message);
  void RefreshControl();
  void ApplyParentBackground(bool On);
  void FillFace(TCanvas* Canvas, const TRect& R) const;
  // The colour of the control's parent, or Default without a control or a parent.
  TColor ParentColourOf(TColor Default) const;
  // Fills R with the parent's colour (the face colour when there is none).
  void FillParentColor(TCanvas* Canvas, const TRect& R) const;
  // The common WM_PAINT: DrawSkin over the whole control on the message's canvas.
  void PaintViaDraw(TMessage& Message);
  // The common WM_ERASEBKGND: the parent's background under the control.
  void EraseWithParent(TMessage& Message);
  // The control's own mouse-down handling (its OnMouseDown) for a left press the painter took
  // from it: at the message's point, or at the cursor for a control wider or taller than a
  // message's 16-bit coordinates reach.
  void ForwardMouseDown(TMessage& Message);
  // The control's own click handling (its OnClick; a push button also sets its ModalResult).
  void ClickControl();
  // Tells a button painter that the mouse has left its control.
  static void SendMouseLeave(TSkinControl* Painter);
  // A focus rectangle around where the caption would be drawn with Flags in R.
  void DrawCaptionFocus(TCanvas* Canvas, Cardinal Flags, const TRect& R);

  TControl* Control() const { return FControl; }
  TSkinForm* Form() const { return FForm; }
  TSkinData* SkinData() const { return FSkinData; }
  const TSkinModel* Skin() const;
  Integer LifeState() const { return FLifeState; }
  bool Attached() const { return FAttached; }
  bool Active() const { return FActive; }
  bool Recolour() const { return FRecolour; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Stores what every attach keeps (control, form, skin), without hooking.
  void BindControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour);
  void RecolourControl();

  TSkinData* FSkinData = nullptr;
  TSkinForm* FForm = nullptr;
  TControl* FControl = nullptr;
  TWndMethod FPreviousWindowProc;
  TColor FSavedColour = clNone;
  bool FRecolour = false;
  bool FAttached = false;
  bool FActive = true;
  bool FParentBackgroundWasOn = false;
  Integer FLifeState = lsCreated;
};

// Frame k of the element composed over R, with magenta transparent when its Trans is 1.
void DrawSkinElement(TCanvas* Canvas, const TRect& R, const TDataSkinObject& Element, Integer Frame, Integer FrameCount);
// Frame k of the N side by side in Image, stretched over R, with magenta left unpainted.
void DrawFrameMasked(TCanvas* Canvas, const TRect& R, const TBitmap& Image, Integer Frame, Integer FrameCount);
class TCustomImageList;
// A glyph of Images (none for index -1 or one wider than R) followed by the text, placed at
// the left (Alignment 0), centre (1) or right (2) of R and centred vertically.
void DrawGlyphCaption(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, Integer ImageIndex, const String& Text,
                      Integer Alignment, bool Enabled);
// One line of text centred in R both ways (Alignment DT_LEFT, DT_CENTER or DT_RIGHT within the
// measured width), in clBtnShadow when disabled.
void DrawCentredText(TCanvas* Canvas, const TRect& R, const String& Text, bool Enabled, Cardinal Alignment);
// Text centred vertically in R (and horizontally with DT_CENTER), in clBtnShadow when disabled.
void DrawCaptionText(TCanvas* Canvas, const TRect& R, const String& Text, bool Enabled, Cardinal Alignment);
