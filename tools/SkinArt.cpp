#include "tools/SkinArt.h"
#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <functional>

namespace {

const QColor Magenta(255, 0, 255);

enum class TState { Normal, Hot, Pressed, Disabled, Default };

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                          float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QString ColourText(const QColor& c) { return QString("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue()); }

using TCellPainter = std::function<void(QPainter&, const QRect&, int)>;

// n frames of fw x fh on magenta, side by side (or stacked); draw gets each cell and its number.
QImage Frames(int fw, int fh, int n, const TCellPainter& draw, bool vertical = false) {
  QImage image(vertical ? fw : fw * n, vertical ? fh * n : fh, QImage::Format_RGB32);
  image.fill(Magenta);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int k = 1; k <= n; ++k) {
    const QRect cell = vertical ? QRect(0, (k - 1) * fh, fw, fh) : QRect((k - 1) * fw, 0, fw, fh);
    p.save();
    p.setClipRect(cell);
    draw(p, cell, k);
    p.restore();
  }
  return image;
}

class TSkinArt {
public:
  explicit TSkinArt(const TSkinStyle& style) : S(style) {}

  std::vector<TSkinMember> Run() {
    Section("TitlebarSkin");
    Key("SkinName", S.SkinName);
    Section("Fonts");
    Key("FontHeight", 14);
    WriteColours();
    WriteFrame();
    WriteCaptionButtons();
    WriteButtons();
    WriteControls();
    WriteMenus();
    WriteScrollBars();
    WriteRangeControls();
    std::vector<TSkinMember> members{{"skin.ini", FIni.join("\r\n").toUtf8() + "\r\n"}};
    members.insert(members.end(), FBitmaps.begin(), FBitmaps.end());
    return members;
  }

private:
  // ----- ini and members
  void Section(const QString& name) {
    if (!FIni.isEmpty()) FIni << "";
    FIni << "[" + name + "]";
  }
  void Key(const QString& key, const QString& value) { FIni << key + "=" + value; }
  void Key(const QString& key, int value) { Key(key, QString::number(value)); }
  void Key(const QString& key, const QColor& value) { Key(key, ColourText(value)); }
  void Bitmap(const QString& key, const QString& file, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    FBitmaps.push_back({file.toUtf8(), bytes});
    Key(key, file);
  }
  void Margins(int left, int top, int right, int bottom) {
    Key("LeftWidth", left);
    Key("TopHeight", top);
    Key("RightWidth", right);
    Key("BottomHeight", bottom);
  }
  void TextColours(const QColor& normal, const QColor& hot, const QColor& pressed) {
    Key("NormalColour2", normal);
    Key("MouseOverColour2", hot);
    Key("PressedColour2", pressed);
  }

  // ----- faces in the style's look
  QColor StateColour(const QColor& base, TState st) const {
    switch (st) {
      case TState::Hot: return S.Look == TFaceLook::Flat ? Mix(base, S.Accent, 0.18) : base.lighter(108);
      case TState::Pressed: return S.Look == TFaceLook::Flat ? Mix(base, S.Accent, 0.35) : base.darker(112);
      case TState::Disabled: return Mix(base, S.Face, 0.6);
      default: return base;
    }
  }

  void Shape(QPainter& p, const QRect& r, const QBrush& fill, const QColor& border, int radius) const {
    p.setBrush(fill);
    p.setPen(border);
    const QRect edge = r.adjusted(0, 0, -1, -1);
    if (radius > 0)
      p.drawRoundedRect(edge, radius, radius);
    else
      p.drawRect(edge);
  }

  void Bevel(QPainter& p, const QRect& r, bool raised) const {
    const QColor outerLight = raised ? S.Light : S.Shadow, outerDark = raised ? S.DkShadow : S.Light;
    const QColor innerLight = raised ? S.Face.lighter(104) : S.DkShadow, innerDark = raised ? S.Shadow : S.Face;
    auto frame = [&](const QRect& f, const QColor& tl, const QColor& br) {
      p.setPen(tl);
      p.drawLine(f.left(), f.top(), f.right() - 1, f.top());
      p.drawLine(f.left(), f.top(), f.left(), f.bottom() - 1);
      p.setPen(br);
      p.drawLine(f.left(), f.bottom(), f.right(), f.bottom());
      p.drawLine(f.right(), f.top(), f.right(), f.bottom());
    };
    frame(r, outerLight, outerDark);
    frame(r.adjusted(1, 1, -1, -1), innerLight, innerDark);
  }

  // A push-button-like face; radius overrides the style's rounding when not negative.
  void Face(QPainter& p, const QRect& r, const QColor& base, TState st, int radius = -1) const {
    const int rr = radius < 0 ? S.Radius : radius;
    const QColor c = StateColour(base, st);
    switch (S.Look) {
      case TFaceLook::Glossy: {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        const bool sunk = st == TState::Pressed;
        g.setColorAt(0, sunk ? c.darker(104) : c.lighter(118));
        g.setColorAt(0.48, sunk ? c : c.lighter(106));
        g.setColorAt(0.52, sunk ? c.lighter(104) : c);
        g.setColorAt(1, sunk ? c.lighter(110) : c.darker(106));
        const QColor border = st == TState::Default || st == TState::Hot ? S.Accent.darker(120)
                              : st == TState::Disabled                    ? Mix(S.Shadow, S.Face, 0.5)
                                                                          : S.Shadow.darker(115);
        Shape(p, r, g, border, rr);
        if (st != TState::Pressed && r.width() > 2 * rr + 2) {
          p.setPen(Mix(c, QColor(Qt::white), 0.6));
          p.drawLine(r.left() + rr + 1, r.top() + 1, r.right() - rr - 1, r.top() + 1);
        }
        if (st == TState::Default) {
          p.setBrush(Qt::NoBrush);
          p.setPen(Mix(S.Accent, QColor(Qt::white), 0.55));
          p.drawRect(r.adjusted(1, 2, -2, -2));
        }
        break;
      }
      case TFaceLook::Flat: {
        const QColor border = st == TState::Hot || st == TState::Pressed || st == TState::Default ? S.Accent
                              : st == TState::Disabled ? Mix(S.Shadow, S.Face, 0.5)
                                                       : S.Shadow;
        Shape(p, r, c, border, rr);
        if (st == TState::Default) {
          p.setBrush(Qt::NoBrush);
          p.setPen(Mix(S.Accent, c, 0.5));
          p.drawRect(r.adjusted(1, 1, -2, -2));
        }
        break;
      }
      case TFaceLook::Bevel: {
        p.fillRect(r, c);
        QRect b = r;
        if (st == TState::Default) {
          p.setPen(S.DkShadow);
          p.setBrush(Qt::NoBrush);
          p.drawRect(r.adjusted(0, 0, -1, -1));
          b = r.adjusted(1, 1, -1, -1);
        }
        Bevel(p, b, st != TState::Pressed);
        break;
      }
    }
  }

  // A sunken field: an edit's border around the window colour.
  void Field(QPainter& p, const QRect& r, TState st) const {
    const QColor inside = st == TState::Disabled ? Mix(S.Window, S.Face, 0.6) : S.Window;
    if (S.Look == TFaceLook::Bevel) {
      p.fillRect(r, inside);
      Bevel(p, r, false);
      return;
    }
    const QColor border = st == TState::Hot || st == TState::Default ? S.Accent : S.Shadow;
    Shape(p, r, inside, border, 0);
  }

  void Arrow(QPainter& p, const QPoint& c, int dir, const QColor& colour, int size = 3) const {
    // dir: 0 up, 1 down, 2 left, 3 right; a filled triangle whose base lies next to c
    p.setPen(colour);
    for (int i = 0; i < size; ++i) {
      const int half = size - 1 - i;
      switch (dir) {
        case 0: p.drawLine(c.x() - half, c.y() + 1 - i, c.x() + half, c.y() + 1 - i); break;
        case 1: p.drawLine(c.x() - half, c.y() - 1 + i, c.x() + half, c.y() - 1 + i); break;
        case 2: p.drawLine(c.x() + 1 - i, c.y() - half, c.x() + 1 - i, c.y() + half); break;
        default: p.drawLine(c.x() - 1 + i, c.y() - half, c.x() - 1 + i, c.y() + half); break;
      }
    }
  }

  static TState StateOfFrame(int k, const std::vector<TState>& order) { return order[size_t(k - 1) % order.size()]; }

  // ----- sections
  void WriteColours() {
    Section("Colours");
    Key("WindowText", S.Text);
    Key("ButtonFace", S.Face);
    Key("Scrollbar", Mix(S.Face, S.Shadow, 0.25));
    Key("HilightText", S.AccentText);
    Key("Hilight", S.Accent);
    Key("Menubar", S.Face);
    Key("Menu", S.Menu);
    Key("MenuText", S.MenuText);
    Key("ButtonText", S.ButtonText);
    Key("ButtonHilight", S.Light);
    Key("Buttonlight", S.Light);
    Key("ButtonShadow", S.Shadow);
    Key("ButtonDkShadow", S.DkShadow);
    Key("MenuBarText", S.Text);
    Key("TitleTextActive", S.CaptionText);
    Key("TitleTextNoActive", S.CaptionTextInactive);
  }

  void CaptionFill(QPainter& p, const QRect& r, bool active) const {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    const QColor top = active ? S.CaptionTop : S.InactiveTop, bottom = active ? S.CaptionBottom : S.InactiveBottom;
    g.setColorAt(0, top);
    if (S.Look == TFaceLook::Glossy) {
      g.setColorAt(0.5, Mix(top, bottom, 0.35));
      g.setColorAt(0.52, Mix(top, bottom, 0.7));
    }
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
    if (S.Look == TFaceLook::Bevel) {
      p.setPen(Mix(top, QColor(Qt::white), 0.5));
      p.drawLine(r.left(), r.top(), r.right(), r.top());
    }
  }

  void WriteFrame() {
    const int h = S.CaptionHeight;
    const int side = 4;
    const int sideLength = h + 24 + side;
    Section("Personality");
    // Caption: active and inactive frames stacked; its ends are fixed, the middle stretches.
    Bitmap("Top", "top.bmp", Frames(64, h, 2, [&](QPainter& p, const QRect& r, int k) {
             CaptionFill(p, r, k == 1);
             p.setPen(k == 1 ? S.CaptionBottom.darker(120) : S.InactiveBottom.darker(115));
             p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
           }, true));
    Key("TopFrame", 2);
    Key("TopTopHeight", 8);
    Key("TopBotHeight", 8);
    Key("TopStretch", 1);
    Key("TopTrans", 0);
    // The sides run the whole window height: the caption's colour at the top, rounded there.
    auto sideBorder = [&](bool left) {
      return Frames(side, sideLength, 2, [&, left](QPainter& p, const QRect& r, int k) {
        CaptionFill(p, QRect(r.left(), r.top(), side, h), k == 1);
        const QColor frame = k == 1 ? S.Frame : Mix(S.Frame, S.Face, 0.45);
        p.fillRect(QRect(r.left(), r.top() + h, side, sideLength - h), frame);
        p.setPen(frame.darker(130));
        const int outer = left ? r.left() : r.right();
        p.drawLine(outer, r.top(), outer, r.bottom());
        p.setPen(Mix(frame, QColor(Qt::white), 0.25));
        const int inner = left ? r.right() : r.left();
        p.drawLine(inner, r.top() + h, inner, r.bottom());
        // Round the window's top corner.
        for (int y = 0; y < S.Radius; ++y) {
          const int cut = S.Radius - y - (y > 0 ? 1 : 0);
          for (int i = 0; i < cut; ++i) p.fillRect(QRect(left ? r.left() + i : r.right() - i, r.top() + y, 1, 1), Magenta);
        }
      });
    };
    Bitmap("Left", "left.bmp", sideBorder(true));
    Key("LeftFrame", 2);
    Key("LeftTopHeight", h);
    Key("LeftBotHeight", side);
    Key("LeftStretch", 1);
    Key("LeftTrans", S.Radius > 0 ? 1 : 0);
    Bitmap("Right", "right.bmp", sideBorder(false));
    Key("RightFrame", 2);
    Key("RightTopHeight", h);
    Key("RightBotHeight", side);
    Key("RightStretch", 1);
    Key("RightTrans", S.Radius > 0 ? 1 : 0);
    Bitmap("Bottom", "bottom.bmp", Frames(32, side, 2, [&](QPainter& p, const QRect& r, int k) {
             const QColor frame = k == 1 ? S.Frame : Mix(S.Frame, S.Face, 0.45);
             p.fillRect(r, frame);
             p.setPen(Mix(frame, QColor(Qt::white), 0.25));
             p.drawLine(r.left(), r.top(), r.right(), r.top());
             p.setPen(frame.darker(130));
             p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
           }, true));
    Key("BottomFrame", 2);
    Key("BottomTopHeight", 0);
    Key("BottomBotHeight", 0);
    Key("BottomStretch", 1);
    Key("BottomTrans", 0);
    // The menu bar under the caption: active and inactive stacked.
    Bitmap("menuBar", "menubar.bmp", Frames(40, 20, 2, [&](QPainter& p, const QRect& r, int k) {
             QLinearGradient g(r.topLeft(), r.bottomLeft());
             g.setColorAt(0, S.Face.lighter(k == 1 ? 104 : 101));
             g.setColorAt(1, S.Face.darker(k == 1 ? 103 : 101));
             p.fillRect(r, g);
             p.setPen(Mix(S.Face, S.Shadow, 0.5));
             p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
           }, true));
    Key("TileMenu", 1);
    Key("TileLeftMenu", 2);
    Key("TileRightMenu", 2);
    Key("TextAlignment", 0);
    Key("TextShift", 26);
    Key("TextShiftVert", 0);
    Key("TextRightClip", 4 * (h - 6) + 16);
  }

  void Glyph(QPainter& p, const QRect& r, int action, const QColor& c) const {
    const QPoint m = r.center();
    p.setPen(QPen(c, 1));
    p.setBrush(Qt::NoBrush);
    switch (action) {
      case 0:  // close
        for (int d = -3; d <= 3; ++d) {
          p.drawPoint(m.x() + d, m.y() + d);
          p.drawPoint(m.x() + d + 1, m.y() + d);
          p.drawPoint(m.x() + d, m.y() - d);
          p.drawPoint(m.x() + d + 1, m.y() - d);
        }
        break;
      case 1:  // maximise
        p.drawRect(m.x() - 4, m.y() - 4, 8, 7);
        p.drawLine(m.x() - 4, m.y() - 3, m.x() + 4, m.y() - 3);
        break;
      case 2:  // minimise
        p.fillRect(m.x() - 4, m.y() + 2, 8, 2, c);
        break;
      default:  // restore
        p.drawRect(m.x() - 2, m.y() - 5, 6, 5);
        p.fillRect(m.x() - 4, m.y() - 2, 7, 6, p.background());
        p.drawRect(m.x() - 4, m.y() - 2, 6, 5);
        p.drawLine(m.x() - 4, m.y() - 1, m.x() + 2, m.y() - 1);
        break;
    }
  }

  // Caption buttons have four frames: normal, pressed, hot, inactive.
  QImage CaptionButton(int w, int h, int action, bool close) const {
    return Frames(w, h, 4, [&](QPainter& p, const QRect& r, int k) {
      const bool hot = k == 3, pressed = k == 2, inactive = k == 4;
      QColor base = inactive ? S.InactiveBottom : S.CaptionBottom;
      if (close && (hot || pressed)) base = pressed ? QColor(0xB0, 0x22, 0x22) : QColor(0xD8, 0x3B, 0x3B);
      else if (hot) base = Mix(base, QColor(Qt::white), 0.25);
      else if (pressed) base = base.darker(125);
      if (S.Look == TFaceLook::Bevel) {
        p.fillRect(r, Mix(base, S.Face, 0.5));
        Bevel(p, r, !pressed);
      } else if (S.Look == TFaceLook::Glossy || hot || pressed || close) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, base.lighter(135));
        g.setColorAt(0.5, base.lighter(110));
        g.setColorAt(0.51, base);
        g.setColorAt(1, base.lighter(112));
        Shape(p, r, g, base.darker(140), std::min(S.Radius, 3));
      } else {
        CaptionFill(p, r, !inactive);
      }
      p.setBackground(S.Look == TFaceLook::Bevel ? Mix(base, S.Face, 0.5) : base);
      const QColor glyph = S.Look == TFaceLook::Bevel ? S.Text : inactive ? S.CaptionTextInactive : S.CaptionText;
      Glyph(p, r.adjusted(0, pressed ? 1 : 0, 0, pressed ? 1 : 0), action, glyph);
    });
  }

  void WriteCaptionButtons() {
    const int h = S.CaptionHeight - 8;
    const int w = h + 6;
    const int y = (S.CaptionHeight - h) / 2;
    struct Button {
      const char* section;
      const char* file;
      int action;
      int visibility;
      int slot;
      int glyph;
    };
    for (const Button& b : std::initializer_list<Button>{{"Button.Close", "close.bmp", 0, 0, 1, 0},
                                                        {"Button.Maximize", "maximize.bmp", 1, 2, 2, 1},
                                                        {"Button.Restore", "restore.bmp", 1, 1, 2, 3},
                                                        {"Button.Minimize", "minimize.bmp", 2, 0, 3, 2}}) {
      Section(b.section);
      Key("Action", b.action);
      Key("Align", 1);
      Key("Xcoord", 4 + b.slot * (w + 2));
      Key("Ycoord", y);
      Key("Visibility", b.visibility);
      Key("frame", 4);
      Bitmap("ButtonImage", b.file, CaptionButton(w, h, b.glyph, b.action == 0));
    }
    Section("Button.Icon");
    Key("Action", 3);
    Key("Align", 0);
    Key("Xcoord", 6);
    Key("Ycoord", (S.CaptionHeight - 16) / 2);
    Key("Visibility", 0);
    // A maximised child window's minimise, restore and close, four frames each.
    Section("MDICONTROLS");
    QImage mdi(16 * 12, 14, QImage::Format_RGB32);
    {
      QPainter p(&mdi);
      const int glyphs[3] = {2, 3, 0};
      for (int i = 0; i < 3; ++i) p.drawImage(64 * i, 0, ChildButton(glyphs[i]));
    }
    Bitmap("Image", "mdicontrols.bmp", mdi);
  }

  QImage ChildButton(int glyph) const {
    return Frames(16, 14, 4, [&](QPainter& p, const QRect& r, int k) {
      const TState st = StateOfFrame(k, {TState::Normal, TState::Pressed, TState::Hot, TState::Disabled});
      Face(p, r, S.ButtonFace, st, std::min(S.Radius, 2));
      p.setBackground(StateColour(S.ButtonFace, st));
      Glyph(p, r, glyph, st == TState::Disabled ? S.Shadow : S.ButtonText);
    });
  }

  void WriteButtons() {
    Section("Buttons");
    // Push buttons: normal, pressed, disabled, hot, default.
    Bitmap("Bitmap", "button.bmp", Frames(24, 22, 5, [&](QPainter& p, const QRect& r, int k) {
             Face(p, r, S.ButtonFace, StateOfFrame(k, {TState::Normal, TState::Pressed, TState::Disabled, TState::Hot, TState::Default}));
           }));
    Margins(5, 5, 5, 5);
    Key("Trans", 1);
    Key("Tile", 0);
    TextColours(S.ButtonText, S.ButtonText, S.ButtonText);
    // Check boxes: unchecked, checked, disabled unchecked, disabled checked, grey, disabled grey.
    Bitmap("CheckButton", "check.bmp", Frames(13, 13, 6, [&](QPainter& p, const QRect& r, int k) {
             const bool disabled = k == 3 || k == 4 || k == 6;
             Box(p, r, disabled, 0);
             const QColor mark = disabled ? S.Shadow : S.Look == TFaceLook::Flat ? S.Accent : S.Text;
             if (k == 2 || k == 4) {
               p.setPen(mark);
               for (int i = 0; i < 3; ++i) {
                 p.drawLine(r.left() + 3, r.top() + 5 + i, r.left() + 5, r.top() + 7 + i);
                 p.drawLine(r.left() + 5, r.top() + 7 + i, r.left() + 9, r.top() + 3 + i);
               }
             }
             if (k == 5 || k == 6) p.fillRect(r.adjusted(3, 3, -3, -3), Mix(mark, S.Window, 0.4));
           }));
    Key("CheckButtonFrame", 6);
    // Radio buttons: unchecked, checked, disabled unchecked, disabled checked.
    Bitmap("RadioButton", "radio.bmp", Frames(13, 13, 4, [&](QPainter& p, const QRect& r, int k) {
             const bool disabled = k > 2;
             Box(p, r, disabled, 6);
             if (k % 2 == 0) {
               p.setPen(Qt::NoPen);
               p.setBrush(disabled ? S.Shadow : S.Look == TFaceLook::Flat ? S.Accent : S.Text);
               p.drawEllipse(r.adjusted(4, 4, -5, -5));
             }
           }));
    Key("RadioButtonFrame", 4);
  }

  void Box(QPainter& p, const QRect& r, bool disabled, int radius) const {
    const QColor inside = disabled ? Mix(S.Window, S.Face, 0.6) : S.Window;
    if (S.Look == TFaceLook::Bevel && radius == 0) {
      p.fillRect(r, inside);
      Bevel(p, r, false);
      return;
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, S.Look == TFaceLook::Glossy ? Mix(inside, S.Shadow, 0.12) : inside);
    g.setColorAt(1, inside);
    Shape(p, r, g, disabled ? Mix(S.Shadow, S.Face, 0.5) : S.Shadow.darker(110), radius);
  }

  void WriteControls() {
    // Tabs: normal, selected, hot, disabled, normal; the selected tab stands 2 pixels taller.
    Section("Tabs");
    Bitmap("Image", "tabs.bmp", Frames(40, 22, 5, [&](QPainter& p, const QRect& r, int k) {
             const bool selected = k == 2;
             const QRect t = selected ? r : r.adjusted(0, 2, 0, 0);
             const QColor base = selected ? S.Face : k == 3 ? Mix(S.Face, S.Accent, 0.15) : Mix(S.Face, S.Shadow, 0.18);
             QLinearGradient g(t.topLeft(), t.bottomLeft());
             g.setColorAt(0, base.lighter(S.Look == TFaceLook::Glossy ? 112 : 103));
             g.setColorAt(1, base);
             p.setBrush(g);
             p.setPen(S.Shadow);
             p.drawRoundedRect(t.adjusted(0, 0, -1, 4), std::min(S.Radius, 3), std::min(S.Radius, 3));
             if (selected) {
               p.setPen(S.Accent);
               p.drawLine(t.left() + 2, t.top() + 1, t.right() - 2, t.top() + 1);
               p.fillRect(QRect(t.left() + 1, t.bottom(), t.width() - 2, 1), S.Face);
             } else {
               p.setPen(S.Shadow);
               p.drawLine(t.left(), t.bottom(), t.right(), t.bottom());
             }
           }));
    Bitmap("Border", "tabborder.bmp", Frames(30, 30, 1, [&](QPainter& p, const QRect& r, int) {
             p.fillRect(r, S.Face);
             p.setPen(S.Shadow);
             p.drawRect(r.adjusted(0, 0, -1, -1));
             p.setPen(S.Look == TFaceLook::Bevel ? S.Light : Mix(S.Face, S.Shadow, 0.3));
             p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
           }));
    Margins(4, 4, 4, 2);
    Key("Trans", 1);
    Key("Tile", 0);
    TextColours(S.Text, S.Text, S.Text);

    // Status bar panels: lowered, raised, none.
    Section("StatusBarEdges");
    Bitmap("Image", "statusbar.bmp", Frames(20, 20, 3, [&](QPainter& p, const QRect& r, int k) {
             QLinearGradient g(r.topLeft(), r.bottomLeft());
             g.setColorAt(0, S.Face.lighter(103));
             g.setColorAt(1, S.Face.darker(104));
             p.fillRect(r, g);
             if (k == 3) return;
             if (S.Look == TFaceLook::Bevel) {
               Bevel(p, r.adjusted(0, 1, -1, -1), k == 2);
               return;
             }
             p.setPen(k == 1 ? S.Shadow : S.Light);
             p.drawLine(r.left(), r.top() + 1, r.right() - 1, r.top() + 1);
             p.drawLine(r.left(), r.top() + 1, r.left(), r.bottom() - 1);
             p.setPen(k == 1 ? S.Light : S.Shadow);
             p.drawLine(r.left(), r.bottom() - 1, r.right() - 1, r.bottom() - 1);
             p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
           }));
    Margins(2, 2, 2, 2);
    Key("Trans", 0);
    TextColours(S.Text, S.Text, S.Text);

    // Tool buttons: normal (no face), pressed, disabled (no face), hot, checked.
    Section("ToolBars");
    Bitmap("Image", "toolbars.bmp", Frames(22, 22, 5, [&](QPainter& p, const QRect& r, int k) {
             if (k == 1 || k == 3) return;
             Face(p, r, Mix(S.ButtonFace, S.Accent, k == 4 ? 0.12 : 0.22), k == 2 ? TState::Pressed : TState::Normal, std::min(S.Radius, 3));
           }));
    Margins(4, 4, 4, 4);
    Key("Trans", 1);
    TextColours(S.Text, S.Text, S.Text);

    // Combo box button and sunken edit edge: normal, pressed, disabled, hot; the skin's reader
    // joins them with the drop-down arrow of ExtraImages into whole combo boxes.
    Section("ComboButton");
    Bitmap("Image", "combobutton.bmp", Frames(17, 21, 4, [&](QPainter& p, const QRect& r, int k) {
             Face(p, r.adjusted(0, 1, -1, -1), S.ButtonFace, StateOfFrame(k, {TState::Normal, TState::Pressed, TState::Disabled, TState::Hot}), std::min(S.Radius, 2));
           }));
    Margins(3, 3, 3, 3);
    Key("Trans", 1);
    Section("SunkEdge");
    Bitmap("Image", "sunkedge.bmp", Frames(20, 21, 4, [&](QPainter& p, const QRect& r, int k) {
             Field(p, r, StateOfFrame(k, {TState::Normal, TState::Default, TState::Disabled, TState::Hot}));
           }));
    Margins(2, 2, 2, 2);
    Key("Trans", 0);
    // Drop-down arrows in the four combo states, then the status bar's size grip.
    Section("ExtraImages");
    Bitmap("Image", "extraimages.bmp", Frames(12, 12, 5, [&](QPainter& p, const QRect& r, int k) {
             if (k == 5) {
               for (int i = 0; i < 3; ++i)
                 for (int j = 0; j <= i; ++j) {
                   const QPoint d(r.right() - 1 - 3 * j, r.bottom() - 1 - 3 * (2 - i));
                   p.fillRect(QRect(d, QSize(2, 2)), S.Light);
                   p.fillRect(QRect(d, QSize(1, 1)), S.Shadow);
                 }
               return;
             }
             Arrow(p, r.center() + QPoint(0, 1), 1, k == 3 ? S.Shadow : S.ButtonText, 4);
           }));
    Key("Trans", 1);

    Section("Headerbar");
    Bitmap("Image", "headerbar.bmp", Frames(20, 20, 5, [&](QPainter& p, const QRect& r, int k) {
             const QColor base = k == 2 ? S.Face.darker(106) : k == 4 ? Mix(S.Face, S.Accent, 0.12) : S.Face;
             if (S.Look == TFaceLook::Bevel) {
               p.fillRect(r, base);
               Bevel(p, r, k != 2);
               return;
             }
             QLinearGradient g(r.topLeft(), r.bottomLeft());
             g.setColorAt(0, base.lighter(106));
             g.setColorAt(1, base.darker(104));
             p.fillRect(r, g);
             p.setPen(S.Shadow);
             p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
             p.drawLine(r.right(), r.top() + 3, r.right(), r.bottom() - 3);
           }));
    Margins(2, 2, 3, 2);
    Key("Trans", 0);
    TextColours(S.Text, S.Text, S.Text);

    Section("GroupBoxEdge");
    Bitmap("Image", "groupboxedge.bmp", Frames(20, 20, 2, [&](QPainter& p, const QRect& r, int) {
             p.setBrush(Qt::NoBrush);
             p.setPen(S.Shadow);
             p.drawRoundedRect(r.adjusted(0, 0, -1, -1), S.Radius, S.Radius);
           }));
    Margins(4, 4, 4, 4);
    Key("Trans", 1);
    Section("GroupBox");
    Bitmap("Image", "groupbox.bmp", Frames(40, 16, 1, [&](QPainter& p, const QRect& r, int) { p.fillRect(r, S.Face); }));
    Key("BackgroundAlignment", 0);
    Key("BackgroundLeftShift", 6);
    Key("BackgroundRightShift", 6);
  }

  void WriteMenus() {
    // Menu items: normal (clear), separator, disabled (clear), selected, clear.
    Section("MenuItem");
    Bitmap("Image", "menuitem.bmp", Frames(30, 20, 5, [&](QPainter& p, const QRect& r, int k) {
             if (k == 2) {
               p.setPen(Mix(S.Menu, S.Shadow, 0.6));
               p.drawLine(r.left() + 4, r.top() + 15, r.right() - 4, r.top() + 15);
               p.setPen(Mix(S.Menu, S.Light, 0.6));
               p.drawLine(r.left() + 4, r.top() + 16, r.right() - 4, r.top() + 16);
             }
             if (k != 4) return;
             QLinearGradient g(r.topLeft(), r.bottomLeft());
             g.setColorAt(0, S.Look == TFaceLook::Glossy ? S.Accent.lighter(125) : S.Accent);
             g.setColorAt(1, S.Accent);
             Shape(p, r.adjusted(1, 0, -1, 0), g, S.Accent.darker(120), std::min(S.Radius, 3));
           }));
    Margins(4, 2, 4, 2);
    Key("Trans", 1);
    TextColours(S.MenuText, S.AccentText, S.AccentText);
    // Popup menu background: a three-pixel frame and a glyph gutter down the left.
    Section("MenuBackground");
    Bitmap("Image", "menubackground.bmp", Frames(48, 48, 1, [&](QPainter& p, const QRect& r, int) {
             p.fillRect(r, S.Menu);
             p.fillRect(QRect(r.left() + 3, r.top() + 3, 22, r.height() - 6), Mix(S.Menu, S.Face, 0.7));
             p.setPen(Mix(S.Menu, S.Shadow, 0.45));
             p.drawLine(r.left() + 25, r.top() + 3, r.left() + 25, r.bottom() - 3);
             p.setPen(S.Shadow.darker(110));
             p.drawRect(r.adjusted(0, 0, -1, -1));
             p.setPen(S.Menu.lighter(103));
             p.drawRect(r.adjusted(1, 1, -2, -2));
           }));
    Margins(26, 3, 3, 3);
    Key("Trans", 0);
    Key("Tile", 0);
  }

  void WriteScrollBars() {
    // 23 frames; arrows left 1-4, right 5-8, up 9-12, down 13-16 (normal, pressed, disabled,
    // hot), then spare faces.
    Section("Scrollbar");
    Bitmap("Image", "scrollbar.bmp", Frames(16, 16, 23, [&](QPainter& p, const QRect& r, int k) {
             const TState st = StateOfFrame(k, {TState::Normal, TState::Pressed, TState::Disabled, TState::Hot});
             Face(p, r, S.ButtonFace, st, std::min(S.Radius, 2));
             if (k <= 16) Arrow(p, r.center() + QPoint(k <= 8 ? 0 : 1, k <= 8 ? 1 : 0), k <= 4 ? 2 : k <= 8 ? 3 : k <= 12 ? 0 : 1,
                                st == TState::Disabled ? S.Shadow : S.ButtonText);
           }));
    Key("Trans", 1);
    auto track = [&](bool horizontal) {
      return Frames(16, 16, 4, [&, horizontal](QPainter& p, const QRect& r, int k) {
        const QColor base = k == 3 ? S.Face : Mix(S.Face, S.Shadow, k == 2 ? 0.4 : 0.22);
        QLinearGradient g(r.topLeft(), horizontal ? r.bottomLeft() : r.topRight());
        g.setColorAt(0, base.darker(104));
        g.setColorAt(1, base.lighter(104));
        p.fillRect(r, g);
      });
    };
    Section("HorzScroll");
    Bitmap("Image", "horzscroll.bmp", track(true));
    Margins(2, 0, 2, 0);
    Key("Tile", 0);
    Section("VertScroll");
    Bitmap("Image", "vertscroll.bmp", track(false));
    Margins(0, 2, 0, 2);
    // Thumbs: normal, pressed, hot.
    auto thumb = [&](bool horizontal) {
      return Frames(16, 16, 3, [&, horizontal](QPainter& p, const QRect& r, int k) {
        const TState st = StateOfFrame(k, {TState::Normal, TState::Pressed, TState::Hot});
        Face(p, horizontal ? r.adjusted(0, 1, 0, -1) : r.adjusted(1, 0, -1, 0), Mix(S.ButtonFace, S.Accent, 0.15), st,
             std::min(S.Radius, 3));
      });
    };
    Section("HorzScrollThumb");
    Bitmap("Image", "horzthumb.bmp", thumb(true));
    Margins(5, 0, 5, 0);
    Key("Trans", 1);
    Key("FrameCount", 3);
    Section("VertScrollThumb");
    Bitmap("Image", "vertthumb.bmp", thumb(false));
    Margins(0, 5, 0, 5);
    Key("Trans", 1);
    Key("FrameCount", 3);
  }

  // A track-bar thumb pointing its tip in the direction (0 none, 1 down, 2 up, 3 right, 4 left).
  QImage Thumb(int w, int h, int tip) const {
    return Frames(w, h, 5, [&](QPainter& p, const QRect& r, int k) {
      const TState st = StateOfFrame(k, {TState::Hot, TState::Normal, TState::Pressed, TState::Disabled, TState::Normal});
      QPolygon shape;
      const QRect b = r.adjusted(0, 0, -1, -1);
      const int t = 4;
      switch (tip) {
        case 1: shape << b.topLeft() << b.topRight() << QPoint(b.right(), b.bottom() - t) << QPoint(b.center().x(), b.bottom()) << QPoint(b.left(), b.bottom() - t); break;
        case 2: shape << QPoint(b.center().x(), b.top()) << QPoint(b.right(), b.top() + t) << b.bottomRight() << b.bottomLeft() << QPoint(b.left(), b.top() + t); break;
        case 3: shape << b.topLeft() << QPoint(b.right() - t, b.top()) << QPoint(b.right(), b.center().y()) << QPoint(b.right() - t, b.bottom()) << b.bottomLeft(); break;
        case 4: shape << QPoint(b.left(), b.center().y()) << QPoint(b.left() + t, b.top()) << b.topRight() << b.bottomRight() << QPoint(b.left() + t, b.bottom()); break;
        default: shape << b.topLeft() << b.topRight() << b.bottomRight() << b.bottomLeft(); break;
      }
      const QColor c = StateColour(Mix(S.ButtonFace, S.Accent, 0.25), st);
      QLinearGradient g(r.topLeft(), r.bottomRight());
      g.setColorAt(0, c.lighter(112));
      g.setColorAt(1, c.darker(108));
      p.setBrush(g);
      p.setPen(S.Shadow.darker(115));
      p.drawPolygon(shape);
    });
  }

  void WriteRangeControls() {
    struct ThumbKind {
      const char* section;
      const char* file;
      int w, h, tip;
    };
    for (const ThumbKind& t : std::initializer_list<ThumbKind>{{"Trackbar.ThumbHorz", "thumbhorz.bmp", 11, 20, 1},
                                                              {"Trackbar.ThumbVert", "thumbvert.bmp", 20, 11, 3},
                                                              {"Trackbar.ThumbUp", "thumbup.bmp", 11, 20, 2},
                                                              {"Trackbar.ThumbDown", "thumbdown.bmp", 11, 20, 1},
                                                              {"Trackbar.ThumbLeft", "thumbleft.bmp", 20, 11, 4},
                                                              {"Trackbar.ThumbRight", "thumbright.bmp", 20, 11, 3}}) {
      Section(t.section);
      Bitmap("Image", t.file, Thumb(t.w, t.h, t.tip));
      Key("Trans", 1);
    }
    // Up-down buttons: frames 1-4 the first button, 5-8 the second (normal, pressed,
    // disabled, hot); the glyph strip has the same eight frames.
    auto updown = [&](bool vertical) {
      const int w = vertical ? 16 : 10, h = vertical ? 10 : 16;
      return Frames(w, h, 8, [&](QPainter& p, const QRect& r, int k) {
        Face(p, r, S.ButtonFace, StateOfFrame(k, {TState::Normal, TState::Pressed, TState::Disabled, TState::Hot}), std::min(S.Radius, 2));
      });
    };
    auto glyphs = [&](bool vertical) {
      const int w = vertical ? 7 : 4, h = vertical ? 4 : 7;
      return Frames(w, h, 8, [&](QPainter& p, const QRect& r, int k) {
        const int dir = vertical ? (k <= 4 ? 0 : 1) : (k <= 4 ? 2 : 3);
        const QPoint c = vertical ? QPoint(r.left() + 3, r.top() + (k <= 4 ? 1 : 2)) : QPoint(r.left() + (k <= 4 ? 1 : 2), r.top() + 3);
        Arrow(p, c, dir, (k - 1) % 4 == 2 ? S.Shadow : S.ButtonText, 4);
      });
    };
    Section("UpDown.Vert");
    Bitmap("Image", "updownvert.bmp", updown(true));
    Bitmap("GlyphImage", "updownvertglyph.bmp", glyphs(true));
    Margins(3, 3, 3, 3);
    Key("Trans", 1);
    Section("UpDown.Horz");
    Bitmap("Image", "updownhorz.bmp", updown(false));
    Bitmap("GlyphImage", "updownhorzglyph.bmp", glyphs(false));
    Margins(3, 3, 3, 3);
    Key("Trans", 1);
    // Progress bars: the empty track and the filled bar; chunk mode draws the chunk instead.
    Section("Progress");
    Bitmap("Bitmap", "progress.bmp", Frames(40, 14, 2, [&](QPainter& p, const QRect& r, int k) {
             if (k == 1) {
               Field(p, r, TState::Normal);
               return;
             }
             QLinearGradient g(r.topLeft(), r.bottomLeft());
             g.setColorAt(0, S.Accent.lighter(S.Look == TFaceLook::Glossy ? 150 : 115));
             g.setColorAt(0.5, S.Accent);
             g.setColorAt(1, S.Accent.darker(110));
             Shape(p, r, g, S.Accent.darker(140), 0);
           }));
    Bitmap("Chunk", "progresschunk.bmp", Frames(9, 10, 1, [&](QPainter& p, const QRect& r, int) {
             p.fillRect(r.adjusted(0, 0, -2, 0), S.Accent);
             p.fillRect(QRect(r.left(), r.top(), 7, 4), S.Accent.lighter(125));
           }));
    Margins(2, 2, 2, 2);
    Key("Style", 0);
    Key("Trans", 1);
    Key("Tile", 0);
  }

  const TSkinStyle& S;
  QStringList FIni;
  std::vector<TSkinMember> FBitmaps;
};

}  // namespace

std::vector<TSkinMember> DrawSkinMembers(const TSkinStyle& style) { return TSkinArt(style).Run(); }
