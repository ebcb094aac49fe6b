#pragma once
// Building a form's controls in code.
#include "platform/ui/Forms.h"

// A new control named Name on Parent at the given bounds; it belongs to Parent's
// form, also when Parent is a group box or panel on that form.
template <class TControlClass>
TControlClass* PlaceControl(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width,
                            Integer Height) {
  auto* Control = new TControlClass(GetParentForm(Parent));
  Control->SetName(Name);
  Control->SetParent(Parent);
  Control->SetBounds(Left, Top, Width, Height);
  return Control;
}
