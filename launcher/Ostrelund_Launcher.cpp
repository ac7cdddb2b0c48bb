// The program's main module: the units in their order, then the main routine.
#include <iterator>
#include <string>

#include "Application.h"
#include "MainLaunch.h"
#include "VK9_Render.h"
#include "VK9_Sound.h"
#include "VK9_System.h"

namespace {

// The engine's units start first and end last, in this order.
constexpr TEngineUnit kUnits[] = {
    VK9_SystemUnit,
    VK9_SoundUnit,
    VK9_RenderUnit,
    MainLaunchUnit,
};

// A crash's line goes to the engine log, and its box has the engine box's caption.
bool LogCrash(const std::string& line) { return TryWriteLog("CRASH", line, lkTimed); }
std::string CrashCaption() { return ExeName; }

void MainRoutine() {
  Application.Initialize();
  Application.Title = ExeName;
  TLauncher launcher;
  Application.CreateForm(launcher);
  Application.Run();
}

}  // namespace

int main() {
  platform::InstallCrashHandler({LogCrash, CrashCaption});
  return RunProgram(kUnits, std::size(kUnits), MainRoutine);
}
