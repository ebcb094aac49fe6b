// Heights of printed rows and titles, the printed titles (one row, or bands of a
// multi-level title tree), the title text above them, the page header and footer, and
// the rich texts before and after the grid.
#include "gridout/PrintDBGridXRun.h"
#include "grid/VerticalText.h"
#include "platform/ui/ImgList.h"

namespace {

// The list's text without the line break after its last line.
String JoinedText(const TStrings* Text) {
  String s = Text->Text();
  if (s.endsWith(QStringLiteral("\r\n"))) s.chop(2);
  return s;
}

}  // namespace

// ---- heights

void TGridPrintRun::ComputeHeights() {
  TakeFont(FGrid->Font());
  const TTextMetric tm = FCanvas->TextMetrics();
  if (FGrid->RowHeight() == 0 && FGrid->RowLines() == 0)
    FDataRowHeight = FCanvas->TextHeight(QStringLiteral("Wg")) + 2 * FVertMargin;
  else
    FDataRowHeight =
        FGrid->RowLines() * (tm.tmHeight + tm.tmExternalLeading) + Integer(Round(FGrid->RowHeight() * FScaleY));
  FMultiLineRows = FDataRowHeight > tm.tmHeight + tm.tmExternalLeading + 2 * FVertMargin ||
                   FOwner->Options().Contains(pghRowAutoStretch);
  FTitleHeight = FGrid->MultiTitleActive() ? MultiTitleHeight() : SingleTitleHeight();
  FTitleTextHeight = TitleTextHeight();
}

Integer TGridPrintRun::SingleTitleHeight() {
  if (PanelActive()) return PanelBlockHeight();
  Integer height = 0;
  TFont* tallest = FGrid->TitleFont();
  if (FColumns.Count() == 0) {
    TakeFont(FGrid->TitleFont());
    height = FCanvas->TextHeight(QStringLiteral("Wg")) + 2 * FVertMargin;
  }
  for (TColumnX* column : FColumns.List()) {
    TakeFont(column->Title()->Font());
    const Integer h = FCanvas->TextHeight(QStringLiteral("Wg")) + 2 * FVertMargin;
    if (h > height) {
      height = h;
      tallest = column->Title()->Font();
    }
  }
  if (FGrid->TitleHeight() == 0 && FGrid->TitleLines() == 0) return height;
  TakeFont(tallest, false);
  const TTextMetric tm = FCanvas->TextMetrics();
  Integer result = FGrid->TitleLines() * tm.tmHeight + tm.tmExternalLeading + FVertMargin +
                   Integer(Round(FGrid->TitleHeight() * FScaleY));
  if (FGrid->Options().Contains(dgRowLines)) result += FBandMargin;
  return result;
}

Integer TGridPrintRun::MultiTitleHeight() {
  THeadTreeNode* root = FGrid->TitleTreeRoot();
  if (!root) return SingleTitleHeight();
  for (const TLeafColX& leaf : FGrid->LeafColumns()) {
    const Integer at = FColumns.IndexOf(leaf.Column);
    leaf.Leaf->PrintWidth = at >= 0 ? FClipped[size_t(at)] : 0;
  }
  // Inner bands are as wide as their children together.
  const std::function<Integer(THeadTreeNode*)> sumWidths = [&](THeadTreeNode* Node) {
    if (!Node->FirstChild) return Node->PrintWidth;
    Integer sum = 0;
    for (THeadTreeNode* child : Node->Children()) sum += sumWidths(child);
    return Node->PrintWidth = sum;
  };
  sumWidths(root);
  return MeasureTitleRing(root);
}

Integer TGridPrintRun::MeasureTitleRing(THeadTreeNode* Node) {
  const std::vector<THeadTreeNode*> children = Node->Children();
  std::vector<Integer> subtrees(children.size(), 0);
  Integer ring = 0;
  for (size_t i = 0; i < children.size(); ++i) {
    THeadTreeNode* child = children[i];
    // A band of no printed column takes no room: measured in its zero width, its caption
    // would stand one character to a line and stretch the whole title.
    if (child->PrintWidth <= 0) continue;
    TFont* font = child->LeafColumn ? child->LeafColumn->Title()->Font() : FGrid->TitleFont();
    if (i == 0 || child->LeafColumn) TakeFont(font, i == 0);
    if (child->FirstChild) subtrees[i] = MeasureTitleRing(child);
    const String caption = child->Caption.isEmpty() ? QStringLiteral(" ") : child->Caption;
    const Integer width = Integer(Round(child->PrintWidth)) - Integer(Round(4 * FScaleX));
    const TRect r(0, 0, std::max<Integer>(width, 1), 1);
    const Integer band =
        child->LeafColumn && child->LeafColumn->Title()->Orientation() == tohVertical
            ? DrawTextVertically(FCanvas, r, false, true, false, tlBottom, taCenter, caption, 0, 0) +
                  Integer(Round(4 * FScaleY))
            : DrawCellText(r, false, 0, 0, caption, taCenter, tlTop, true, false, 0, 0, true) +
                  Integer(Round(FGrid->VTitleMargin() * FScaleY));
    ring = std::max(ring, subtrees[i] + band);
  }
  for (size_t i = 0; i < children.size(); ++i)
    children[i]->PrintHeight = children[i]->FirstChild ? ring - subtrees[i] : ring;
  Node->PrintHeight = ring;
  return ring;
}

Integer TGridPrintRun::TitleTextHeight() {
  if (FOwner->Title()->Count() == 0) return 0;
  TakeFont(FGrid->TitleFont());
  Integer width = 0;
  for (Integer w : FClipped) width += w;
  const Integer vertMargin = FGrid->UseMultiTitle() ? Integer(Round(FGrid->VTitleMargin() * FScaleY / 2)) : FVertMargin;
  return DrawCellText(TRect(0, 0, width, 1), false, FHorzMargin, vertMargin, JoinedText(FOwner->Title()), taCenter,
                      tlTop, true, false, 0, 0, true);
}

// ---- titles on a page

void TGridPrintRun::PrintTitles(Integer Group, Integer Bottom) {
  const Integer first = GroupFirst(Group), last = FPageGroups[size_t(Group)];
  Integer width = 0;
  for (Integer c = first; c <= last; ++c) width += FClipped[size_t(c)];
  const TRect area(FPrintRect.Left, Bottom - FTitleHeight, FPrintRect.Left + width, Bottom);
  if (PanelActive()) {
    PrintPanelTitles(area);
  } else if (first <= last) {
    if (FGrid->MultiTitleActive() && FGrid->TitleTreeRoot()) PrintMultiTitles(first, last, area);
    else PrintSingleTitles(first, last, area);
  }
  PrintTitleText(first, last, area.Top - FTitleTextHeight);
}

void TGridPrintRun::DrawTitleCaption(TColumnX* Column, const String& Caption, const TRect& Rect, TTextLayout Layout,
                                     bool WordWrap, Integer VertMargin, Integer LeftMargin, Integer RightMargin) {
  const bool colored = FOwner->Options().Contains(pghColored);
  TakeFont(Column ? Column->Title()->Font() : FGrid->TitleFont());
  FCanvas->Brush()->SetColor(colored ? FGrid->FixedColor() : clWhite);
  const TAlignment alignment = Column && !FGrid->MultiTitleActive() ? Column->Title()->Alignment() : taCenter;
  const bool ellipsis = Column && Column->Title()->EndEllipsis();
  const Integer horz = FGrid->MultiTitleActive() ? 0 : FHorzMargin;
  DrawCellText(Rect, colored && !FCounting, horz, VertMargin, Caption, alignment, Layout, WordWrap, ellipsis, LeftMargin,
               RightMargin, FCounting);
}

void TGridPrintRun::DrawVerticalTitle(TColumnX* Column, const String& Caption, const TRect& Rect,
                                      TAlignment Alignment, Integer VertMargin, Integer HorzMargin) {
  TakeFont(Column->Title()->Font());
  if (!FCounting)
    DrawTextVertically(FCanvas, Rect, false, false, false, tlBottom, Alignment, Caption, VertMargin, HorzMargin);
}

namespace {

String TitleCaption(TCustomDBGridX* Grid, TColumnX* Column, const String& Caption) {
  return Grid->TitleImages() && Column->Title()->ImageIndex() != -1 ? String() : Caption;
}

}  // namespace

void TGridPrintRun::PrintSingleTitles(Integer First, Integer Last, const TRect& Area) {
  const bool wrap = FGrid->TitleHeight() != 0 || FGrid->TitleLines() != 0;
  Integer x = Area.Left;
  for (Integer c = First; c <= Last; ++c) {
    TColumnX* column = FColumns[c];
    const TRect cell(x, Area.Top, x + FClipped[size_t(c)], Area.Bottom);
    const String caption = TitleCaption(FGrid, column, column->Title()->Caption());
    if (column->Title()->Orientation() == tohVertical)
      DrawVerticalTitle(column, caption, Mirrored(cell), column->Title()->Alignment(), 2 * FVertMargin, FHorzMargin);
    else
      DrawTitleCaption(column, caption, Mirrored(cell), wrap ? tlCenter : tlTop, wrap, FVertMargin, 0, 0);
    DrawCellImage(FGrid->TitleImages(), Mirrored(cell), column->Title()->Alignment(), column->Title()->ImageIndex());
    AddLine({TPoint(cell.Left, cell.Bottom), cell.BottomRight(), TPoint(cell.Right, cell.Top)});
    x = cell.Right;
  }
  AddLine({TPoint(Area.Left, Area.Bottom), Area.TopLeft(), TPoint(x, Area.Top)});
}

void TGridPrintRun::PrintMultiTitles(Integer First, Integer Last, const TRect& Area) {
  THeadTreeNode* root = FGrid->TitleTreeRoot();
  const PTLeafCol& leaves = FGrid->LeafColumns();
  const Integer from = FColumns[First]->Index(), to = FColumns[Last]->Index();
  Integer rightEnd = Area.Left;
  for (Integer i = from; i <= to; ++i) rightEnd += leaves[size_t(i)].Leaf->PrintWidth;
  Integer topmost = Area.Bottom;
  Integer x = Area.Left;
  for (Integer i = from; i <= to; ++i) {
    THeadTreeNode* leaf = leaves[size_t(i)].Leaf;
    const TRect band(x, Area.Bottom - leaf->PrintHeight, x + leaf->PrintWidth, Area.Bottom);
    AddLine({band.TopLeft(), TPoint(band.Left, band.Bottom), band.BottomRight()});
    topmost = std::min(topmost, band.Top);
    if (leaf->PrintWidth > 0) {
      TColumnX* column = leaves[size_t(i)].Column;
      const String caption = TitleCaption(FGrid, column, leaf->Caption);
      if (column->Title()->Orientation() == tohVertical)
        DrawVerticalTitle(column, caption, Mirrored(band), taCenter, FBandMargin + FVertMargin, 0);
      else
        DrawTitleCaption(column, caption, Mirrored(band), tlCenter, true, FBandMargin, FHorzMargin, FHorzMargin);
      DrawCellImage(FGrid->TitleImages(), Mirrored(band), taCenter, column->Title()->ImageIndex());
    }
    // The bands above: drawn at the group's first leaf and at every first child, each
    // centred over its whole width, also the parts that lie on other pages.
    THeadTreeNode* child = leaf;
    TRect childBand = band;
    bool drawUp = i == from || (child->Parent && child->Parent->FirstChild == child);
    for (THeadTreeNode* node = child->Parent; drawUp && node && node != root; node = node->Parent) {
      Integer before = 0;
      for (THeadTreeNode* sibling : node->Children()) {
        if (sibling == child) break;
        before += sibling->PrintWidth;
      }
      const Integer hidden = before - (childBand.Left - Area.Left);
      TRect parent;
      parent.Bottom = childBand.Top;
      parent.Top = parent.Bottom - node->PrintHeight;
      parent.Left = hidden > 0 ? Area.Left : childBand.Left;
      parent.Right = parent.Left + node->PrintWidth - std::max(hidden, 0);
      const Integer cut = std::max(0, parent.Right - rightEnd);
      parent.Right -= cut;
      AddLine({parent.TopLeft(), TPoint(parent.Left, parent.Bottom), parent.BottomRight()});
      topmost = std::min(topmost, parent.Top);
      DrawTitleCaption(nullptr, node->Caption, Mirrored(parent), tlCenter, true, FBandMargin,
                       FHorzMargin - std::max(hidden, 0), FHorzMargin - cut);
      drawUp = i == from || (node->Parent && node->Parent->FirstChild == node);
      child = node;
      childBand = TRect(parent.Left - std::max(hidden, 0), parent.Top, parent.Left - std::max(hidden, 0) + node->PrintWidth,
                        parent.Bottom);
    }
    x = band.Right;
  }
  AddLine({TPoint(Area.Left, topmost), TPoint(rightEnd, topmost), TPoint(rightEnd, Area.Bottom)});
}

void TGridPrintRun::PrintTitleText(Integer First, Integer Last, Integer Top) {
  if (FOwner->Title()->Count() == 0) return;
  Integer before = 0, width = 0, after = 0;
  if (PanelActive())
    width = Integer(Round(FGrid->RowPanelWidth() * FScaleX));
  else
    for (Integer c = 0; c < FColumns.Count(); ++c)
      (c < First ? before : c > Last ? after : width) += FClipped[size_t(c)];
  const TRect box(FPrintRect.Left, Top, FPrintRect.Left + width, Top + FTitleTextHeight);
  const bool colored = FOwner->Options().Contains(pghColored);
  TakeFont(FGrid->TitleFont());
  if (colored) FCanvas->Brush()->SetColor(FGrid->FixedColor());
  const Integer vertMargin = FGrid->UseMultiTitle() ? Integer(Round(FGrid->VTitleMargin() * FScaleY / 2)) : FVertMargin;
  DrawCellText(Mirrored(box), colored && !FCounting, 0, vertMargin, JoinedText(FOwner->Title()), taCenter, tlTop,
               true, false, FHorzMargin - before, FHorzMargin - after, FCounting);
  AddLine({TPoint(box.Left, box.Bottom), box.TopLeft(), TPoint(box.Right, box.Top), box.BottomRight()});
}

// ---- page header and footer

Integer TGridPrintRun::PrintPageColontitle(const TRect& Rect, bool Header, bool Measure) {
  TPageColontitle* part = Header ? FOwner->PageHeader() : FOwner->PageFooter();
  const bool measuring = Measure || FCounting;
  TakeFont(part->Font());
  Integer textHeight = 0;
  const std::pair<TStrings*, TAlignment> texts[] = {
      {part->LeftText(), taLeftJustify}, {part->CenterText(), taCenter}, {part->RightText(), taRightJustify}};
  for (const auto& [text, alignment] : texts) {
    const String s = JoinedText(text);
    if (s.isEmpty()) continue;
    textHeight = std::max(textHeight, DrawCellText(Rect, false, 0, 0, FOwner->ExpandPageMacros(s), alignment,
                                                   Header ? tlTop : tlBottom, false, false, 0, 0, measuring));
  }
  const Integer gap = Integer(Trunc(FResY / 20)), second = Integer(Trunc(FResY / 30));
  if (textHeight != 0) textHeight += gap;
  const Integer rules = part->LineType() == pcltNon ? 0 : part->LineType() == pcltSingleLine ? gap : gap + second;
  if (!measuring && part->LineType() != pcltNon) {
    const Integer y = Header ? Rect.Bottom - gap : Rect.Top + gap;
    FCanvas->Polyline({TPoint(Rect.Left, y), TPoint(Rect.Right, y)});
    if (part->LineType() == pcltDoubleLine) {
      const Integer y2 = Header ? y - second : y + second;
      FCanvas->Polyline({TPoint(Rect.Left, y2), TPoint(Rect.Right, y2)});
    }
  }
  return textHeight + rules;
}

void TGridPrintRun::DrawHeaderAndFooter() {
  if (FCounting) return;
  PrintPageColontitle(FHeaderRect, true, false);
  PrintPageColontitle(FFooterRect, false, false);
}

// ---- rich text

void TGridPrintRun::PrintRichText(TRichEditStrings* Text) {
  if (Text->Count() == 0) return;
  TRichEdit* edit = Text->RichEdit();
  const Integer length = edit->TextLength();
  Integer first = 0;
  for (;;) {
    TFormatRange range;
    range.Canvas = FCanvas;
    range.PixelsPerInchX = Integer(FResX);
    range.PixelsPerInchY = Integer(FResY);
    range.Rect = FContentRect;
    range.Rect.Top += FUsedHeight;
    range.First = first;
    range.Render = !FCounting;
    const TFormatRangeResult placed = edit->FormatRange(range);
    FUsedHeight = placed.Bottom - FContentRect.Top;
    if (placed.Next <= first || placed.Next >= length) break;
    StartNewPage();
    FUsedHeight = 0;
    first = placed.Next;
  }
}

void TGridPrintRun::ApplySubstitutions() {
  TStrings* names = FOwner->SubstitutionNames();
  TStrings* values = FOwner->SubstitutionValues();
  if (!names || !values) return;
  TRichEditStrings* texts[] = {FOwner->FBeforeGridText.get(), FOwner->FAfterGridText.get()};
  FSavedTexts.clear();
  for (TRichEditStrings* text : texts) {
    TMemoryStream saved;
    if (text && text->Count() > 0) text->SaveToStream(&saved);
    FSavedTexts.push_back(saved.Bytes());
  }
  FSubstituted = true;
  for (Integer i = 0; i < names->Count(); ++i) {
    const String name = names->Strings(i);
    const String value = i < values->Count() ? values->Strings(i) : String();
    if (name.isEmpty()) continue;
    for (TRichEditStrings* text : texts) {
      if (!text || text->Count() == 0) continue;
      TRichEdit* edit = text->RichEdit();
      // The search goes on after each inserted value, so a value holding its own name ends.
      for (Integer at = edit->FindText(name, 0, -1, false, false); at >= 0;
           at = edit->FindText(name, at + Integer(value.size()), -1, false, false))
        edit->ReplaceRange(at, Integer(name.size()), value);
    }
  }
}

void TGridPrintRun::RestoreSubstitutedTexts() {
  if (!FSubstituted) return;
  FSubstituted = false;
  TRichEditStrings* texts[] = {FOwner->FBeforeGridText.get(), FOwner->FAfterGridText.get()};
  for (size_t i = 0; i < 2; ++i) {
    if (!texts[i] || FSavedTexts[i].isEmpty()) continue;
    TMemoryStream stream;
    stream.WriteBuffer(FSavedTexts[i].constData(), Integer(FSavedTexts[i].size()));
    stream.SetPosition(0);
    texts[i]->LoadFromStream(&stream);
  }
}
