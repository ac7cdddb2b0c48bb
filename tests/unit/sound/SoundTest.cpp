// The sound unit against the simulated DirectSound device.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngineFixture.h"
#include "SimulatedDirectSound.h"
#include "VK9_Sound.h"

namespace {

class SoundTest : public test::EngineTest {
 protected:
  SoundTest() {
    simulated_sound::Reset();
    VK9_SoundInitialization();
  }
  ~SoundTest() override { VK9_SoundFinalization(); }
  simulated_sound::Record& Record() { return simulated_sound::CurrentRecord(); }
  simulated_sound::Script& Script() { return simulated_sound::CurrentScript(); }
  void* Window() { return reinterpret_cast<void*>(std::intptr_t{0x10042}); }
};

TEST(DirectSoundErrorText, EveryKnownCodeAndTheRest) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0x00000000, "The request completed successfully."},
      {0x80004001, "The function called is not supported at this time."},
      {0x80004002, "The requested COM interface is not available."},
      {0x80004005, "An undetermined error occurred inside the DirectSound subsystem."},
      {0x80040110, "The object does not support aggregation."},
      {0x80070005, "Access is denied."},
      {0x8007000E, "The DirectSound subsystem could not allocate sufficient memory to complete the caller's request."},
      {0x80070057, "An invalid parameter was passed to the returning function."},
      {0x8878000A, "The request failed because resources, such as a priority level, were already in use by another caller."},
      {0x8878001E, "The control (volume, pan, and so forth) requested by the caller is not available."},
      {0x88780032, "This function is not valid for the current state of this object."},
      {0x88780046, "The caller does not have the priority level required for the function to succeed."},
      {0x88780064, "The specified wave format is not supported."},
      {0x88780078, "No sound driver is available for use."},
      {0x88780082, "The object is already initialized."},
      {0x88780096, "The buffer memory has been lost and must be restored."},
      {0x887800A0, "Another application has a higher priority level, preventing this call from succeeding."},
      {0x887800AA, "The IDirectSound::Initialize method has not been called or has not been called successfully before other "
                   "methods were called."},
      {0x887800B4, "Tried to create a DSBCAPS_CTRLFX buffer shorter than DSBSIZE_FX_MIN milliseconds."},
      {0x887800BE, "Attempt to use DirectSound 8 functionality on an older DirectSound object."},
      {0x887800C8, "A circular loop of send effects was detected."},
      {0x887800D2, "The GUID specified in an audiopath file does not match a valid MIXIN buffer."},
      {0x88781161, "The object requested was not found (numerically equal to DMUS_E_NOT_FOUND)."},
      {0x00000001, "?"},
      {0x88780079, "?"},
      {0xFFFFFFFF, "?"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(DirectSoundErrorText(static_cast<HRESULT_DS>(code)), text) << std::hex << code;
}

TEST_F(SoundTest, MakesTheDeviceAndThePrimaryFormat) {
  // Slots a player left behind are reset, their buffers released.
  IDirectSoundBufferDS* leftover = nullptr;
  simulated_sound::CurrentScript().createSoundBuffer = DS_OK;
  SoundInit(2, 44100, 16, Window());
  Record().calls.clear();
  SoundDevice->CreateSoundBuffer(TDSBufferDesc{}, &leftover);
  GlobalSounds[7].Buffer = leftover;
  GlobalSounds[7].InUse = true;
  GlobalSounds[7].Name = "wind.ogg";
  Record().calls.clear();

  SoundInit(2, 44100, 16, Window());
  EXPECT_EQ(Record().calls, (std::vector<std::string>{"Release buffer", "Release device", "DirectSoundCreate",
                                                      "DirectSound.SetCooperativeLevel", "DirectSound.CreateSoundBuffer",
                                                      "DSPrimaryBuffer.SetFormat", "Release buffer"}));
  EXPECT_EQ(Record().window, Window());
  EXPECT_EQ(Record().level, 2u);
  const TDSBufferDesc& d = Record().description;
  EXPECT_EQ(d.dwSize, 36u);
  EXPECT_EQ(d.dwFlags, 0x81u);
  EXPECT_EQ(d.dwBufferBytes, 0u);
  EXPECT_EQ(d.dwReserved, 0u);
  EXPECT_EQ(d.lpwfxFormat, nullptr);
  EXPECT_EQ(std::memcmp(d.guid3DAlgorithm, TDSBufferDesc{}.guid3DAlgorithm, 16), 0);
  const TWaveFormatEx& f = Record().format;
  EXPECT_EQ(f.wFormatTag, 1);
  EXPECT_EQ(f.nChannels, 2);
  EXPECT_EQ(f.nSamplesPerSec, 44100u);
  EXPECT_EQ(f.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(f.nBlockAlign, 4);
  EXPECT_EQ(f.wBitsPerSample, 16);
  EXPECT_EQ(f.cbSize, 0);
  for (const TGlobalSound& sound : GlobalSounds) {
    EXPECT_EQ(sound.Channel, -1);
    EXPECT_EQ(sound.Volume, 1000);
    EXPECT_FALSE(sound.InUse);
    EXPECT_EQ(sound.Buffer, nullptr);
  }
  EXPECT_EQ(GlobalSounds[7].Name, "wind.ogg");  // kept until the unit's end
  EXPECT_EQ(Record().liveObjects, 2);           // the device and the primary buffer
}

TEST_F(SoundTest, BadArgumentsRaiseBeforeTheCallThatWouldUseThem) {
  EXPECT_THROW(SoundInit(2, 44100, 16, reinterpret_cast<void*>(std::intptr_t{-1})), ERangeError);
  EXPECT_EQ(Record().calls, std::vector<std::string>{"DirectSoundCreate"});

  const struct {
    std::int32_t channels, rate, bits;
    bool overflow;
  } cases[] = {{1, 8, 70000, false}, {70000, 8000, 8, false}, {-2, 44100, 16, false}, {2, -1, 16, false},
               {4, 1 << 30, 16, true}};
  for (const auto& c : cases) {
    simulated_sound::Reset();
    if (c.overflow) {
      EXPECT_THROW(SoundInit(c.channels, c.rate, c.bits, Window()), EIntOverflow);
    } else {
      EXPECT_THROW(SoundInit(c.channels, c.rate, c.bits, Window()), ERangeError);
    }
    EXPECT_EQ(Record().calls.back(), "DirectSound.CreateSoundBuffer") << c.channels << " " << c.rate << " " << c.bits;
  }
}

// The unit's end, for the death tests: ends after the sound unit and tells
// standard error how many simulated objects were left.
void ReportLiveObjects() { std::fprintf(stderr, "live objects: %d\n", simulated_sound::CurrentRecord().liveObjects); }

const TEngineUnit kUnits[] = {VK9_SystemUnit, {"check", nullptr, ReportLiveObjects}, VK9_SoundUnit};

// In the child: the units started, one call scripted to fail, SoundInit.
void InitFailing(int call, std::uint32_t code) {
  platform::ScopedOverrides box({.messageBox = [](const std::string& text, const std::string&, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }});
  StartUnits(kUnits, 3);
  simulated_sound::Reset();
  simulated_sound::Script& script = simulated_sound::CurrentScript();
  HRESULT_DS* results[] = {&script.create, &script.cooperativeLevel, &script.createSoundBuffer, &script.setFormat};
  *results[call] = static_cast<HRESULT_DS>(code);
  try {
    SoundInit(2, 44100, 16, reinterpret_cast<void*>(std::intptr_t{0x10042}));
  } catch (...) {
    std::_Exit(3);  // the stop is no exception: no handler sees it
  }
  std::_Exit(4);
}

struct FailureCase {
  int call;  // 0 create, 1 cooperative level, 2 buffer, 3 format
  std::uint32_t code;
  const char* message;
};

TEST_F(SoundTest, AFailedCallStopsTheProgramWithItsText) {
  const FailureCase cases[] = {
      {0, 0x88780078, "DirectSoundCreate: No sound driver is available for use."},
      {1, 0x12345678, "DirectSound.SetCooperativeLevel: \\?"},
      {2, 0x8878000A, "DirectSound.CreateSoundBuffer: The request failed because resources, such as a priority level, were already in use by another caller."},
      {3, 0x00000001, "DSPrimaryBuffer.SetFormat: \\?"},  // a success code other than 0 fails too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EXIT(InitFailing(c.call, c.code),
        ::testing::ExitedWithCode(0),
        std::string("^live objects: 0\nERRORS:\n\r") + c.message + " -> DIRECTSOUND INTERNAL ERROR\n$");
  }
}

TEST_F(SoundTest, TheEndReleasesSlotsStreamsBufferAndDevice) {
  SoundInit(2, 44100, 16, Window());
  // An Ogg Vorbis stream opened through the unit's own reader callbacks.
  const std::string ogg = test::ReadNativeFile(std::string(FIXTURE_DIR) + "/tone.ogg");
  ASSERT_GT(ogg.size(), 0u);
  TGlobalSound& music = GlobalSounds[0];
  music.Memory = std::malloc(ogg.size());
  std::memcpy(music.Memory, ogg.data(), ogg.size());
  TMemoryStream stream{static_cast<const std::uint8_t*>(music.Memory), ogg.size(), 0};
  ASSERT_EQ(ov_open_callbacks(&stream, &music.Decoder, nullptr, 0, SoundReaderCallbacks), 0);
  EXPECT_EQ(ov_info(&music.Decoder, -1)->channels, 1);
  EXPECT_EQ(ov_info(&music.Decoder, -1)->rate, 8000);
  music.InUse = true;
  music.Kind = 2;
  music.StreamSize = static_cast<std::int32_t>(ogg.size());

  test::TempDir dir;
  TGlobalSound& effect = GlobalSounds[1023];
  effect.InUse = true;
  effect.File = platform::FileOpen(dir.EnginePath() + "step.wav", platform::OpenMode::kReadWriteShared);
  ASSERT_NE(effect.File, platform::kInvalidFile);
  SoundDevice->CreateSoundBuffer(TDSBufferDesc{}, &StreamBuffers[63].Buffer);
  Record().calls.clear();

  VK9_SoundFinalization();
  EXPECT_EQ(music.Memory, nullptr);
  EXPECT_EQ(effect.File, 0);
  EXPECT_EQ(Record().calls, (std::vector<std::string>{"Release buffer", "Release buffer", "Release device"}));
  EXPECT_EQ(Record().liveObjects, 0);
  EXPECT_EQ(PrimaryBuffer, nullptr);
  EXPECT_EQ(SoundDevice, nullptr);
}

}  // namespace
