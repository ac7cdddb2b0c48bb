#include "VK9_Sound.h"

#include <cstdlib>
#include <cstring>

#include "RangeCheck.h"
#include "VK9_System.h"

IDirectSoundDS* SoundDevice = nullptr;
IDirectSoundBufferDS* PrimaryBuffer = nullptr;
std::array<TGlobalSound, kGlobalSoundCount> GlobalSounds;
std::array<TStreamBuffer, kStreamBufferCount> StreamBuffers;

namespace {

template <class T>
void ReleaseObject(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

// A product that must fit 32-bit arithmetic.
std::int32_t Multiply(std::int64_t a, std::int64_t b) {
  const std::int64_t product = a * b;
  if (product < INT32_MIN || product > INT32_MAX) {
    throw EIntOverflow("Integer overflow: " + std::to_string(a) + " * " + std::to_string(b));
  }
  return static_cast<std::int32_t>(product);
}

TWaveFormatEx PrimaryFormat(std::int32_t channels, std::int32_t rate, std::int32_t bits) {
  TWaveFormatEx format;
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = RangeChecked<std::uint16_t>(channels);
  format.nSamplesPerSec = RangeChecked<std::uint32_t>(rate);
  format.nAvgBytesPerSec = RangeChecked<std::uint32_t>(Multiply(Multiply(rate, channels), bits) / 8);
  format.nBlockAlign = RangeChecked<std::uint16_t>(Multiply(channels, bits) / 8);
  format.wBitsPerSample = RangeChecked<std::uint16_t>(bits);
  format.cbSize = 0;
  return format;
}

void ResetSlots() {
  for (TGlobalSound& sound : GlobalSounds) {
    ReleaseObject(sound.Buffer);
    sound.Channel = -1;
    sound.StreamSize = 0;
    sound.Pan = 0;
    sound.Volume = 1000;
    sound.Position = 0;
    sound.InUse = false;
    sound.Looped = false;
    sound.PlayCursor = sound.WriteCursor = sound.BytesLeft = 0;
    sound.File = 0;
  }
  for (TStreamBuffer& stream : StreamBuffers) {
    ReleaseObject(stream.Buffer);
    stream.Playing = false;
    stream.Position = 0;
  }
}

#if OSTRELUND_HAVE_VORBIS
std::size_t ReadMemory(void* into, std::size_t size, std::size_t count, void* source) {
  auto* stream = static_cast<TMemoryStream*>(source);
  if (size == 0) return 0;
  const std::size_t items = std::min(count, (stream->Size - stream->Position) / size);
  std::memcpy(into, stream->Data + stream->Position, items * size);
  stream->Position += items * size;
  return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* stream = static_cast<TMemoryStream*>(source);
  const ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(stream->Position)
                                                                        : static_cast<ogg_int64_t>(stream->Size);
  const ogg_int64_t to = base + offset;
  if (to < 0 || to > static_cast<ogg_int64_t>(stream->Size)) return -1;
  stream->Position = static_cast<std::size_t>(to);
  return 0;
}

int CloseMemory(void*) { return 0; }

long TellMemory(void* source) { return static_cast<long>(static_cast<TMemoryStream*>(source)->Position); }
#endif

}  // namespace

#if OSTRELUND_HAVE_VORBIS
ov_callbacks SoundReaderCallbacks{};
#endif

void CheckDSResult(HRESULT_DS result, const std::string& operation) {
  if (result == DS_OK) return;
  FatalStop(operation + ": " + DirectSoundErrorText(result) + " -> DIRECTSOUND INTERNAL ERROR");
}

void SoundInit(std::int32_t channels, std::int32_t rate, std::int32_t bits, void* window) {
  // A second call starts from a fresh device rather than losing the first.
  ReleaseObject(PrimaryBuffer);
  ReleaseObject(SoundDevice);

  CheckDSResult(DirectSoundCreate(&SoundDevice), "DirectSoundCreate");

  // Window handles are 32-bit values even in a 64-bit process.
  if (static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)) < 0) {
    throw ERangeError("Range check error: window handle " + std::to_string(reinterpret_cast<std::intptr_t>(window)));
  }
  CheckDSResult(SoundDevice->SetCooperativeLevel(window, DSSCL_PRIORITY), "DirectSound.SetCooperativeLevel");

  TDSBufferDesc description;
  description.dwSize = kDSBufferDescSize;
  description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
  CheckDSResult(SoundDevice->CreateSoundBuffer(description, &PrimaryBuffer), "DirectSound.CreateSoundBuffer");

  const TWaveFormatEx format = PrimaryFormat(channels, rate, bits);
  CheckDSResult(PrimaryBuffer->SetFormat(format), "DSPrimaryBuffer.SetFormat");

  ResetSlots();
}

void VK9_SoundInitialization() {
#if OSTRELUND_HAVE_VORBIS
  SoundReaderCallbacks = ov_callbacks{ReadMemory, SeekMemory, CloseMemory, TellMemory};
#endif
}

void VK9_SoundFinalization() {
  for (TGlobalSound& sound : GlobalSounds) {
    if (!sound.InUse) continue;
#if OSTRELUND_HAVE_VORBIS
    if (sound.Kind == 2 && sound.StreamSize > 0) {
      ov_clear(&sound.Decoder);
      std::free(sound.Memory);
      sound.Memory = nullptr;
      continue;
    }
#endif
    if (sound.File != 0) {
      platform::FileClose(sound.File);
      sound.File = 0;
    }
  }
  for (TGlobalSound& sound : GlobalSounds) {
    ReleaseObject(sound.Buffer);
    sound.Name.clear();
  }
  for (TStreamBuffer& stream : StreamBuffers) ReleaseObject(stream.Buffer);
  ReleaseObject(PrimaryBuffer);
  ReleaseObject(SoundDevice);
}
