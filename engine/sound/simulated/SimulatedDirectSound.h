// A DirectSound device for the POSIX build and the tests: each call returns
// the result code scripted for it and records what it received.
#pragma once

#include <string>
#include <vector>

#include "../DirectSound7.h"

namespace simulated_sound {

struct Script {
  HRESULT_DS create = DS_OK;
  // DirectSoundCreate raises std::bad_alloc, as a failed allocation would.
  bool raiseOnCreate = false;
  HRESULT_DS cooperativeLevel = DS_OK;
  HRESULT_DS createSoundBuffer = DS_OK;
  HRESULT_DS setFormat = DS_OK;
};

struct Record {
  std::vector<std::string> calls;  // in order, releases included
  void* window = nullptr;
  std::uint32_t level = 0;
  TDSBufferDesc description;
  TWaveFormatEx format;
  int liveObjects = 0;
};

// What the next calls return, and what they did; Reset starts afresh.
Script& CurrentScript();
Record& CurrentRecord();
void Reset();

}  // namespace simulated_sound
