#include "platform/report/RaveComponents.h"

const String DefaultDataView = QStringLiteral("RvDataSetConnection1");

TRaveComponent* TRaveComponent::Add(std::unique_ptr<TRaveComponent> Child) {
  Child->FParent = this;
  FChildren.push_back(std::move(Child));
  return FChildren.back().get();
}

TRaveComponent* TRaveComponent::FindDescendant(const String& Name) const {
  for (const auto& child : FChildren) {
    if (child->Name().compare(Name, Qt::CaseInsensitive) == 0) return child.get();
    if (TRaveComponent* found = child->FindDescendant(Name)) return found;
  }
  return nullptr;
}
