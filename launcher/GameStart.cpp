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

  const platform::MutexHandle mutex = platform::CreateNamedMutex(kGameMutex, true);
  {
    TExecFile game;
    // Quoted: unquoted, a game folder such as "C:\Program Files\Ostrelund\"
    // would let the system try "C:\Program.exe" first. A path the system can
    // run but the command line's 255 characters cannot hold (up to 259, with
    // the quotes 261) goes by its short form.
    std::string program = GameFolder + "Ostrelund.exe";
    if (!InString::Fits("\"" + program + "\"")) program = platform::ShortPathName(program);
    game.CommandLine = "\"" + program + "\"";
    game.Execute();
    Hide();
  }
  platform::SleepFor(kHoldAfterStartMs);
  platform::ReleaseNamedMutex(mutex);
  platform::CloseMutex(mutex);

  OptionsFile.reset();
  Close();
}

// Leaves without writing: changes made in the window are dropped.
void TLauncher::bbExitClick(TControl&) {
  OptionsFile.reset();
  Close();
}
