#include "platform/testing/TestPaths.h"
#include <gtest/gtest.h>

namespace moli::testing {

QString SourceDir() { return qEnvironmentVariable("MOLI_SOURCE_DIR", QStringLiteral(".")); }

ScratchDir::ScratchDir() { EXPECT_TRUE(FDir.isValid()) << "cannot create a scratch folder"; }

}  // namespace moli::testing
