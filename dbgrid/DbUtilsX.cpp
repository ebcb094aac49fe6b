#include "dbgrid/DbUtilsX.h"

TDataSetHandlerX* TDataSetHandlersX::HandlerForDataSet(const TDataSet* DataSet) const {
  TDataSetHandlerX* best = nullptr;
  Integer bestDistance = -1;
  for (const auto& handler : FItems) {
    const Integer distance = handler->ClassDistance(DataSet);
    if (distance >= 0 && (!best || distance < bestDistance)) {
      best = handler.get();
      bestDistance = distance;
    }
  }
  return best;
}

TDataSetHandlersX& DataSetHandlers() {
  static TDataSetHandlersX handlers;
  return handlers;
}
