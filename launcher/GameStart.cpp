// "Game start" and "Exit".
#include "Execfile.h"
#include "MainLaunch.h"

namespace {
// The game looks for this mutex to know the launcher started it.
const char kGameMutex[] = "Ostrelund Beta";
constexpr std::uint32_t kHoldAfterStartMs = 2000;
}  // namespace

void TLauncher::bbRunClick(TControl&) {
  if (!StoreOptions()) return;

  const platform::ObjectHandle mutex = platform::CreateNamedMutex(kGameMutex, true);
  {
    TExecFile game;
    // Quoted: unquoted, a game folder such as "C:\Program Files\Ostrelund\"
    // would let the system try "C:\Program.exe" first.
    game.CommandLine = "\"" + GameFolder + "Ostrelund.exe\"";
    game.Execute();
    Hide();
  }
  platform::SleepFor(kHoldAfterStartMs);
  platform::ReleaseNamedMutex(mutex);
  platform::CloseObject(mutex);

  OptionsFile.reset();
  Close();
}

// Leaves without writing: changes made in the window are dropped.
void TLauncher::bbExitClick(TControl&) {
  OptionsFile.reset();
  Close();
}
