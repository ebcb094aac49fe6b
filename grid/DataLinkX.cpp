#include "grid/DataLinkX.h"

void TDataLinkX::DataEvent(TDataEvent Event, intptr_t Info) {
  TDataLink::DataEvent(Event, Info);
  if (OnDataEvent) OnDataEvent(Event, Info);
}
