#include "platform/ui/DrawingRoutines.h"

namespace {

void FillPixels(QPainter* P, Integer X, Integer Y, Integer W, Integer H, TColor Color) {
  if (W > 0 && H > 0) P->fillRect(QRect(X, Y, W, H), ColorToQColor(Color));
}

// One ring of edge lines on the chosen sides: top and left in TopLeft, bottom and right in
// BottomRight, the bottom-right colour owning the corners it shares.
void DrawRing(QPainter* P, const TRect& R, Cardinal Sides, TColor TopLeft, TColor BottomRight) {
  if (Sides & BF_TOP) FillPixels(P, R.Left, R.Top, R.Width(), 1, TopLeft);
  if (Sides & BF_LEFT) FillPixels(P, R.Left, R.Top, 1, R.Height(), TopLeft);
  if (Sides & BF_BOTTOM) FillPixels(P, R.Left, R.Bottom - 1, R.Width(), 1, BottomRight);
  if (Sides & BF_RIGHT) FillPixels(P, R.Right - 1, R.Top, 1, R.Height(), BottomRight);
}

void ShrinkBySides(TRect& R, Cardinal Sides, Integer N) {
  if (Sides & BF_LEFT) R.Left += N;
  if (Sides & BF_TOP) R.Top += N;
  if (Sides & BF_RIGHT) R.Right -= N;
  if (Sides & BF_BOTTOM) R.Bottom -= N;
}

}  // namespace

bool DrawEdge(TCanvas* Canvas, TRect& R, Cardinal Edge, Cardinal Flags) {
  QPainter* p = Canvas->Handle();
  TRect r = R;
  const Cardinal sides = Flags & BF_RECT;
  const bool soft = Flags & BF_SOFT;
  TColor outerTL = clNone, outerBR = clNone, innerTL = clNone, innerBR = clNone;
  if (Flags & BF_MONO) {
    outerTL = outerBR = clWindowFrame;
    innerTL = innerBR = clWindow;
  } else if (Flags & BF_FLAT) {
    outerTL = outerBR = clBtnShadow;
    innerTL = innerBR = clBtnFace;
  } else {
    if (Edge & BDR_RAISEDOUTER) { outerTL = soft ? clBtnHighlight : cl3DLight; outerBR = cl3DDkShadow; }
    else if (Edge & BDR_SUNKENOUTER) { outerTL = soft ? cl3DDkShadow : clBtnShadow; outerBR = clBtnHighlight; }
    if (Edge & BDR_RAISEDINNER) { innerTL = soft ? cl3DLight : clBtnHighlight; innerBR = clBtnShadow; }
    else if (Edge & BDR_SUNKENINNER) { innerTL = soft ? clBtnShadow : cl3DDkShadow; innerBR = cl3DLight; }
  }
  const bool hasOuter = (Flags & (BF_MONO | BF_FLAT)) ? (Edge & BDR_OUTER) || (Edge & BDR_INNER) : (Edge & BDR_OUTER);
  const bool hasInner = (Flags & (BF_MONO | BF_FLAT)) ? (Edge & BDR_OUTER) && (Edge & BDR_INNER) : (Edge & BDR_INNER);
  if (hasOuter) {
    if (p) DrawRing(p, r, sides, outerTL, outerBR);
    ShrinkBySides(r, sides, 1);
  }
  if (hasInner) {
    if (p) DrawRing(p, r, sides, innerTL, innerBR);
    ShrinkBySides(r, sides, 1);
  }
  if ((Flags & BF_MIDDLE) && p) FillPixels(p, r.Left, r.Top, r.Width(), r.Height(), (Flags & BF_MONO) ? clWindow : clBtnFace);
  if (Flags & BF_ADJUST) R = r;
  return true;
}

namespace {

// A filled triangle pointing in Direction (0 up, 1 down, 2 left, 3 right), centred in R.
void DrawArrow(QPainter* P, const TRect& R, Cardinal Direction, TColor Color, Integer Shift) {
  const Integer size = std::max(1, (std::min(R.Width(), R.Height()) + 1) / 4);
  const Integer cx = R.Left + R.Width() / 2 + Shift, cy = R.Top + R.Height() / 2 + Shift;
  for (Integer i = 0; i < size; ++i) {
    const Integer half = size - 1 - i;
    switch (Direction) {
      // The widest row (i = 0) is the arrow's base, opposite the way it points.
      case DFCS_SCROLLUP: FillPixels(P, cx - half, cy + size / 2 - i, 2 * half + 1, 1, Color); break;
      case DFCS_SCROLLDOWN: FillPixels(P, cx - half, cy - size / 2 + i, 2 * half + 1, 1, Color); break;
      case DFCS_SCROLLLEFT: FillPixels(P, cx + size / 2 - i, cy - half, 1, 2 * half + 1, Color); break;
      default: FillPixels(P, cx - size / 2 + i, cy - half, 1, 2 * half + 1, Color); break;
    }
  }
}

void DrawCheckMark(QPainter* P, const TRect& Box, TColor Color) {
  // Seven columns, each three pixels tall, falling then rising.
  static const Integer rows[7] = {2, 3, 4, 3, 2, 1, 0};
  const Integer x0 = Box.Left + (Box.Width() - 7) / 2, y0 = Box.Top + (Box.Height() - 7) / 2;
  for (Integer x = 0; x < 7; ++x) FillPixels(P, x0 + x, y0 + rows[x], 1, 3, Color);
}

void DrawButtonFace(TCanvas* Canvas, TRect& R, Cardinal State) {
  if (State & DFCS_FLAT) {
    DrawEdge(Canvas, R, (State & DFCS_PUSHED) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE | BF_ADJUST | BF_FLAT);
  } else if (State & DFCS_MONO) {
    DrawEdge(Canvas, R, BDR_RAISEDOUTER, BF_RECT | BF_MIDDLE | BF_ADJUST | BF_MONO);
  } else if (State & (DFCS_PUSHED | DFCS_CHECKED)) {
    DrawEdge(Canvas, R, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST);
  } else {
    DrawEdge(Canvas, R, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST | BF_SOFT);
  }
}

void DrawCheckBox(TCanvas* Canvas, QPainter* P, const TRect& R, Cardinal State) {
  const Integer side = std::min(R.Width(), R.Height());
  TRect box = Bounds(R.Left + (R.Width() - side) / 2, R.Top + (R.Height() - side) / 2, side, side);
  const bool grayed = (State & DFCS_BUTTON3STATE) && (State & DFCS_CHECKED);
  TColor inside = (State & (DFCS_INACTIVE | DFCS_PUSHED)) || grayed ? clBtnFace : clWindow;
  if (State & DFCS_FLAT) DrawEdge(Canvas, box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_FLAT);
  else if (State & DFCS_MONO) DrawEdge(Canvas, box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_MONO);
  else DrawEdge(Canvas, box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillPixels(P, box.Left, box.Top, box.Width(), box.Height(), inside);
  if (State & DFCS_CHECKED)
    DrawCheckMark(P, box, grayed ? clBtnShadow : (State & DFCS_INACTIVE) ? clGrayText : clWindowText);
}

void DrawRadio(QPainter* P, const TRect& R, Cardinal State) {
  const Integer side = std::min(R.Width(), R.Height());
  const QRect box(R.Left + (R.Width() - side) / 2, R.Top + (R.Height() - side) / 2, side - 1, side - 1);
  P->save();
  P->setPen(ColorToQColor(clBtnShadow));
  P->setBrush(ColorToQColor((State & (DFCS_INACTIVE | DFCS_PUSHED)) ? clBtnFace : clWindow));
  P->drawEllipse(box);
  if (State & DFCS_CHECKED) {
    P->setPen(Qt::NoPen);
    P->setBrush(ColorToQColor((State & DFCS_INACTIVE) ? clGrayText : clWindowText));
    P->drawEllipse(box.adjusted(side / 3, side / 3, -side / 3, -side / 3));
  }
  P->restore();
}

void DrawSizeGrip(QPainter* P, const TRect& R) {
  FillPixels(P, R.Left, R.Top, R.Width(), R.Height(), clBtnFace);
  for (Integer d = 1; d < std::min(R.Width(), R.Height()); d += 4)
    for (Integer i = 0; i <= d; ++i) {
      FillPixels(P, R.Right - 1 - d + i, R.Bottom - 1 - i, 1, 1, clBtnHighlight);
      FillPixels(P, R.Right - d + i, R.Bottom - 1 - i, 1, 1, clBtnShadow);
    }
}

}  // namespace

bool DrawFrameControl(TCanvas* Canvas, TRect& R, Cardinal Kind, Cardinal State) {
  QPainter* p = Canvas->Handle();
  const Cardinal part = State & 0xFF;
  TRect r = R;
  if (Kind == DFC_BUTTON) {
    if (!p) return true;
    if (part & DFCS_BUTTONPUSH) {
      DrawButtonFace(Canvas, r, State);
    } else if (part & DFCS_BUTTONRADIO) {
      DrawRadio(p, r, State);
    } else {
      DrawCheckBox(Canvas, p, r, State);
    }
  } else if (Kind == DFC_SCROLL) {
    if (part == DFCS_SCROLLSIZEGRIP) {
      if (p) DrawSizeGrip(p, r);
    } else {
      if (p) {
        TRect face = r;
        if ((State & DFCS_PUSHED) && !(State & DFCS_FLAT)) {
          DrawEdge(Canvas, face, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE | BF_ADJUST | BF_FLAT);
        } else {
          DrawButtonFace(Canvas, face, State & ~DFCS_CHECKED);
        }
        const Cardinal direction = part == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : part;
        const Integer shift = (State & DFCS_PUSHED) ? 1 : 0;
        if (State & DFCS_INACTIVE) {
          DrawArrow(p, face, direction, clBtnHighlight, shift + 1);
          DrawArrow(p, face, direction, clBtnShadow, shift);
        } else {
          DrawArrow(p, face, direction, clBtnText, shift);
        }
      }
    }
  } else {
    return false;
  }
  if (State & DFCS_ADJUSTRECT) InflateRect(R, -2, -2);
  return true;
}

void LoadSystemCheckBoxes(TBitmap* Bitmap) {
  constexpr Integer side = 13;
  Bitmap->SetSize(4 * side, 3 * side);
  TCanvas* c = Bitmap->Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, 4 * side, 3 * side));
  static const Cardinal rows[3] = {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTON3STATE};
  static const Cardinal columns[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
  for (Integer row = 0; row < 3; ++row)
    for (Integer column = 0; column < 4; ++column) {
      TRect r = Bounds(column * side, row * side, side, side);
      DrawFrameControl(c, r, DFC_BUTTON, rows[row] | columns[column]);
    }
  Bitmap->Dormant();
}

void ExtTextOut(TCanvas* Canvas, Integer X, Integer Y, Cardinal Options, const TRect* Rect, const String& Text) {
  const TBrushStyle style = Canvas->Brush()->Style();
  if ((Options & ETO_OPAQUE) && Rect) Canvas->FillRect(*Rect);
  Canvas->Brush()->SetStyle(bsClear);
  if ((Options & ETO_CLIPPED) && Rect) Canvas->TextRect(*Rect, X, Y, Text);
  else Canvas->TextOut(X, Y, Text);
  Canvas->Brush()->SetStyle(style);
}

void DrawFocusRect(TCanvas* Canvas, const TRect& R) {
  QPainter* p = Canvas->Handle();
  if (!p || R.IsEmpty()) return;
  p->save();
  p->setCompositionMode(QPainter::RasterOp_NotDestination);
  auto dot = [&](Integer x, Integer y) {
    if (((x - R.Left) + (y - R.Top)) % 2 == 0) p->fillRect(QRect(x, y, 1, 1), Qt::black);
  };
  for (Integer x = R.Left; x < R.Right; ++x) {
    dot(x, R.Top);
    if (R.Bottom - 1 > R.Top) dot(x, R.Bottom - 1);
  }
  for (Integer y = R.Top + 1; y < R.Bottom - 1; ++y) {
    dot(R.Left, y);
    if (R.Right - 1 > R.Left) dot(R.Right - 1, y);
  }
  p->restore();
}

void GradientFillRect(TCanvas* Canvas, const TRect& R, TColor StartColor, TColor EndColor, TGradientDirection Direction) {
  QPainter* p = Canvas->Handle();
  if (!p || R.IsEmpty()) return;
  const TColor a = ColorToRGB(StartColor), b = ColorToRGB(EndColor);
  const Integer steps = Direction == gdHorizontal ? R.Width() : R.Height();
  for (Integer i = 0; i < steps; ++i) {
    auto mix = [&](Byte from, Byte to) { return Byte(from + (Integer(to) - Integer(from)) * i / std::max(1, steps - 1)); };
    const TColor c = RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
    if (Direction == gdHorizontal) FillPixels(p, R.Left + i, R.Top, 1, R.Height(), c);
    else FillPixels(p, R.Left, R.Top + i, R.Width(), 1, c);
  }
}
