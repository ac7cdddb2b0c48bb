// A test that must fail: it meets a fatal stop outside a death test. ctest
// runs it with WILL_FAIL, so the suite fails if such a stop ever passes.
#include <gtest/gtest.h>

#include "VK9_System.h"

TEST(UnexpectedStop, FailsTheTestThatMeetsIt) {
  FatalStop("a stop no test expected");
}
