// A message no test expected fails that test instead of opening a message box.
#include "app/AppMessages.h"
#include <gtest/gtest.h>

namespace {

class TUnexpectedMessages : public ::testing::Environment {
public:
  void SetUp() override {
    SetShowMessageProc([](const String& Text) { ADD_FAILURE() << "unexpected message: " << Text.toStdString(); });
  }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TUnexpectedMessages);

}  // namespace
