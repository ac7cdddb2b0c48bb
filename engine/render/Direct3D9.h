// The Direct3D 9 declarations the renderer uses: constants, the records it
// fills or reads, and a narrow interface of exactly the operations it calls.
// The Win32 implementation (win32/) goes to the real d3d9.dll; the simulated
// adapter (simulated/) serves the POSIX build and the tests. The "R" suffix
// and the namespace d3d9 keep these names apart from those of the system's
// own d3d9.h, which the Win32 implementation includes beside this header.
#pragma once

#include <cstdint>

using HRESULT_D3D = std::int32_t;

// The layout of D3DVERTEXELEMENT9.
struct TD3DVertexElement9 {
  std::uint16_t Stream;
  std::uint16_t Offset;
  std::uint8_t Type;
  std::uint8_t Method;
  std::uint8_t Usage;
  std::uint8_t UsageIndex;
};
static_assert(sizeof(TD3DVertexElement9) == 8);

namespace d3d9 {

inline constexpr HRESULT_D3D D3D_OK = 0;
inline constexpr HRESULT_D3D D3DOK_NOAUTOGEN = 0x0876086F;
inline constexpr HRESULT_D3D D3DERR_NOTAVAILABLE = static_cast<HRESULT_D3D>(0x8876086Au);
inline constexpr HRESULT_D3D D3DERR_INVALIDCALL = static_cast<HRESULT_D3D>(0x8876086Cu);
inline constexpr HRESULT_D3D D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT_D3D>(0x8876017Cu);

// D3D_SDK_VERSION (32) with the top bit that asks for the debug runtime.
inline constexpr std::uint32_t kD3DSdkVersion = 0x80000020;

inline constexpr std::uint32_t D3DADAPTER_DEFAULT = 0;
inline constexpr std::uint32_t D3DDEVTYPE_HAL = 1;

// D3DFORMAT values.
inline constexpr std::uint32_t D3DFMT_UNKNOWN = 0;
inline constexpr std::uint32_t D3DFMT_A8R8G8B8 = 21;
inline constexpr std::uint32_t D3DFMT_X8R8G8B8 = 22;
inline constexpr std::uint32_t D3DFMT_G16R16 = 34;
inline constexpr std::uint32_t D3DFMT_A16B16G16R16 = 36;
inline constexpr std::uint32_t D3DFMT_D24S8 = 75;
inline constexpr std::uint32_t D3DFMT_R16F = 111;
inline constexpr std::uint32_t D3DFMT_G16R16F = 112;
inline constexpr std::uint32_t D3DFMT_A16B16G16R16F = 113;
inline constexpr std::uint32_t D3DFMT_R32F = 114;
inline constexpr std::uint32_t D3DFMT_G32R32F = 115;
inline constexpr std::uint32_t D3DFMT_A32B32G32R32F = 116;

constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<std::uint8_t>(a) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}
constexpr std::uint32_t D3DVSVersion(std::uint32_t major, std::uint32_t minor) {
  return 0xFFFE0000u | major << 8 | minor;
}
constexpr std::uint32_t D3DPSVersion(std::uint32_t major, std::uint32_t minor) {
  return 0xFFFF0000u | major << 8 | minor;
}

inline constexpr std::uint32_t D3DUSAGE_RENDERTARGET = 1;
inline constexpr std::uint32_t D3DRTYPE_SURFACE = 1;
inline constexpr std::uint32_t D3DRTYPE_TEXTURE = 3;

inline constexpr std::uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
inline constexpr std::uint32_t D3DCREATE_MULTITHREADED = 0x04;

inline constexpr std::uint32_t D3DMULTISAMPLE_NONE = 0;
inline constexpr std::uint32_t D3DSWAPEFFECT_DISCARD = 1;
inline constexpr std::uint32_t D3DSWAPEFFECT_FLIP = 2;
inline constexpr std::uint32_t D3DPRESENT_INTERVAL_ONE = 1;

inline constexpr std::uint32_t D3DRS_ZENABLE = 7;
inline constexpr std::uint32_t D3DRS_SHADEMODE = 9;
inline constexpr std::uint32_t D3DZB_TRUE = 1;
inline constexpr std::uint32_t D3DSHADE_GOURAUD = 2;

// D3DDECLTYPE, D3DDECLUSAGE and D3DDECLMETHOD values.
enum : std::uint8_t {
  D3DDECLTYPE_FLOAT2 = 1,
  D3DDECLTYPE_FLOAT3 = 2,
  D3DDECLTYPE_FLOAT4 = 3,
  D3DDECLTYPE_D3DCOLOR = 4,
  D3DDECLTYPE_UBYTE4 = 5,
  D3DDECLTYPE_UBYTE4N = 8,
  D3DDECLTYPE_SHORT2N = 9,
  D3DDECLTYPE_SHORT4N = 10,
  D3DDECLTYPE_UNUSED = 17,
};
enum : std::uint8_t {
  D3DDECLUSAGE_POSITION = 0,
  D3DDECLUSAGE_BLENDWEIGHT = 1,
  D3DDECLUSAGE_BLENDINDICES = 2,
  D3DDECLUSAGE_NORMAL = 3,
  D3DDECLUSAGE_TEXCOORD = 5,
  D3DDECLUSAGE_TANGENT = 6,
  D3DDECLUSAGE_BINORMAL = 7,
  D3DDECLUSAGE_POSITIONT = 9,
  D3DDECLUSAGE_COLOR = 10,
};
inline constexpr std::uint8_t D3DDECLMETHOD_DEFAULT = 0;

inline constexpr TD3DVertexElement9 D3DDECL_END{0xFF, 0, D3DDECLTYPE_UNUSED, 0, 0, 0};

}  // namespace d3d9

struct TD3DDisplayMode {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint32_t RefreshRate = 0;
  std::uint32_t Format = 0;
};

// The members of D3DCAPS9 that the renderer reads.
struct TD3DDeviceCaps {
  std::uint32_t VertexShaderVersion = 0;
  std::uint32_t PixelShaderVersion = 0;
  std::uint32_t MaxAnisotropy = 0;
};

// The fields of D3DPRESENT_PARAMETERS, in their order.
struct TD3DPresentParameters {
  std::uint32_t BackBufferWidth = 0;
  std::uint32_t BackBufferHeight = 0;
  std::uint32_t BackBufferFormat = 0;
  std::uint32_t BackBufferCount = 0;
  std::uint32_t MultiSampleType = 0;
  std::uint32_t MultiSampleQuality = 0;
  std::uint32_t SwapEffect = 0;
  void* hDeviceWindow = nullptr;
  std::int32_t Windowed = 0;
  std::int32_t EnableAutoDepthStencil = 0;
  std::uint32_t AutoDepthStencilFormat = 0;
  std::uint32_t Flags = 0;
  std::uint32_t FullScreen_RefreshRateInHz = 0;
  std::uint32_t PresentationInterval = 0;
};

// An object the renderer only holds and releases.
class IDirect3DResource9R {
 public:
  virtual void Release() = 0;

 protected:
  ~IDirect3DResource9R() = default;
};

class IDirect3DSurface9R : public IDirect3DResource9R {
 protected:
  ~IDirect3DSurface9R() = default;
};

class IDirect3DVertexDeclaration9R : public IDirect3DResource9R {
 protected:
  ~IDirect3DVertexDeclaration9R() = default;
};

class IDirect3DVertexBuffer9R : public IDirect3DResource9R {
 protected:
  ~IDirect3DVertexBuffer9R() = default;
};

class IDirect3DIndexBuffer9R : public IDirect3DResource9R {
 protected:
  ~IDirect3DIndexBuffer9R() = default;
};

class IDirect3DDevice9R : public IDirect3DResource9R {
 public:
  virtual HRESULT_D3D GetRenderTarget(std::uint32_t index, IDirect3DSurface9R** surface) = 0;
  virtual HRESULT_D3D GetDepthStencilSurface(IDirect3DSurface9R** surface) = 0;
  virtual HRESULT_D3D SetRenderState(std::uint32_t state, std::uint32_t value) = 0;
  // `elements` ends with D3DDECL_END.
  virtual HRESULT_D3D CreateVertexDeclaration(const TD3DVertexElement9* elements,
                                              IDirect3DVertexDeclaration9R** declaration) = 0;
  virtual std::uint32_t GetAvailableTextureMem() = 0;

 protected:
  ~IDirect3DDevice9R() = default;
};

class IDirect3D9R : public IDirect3DResource9R {
 public:
  virtual HRESULT_D3D GetAdapterDisplayMode(std::uint32_t adapter, TD3DDisplayMode& mode) = 0;
  virtual HRESULT_D3D GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, TD3DDeviceCaps& caps) = 0;
  virtual HRESULT_D3D CheckDeviceMultiSampleType(std::uint32_t adapter, std::uint32_t deviceType,
                                                 std::uint32_t surfaceFormat, bool windowed,
                                                 std::uint32_t samples, std::uint32_t* qualityLevels) = 0;
  virtual HRESULT_D3D CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType,
                                        std::uint32_t adapterFormat, std::uint32_t usage,
                                        std::uint32_t resourceType, std::uint32_t format) = 0;
  // `parameters` may be changed by the call, as Direct3D does.
  virtual HRESULT_D3D CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, void* focusWindow,
                                   std::uint32_t behaviourFlags, TD3DPresentParameters& parameters,
                                   IDirect3DDevice9R** device) = 0;

 protected:
  ~IDirect3D9R() = default;
};

// The Direct3D object for `sdkVersion`, or null when there is none (on
// Windows also when d3d9.dll or its Direct3DCreate9 is missing).
IDirect3D9R* Direct3DCreate9R(std::uint32_t sdkVersion);

// Holds one reference to an interface and releases it when emptied or
// destroyed; Receive() empties it for a call that hands out a new one.
template <class T>
class TD3DRef {
 public:
  TD3DRef() = default;
  ~TD3DRef() { Reset(); }
  TD3DRef(const TD3DRef&) = delete;
  TD3DRef& operator=(const TD3DRef&) = delete;

  void Reset() {
    if (object_) object_->Release();
    object_ = nullptr;
  }
  void Attach(T* object) {
    Reset();
    object_ = object;
  }
  T** Receive() {
    Reset();
    return &object_;
  }
  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};
