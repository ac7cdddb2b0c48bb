// The line of a crash report, from the exception record the system gives.
#include "CrashText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::CrashLine;
using platform::CrashRecord;

CrashRecord Record(std::uint32_t code, std::uintptr_t address, const std::string& module = "d3d9.dll",
                   std::uintptr_t base = 0x10000000u) {
  CrashRecord record;
  record.code = code;
  record.address = address;
  record.module = module;
  record.moduleBase = base;
  return record;
}

CrashRecord AccessViolation(std::uintptr_t kind, std::uintptr_t target, std::uint32_t parameterCount = 2) {
  CrashRecord record = Record(0xC0000005u, 0x1001A2B3u);
  record.parameterCount = parameterCount;
  record.parameters[0] = kind;
  record.parameters[1] = target;
  return record;
}

TEST(CrashLine, NamesTheExceptionItsCodeTheModuleAndTheOffset) {
  struct Case {
    CrashRecord record;
    const char* line;
  };
  const Case cases[] = {
      {Record(0xC000001Du, 0x10000000u), "Illegal instruction (0xC000001D) at d3d9.dll+0x0"},
      {Record(0xC0000094u, 0x6FFF1234u, "dsound.dll", 0x6FFF0000u),
       "Integer division by zero (0xC0000094) at dsound.dll+0x1234"},
      {Record(0xC00000FDu, 0x00401ABCu, "Ostrelund_Launcher.exe", 0x00400000u),
       "Stack overflow (0xC00000FD) at Ostrelund_Launcher.exe+0x1abc"},
      {Record(0x0000BEEFu, 0x1001A2B3u), "Unknown exception (0x0000BEEF) at d3d9.dll+0x1a2b3"},
      {Record(0xE06D7363u, 0x10000010u), "Unhandled Microsoft C++ exception (0xE06D7363) at d3d9.dll+0x10"},
      // Code outside every module: a jump to nowhere.
      {Record(0xC0000005u, 0x0u, ""), "Access violation (0xC0000005) at 0x0 in no module"},
      {Record(0xC0000096u, 0xDEADBEEFu, ""), "Privileged instruction (0xC0000096) at 0xdeadbeef in no module"},
  };
  for (const Case& c : cases) EXPECT_EQ(CrashLine(c.record), c.line);
}

TEST(CrashLine, AnAccessViolationSaysWhatAccessWasDeniedWhere) {
  EXPECT_EQ(CrashLine(AccessViolation(0, 0x0)),
            "Access violation (0xC0000005) reading address 0x0 at d3d9.dll+0x1a2b3");
  EXPECT_EQ(CrashLine(AccessViolation(1, 0x10)),
            "Access violation (0xC0000005) writing address 0x10 at d3d9.dll+0x1a2b3");
  EXPECT_EQ(CrashLine(AccessViolation(8, 0x7FFE0000u)),
            "Access violation (0xC0000005) executing address 0x7ffe0000 at d3d9.dll+0x1a2b3");
  EXPECT_EQ(CrashLine(AccessViolation(3, 0x20)),
            "Access violation (0xC0000005) accessing address 0x20 at d3d9.dll+0x1a2b3");
  // A record without the two parameters says nothing of the access.
  EXPECT_EQ(CrashLine(AccessViolation(1, 0x10, 1)), "Access violation (0xC0000005) at d3d9.dll+0x1a2b3");
  // Other exceptions' parameters mean other things and are not read.
  CrashRecord division = Record(0xC0000094u, 0x10000004u);
  division.parameterCount = 2;
  division.parameters[1] = 0x10;
  EXPECT_EQ(CrashLine(division), "Integer division by zero (0xC0000094) at d3d9.dll+0x4");
}

TEST(CrashLine, EndsWithTheStepThatRan) {
  CrashRecord record = AccessViolation(1, 0x0);
  record.step = "MachineChecks.Graphics";
  EXPECT_EQ(CrashLine(record),
            "Access violation (0xC0000005) writing address 0x0 at d3d9.dll+0x1a2b3 during MachineChecks.Graphics");
}

TEST(CrashBoxText, LeadsTheLineWithWhatHappensNow) {
  EXPECT_EQ(platform::CrashBoxText("Stack overflow (0xC00000FD) at d3d9.dll+0x10"),
            "The program crashed and has to close:\r\n\r\nStack overflow (0xC00000FD) at d3d9.dll+0x10");
}

}  // namespace
