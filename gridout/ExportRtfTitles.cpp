// Multi-level titles as table rows: one row per title level, a band spanning several
// columns or levels drawn by leaving out the borders inside it.
#include "gridout/DBGridXExportFormats.h"
#include <cmath>
#include <map>

namespace {

// Row 0 holds the leaves; each further row the next level up. A cell emptied by a merge
// holds nullptr.
using TTitleMatrix = std::vector<std::vector<THeadTreeNode*>>;

bool BuildMatrix(TCustomDBGridX* Grid, TColumnsXList* Columns, TTitleMatrix& Matrix) {
  const size_t count = size_t(Columns->Count());
  std::vector<THeadTreeNode*> nodes(count);
  std::vector<Integer> heights(count);
  for (size_t c = 0; c < count; ++c) {
    nodes[c] = Grid->LeafOf(Columns->Items(Integer(c)));
    if (!nodes[c]) return false;
    heights[c] = nodes[c]->BandHeight;
  }
  while (true) {
    const Integer lowest = count ? *std::min_element(heights.begin(), heights.end()) : 0;
    const std::vector<THeadTreeNode*> row = nodes;
    bool moved = false;
    for (size_t c = 0; c < count; ++c)
      if (heights[c] == lowest && nodes[c]->Parent) {
        nodes[c] = nodes[c]->Parent;
        heights[c] += nodes[c]->BandHeight;
        moved = true;
      }
    if (Matrix.empty() || moved) Matrix.push_back(row);
    if (!moved) return true;
  }
}

}  // namespace

bool TDBGridXExportAsRTF::PutMultiTitleRows(TColumnsXList* Columns) {
  TTitleMatrix matrix;
  if (!BuildMatrix(Grid(), Columns, matrix)) return false;
  const Integer count = Columns->Count();
  const Integer margin = Integer(std::abs(std::trunc(double(Grid()->VTitleMargin()) / 2 / FPixelsPerInch * 1440 - 20)));
  const QByteArray spacing = QByteArray::number(margin);
  std::map<std::pair<Integer, Integer>, TCellEdges> edges;
  auto edgesOf = [&](Integer Col, Integer Row) -> TCellEdges& { return edges[{Col, Row}]; };

  // Merges the band at (Row, Col) with the equal cells below and to the right of it.
  auto merge = [&](Integer Row, Integer Col) {
    THeadTreeNode* node = matrix[size_t(Row)][size_t(Col)];
    if (!node) return;
    Integer rowSpan = 1, colSpan = 1;
    while (Row - rowSpan >= 0 && matrix[size_t(Row - rowSpan)][size_t(Col)] == node) {
      matrix[size_t(Row - rowSpan)][size_t(Col)] = nullptr;
      ++rowSpan;
    }
    while (Col + colSpan < count && matrix[size_t(Row)][size_t(Col + colSpan)] == node) {
      matrix[size_t(Row)][size_t(Col + colSpan)] = nullptr;
      for (Integer r = 1; r < rowSpan; ++r) matrix[size_t(Row - r)][size_t(Col + colSpan)] = nullptr;
      ++colSpan;
    }
    for (Integer c = Col; c < Col + colSpan; ++c)
      for (Integer r = Row; r > Row - rowSpan; --r) {
        TCellEdges& e = edgesOf(c, r);
        if (c != Col) e.Left = false;
        if (c != Col + colSpan - 1) e.Right = false;
        if (r != Row) e.Top = false;
        if (r != Row - rowSpan + 1) e.Bottom = false;
      }
  };

  for (Integer row = Integer(matrix.size()) - 1; row >= 0; --row) {
    std::vector<TCellEdges> rowEdges;
    std::vector<TColor> shades;
    std::vector<THeadTreeNode*> shown;
    for (Integer c = 0; c < count; ++c) {
      merge(row, c);
      shown.push_back(matrix[size_t(row)][size_t(c)]);
      rowEdges.push_back(edgesOf(c, row));
      shades.push_back(row > 0 ? Grid()->FixedColor() : Columns->Items(c)->Title()->Color());
    }
    BeginTableRow(Columns, rowEdges, shades);
    for (Integer c = 0; c < count; ++c) {
      TColumnTitleX* title = Columns->Items(c)->Title();
      TFont* font = row > 0 ? Grid()->TitleFont() : title->Font();
      const TColor background = row > 0 ? Grid()->FixedColor() : title->Color();
      THeadTreeNode* node = shown[size_t(c)];
      PutCell(taCenter, node ? spacing : QByteArray(), font, node ? node->Caption : String(), background);
    }
    Write("\\pard\\intbl\\row}\r\n");
  }
  return true;
}
