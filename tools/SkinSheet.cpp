#include "tools/SkinSheet.h"
#include "platform/ui/SystemColors.h"
#include "skin/SkinImage.h"
#include "skin/SkinModel.h"
#include <QPainter>

namespace {

QColor Q(TColor c) { return ColorToQColor(c); }

class TSheet {
public:
  explicit TSheet(const TSkinModel& model) : M(model) {}

  QImage Run() {
    QImage sheet(980, 2000, QImage::Format_RGB32);
    sheet.fill(QColor(0x9A, 0xA0, 0xA6));
    QPainter p(&sheet);
    p.setFont(QFont("Noto Sans CJK SC", 9));
    DrawWindow(p, QRect(20, 20, 560, 400), true);
    DrawWindow(p, QRect(600, 20, 360, 140), false);
    DrawPopup(p, QRect(600, 180, 170, 126));
    const int bottom = DrawStrips(p, 440);
    p.end();
    return sheet.copy(0, 0, sheet.width(), bottom + 20);
  }

private:
  static TRect R(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

  void Element(QPainter& p, const QRect& r, const TDataSkinObject* e, int frame, bool vertical = false) const {
    if (e) DrawSkinImage(p, R(r), e->Image, e->Margins(), frame, e->FrameCount, e->Trans == 1, e->Tile == 1, vertical);
  }

  void Text(QPainter& p, const QRect& r, const QString& text, TColor colour, int flags = Qt::AlignCenter) const {
    p.setPen(Q(colour));
    p.drawText(r, flags, text);
  }

  void DrawWindow(QPainter& p, const QRect& w, bool active) const {
    const int frame = active ? 1 : 2;
    const int lb = M.Left->Image.width() / std::max(M.Left->FrameCount, 1);
    const int rb = M.Right->Image.width() / std::max(M.Right->FrameCount, 1);
    const int tb = M.Top->Image.height() / std::max(M.Top->FrameCount, 1);
    const int bb = M.Bottom->Image.height() / std::max(M.Bottom->FrameCount, 1);
    auto border = [&](const TDataSkinBorder& b, const QRect& r, bool vertical) {
      DrawSkinImage(p, R(r), b.Image, b.Margins(), b.FrameCount > 1 ? frame : 1, b.FrameCount, b.Trans == 1, b.Tile != 1, vertical);
    };
    border(*M.Left, QRect(w.left(), w.top(), lb, w.height()), false);
    border(*M.Right, QRect(w.right() + 1 - rb, w.top(), rb, w.height()), false);
    border(*M.Bottom, QRect(w.left() + lb, w.bottom() + 1 - bb, w.width() - lb - rb, bb), true);
    border(*M.Top, QRect(w.left() + lb, w.top(), w.width() - lb - rb, tb), true);
    p.fillRect(QRect(w.left() + 6, w.top() + (tb - 16) / 2, 16, 16), QColor(0xE0, 0x9A, 0x2C));
    QFont bold = p.font();
    bold.setBold(true);
    p.save();
    p.setFont(bold);
    Text(p, QRect(w.left() + lb + M.Title->TextShift(), w.top(), 300, tb), active ? "墨鲤工资条打印软件" : "工资项目设置",
         active ? M.TitleTextActive : M.TitleTextNoActive, Qt::AlignLeft | Qt::AlignVCenter);
    p.restore();
    for (const auto& b : M.CaptionButtons) {
      if (b->Align != 1 || b->Image.isNull() || b->Visibility == 1) continue;
      const int bw = b->Image.width() / b->FrameCount;
      DrawSkinFrame(p, Bounds(w.right() + 1 - b->Xcoord, w.top() + b->Ycoord, bw, b->Image.height()), b->Image,
                    active ? (b->Action == 0 ? 3 : 1) : 4, b->FrameCount, true);
    }
    const QRect client(w.left() + lb, w.top() + tb, w.width() - lb - rb, w.height() - tb - bb);
    p.fillRect(client, Q(M.ButtonFace));
    const QRect bar(client.left(), client.top(), client.width(), 20);
    if (M.MenuBar) DrawSkinImage(p, R(bar), M.MenuBar->Image, M.MenuBar->Margins(), frame, 2, false, false, true);
    int x = bar.left() + (M.MenuBar ? M.MenuBar->LeftWidth : 0) + 4;
    for (const char* item : {"文件", "编辑", "工资", "打印", "帮助"}) {
      Text(p, QRect(x, bar.top(), 44, bar.height()), item, M.MenuBarText);
      x += 44;
    }
    if (active) DrawClient(p, client.adjusted(0, 20, 0, 0));
  }

  void DrawClient(QPainter& p, const QRect& c) const {
    // Tool bar on its gradient, one hot and one pressed button.
    const QRect tools(c.left(), c.top(), c.width(), 30);
    p.drawImage(tools, M.Toolbar->Image);
    for (int i = 0; i < 6; ++i) {
      const QRect b(tools.left() + 4 + i * 26, tools.top() + 4, 22, 22);
      if (i == 1 || i == 2) Element(p, b, M.ToolBars.get(), i == 1 ? 4 : 2);
      p.fillRect(b.adjusted(6, 6, -6, -6), Q(i % 2 ? M.Hilight : M.ButtonShadow));
    }
    const int left = c.left() + 12;
    int y = tools.bottom() + 12;
    // Push buttons in their five looks.
    const char* captions[5] = {"确定", "按下", "禁用", "悬停", "默认"};
    for (int k = 1; k <= 5; ++k) {
      const QRect b(left + (k - 1) * 78, y, 72, 25);
      Element(p, b, M.Buttons.get(), k);
      Text(p, b, captions[k - 1], k == 3 ? M.ButtonShadow : M.ButtonText);
    }
    y += 36;
    // Check boxes and radio buttons, every frame.
    const TDataSkinButton& bt = *M.Buttons;
    for (int k = 1; k <= bt.CheckButtonFrame; ++k)
      DrawSkinFrame(p, Bounds(left + (k - 1) * 24, y, bt.CheckButton.width() / bt.CheckButtonFrame, bt.CheckButton.height()),
                    bt.CheckButton, k, bt.CheckButtonFrame, true);
    for (int k = 1; k <= bt.RadioButtonFrame; ++k)
      DrawSkinFrame(p, Bounds(left + 160 + (k - 1) * 24, y, bt.RadioButton.width() / bt.RadioButtonFrame, bt.RadioButton.height()),
                    bt.RadioButton, k, bt.RadioButtonFrame, true);
    Text(p, QRect(left + 270, y - 2, 120, 18), "显示小数位", M.WindowText, Qt::AlignLeft | Qt::AlignVCenter);
    y += 26;
    // Combo boxes in the composed looks, an edit with its up-down, and a track bar.
    for (int k = 1; k <= 4; ++k) {
      const QRect b(left + (k - 1) * 128, y, 120, 21);
      Element(p, b, M.ComboButton.get(), k);
      Text(p, b.adjusted(5, 0, 0, 0), k == 3 ? "禁用" : "2026年12月", k == 3 ? M.ButtonShadow : M.WindowText,
           Qt::AlignLeft | Qt::AlignVCenter);
    }
    y += 30;
    const QRect edit(left, y, 90, 21);
    p.fillRect(edit, Qt::white);
    p.setPen(Q(M.ButtonShadow));
    p.drawRect(edit.adjusted(0, 0, -1, -1));
    Text(p, edit.adjusted(5, 0, -18, 0), "12", M.WindowText, Qt::AlignLeft | Qt::AlignVCenter);
    if (M.UpDownVert) {
      const TDataSkinBorder& u = *M.UpDownVert;
      for (int half = 0; half < 2; ++half) {
        const TRect r = Bounds(edit.right() - 16, edit.top() + 2 + half * 9, 15, 9);
        DrawSkinFrame(p, r, u.Image, 1 + 4 * half, u.FrameCount, true);
        DrawSkinFrameCentred(p, r, u.Image2, 1 + 4 * half, u.FrameCount, true);
      }
    }
    const QRect track(left + 110, y + 9, 150, 4);
    p.fillRect(track, Q(M.ButtonShadow));
    if (M.TrackbarThumbHorz)
      DrawSkinFrame(p, Bounds(track.left() + 60, y, 11, 20), M.TrackbarThumbHorz->Image, 2, 5, true);
    if (M.Progress) {
      const TDataSkinBorder& pr = *M.Progress;
      const QRect bar(left + 280, y + 3, 170, 16);
      DrawSkinImage(p, R(bar), pr.Image, pr.Margins(), 1, 2, true, pr.Tile == 1, false);
      DrawSkinImage(p, Bounds(bar.left(), bar.top(), bar.width() * 3 / 5, bar.height()), pr.Image, pr.Margins(), 2, 2, true,
                    pr.Tile == 1, false);
    }
    y += 34;
    DrawTabsAndList(p, QRect(left, y, 300, 150));
    DrawStatusBar(p, QRect(c.left(), c.bottom() - 21, c.width(), 22));
  }

  void DrawTabsAndList(QPainter& p, const QRect& area) const {
    const QRect page(area.left(), area.top() + 22, area.width(), area.height() - 22);
    if (M.Tabs) {
      const TDataSkinBorder& t = *M.Tabs;
      if (!t.Image2.isNull()) DrawSkinBorder(p, R(page), t.Image2, {4, 5, 4, 4}, 1, 1, false);
      const char* names[3] = {"工资明细", "扣款", "统计"};
      for (int i = 2; i >= 0; --i) {
        const QRect tab(area.left() + 2 + i * 72, area.top() + 1, 76, 22);
        Element(p, tab, &t, i == 0 ? 2 : 1);
        Text(p, tab, names[i], i == 0 ? t.MouseOverColour2 : t.NormalColour2);
      }
    }
    const QRect list = page.adjusted(8, 10, -8, -8);
    p.fillRect(list, Qt::white);
    p.setPen(Q(M.ButtonShadow));
    p.drawRect(list.adjusted(0, 0, -1, -1));
    int x = list.left() + 1;
    for (const char* h : {"姓名", "部门", "实发"}) {
      const QRect cell(x, list.top() + 1, 80, 20);
      Element(p, cell, M.Headerbar.get(), 1);
      Text(p, cell, h, M.WindowText);
      x += 80;
    }
    Element(p, QRect(x, list.top() + 1, list.right() - 16 - x, 20), M.Headerbar.get(), 1);
    p.fillRect(QRect(list.left() + 1, list.top() + 43, list.width() - 18, 20), Q(M.Hilight));
    Text(p, QRect(list.left() + 6, list.top() + 43, 200, 20), "张三    财务部    5,280.00", M.HilightText,
         Qt::AlignLeft | Qt::AlignVCenter);
    // A vertical scroll bar: arrows, track and thumb.
    const QRect sb(list.right() - 16, list.top() + 1, 16, list.height() - 2);
    if (M.Scrollbar && M.VertScroll && M.VertScrollThumb) {
      const TDataSkinObject& s = *M.Scrollbar;
      Element(p, sb.adjusted(0, 16, 0, -16), M.VertScroll.get(), 1);
      DrawSkinFrame(p, Bounds(sb.left(), sb.top(), 16, 16), s.Image, 9, s.FrameCount, true);
      DrawSkinFrame(p, Bounds(sb.left(), sb.bottom() - 15, 16, 16), s.Image, 14, s.FrameCount, true);
      Element(p, QRect(sb.left(), sb.top() + 30, 16, 40), M.VertScrollThumb.get(), 1);
    }
  }

  void DrawStatusBar(QPainter& p, const QRect& bar) const {
    p.fillRect(bar, Q(M.ButtonFace));
    int x = bar.left();
    for (int w : {180, 160}) {
      const QRect panel(x, bar.top(), w, bar.height());
      Element(p, panel, M.StatusBarEdges.get(), 1);
      Text(p, panel.adjusted(4, 0, 0, 0), x == bar.left() ? "当前月份：2026年12月" : "记录数：128",
           M.StatusBarEdges ? M.StatusBarEdges->NormalColour2 : M.WindowText, Qt::AlignLeft | Qt::AlignVCenter);
      x += w + 2;
    }
    Element(p, QRect(x, bar.top(), bar.right() + 1 - x, bar.height()), M.StatusBarEdges.get(), 3);
    if (M.ExtraImages) {
      const QImage& e = M.ExtraImages->Image;
      const int fw = e.width() / M.ExtraImages->FrameCount;
      DrawSkinFrame(p, Bounds(bar.right() - fw, bar.bottom() - e.height(), fw, e.height()), e, 5, M.ExtraImages->FrameCount, true);
    }
  }

  void DrawPopup(QPainter& p, const QRect& r) const {
    if (!M.MenuBackground || !M.MenuItem) return;
    Element(p, r, M.MenuBackground.get(), 1);
    const char* items[5] = {"新增月份", "修改月份", "-", "备份数据库", "退出"};
    int y = r.top() + 3;
    for (int i = 0; i < 5; ++i) {
      const bool separator = items[i][0] == '-';
      const QRect item(r.left() + 3, y, r.width() - 6, separator ? 8 : 22);
      const TDataSkinObject& mi = *M.MenuItem;
      if (separator)
        DrawSkinStrip(p, R(item), mi.Image.copy(0, mi.Image.height() - 8, mi.Image.width(), 8), mi.Margins(), 2, 5, true, false);
      else
        Element(p, item, &mi, i == 1 ? 4 : 1);
      if (!separator)
        Text(p, item.adjusted(mi.LeftWidth + 22, 0, 0, 0), items[i], i == 1 ? M.HilightText : M.MenuText,
             Qt::AlignLeft | Qt::AlignVCenter);
      y += item.height();
    }
  }

  // Every image of the skin enlarged, with its frames marked.
  int DrawStrips(QPainter& p, int top) const {
    struct Strip {
      QString name;
      const QImage* image;
      int frames;
      bool vertical;
    };
    std::vector<Strip> strips = {{"Top", &M.Top->Image, M.Top->FrameCount, true},
                                 {"Bottom", &M.Bottom->Image, M.Bottom->FrameCount, true},
                                 {"Left", &M.Left->Image, M.Left->FrameCount, false},
                                 {"Right", &M.Right->Image, M.Right->FrameCount, false},
                                 {"Buttons", &M.Buttons->Image, M.Buttons->FrameCount, false},
                                 {"CheckButton", &M.Buttons->CheckButton, M.Buttons->CheckButtonFrame, false},
                                 {"RadioButton", &M.Buttons->RadioButton, M.Buttons->RadioButtonFrame, false},
                                 {"Toolbar", &M.Toolbar->Image, 1, false}};
    for (const auto& b : M.CaptionButtons)
      if (!b->Image.isNull()) strips.push_back({b->SectionName + " " + QString::number(b->Action), &b->Image, b->FrameCount, false});
    auto add = [&](const char* name, const TDataSkinObject* e, bool vertical = false) {
      if (e) strips.push_back({name, &e->Image, e->FrameCount, vertical});
    };
    auto add2 = [&](const char* name, const TDataSkinBorder* e, int frames) {
      if (e && !e->Image2.isNull()) strips.push_back({name, &e->Image2, frames, false});
    };
    add("menuBar", M.MenuBar.get(), true);
    add("Progress", M.Progress.get());
    add2("Progress chunk", M.Progress.get(), 1);
    add("Tabs", M.Tabs.get());
    add2("Tabs border", M.Tabs.get(), 1);
    add("StatusBarEdges", M.StatusBarEdges.get());
    add("ToolBars", M.ToolBars.get());
    add("ComboButton (composed)", M.ComboButton.get());
    add("SunkEdge (composed, mirrored)", M.SunkEdge.get());
    add("ExtraImages", M.ExtraImages.get());
    add("Headerbar", M.Headerbar.get());
    add("MenuItem", M.MenuItem.get());
    add("MenuBackground", M.MenuBackground.get());
    add("Scrollbar", M.Scrollbar.get());
    add("HorzScroll", M.HorzScroll.get());
    add("VertScroll", M.VertScroll.get());
    add("HorzScrollThumb", M.HorzScrollThumb.get());
    add("VertScrollThumb", M.VertScrollThumb.get());
    add("Trackbar.ThumbHorz", M.TrackbarThumbHorz.get());
    add("Trackbar.ThumbVert", M.TrackbarThumbVert.get());
    add("Trackbar.ThumbUp", M.TrackbarThumbUp.get());
    add("Trackbar.ThumbDown", M.TrackbarThumbDown.get());
    add("Trackbar.ThumbLeft", M.TrackbarThumbLeft.get());
    add("Trackbar.ThumbRight", M.TrackbarThumbRight.get());
    add("UpDown.Vert", M.UpDownVert.get());
    add2("UpDown.Vert glyphs", M.UpDownVert.get(), 8);
    add("UpDown.Horz", M.UpDownHorz.get());
    add2("UpDown.Horz glyphs", M.UpDownHorz.get(), 8);
    add("GroupBoxEdge", M.GroupBoxEdge.get());
    add("GroupBox", M.GroupBox.get());

    int x = 20, y = top, rowHeight = 0;
    for (const Strip& s : strips) {
      const QImage& image = *s.image;
      if (image.isNull()) continue;
      const int scale = image.width() * 2 <= 460 && image.height() * 2 <= 160 ? 2 : 1;
      const QSize size = image.size() * scale;
      if (x + size.width() > 960) {
        x = 20;
        y += rowHeight + 8;
        rowHeight = 0;
      }
      p.setPen(Qt::black);
      p.drawText(QRect(x, y, 460, 16), Qt::AlignLeft | Qt::AlignVCenter,
                 QString("%1  %2 x %3, %4 frames").arg(s.name).arg(image.width()).arg(image.height()).arg(s.frames));
      const QRect target(QPoint(x, y + 18), size);
      p.drawImage(target, image);
      p.setPen(QColor(0, 200, 255));
      const int n = std::max(s.frames, 1);
      for (int k = 1; k < n; ++k) {
        if (s.vertical) {
          const int fy = target.top() + k * (image.height() / n) * scale;
          p.drawLine(target.left() - 3, fy, target.left() - 1, fy);
        } else {
          const int fx = target.left() + k * (image.width() / n) * scale;
          p.drawLine(fx, target.bottom() + 1, fx, target.bottom() + 3);
        }
      }
      x += std::max(size.width(), 200) + 16;
      rowHeight = std::max(rowHeight, size.height() + 22);
    }
    return y + rowHeight;
  }

  const TSkinModel& M;
};

}  // namespace

QImage DrawSkinSheet(const QByteArray& package) {
  TSkinModel model;
  model.Build(package);
  return TSheet(model).Run();
}
