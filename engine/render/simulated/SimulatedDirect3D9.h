// A Direct3D 9 adapter for the POSIX build and the tests: what it supports
// and how its calls fail are set in the current script, and every call is
// recorded with what it received.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../Direct3D9.h"

namespace simulated_d3d {

using namespace d3d9;

// A guarded call that fails its first `times` attempts with `code`.
struct Failures {
  int times = 0;
  HRESULT_D3D code = D3DERR_INVALIDCALL;
};

struct Script {
  bool available = true;  // false: Direct3DCreate9 gives no object
  TD3DDisplayMode displayMode{1920, 1080, 60, D3DFMT_X8R8G8B8};
  std::uint32_t vertexShaderVersion = D3DVSVersion(3, 0);
  std::uint32_t pixelShaderVersion = D3DPSVersion(3, 0);
  std::uint32_t maxAnisotropy = 16;
  // Supported sample counts of a windowed X8R8G8B8 surface, with their
  // quality-level counts.
  std::map<std::uint32_t, std::uint32_t> multisample = {{2, 1}, {4, 1}};
  std::set<std::uint32_t> renderTargetFormats = {D3DFMT_A16B16G16R16F, D3DFMT_R32F};
  std::set<std::uint32_t> textureFormats = {MakeFourCC('D', 'X', 'T', '1'), MakeFourCC('D', 'X', 'T', '5')};
  std::set<std::uint32_t> surfaceFormats = {};
  HRESULT_D3D createDevice = D3D_OK;  // a failure code makes no device
  std::uint32_t textureMemory = 512u << 20;
  Failures getRenderTarget;
  Failures getDepthStencilSurface;
  Failures createVertexDeclaration;  // counted over all nine declarations
};

struct Record {
  std::vector<std::string> calls;  // operation names in order, releases included
  void* focusWindow = nullptr;
  std::uint32_t behaviourFlags = 0;
  TD3DPresentParameters presentParameters;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> renderStates;
  // Each created declaration's elements, without the end marker.
  std::vector<std::vector<TD3DVertexElement9>> declarations;
  int liveObjects = 0;
};

Script& CurrentScript();
Record& CurrentRecord();
void Reset();

}  // namespace simulated_d3d
