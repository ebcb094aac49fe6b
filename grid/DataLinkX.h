#pragma once
// A data link that hands every data event on to a handler after its own handling.
#include "platform/db/DB.h"

using TDataEventHandlerX = std::function<void(TDataEvent Event, intptr_t Info)>;

class TDataLinkX : public TDataLink {
public:
  TDataEventHandlerX OnDataEvent;
protected:
  void DataEvent(TDataEvent Event, intptr_t Info) override;
};
