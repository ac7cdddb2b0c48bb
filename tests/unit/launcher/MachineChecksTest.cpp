// The machine checks of the start-up sequence, on the simulated sound device
// and Direct3D adapter and a screen of the test's choosing.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "Application.h"
#include "LauncherFixture.h"
#include "SimulatedDirect3D9.h"
#include "SimulatedDirectSound.h"
#include "VK9_Sound.h"

namespace {

constexpr TColor kRed = RGBColor(255, 0, 0);

class MachineChecksTest : public LauncherTest {
 protected:
  MachineChecksTest()
      : screen_({.screenSize = [this] { return ProbeDone() ? screenAfterProbe_.value_or(screen_size_) : screen_size_; }}) {
    test::WriteNativeFile(game_ + "Texts.Ini", Fixture("TextsChecks.Ini"));
    // Sound on, so that the checks are seen to turn it off.
    test::WriteNativeFile(game_ + "Options_Game.ini", "[Main]\r\nMusic_Enable=Yes\r\n");
    simulated_sound::Reset();
    simulated_d3d::Reset();
  }
  ~MachineChecksTest() override {
    FatalErrorTimeCount = false;
    FatalErrorLogfile = false;
    VK9_SoundFinalization();
    simulated_sound::Reset();
    simulated_d3d::Reset();
  }

  TLauncher& Run(std::int32_t width = 1920, std::int32_t height = 1200, const char* locale = "en_US.UTF-8") {
    screen_size_ = {width, height};
    return Start(locale);
  }
  TColor NormalTextColor() const { return TLauncher().Memo->Font().Color; }

  static bool ProbeDone() {
    const auto& calls = simulated_d3d::CurrentRecord().calls;
    return std::find(calls.begin(), calls.end(), "GetAvailableTextureMem") != calls.end();
  }

  platform::ScreenSize screen_size_{1920, 1200};
  // The screen as the player changes it while the render probe runs.
  std::optional<platform::ScreenSize> screenAfterProbe_;
  platform::ScopedOverrides screen_;
  simulated_d3d::Script& d3d_ = simulated_d3d::CurrentScript();
};

TEST_F(MachineChecksTest, ScreenSizes) {
  struct Case {
    std::int32_t width, height;
    std::vector<std::string> lines;
    bool red;
  };
  const Case cases[] = {
      {1280, 1024, {}, false},
      {1280, 800, {"resolution 1280x800"}, false},
      {1024, 768, {"1024 wide", "resolution 1024x768"}, true},
      {800, 600, {"800 wide", "600 high, and 600 is too few"}, true},
      {1600, 767, {"767 high, and 767 is too few"}, true},
      {1279, 1023, {"1279 wide", "resolution 1279x1023"}, true},
      {1024, 1024, {"1024 wide"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    TLauncher window;
    screen_size_ = {c.width, c.height};
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    EXPECT_EQ(window.Memo->Lines(), c.lines);
    EXPECT_EQ(window.Memo->Font().Color == kRed, c.red);
    EXPECT_EQ(window.GroupBoxMessage->Visible(), !c.lines.empty());
    EXPECT_TRUE(window.bbRun->Enabled());
    // The device is made for the whole screen.
    EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.BackBufferWidth, static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.BackBufferHeight, static_cast<std::uint32_t>(c.height));
  }
}

TEST_F(MachineChecksTest, TheRecommendedHeightLineShowsThePanelWithoutRed) {
  TLauncher& w = Run(1280, 800);
  EXPECT_EQ(w.Memo->Font().Color, NormalTextColor());
  EXPECT_TRUE(w.GroupBoxMessage->Visible());
  EXPECT_EQ(w.GroupBoxMessage->Bounds().Top, 342);
  EXPECT_EQ(w.bbRun->Bounds().Top, 420);
  EXPECT_EQ(w.ClientHeight(), 455);
}

// The size is read when it is compared, not once for the whole check.
TEST_F(MachineChecksTest, TheScreenIsReadAnewAfterTheRenderProbe) {
  screenAfterProbe_ = platform::ScreenSize{1024, 768};
  TLauncher& w = Run(1920, 1200);
  EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.BackBufferWidth, 1920u);
  EXPECT_EQ(w.Memo->Lines(), (std::vector<std::string>{"1024 wide", "resolution 1024x768"}));
}

TEST_F(MachineChecksTest, FreeTextureMemoryBelow450MiB) {
  struct Case {
    std::uint32_t bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {471859200u, {}},
      {471859199u, {"only 449 MB free"}},
      {0u, {"only 0 MB free"}},
      {0xFFFFFFFFu, {}},  // unsigned: 4 GiB less one byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    d3d_.textureMemory = c.bytes;
    TLauncher window;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    EXPECT_EQ(window.Memo->Lines(), c.lines);
    EXPECT_EQ(window.Memo->Font().Color == kRed, !c.lines.empty());
  }
}

TEST_F(MachineChecksTest, NoDirect3DGivesTheGraphicsLineOnly) {
  struct Case {
    const char* what;
    bool available;
    HRESULT_D3D createDevice;
  };
  for (const Case& c : {Case{"no Direct3D", false, d3d9::D3D_OK}, Case{"no device", true, d3d9::D3DERR_NOTAVAILABLE}}) {
    SCOPED_TRACE(c.what);
    d3d_.available = c.available;
    d3d_.createDevice = c.createDevice;
    d3d_.textureMemory = 0;  // would add the video-memory line if it were asked
    TLauncher window;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    // Texts.Ini has no key of this message: the line is there, empty.
    EXPECT_EQ(window.Memo->Lines(), std::vector<std::string>{""});
    EXPECT_TRUE(window.GroupBoxMessage->Visible());
    EXPECT_EQ(window.Memo->Font().Color, kRed);
    EXPECT_TRUE(window.bbRun->Enabled());
    // The render object is gone, whether or not Init succeeded.
    EXPECT_EQ(simulated_d3d::CurrentRecord().liveObjects, 0);
  }
}

TEST_F(MachineChecksTest, BothDevicesGetTheApplicationWindow) {
  TLauncher& w = Run();
  void* const application = Application.Handle();
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(simulated_sound::CurrentRecord().window, application);
  EXPECT_EQ(simulated_d3d::CurrentRecord().focusWindow, application);
  EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.hDeviceWindow, application);
  // Windowed, presented at every retrace, no multisampling, a D24S8 depth buffer.
  EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.Windowed, 1);
  EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.PresentationInterval, 1u);
  EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.MultiSampleType, 0u);
  EXPECT_EQ(simulated_d3d::CurrentRecord().presentParameters.AutoDepthStencilFormat, 75u);
  EXPECT_EQ(simulated_sound::CurrentRecord().format.nSamplesPerSec, 44100u);
  EXPECT_EQ(simulated_sound::CurrentRecord().format.nChannels, 2);
  EXPECT_EQ(simulated_sound::CurrentRecord().format.wBitsPerSample, 16);
  EXPECT_TRUE(w.Memo->Lines().empty());
  EXPECT_FALSE(w.cbNoSound->Checked());
  // The sound device stays with the sound unit; the render object is gone.
  EXPECT_NE(SoundDevice, nullptr);
  EXPECT_EQ(simulated_d3d::CurrentRecord().liveObjects, 0);
}

TEST_F(MachineChecksTest, AnErrorRaisedBySoundInitIsTheSoundFinding) {
  simulated_sound::CurrentScript().raiseOnCreate = true;
  TLauncher& w = Run(1024, 1024, "de_DE.UTF-8");
  // German where Texts.Ini has it, English where not; no "#" is replaced.
  EXPECT_EQ(w.Memo->Lines(), (std::vector<std::string>{"kein Ton", "1024 breit"}));
  EXPECT_TRUE(w.cbNoSound->Checked());
  EXPECT_TRUE(w.bbRun->Enabled());
}

TEST_F(MachineChecksTest, EngineStartFlags) {
  struct Case {
    bool clock, logFile;
    std::vector<std::string> lines;
    bool runEnabled, red;
  };
  const Case cases[] = {
      {false, true, {"log file"}, true, true},
      {true, false, {"clock"}, false, false},
      {true, true, {"clock", "log file"}, false, true},
  };
  for (const Case& c : cases) {
    FatalErrorTimeCount = c.clock;
    FatalErrorLogfile = c.logFile;
    TLauncher window;
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    EXPECT_EQ(window.Memo->Lines(), c.lines);
    EXPECT_EQ(window.bbRun->Enabled(), c.runEnabled);
    EXPECT_EQ(window.Memo->Font().Color == kRed, c.red);
  }
}

TEST_F(MachineChecksTest, RedStaysWhenLaterLinesAreNot) {
  FatalErrorLogfile = true;
  TLauncher& w = Run(1280, 800);
  EXPECT_EQ(w.Memo->Lines(), (std::vector<std::string>{"log file", "resolution 1280x800"}));
  EXPECT_EQ(w.Memo->Font().Color, kRed);
}

// Every finding at once, in the order the checks run.
TEST_F(MachineChecksTest, TheLinesFollowTheOrderOfTheChecks) {
  struct Case {
    const char* what;
    bool direct3D;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"little video memory", true, {"clock", "log file", "no sound # here", "only 449 MB free", "1024 wide", "resolution 1024x768"}},
      // The graphics message has no text in this Texts.Ini: its line is empty.
      {"no Direct3D", false, {"clock", "log file", "no sound # here", "", "1024 wide", "resolution 1024x768"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    simulated_sound::Reset();
    simulated_d3d::Reset();
    FatalErrorTimeCount = FatalErrorLogfile = true;
    simulated_sound::CurrentScript().raiseOnCreate = true;
    d3d_.available = c.direct3D;
    d3d_.textureMemory = 471859199u;
    TLauncher window;
    screen_size_ = {1024, 768};
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    EXPECT_EQ(window.Memo->Lines(), c.lines);
  }
}

// Each finding alone, on a screen that adds no line of its own.
TEST_F(MachineChecksTest, WhichFindingsTurnThePanelRed) {
  struct Case {
    const char* what;
    void (*arrange)(simulated_d3d::Script&);
    std::vector<std::string> lines;
    bool red;
  };
  const Case cases[] = {
      {"no sound", [](simulated_d3d::Script&) { simulated_sound::CurrentScript().raiseOnCreate = true; }, {"no sound # here"}, false},
      {"no clock", [](simulated_d3d::Script&) { FatalErrorTimeCount = true; }, {"clock"}, false},
      {"no log file", [](simulated_d3d::Script&) { FatalErrorLogfile = true; }, {"log file"}, true},
      {"little video memory", [](simulated_d3d::Script& d3d) { d3d.textureMemory = 1u << 20; }, {"only 1 MB free"}, true},
      {"no Direct3D", [](simulated_d3d::Script& d3d) { d3d.available = false; }, {""}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    simulated_sound::Reset();
    simulated_d3d::Reset();
    FatalErrorTimeCount = FatalErrorLogfile = false;
    c.arrange(d3d_);
    TLauncher window;
    screen_size_ = {1920, 1200};
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    window.FormCreate();
    EXPECT_EQ(window.Memo->Lines(), c.lines);
    EXPECT_EQ(window.Memo->Font().Color == kRed, c.red);
    EXPECT_TRUE(window.GroupBoxMessage->Visible());
  }
}

// The panel shows the check's message; the engine log keeps the error's own text.
TEST_F(MachineChecksTest, TheErrorsTheChecksTurnIntoMessagesAreLogged) {
  StartUnits(&VK9_SystemUnit, 1);
  simulated_sound::CurrentScript().raiseOnCreate = true;
  d3d_.available = false;
  TLauncher& w = Run();
  const std::string log = test::ReadNativeFile(test::ToNative(LogFileName));
  FinishUnits();
  EXPECT_EQ(w.Memo->Lines(), (std::vector<std::string>{"no sound # here", ""}));
  const std::size_t sound = log.find("  LAUNCHER MachineChecks.Sound = std::bad_alloc\r\n");
  const std::size_t graphics = log.find("  LAUNCHER MachineChecks.Graphics = Direct3DCreate9: Direct3D 9 is not available\r\n");
  EXPECT_NE(sound, std::string::npos) << log;
  EXPECT_NE(graphics, std::string::npos) << log;
  EXPECT_LT(sound, graphics);
}

// The log may die at any moment: a check that fails after it did still
// shows its message, and the start-up goes on to the end.
TEST_F(MachineChecksTest, ACheckThatFailsWhileTheLogCannotBeWrittenStillShowsItsMessage) {
  struct Case {
    const char* what;
    bool logFileGone;
    platform::Overrides clock;
  };
  const Case cases[] = {
      {"the log file gone", true, {}},
      {"the clock past its signed range", false, {.timerTime = [] { return 0x80000000u; }}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    simulated_sound::Reset();
    simulated_d3d::Reset();
    simulated_sound::CurrentScript().raiseOnCreate = true;
    d3d_.available = false;
    StartUnits(&VK9_SystemUnit, 1);
    if (c.logFileGone) std::remove(test::ToNative(LogFileName).c_str());
    const platform::ScopedOverrides clock(c.clock);
    TLauncher window;
    screen_size_ = {1280, 800};
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_NO_THROW(window.FormCreate());
    FinishUnits();
    EXPECT_EQ(window.Memo->Lines(), (std::vector<std::string>{"no sound # here", "", "resolution 1280x800"}));
    EXPECT_TRUE(window.cbNoSound->Checked());
    EXPECT_EQ(window.Memo->Font().Color, kRed);
    EXPECT_TRUE(window.GroupBoxMessage->Visible());
  }
}

void StartWithAFailingSoundDevice() {
  simulated_sound::CurrentScript().create = DSERR_NODRIVER;
  StartUnits(&VK9_SystemUnit, 1);
  TLauncher window;
  window.FormCreate();
  std::fprintf(stderr, "checks went on\n");
  std::_Exit(4);
}

TEST_F(MachineChecksTest, AFailingDirectSoundCallEndsTheProgramInsideTheChecks) {
  platform::ScopedOverrides box({.messageBox = [](const std::string& text, const std::string&, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }});
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  EXPECT_EXIT(StartWithAFailingSoundDevice(), ::testing::ExitedWithCode(0),
              "^ERRORS:\n\rDirectSoundCreate: No sound driver is available for use\\. -> DIRECTSOUND INTERNAL ERROR\n$");
}

}  // namespace
