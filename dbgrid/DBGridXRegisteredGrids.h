#pragma once
// The list of grids a shared style or centre serves: each grid at most once, and handed back
// from the last to the first when the shared object goes.
#include <algorithm>
#include <functional>
#include <vector>

class TCustomDBGridX;

namespace registeredgrids {
inline bool Contains(const std::vector<TCustomDBGridX*>& List, TCustomDBGridX* Grid) {
  return std::find(List.begin(), List.end(), Grid) != List.end();
}
inline void Add(std::vector<TCustomDBGridX*>& List, TCustomDBGridX* Grid) {
  if (!Contains(List, Grid)) List.push_back(Grid);
}
inline void Remove(std::vector<TCustomDBGridX*>& List, TCustomDBGridX* Grid) {
  List.erase(std::remove(List.begin(), List.end(), Grid), List.end());
}
// Empties List, giving each grid to Release as it leaves.
inline void ReleaseAll(std::vector<TCustomDBGridX*>& List, const std::function<void(TCustomDBGridX*)>& Release) {
  while (!List.empty()) {
    TCustomDBGridX* grid = List.back();
    List.pop_back();
    Release(grid);
  }
}
}  // namespace registeredgrids
