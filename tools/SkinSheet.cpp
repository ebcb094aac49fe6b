#include "tools/SkinSheet.h"
#include "platform/ui/DrawingRoutines.h"
#include "skin/SkinImage.h"
#include "skin/SkinModel.h"

namespace {

constexpr Cardinal Centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr Cardinal LeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

class TSheet {
public:
  explicit TSheet(const TSkinModel& model) : M(model) {}

  QImage Run() {
    TBitmap sheet(980, 2000);
    C = sheet.Canvas();
    Fill(TRect(0, 0, 980, 2000), RGB(0x9A, 0xA0, 0xA6));
    C->Font()->SetName("Noto Sans CJK SC");
    C->Font()->SetSize(9);
    DrawWindow(Bounds(20, 20, 560, 400), true);
    DrawWindow(Bounds(600, 20, 360, 140), false);
    DrawPopup(Bounds(600, 180, 170, 126));
    const int bottom = DrawStrips(440);
    return sheet.Image().copy(0, 0, sheet.Width(), bottom + 20);
  }

private:
  void Fill(const TRect& r, TColor colour) const {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(colour);
    C->FillRect(r);
  }
  void Text(TRect r, const String& text, TColor colour, Cardinal format = Centred) const {
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(colour);
    DrawText(C, text, r, format);
  }
  void Element(const TRect& r, const TDataSkinObject* e, int frame, bool vertical = false) const {
    if (e) DrawSkinImage(C, r, e->Image, e->Margins(), frame, e->FrameCount, e->Trans == 1, e->Tile == 1, vertical);
  }
  static int FrameWidth(const TBitmap& b, int frames) { return b.Width() / std::max(frames, 1); }

  void DrawWindow(const TRect& w, bool active) const {
    const int frame = active ? 1 : 2;
    const int lb = FrameWidth(M.Left->Image, M.Left->FrameCount);
    const int rb = FrameWidth(M.Right->Image, M.Right->FrameCount);
    const int tb = M.Top->Image.Height() / std::max(M.Top->FrameCount, 1);
    const int bb = M.Bottom->Image.Height() / std::max(M.Bottom->FrameCount, 1);
    auto border = [&](const TDataSkinBorder& b, const TRect& r, bool vertical) {
      DrawSkinImage(C, r, b.Image, b.Margins(), b.FrameCount > 1 ? frame : 1, b.FrameCount, b.Trans == 1, b.Tile != 1, vertical);
    };
    border(*M.Left, Bounds(w.Left, w.Top, lb, w.Height()), false);
    border(*M.Right, Bounds(w.Right - rb, w.Top, rb, w.Height()), false);
    border(*M.Bottom, TRect(w.Left + lb, w.Bottom - bb, w.Right - rb, w.Bottom), true);
    border(*M.Top, TRect(w.Left + lb, w.Top, w.Right - rb, w.Top + tb), true);
    Fill(Bounds(w.Left + 6, w.Top + (tb - 16) / 2, 16, 16), RGB(0xE0, 0x9A, 0x2C));
    C->Font()->SetStyle(TFontStyles{fsBold});
    Text(Bounds(w.Left + lb + M.Title->TextShift(), w.Top, 300, tb), active ? "墨鲤工资条打印软件" : "工资项目设置",
         active ? M.TitleTextActive : M.TitleTextNoActive, LeftMiddle);
    C->Font()->SetStyle(TFontStyles{});
    for (const auto& b : M.CaptionButtons) {
      if (b->Align != 1 || b->Image.Empty() || b->Visibility == 1) continue;
      DrawSkinFrame(C, Bounds(w.Right - b->Xcoord, w.Top + b->Ycoord, FrameWidth(b->Image, b->FrameCount), b->Image.Height()),
                    b->Image, active ? (b->Action == 0 ? 3 : 1) : 4, b->FrameCount, true);
    }
    const TRect client(w.Left + lb, w.Top + tb, w.Right - rb, w.Bottom - bb);
    Fill(client, M.ButtonFace);
    const TRect bar(client.Left, client.Top, client.Right, client.Top + 20);
    if (M.MenuBar) DrawSkinImage(C, bar, M.MenuBar->Image, M.MenuBar->Margins(), frame, 2, false, false, true);
    int x = bar.Left + (M.MenuBar ? M.MenuBar->LeftWidth : 0) + 4;
    for (const char* item : {"文件", "编辑", "工资", "打印", "帮助"}) {
      Text(TRect(x, bar.Top, x + 44, bar.Bottom), item, M.MenuBarText);
      x += 44;
    }
    if (active) DrawClient(TRect(client.Left, client.Top + 20, client.Right, client.Bottom));
  }

  void DrawClient(const TRect& c) const {
    // Tool bar on its gradient, one hot and one pressed button.
    const TRect tools(c.Left, c.Top, c.Right, c.Top + 30);
    const QImage& gradient = M.Toolbar->Image.Image();
    C->DrawImage(tools, gradient, TRect(0, 0, gradient.width(), gradient.height()));
    for (int i = 0; i < 6; ++i) {
      const TRect b = Bounds(tools.Left + 4 + i * 26, tools.Top + 4, 22, 22);
      if (i == 1 || i == 2) Element(b, M.ToolBars.get(), i == 1 ? 4 : 2);
      Fill(TRect(b.Left + 6, b.Top + 6, b.Right - 6, b.Bottom - 6), i % 2 ? M.Hilight : M.ButtonShadow);
    }
    const int left = c.Left + 12;
    int y = tools.Bottom + 12;
    // Push buttons in their five looks.
    const char* captions[5] = {"确定", "按下", "禁用", "悬停", "默认"};
    for (int k = 1; k <= 5; ++k) {
      const TRect b = Bounds(left + (k - 1) * 78, y, 72, 25);
      Element(b, M.Buttons.get(), k);
      Text(b, captions[k - 1], k == 3 ? M.ButtonShadow : M.ButtonText);
    }
    y += 36;
    // Check boxes and radio buttons, every frame.
    const TDataSkinButton& bt = *M.Buttons;
    for (int k = 1; k <= bt.CheckButtonFrame; ++k)
      DrawSkinFrame(C, Bounds(left + (k - 1) * 24, y, FrameWidth(bt.CheckButton, bt.CheckButtonFrame), bt.CheckButton.Height()),
                    bt.CheckButton, k, bt.CheckButtonFrame, true);
    for (int k = 1; k <= bt.RadioButtonFrame; ++k)
      DrawSkinFrame(C, Bounds(left + 160 + (k - 1) * 24, y, FrameWidth(bt.RadioButton, bt.RadioButtonFrame), bt.RadioButton.Height()),
                    bt.RadioButton, k, bt.RadioButtonFrame, true);
    Text(Bounds(left + 270, y - 2, 120, 18), "显示小数位", M.WindowText, LeftMiddle);
    y += 26;
    // Combo boxes in the composed looks, an edit with its up-down, a track bar and a progress bar.
    for (int k = 1; k <= 4; ++k) {
      const TRect b = Bounds(left + (k - 1) * 128, y, 120, 21);
      Element(b, M.ComboButton.get(), k);
      Text(TRect(b.Left + 5, b.Top, b.Right, b.Bottom), k == 3 ? "禁用" : "2026年12月", k == 3 ? M.ButtonShadow : M.WindowText,
           LeftMiddle);
    }
    y += 30;
    const TRect edit = Bounds(left, y, 90, 21);
    Fill(edit, clWhite);
    C->Brush()->SetColor(M.ButtonShadow);
    C->FrameRect(edit);
    Text(TRect(edit.Left + 5, edit.Top, edit.Right - 18, edit.Bottom), "12", M.WindowText, LeftMiddle);
    if (M.UpDownVert) {
      const TDataSkinBorder& u = *M.UpDownVert;
      for (int half = 0; half < 2; ++half) {
        const TRect r = Bounds(edit.Right - 17, edit.Top + 2 + half * 9, 15, 9);
        DrawSkinFrame(C, r, u.Image, 1 + 4 * half, u.FrameCount, true);
        DrawSkinFrameCentred(C, r, u.Image2, 1 + 4 * half, u.FrameCount, true);
      }
    }
    Fill(Bounds(left + 110, y + 9, 150, 4), M.ButtonShadow);
    if (M.TrackbarThumbHorz) DrawSkinFrame(C, Bounds(left + 170, y, 11, 20), M.TrackbarThumbHorz->Image, 2, 5, true);
    if (M.Progress) {
      const TDataSkinBorder& pr = *M.Progress;
      const TRect bar = Bounds(left + 280, y + 3, 170, 16);
      DrawSkinImage(C, bar, pr.Image, pr.Margins(), 1, 2, true, pr.Tile == 1, false);
      DrawSkinImage(C, Bounds(bar.Left, bar.Top, bar.Width() * 3 / 5, bar.Height()), pr.Image, pr.Margins(), 2, 2, true,
                    pr.Tile == 1, false);
    }
    y += 34;
    DrawTabsAndList(Bounds(left, y, 300, 150));
    DrawStatusBar(TRect(c.Left, c.Bottom - 22, c.Right, c.Bottom));
  }

  void DrawTabsAndList(const TRect& area) const {
    const TRect page(area.Left, area.Top + 22, area.Right, area.Bottom);
    if (M.Tabs) {
      const TDataSkinBorder& t = *M.Tabs;
      DrawSkinBorder(C, page, t.Image2, {4, 5, 4, 4}, 1, 1, false);
      const char* names[3] = {"工资明细", "扣款", "统计"};
      for (int i = 2; i >= 0; --i) {
        const TRect tab = Bounds(area.Left + 2 + i * 72, area.Top + 1, 76, 22);
        Element(tab, &t, i == 0 ? 2 : 1);
        Text(tab, names[i], i == 0 ? t.MouseOverColour2 : t.NormalColour2);
      }
    }
    const TRect list(page.Left + 8, page.Top + 10, page.Right - 8, page.Bottom - 8);
    Fill(list, clWhite);
    C->Brush()->SetColor(M.ButtonShadow);
    C->FrameRect(list);
    int x = list.Left + 1;
    for (const char* h : {"姓名", "部门", "实发"}) {
      const TRect cell = Bounds(x, list.Top + 1, 80, 20);
      Element(cell, M.Headerbar.get(), 1);
      Text(cell, h, M.WindowText);
      x += 80;
    }
    Element(TRect(x, list.Top + 1, list.Right - 17, list.Top + 21), M.Headerbar.get(), 1);
    Fill(TRect(list.Left + 1, list.Top + 43, list.Right - 17, list.Top + 63), M.Hilight);
    Text(Bounds(list.Left + 6, list.Top + 43, 200, 20), "张三    财务部    5,280.00", M.HilightText, LeftMiddle);
    // A vertical scroll bar: arrows, track and thumb.
    if (M.Scrollbar && M.VertScroll && M.VertScrollThumb) {
      const TRect sb(list.Right - 17, list.Top + 1, list.Right - 1, list.Bottom - 1);
      const TDataSkinObject& s = *M.Scrollbar;
      Element(TRect(sb.Left, sb.Top + 16, sb.Right, sb.Bottom - 16), M.VertScroll.get(), 1);
      DrawSkinFrame(C, Bounds(sb.Left, sb.Top, 16, 16), s.Image, 9, s.FrameCount, true);
      DrawSkinFrame(C, Bounds(sb.Left, sb.Bottom - 16, 16, 16), s.Image, 14, s.FrameCount, true);
      Element(Bounds(sb.Left, sb.Top + 30, 16, 40), M.VertScrollThumb.get(), 1);
    }
  }

  void DrawStatusBar(const TRect& bar) const {
    Fill(bar, M.ButtonFace);
    int x = bar.Left;
    for (int w : {180, 160}) {
      const TRect panel(x, bar.Top, x + w, bar.Bottom);
      Element(panel, M.StatusBarEdges.get(), 1);
      Text(TRect(panel.Left + 4, panel.Top, panel.Right, panel.Bottom), x == bar.Left ? "当前月份：2026年12月" : "记录数：128",
           M.StatusBarEdges ? M.StatusBarEdges->NormalColour2 : M.WindowText, LeftMiddle);
      x += w + 2;
    }
    Element(TRect(x, bar.Top, bar.Right, bar.Bottom), M.StatusBarEdges.get(), 3);
    if (M.ExtraImages) {
      const TBitmap& e = M.ExtraImages->Image;
      const int fw = FrameWidth(e, M.ExtraImages->FrameCount);
      DrawSkinFrame(C, Bounds(bar.Right - 1 - fw, bar.Bottom - 1 - e.Height(), fw, e.Height()), e, 5, M.ExtraImages->FrameCount, true);
    }
  }

  void DrawPopup(const TRect& r) const {
    if (!M.MenuBackground || !M.MenuItem) return;
    Element(r, M.MenuBackground.get(), 1);
    const char* items[5] = {"新增月份", "修改月份", "-", "备份数据库", "退出"};
    const TDataSkinObject& mi = *M.MenuItem;
    int y = r.Top + 3;
    for (int i = 0; i < 5; ++i) {
      const bool separator = items[i][0] == '-';
      const TRect item(r.Left + 3, y, r.Right - 3, y + (separator ? 8 : 22));
      if (separator) {
        // The lowest rows of the separator frame, as a separator lower than the frame shows.
        TBitmap rows;
        rows.SetImage(mi.Image.Image().copy(0, mi.Image.Height() - 8, mi.Image.Width(), 8));
        DrawSkinStrip(C, item, rows, mi.Margins(), 2, 5, true, false);
      } else {
        Element(item, &mi, i == 1 ? 4 : 1);
        Text(TRect(item.Left + mi.LeftWidth + 22, item.Top, item.Right, item.Bottom), items[i], i == 1 ? M.HilightText : M.MenuText,
             LeftMiddle);
      }
      y = item.Bottom;
    }
  }

  // Every image of the skin enlarged, with its frames marked.
  int DrawStrips(int top) const {
    struct Strip {
      String name;
      const TBitmap* image;
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
      strips.push_back({b->SectionName + " " + String::number(b->Action), &b->Image, b->FrameCount, false});
    auto add = [&](const char* name, const TDataSkinObject* e, bool vertical = false) {
      if (e) strips.push_back({name, &e->Image, e->FrameCount, vertical});
    };
    auto add2 = [&](const char* name, const TDataSkinBorder* e, int frames) {
      if (e) strips.push_back({name, &e->Image2, frames, false});
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
    C->Pen()->SetColor(RGB(0, 200, 255));
    for (const Strip& s : strips) {
      const QImage& image = s.image->Image();
      if (image.isNull()) continue;
      const int scale = image.width() * 2 <= 460 && image.height() * 2 <= 160 ? 2 : 1;
      const int w = image.width() * scale, h = image.height() * scale;
      if (x + w > 960) {
        x = 20;
        y += rowHeight + 8;
        rowHeight = 0;
      }
      Text(Bounds(x, y, 460, 16), QString("%1  %2 x %3, %4 frames").arg(s.name).arg(image.width()).arg(image.height()).arg(s.frames),
           clBlack, LeftMiddle);
      const TRect target = Bounds(x, y + 18, w, h);
      C->DrawImage(target, image, TRect(0, 0, image.width(), image.height()));
      const int n = std::max(s.frames, 1);
      for (int k = 1; k < n; ++k) {
        if (s.vertical) {
          const int fy = target.Top + k * (image.height() / n) * scale;
          C->MoveTo(target.Left - 4, fy);
          C->LineTo(target.Left - 1, fy);
        } else {
          const int fx = target.Left + k * (image.width() / n) * scale;
          C->MoveTo(fx, target.Bottom);
          C->LineTo(fx, target.Bottom + 3);
        }
      }
      x += std::max(w, 200) + 16;
      rowHeight = std::max(rowHeight, h + 22);
    }
    return y + rowHeight;
  }

  const TSkinModel& M;
  TCanvas* C = nullptr;
};

}  // namespace

QImage DrawSkinSheet(const QByteArray& package) {
  TSkinModel model;
  model.Build(package);
  return TSheet(model).Run();
}
