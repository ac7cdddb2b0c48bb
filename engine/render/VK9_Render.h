// VK9_Render: the engine's renderer unit. The render object T3D_Render
// probes the default adapter and logs what it can do, then makes a device
// for a window; guarded Direct3D calls are repeated until they succeed, and
// their failures are judged and reported here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Direct3D9.h"
#include "EngineUnits.h"
#include "RenderResources.h"
#include "VK9_System.h"

// What the adapter probe found. Versions are major x 10 + minor, 0 when the
// adapter reports none of the recognised ones.
struct T3D_Caps {
  std::int32_t VertexShaderVersion = 0;
  std::int32_t PixelShaderVersion = 0;
  std::int32_t MaxAnisotropy = 0;
  std::int32_t MaxSamples = 0;
  std::int32_t MaxSampleQuality = 0;
  // The formats that can be render-target textures.
  bool RT_G16R16 = false;
  bool RT_A16B16G16R16 = false;
  bool RT_R16F = false;
  bool RT_G16R16F = false;
  bool RT_A16B16G16R16F = false;
  bool RT_R32F = false;
  bool RT_G32R32F = false;
  bool RT_A32B32G32R32F = false;
  // The compressed formats that can be textures.
  bool DXT1 = false;
  bool DXT3 = false;
  bool DXT5 = false;
  // Driver-specific surface formats through which drivers offer
  // alpha-to-coverage.
  bool ATOC = false;
  bool A2M1 = false;
};

inline constexpr std::size_t kMeshKindCount = 9;
// "MESH_GRID" to "MESH_GRASS", indexed by mesh kind.
extern const std::array<const char*, kMeshKindCount> MeshKindNames;
// Each kind's vertex elements, ending with D3DDECL_END.
const TD3DVertexElement9* MeshKindElements(std::size_t kind);

class T3D_Render {
 public:
  // Makes the Direct3D object, probes the default adapter and writes the
  // capability block to the log. Raises EEngineError when there is no
  // Direct3D 9; nothing is logged then.
  T3D_Render();
  ~T3D_Render() = default;
  T3D_Render(const T3D_Render&) = delete;
  T3D_Render& operator=(const T3D_Render&) = delete;

  // Makes the device for `window` with a back buffer of `width` x `height`
  // and an automatic depth-stencil surface of `depthStencilFormat`. Raises
  // ERangeError for a negative size and EEngineError when no device could
  // be made; a guarded call failing for the eleventh time in a row stops
  // the program.
  void Init(void* window, std::int32_t width, std::int32_t height, bool fullScreen,
            std::uint32_t presentationInterval, std::uint32_t multiSampleType, std::uint32_t depthStencilFormat);

  std::array<TD3DRef<IDirect3DVertexDeclaration9R>, kMeshKindCount> VertexDeclarations;
  std::uint32_t State = 0;
  std::vector<std::unique_ptr<T3D_Mesh>> Meshes;
  std::vector<std::unique_ptr<T3D_Sprite>> Sprites;
  std::vector<std::unique_ptr<T3D_Font>> Fonts;
  TParallelizer Workers;
  std::vector<T3D_Constant> Constants;
  TD3DRef<IDirect3D9R> D3D;
  TD3DRef<IDirect3DDevice9R> Device;
  T3D_Caps Caps;
  bool FullScreen = false;
  TD3DRef<IDirect3DSurface9R> BackBuffer;
  TD3DRef<IDirect3DSurface9R> DepthStencil;
  std::int32_t Width = 0;
  std::int32_t Height = 0;

 private:
  void ProbeAdapter();
  void LogCaps() const;
};

// The render object that ran Init last; it is not cleared when that object
// is destroyed.
extern T3D_Render* CurrentRender;

// The log label of everything the renderer writes.
inline constexpr const char* kRenderLogLabel = "RENDER";

void VK9_RenderInitialization();
void VK9_RenderFinalization();
inline constexpr TEngineUnit VK9_RenderUnit{"VK9_Render", VK9_RenderInitialization, VK9_RenderFinalization};

// The code passed to the latest CheckD3DResult, success or not.
extern HRESULT_D3D LastD3DResult;
// Failures reported since the latest successful check.
extern std::int32_t D3DFailureCount;

// Remembers `result`; true for D3D_OK and D3DOK_NOAUTOGEN, which also restart
// the failure count. Every other code, success codes included, is a failure.
bool CheckD3DResult(HRESULT_D3D result);

// The operation codes of guarded Direct3D calls, as the failure report
// names them (D3DOperationName).
enum TD3DOperation : std::int32_t {
  opUnknown = 0,
  opPresent = 1,
  opGetRenderTarget = 2,
  opGetDepthStencilSurface = 3,
  opGetRenderTargetData = 4,
  opCreateVertexDeclaration = 5,
  opCreateTexture = 6,
  opCreateDepthStencilSurface = 7,
  opCreateOffscreenPlainSurface = 8,
  opCreatePixelShader = 9,
  opCreateVertexShader = 10,
  opCreateVertexBuffer = 11,
  opCreateIndexBuffer = 12,
  opSetPixelShaderConstantF = 13,
  opSetVertexShaderConstantF = 14,
  opSetVertexShader = 15,
  opSetPixelShader = 16,
  opSetVertexDeclaration = 17,
  opSetRenderTarget = 18,
  opSetDepthStencilSurface = 19,
  opSetStreamSource = 20,
  opSetIndices = 21,
  opTextureGetSurfaceLevel = 22,
  opTextureSetAutoGenFilterType = 23,
  opTextureLockRect = 24,
  opTextureUnlockRect = 25,
  opVertexBufferLock = 26,
  opVertexBufferUnlock = 27,
  opIndexBufferLock = 28,
  opIndexBufferUnlock = 29,
  opDrawIndexedPrimitive = 30,
  opDrawIndexedPrimitiveUP = 31,
};
inline constexpr std::size_t kD3DOperationCount = opDrawIndexedPrimitiveUP + 1;

// Reports the result of the failed check just made, under the name of the
// operation code: a pause of 5 ms, one "RENDER" log line, and on the
// eleventh failure in a row the fatal stop (" -> DIRECT3D ERROR!").
void ReportD3DFailure(std::int32_t operation);

// "D3D.Present" and the others; "Unknown" outside 1 to 31.
std::string D3DOperationName(std::int32_t operation);
// "D3DERR_INVALIDCALL" and the others; "D3DERR_UNKNOWN" for the rest.
std::string D3DResultName(HRESULT_D3D result);
