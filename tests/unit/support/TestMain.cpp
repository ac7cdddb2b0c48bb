// The main routine of every native test program. An engine stop ends the
// process with exit code 0, which a test runner would take for a pass, so
// outside a death test's child an ending process fails loudly instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "Overrides.h"

namespace {

// Distinct from the codes a test runner gives a crash or a failed test.
constexpr int kUnexpectedEndExitCode = 70;

void FailUnlessExpected(std::uint32_t code) {
  // Google Test offers this query for tools that must act differently in a
  // death test's child; there the stop is what the test expects.
  if (::testing::internal::InDeathTestChild()) return;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr,
               "\nFAILED: the process was ended (exit code %u) inside %s%s%s, outside a death test: "
               "an unexpected FatalStop or program halt\n",
               code, test ? test->test_suite_name() : "no test", test ? "." : "", test ? test->name() : "");
  std::fflush(nullptr);
  std::_Exit(kUnexpectedEndExitCode);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const platform::ScopedOverrides guard({.endProcess = FailUnlessExpected});
  return RUN_ALL_TESTS();
}
