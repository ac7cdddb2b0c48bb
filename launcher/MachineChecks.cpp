// Start-up step 9: the machine checks. Each finding becomes one line of the
// message panel; only a failed engine clock keeps the player from starting
// the game.
#include "Application.h"
#include "MainLaunch.h"
#include "VK9_Render.h"
#include "VK9_Sound.h"

#include <exception>
#include <string>

namespace {

const char kLauncherLogLabel[] = "LAUNCHER";
constexpr TColor kAlarmColor = RGBColor(255, 0, 0);
// 450 MiB of free texture memory.
constexpr double kMinTextureMiB = 450.0;
constexpr std::uint32_t kBytesPerMiB = 1024 * 1024;
constexpr std::int32_t kMinScreenWidth = 1280;
constexpr std::int32_t kMinScreenHeight = 768;
constexpr std::int32_t kRecommendedScreenHeight = 1024;

const char kSoundCheck[] = "MachineChecks.Sound";
const char kGraphicsCheck[] = "MachineChecks.Graphics";

// Names the check in a crash's report while it runs: these two call into
// the machine's drivers.
class RunningCheck {
 public:
  explicit RunningCheck(const char* name) { platform::SetCrashStep(name); }
  ~RunningCheck() { platform::SetCrashStep(nullptr); }
  RunningCheck(const RunningCheck&) = delete;
  RunningCheck& operator=(const RunningCheck&) = delete;
};

// The own text of an error a check turns into its message, for the log.
std::string ErrorText(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an error that is no std::exception";
  }
}

// The panel shows only the check's message; the log keeps what went wrong.
void LogSwallowedError(const char* check, const std::exception_ptr& error) {
  TryWriteLog(kLauncherLogLabel, std::string(check) + " = " + ErrorText(error), lkTimed);
}

// Read anew each time: the player may change the display while we probe.
std::int32_t ScreenWidth() { return platform::PrimaryScreenSize().width; }
std::int32_t ScreenHeight() { return platform::PrimaryScreenSize().height; }

}  // namespace

void TLauncher::AddMessage(const std::string& name, const std::string& number) {
  std::string text = MessageText("Message" + name + "_", "Message" + name + "_Eng");
  if (!number.empty()) text = ReplaceText(text, "#", number);
  Memo->AddLine(text);
}

void TLauncher::TurnMessagesRed() { Memo->SetTextColor(kAlarmColor); }

void TLauncher::RunMachineChecks() {
  if (FatalErrorTimeCount) {
    AddMessage("FatalErrorTimeCount");
    bbRun->SetEnabled(false);
  }
  if (FatalErrorLogfile) {
    AddMessage("FatalErrorLogfile");
    TurnMessagesRed();
  }

  // The devices take the hidden application window, as the game's own do.
  void* const window = Application.Handle();
  try {
    RunningCheck check(kSoundCheck);
    SoundInit(2, 44100, 16, window);
  } catch (...) {
    LogSwallowedError(kSoundCheck, std::current_exception());
    AddMessage("NoSound");
    cbNoSound->SetChecked(true);
  }

  std::unique_ptr<T3D_Render> render;
  try {
    RunningCheck check(kGraphicsCheck);
    render = std::make_unique<T3D_Render>();
    render->Init(window, ScreenWidth(), ScreenHeight(), false, d3d9::D3DPRESENT_INTERVAL_ONE,
                 d3d9::D3DMULTISAMPLE_NONE, d3d9::D3DFMT_D24S8);
    const std::uint32_t freeBytes = render->Device->GetAvailableTextureMem();
    if (static_cast<double>(freeBytes) / 1024 / 1024 < kMinTextureMiB) {
      AddMessage("NoVideoMemory", IntToText(freeBytes / kBytesPerMiB));
      TurnMessagesRed();
    }
  } catch (...) {
    LogSwallowedError(kGraphicsCheck, std::current_exception());
    AddMessage("NoGraph");
    TurnMessagesRed();
  }

  if (ScreenWidth() < kMinScreenWidth) {
    AddMessage("MinWidth", IntToText(ScreenWidth()));
    TurnMessagesRed();
  }
  if (ScreenHeight() < kMinScreenHeight) {
    AddMessage("MinHeight", IntToText(ScreenHeight()));
    TurnMessagesRed();
  } else if (ScreenHeight() < kRecommendedScreenHeight) {
    AddMessage("MinHeightCur", IntToText(ScreenWidth()) + "x" + IntToText(ScreenHeight()));
  }
  // The render object goes last, whether or not Init succeeded; its device
  // is released inside the driver.
  RunningCheck check(kGraphicsCheck);
  render.reset();
}
