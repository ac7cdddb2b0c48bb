// The DirectSound declarations the sound unit uses: result codes, the
// primary buffer's description and format, and a narrow interface of exactly
// the operations the unit calls. The Win32 implementation (win32/) goes to
// the real dsound.dll; the simulated one (simulated/) serves the POSIX build
// and the tests.
#pragma once

#include <cstdint>
#include <string>

using HRESULT_DS = std::int32_t;

inline constexpr HRESULT_DS DS_OK = 0;
inline constexpr HRESULT_DS DSERR_NODRIVER = static_cast<HRESULT_DS>(0x88780078u);
inline constexpr std::uint32_t DSSCL_PRIORITY = 2;
inline constexpr std::uint32_t DSBCAPS_PRIMARYBUFFER = 0x01;
inline constexpr std::uint32_t DSBCAPS_CTRLVOLUME = 0x80;
inline constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

// The layout of WAVEFORMATEX.
#pragma pack(push, 1)
struct TWaveFormatEx {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
  std::uint16_t cbSize = 0;
};
#pragma pack(pop)

// The fields of DSBUFFERDESC.
struct TDSBufferDesc {
  std::uint32_t dwSize = 0;
  std::uint32_t dwFlags = 0;
  std::uint32_t dwBufferBytes = 0;
  std::uint32_t dwReserved = 0;
  const TWaveFormatEx* lpwfxFormat = nullptr;
  std::uint8_t guid3DAlgorithm[16] = {};
};
// The size DirectSound expects in dwSize (of the 32-bit record).
inline constexpr std::uint32_t kDSBufferDescSize = 36;

class IDirectSoundBufferDS {
 public:
  virtual HRESULT_DS SetFormat(const TWaveFormatEx& format) = 0;
  virtual void Release() = 0;

 protected:
  ~IDirectSoundBufferDS() = default;
};

class IDirectSoundDS {
 public:
  virtual HRESULT_DS SetCooperativeLevel(void* window, std::uint32_t level) = 0;
  virtual HRESULT_DS CreateSoundBuffer(const TDSBufferDesc& description, IDirectSoundBufferDS** buffer) = 0;
  virtual void Release() = 0;

 protected:
  ~IDirectSoundDS() = default;
};

// Creates the device on the default playback device, no aggregation.
HRESULT_DS DirectSoundCreate(IDirectSoundDS** device);

// The English text of a DirectSound result code; "?" for an unknown one.
std::string DirectSoundErrorText(HRESULT_DS result);
