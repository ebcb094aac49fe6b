#include "skin/SkinContainers.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/PropertyAccess.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"

void TSkinBox::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  BindControl(Control, Form, Skin, Recolour);
  RecolourControl();
}

void TSkinBox::Detach() {
  TSkinControl::Detach();
  FLifeState = lsDetached;
}

void TSkinGroupBox::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  TSkinControl::AttachControl(Control, Form, Skin, Recolour);
}

bool TSkinGroupBox::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  switch (Message.Msg) {
    case WM_PAINT: PaintViaDraw(Message); return false;
    case WM_ERASEBKGND: EraseWithParent(Message); return false;
    default: return true;
  }
}

void TSkinGroupBox::DrawSkin(TCanvas* Canvas, const TRect& R) {
  TControl* control = Control();
  const TSkinModel* skin = Skin();
  if (!control || !skin) return;
  FillFace(Canvas, R);
  if (TFont* font = GetObjectPropByName<TFont>(control, QStringLiteral("Font"))) Canvas->Font()->Assign(font);
  Canvas->Font()->SetColor(skin->ButtonText);
  const Integer top = Canvas->TextHeight(QStringLiteral("0")) / 2 - 1;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetColor(skin->ButtonShadow);
  if (QPainter* p = Canvas->Handle())
    p->drawRoundedRect(QRect(1, top, R.Width() - 3, R.Height() - top - 2), 2, 2);
  String caption = GetTextPropW(control, QStringLiteral("Caption"));
  if (!caption.isEmpty()) {
    TRect t(8, 0, R.Width() - 8, R.Height());
    DrawText(Canvas, caption, t, DT_CALCRECT | DT_SINGLELINE);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(skin->ButtonFace);
    DrawText(Canvas, caption, t, DT_SINGLELINE | DT_EXPANDTABS);
  }
  if (auto* container = dynamic_cast<TWinControl*>(control)) container->PaintControls(Canvas);
}
