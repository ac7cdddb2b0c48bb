// DirectSound over the real dsound.dll, loaded when first asked for: a
// system without it (or without DirectSoundCreate) gets DSERR_NODRIVER, and
// so the engine's error box, instead of a loader error before anything runs.
#include "../DirectSound7.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace {

using DirectSoundCreateProc = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

class Buffer final : public IDirectSoundBufferDS {
 public:
  explicit Buffer(IDirectSoundBuffer* buffer) : buffer_(buffer) {}
  HRESULT_DS SetFormat(const TWaveFormatEx& format) override {
    WAVEFORMATEX wave{};
    wave.wFormatTag = format.wFormatTag;
    wave.nChannels = format.nChannels;
    wave.nSamplesPerSec = format.nSamplesPerSec;
    wave.nAvgBytesPerSec = format.nAvgBytesPerSec;
    wave.nBlockAlign = format.nBlockAlign;
    wave.wBitsPerSample = format.wBitsPerSample;
    wave.cbSize = format.cbSize;
    return buffer_->SetFormat(&wave);
  }
  void Release() override {
    buffer_->Release();
    delete this;
  }

 private:
  IDirectSoundBuffer* buffer_;
};

class Device final : public IDirectSoundDS {
 public:
  explicit Device(IDirectSound* device) : device_(device) {}
  HRESULT_DS SetCooperativeLevel(void* window, std::uint32_t level) override {
    return device_->SetCooperativeLevel(static_cast<HWND>(window), level);
  }
  HRESULT_DS CreateSoundBuffer(const TDSBufferDesc& description, IDirectSoundBufferDS** buffer) override {
    DSBUFFERDESC desc{};
    // The record's own size: 36 bytes in the 32-bit program, more in a 64-bit one.
    desc.dwSize = sizeof desc;
    desc.dwFlags = description.dwFlags;
    desc.dwBufferBytes = description.dwBufferBytes;
    desc.dwReserved = description.dwReserved;
    desc.lpwfxFormat = nullptr;
    IDirectSoundBuffer* created = nullptr;
    const HRESULT result = device_->CreateSoundBuffer(&desc, &created, nullptr);
    *buffer = created ? new Buffer(created) : nullptr;
    return result;
  }
  void Release() override {
    device_->Release();
    delete this;
  }

 private:
  IDirectSound* device_;
};

}  // namespace

HRESULT_DS DirectSoundCreate(IDirectSoundDS** device) {
  *device = nullptr;
  static HMODULE library = ::LoadLibraryA("dsound.dll");
  if (!library) return DSERR_NODRIVER;
  const auto create = reinterpret_cast<DirectSoundCreateProc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(library, "DirectSoundCreate")));
  if (!create) return DSERR_NODRIVER;
  IDirectSound* created = nullptr;
  const HRESULT result = create(nullptr, &created, nullptr);
  if (created) *device = new Device(created);
  return result;
}
