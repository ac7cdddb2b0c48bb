#include "SimulatedDirectSound.h"

#include <new>

namespace simulated_sound {
namespace {

Script g_script;
Record g_record;

class Buffer final : public IDirectSoundBufferDS {
 public:
  HRESULT_DS SetFormat(const TWaveFormatEx& format) override {
    g_record.calls.push_back("DSPrimaryBuffer.SetFormat");
    g_record.format = format;
    return g_script.setFormat;
  }
  void Release() override {
    g_record.calls.push_back("Release buffer");
    --g_record.liveObjects;
    delete this;
  }
};

class Device final : public IDirectSoundDS {
 public:
  HRESULT_DS SetCooperativeLevel(void* window, std::uint32_t level) override {
    g_record.calls.push_back("DirectSound.SetCooperativeLevel");
    g_record.window = window;
    g_record.level = level;
    return g_script.cooperativeLevel;
  }
  HRESULT_DS CreateSoundBuffer(const TDSBufferDesc& description, IDirectSoundBufferDS** buffer) override {
    g_record.calls.push_back("DirectSound.CreateSoundBuffer");
    g_record.description = description;
    *buffer = nullptr;
    if (g_script.createSoundBuffer >= 0) {
      *buffer = new Buffer;
      ++g_record.liveObjects;
    }
    return g_script.createSoundBuffer;
  }
  void Release() override {
    g_record.calls.push_back("Release device");
    --g_record.liveObjects;
    delete this;
  }
};

}  // namespace

Script& CurrentScript() { return g_script; }
Record& CurrentRecord() { return g_record; }
void Reset() {
  g_script = Script{};
  g_record = Record{};
}

}  // namespace simulated_sound

// An object comes with every success code, including the positive ones the
// sound unit still treats as failures.
HRESULT_DS DirectSoundCreate(IDirectSoundDS** device) {
  using namespace simulated_sound;
  g_record.calls.push_back("DirectSoundCreate");
  *device = nullptr;
  if (g_script.raiseOnCreate) throw std::bad_alloc();
  if (g_script.create >= 0) {
    *device = new Device;
    ++g_record.liveObjects;
  }
  return g_script.create;
}
