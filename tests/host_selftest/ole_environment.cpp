// OLE is initialised once for the whole self-test program.
#include <gtest/gtest.h>

#include "tests/host/gtest_support.h"

namespace {

[[maybe_unused]] auto* const g_ole = ::testing::AddGlobalTestEnvironment(new zo::test::OleEnvironment);

}  // namespace
