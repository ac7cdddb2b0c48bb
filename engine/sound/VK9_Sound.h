// VK9_Sound: the engine's sound unit. It owns the process's DirectSound
// device and primary buffer, and the tables of sound slots and stream
// buffers that playback fills (nothing in the launcher plays a sound).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "DirectSound7.h"
#include "EngineUnits.h"
#include "Platform.h"

#if OSTRELUND_HAVE_VORBIS
#include <vorbis/vorbisfile.h>
#endif

// One sound slot.
struct TGlobalSound {
  std::int32_t Channel = 0;       // -1: on no channel
  std::int32_t StreamSize = 0;    // > 0: an open stream whose decoder the end releases
  IDirectSoundBufferDS* Buffer = nullptr;
  std::int32_t Pan = 0;
  std::int32_t Volume = 0;        // per mille
  std::int32_t Position = 0;
  std::string Name;
  bool InUse = false;
  std::int32_t Kind = 0;          // 2: an Ogg Vorbis stream
  bool Looped = false;
  std::int32_t PlayCursor = 0;
  std::int32_t WriteCursor = 0;
  std::int32_t BytesLeft = 0;
  platform::FileHandle File = 0;  // 0: none
  std::uint8_t Header[20] = {};
  void* Memory = nullptr;         // the stream's bytes, freed with the decoder
#if OSTRELUND_HAVE_VORBIS
  OggVorbis_File Decoder{};
#endif
};

struct TStreamBuffer {
  IDirectSoundBufferDS* Buffer = nullptr;
  bool Playing = false;
  std::int32_t Position = 0;
};

inline constexpr std::size_t kGlobalSoundCount = 1024;
inline constexpr std::size_t kStreamBufferCount = 64;

extern IDirectSoundDS* SoundDevice;
extern IDirectSoundBufferDS* PrimaryBuffer;
// Slots 1 to 1024 and 1 to 64 are elements 0 to 1023 and 0 to 63.
extern std::array<TGlobalSound, kGlobalSoundCount> GlobalSounds;
extern std::array<TStreamBuffer, kStreamBufferCount> StreamBuffers;

// Creates the device on the default output, takes the priority level for
// `window`, makes the primary buffer and sets its format, then resets the
// slots. A DirectSound call that does not return 0 stops the program
// (FatalStop). A negative window handle or a format value that does not fit
// raises ERangeError or EIntOverflow before the call that would use it.
void SoundInit(std::int32_t channels, std::int32_t rate, std::int32_t bits, void* window);

// Returns when `result` is 0; otherwise stops the program with the
// operation, the result's text and " -> DIRECTSOUND INTERNAL ERROR".
void CheckDSResult(HRESULT_DS result, const std::string& operation);

// A block of memory read through the Ogg Vorbis file library's callbacks.
struct TMemoryStream {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Position = 0;
};
#if OSTRELUND_HAVE_VORBIS
// Filled at the unit's start; read, seek, close and tell over a TMemoryStream.
extern ov_callbacks SoundReaderCallbacks;
#endif

void VK9_SoundInitialization();
void VK9_SoundFinalization();
inline constexpr TEngineUnit VK9_SoundUnit{"VK9_Sound", VK9_SoundInitialization, VK9_SoundFinalization};
