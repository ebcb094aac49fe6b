#pragma once
// Drives a modal form from a test: Steps run on the form once its modal loop
// runs. A form the steps leave open, or any other modal form found in its
// place, is cancelled, so a failing test cannot block.
#include "platform/ui/Forms.h"
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

template <class TFormClass>
TFormClass* OpenModalForm() {
  for (Integer i = 0; i < Screen->FormCount(); ++i)
    if (auto* Form = dynamic_cast<TFormClass*>(Screen->Forms(i)); Form && Form->Modal()) return Form;
  return nullptr;
}

template <class TFormClass>
void WhenModal(std::function<void(TFormClass*)> Steps) {
  QTimer::singleShot(0, [Steps] {
    if (TFormClass* Form = OpenModalForm<TFormClass>()) {
      Steps(Form);
      if (Form->Modal() && Form->ModalResult() == mrNone) Form->SetModalResult(mrCancel);
      return;
    }
    ADD_FAILURE() << "the expected modal form is not open";
    for (Integer i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Modal()) Screen->Forms(i)->SetModalResult(mrCancel);
  });
}
