// The program's units and their fixed order.
//
// Units start in the order of the program's table before its main routine and
// end in reverse afterwards. The order is explicit, not left to the order of
// C++ static initialisation, so that FatalStop can end exactly the units that
// have started, last started first.
#pragma once

#include <cstddef>
#include <cstdint>

struct TEngineUnit {
  const char* Name;
  void (*Initialization)();  // may be null
  void (*Finalization)();    // may be null
};

// Starts each unit in turn and remembers it as started.
void StartUnits(const TEngineUnit* units, std::size_t count);

// Ends the started units, last started first. Each unit is forgotten before
// its end runs, so a fatal stop inside an end goes on with the others. An
// error raised by an end does not keep the others from running; the first
// one is raised again once they all have.
void FinishUnits();

// Ends the program at once with `code`, through every started unit's end;
// an error raised by an end does not keep the process from ending.
[[noreturn]] void HaltProgram(std::uint32_t code);

// The whole life of the program: starts the units, runs the main routine,
// ends the units and returns the exit code. An exception out of the main
// routine, or else out of an end, is shown in a message box once every end
// has run, and gives exit code 1.
int RunProgram(const TEngineUnit* units, std::size_t count, void (*mainRoutine)());
