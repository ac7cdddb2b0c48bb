// Direct3D 9 over the real d3d9.dll, loaded when first asked for: a system
// without it (or without Direct3DCreate9) gets no Direct3D object, which the
// renderer reports as "no graphics", instead of a loader error before the
// program runs.
#include "../Direct3D9.h"

#include <windows.h>
#include <d3d9.h>

#include <cstddef>

namespace {

using Direct3DCreate9Proc = IDirect3D9*(WINAPI*)(UINT);

// Wraps one reference to a COM object of the system's Direct3D.
template <class Interface, class Com>
class Wrapper : public Interface {
 public:
  explicit Wrapper(Com* object) : object_(object) {}
  void Release() override {
    object_->Release();
    delete this;
  }

 protected:
  virtual ~Wrapper() = default;
  Com* object_;
};

using Surface = Wrapper<IDirect3DSurface9R, IDirect3DSurface9>;
using VertexDeclaration = Wrapper<IDirect3DVertexDeclaration9R, IDirect3DVertexDeclaration9>;

template <class Wrapped, class Com, class Interface>
HRESULT_D3D Wrap(HRESULT result, Com* object, Interface** out) {
  *out = object ? new Wrapped(object) : nullptr;
  return result;
}

class Device final : public Wrapper<IDirect3DDevice9R, IDirect3DDevice9> {
 public:
  using Wrapper::Wrapper;
  HRESULT_D3D GetRenderTarget(std::uint32_t index, IDirect3DSurface9R** surface) override {
    IDirect3DSurface9* made = nullptr;
    const HRESULT result = object_->GetRenderTarget(index, &made);
    return Wrap<Surface>(result, made, surface);
  }
  HRESULT_D3D GetDepthStencilSurface(IDirect3DSurface9R** surface) override {
    IDirect3DSurface9* made = nullptr;
    const HRESULT result = object_->GetDepthStencilSurface(&made);
    return Wrap<Surface>(result, made, surface);
  }
  HRESULT_D3D SetRenderState(std::uint32_t state, std::uint32_t value) override {
    return object_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value);
  }
  HRESULT_D3D CreateVertexDeclaration(const TD3DVertexElement9* elements,
                                      IDirect3DVertexDeclaration9R** declaration) override {
    // Our element record has the layout of D3DVERTEXELEMENT9, field by field,
    // in the 32-bit and the 64-bit build alike.
    static_assert(sizeof(TD3DVertexElement9) == sizeof(D3DVERTEXELEMENT9));
    static_assert(offsetof(TD3DVertexElement9, Stream) == offsetof(D3DVERTEXELEMENT9, Stream));
    static_assert(offsetof(TD3DVertexElement9, Offset) == offsetof(D3DVERTEXELEMENT9, Offset));
    static_assert(offsetof(TD3DVertexElement9, Type) == offsetof(D3DVERTEXELEMENT9, Type));
    static_assert(offsetof(TD3DVertexElement9, Method) == offsetof(D3DVERTEXELEMENT9, Method));
    static_assert(offsetof(TD3DVertexElement9, Usage) == offsetof(D3DVERTEXELEMENT9, Usage));
    static_assert(offsetof(TD3DVertexElement9, UsageIndex) == offsetof(D3DVERTEXELEMENT9, UsageIndex));
    IDirect3DVertexDeclaration9* made = nullptr;
    const HRESULT result =
        object_->CreateVertexDeclaration(reinterpret_cast<const D3DVERTEXELEMENT9*>(elements), &made);
    return Wrap<VertexDeclaration>(result, made, declaration);
  }
  std::uint32_t GetAvailableTextureMem() override { return object_->GetAvailableTextureMem(); }
};

class Direct3D final : public Wrapper<IDirect3D9R, IDirect3D9> {
 public:
  using Wrapper::Wrapper;
  HRESULT_D3D GetAdapterDisplayMode(std::uint32_t adapter, TD3DDisplayMode& mode) override {
    D3DDISPLAYMODE got{};
    const HRESULT result = object_->GetAdapterDisplayMode(adapter, &got);
    mode = TD3DDisplayMode{got.Width, got.Height, got.RefreshRate, static_cast<std::uint32_t>(got.Format)};
    return result;
  }
  HRESULT_D3D GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, TD3DDeviceCaps& caps) override {
    D3DCAPS9 got{};
    const HRESULT result = object_->GetDeviceCaps(adapter, static_cast<D3DDEVTYPE>(deviceType), &got);
    caps = TD3DDeviceCaps{got.VertexShaderVersion, got.PixelShaderVersion, got.MaxAnisotropy};
    return result;
  }
  HRESULT_D3D CheckDeviceMultiSampleType(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t surfaceFormat,
                                         bool windowed, std::uint32_t samples,
                                         std::uint32_t* qualityLevels) override {
    DWORD quality = 0;
    const HRESULT result = object_->CheckDeviceMultiSampleType(
        adapter, static_cast<D3DDEVTYPE>(deviceType), static_cast<D3DFORMAT>(surfaceFormat), windowed ? TRUE : FALSE,
        static_cast<D3DMULTISAMPLE_TYPE>(samples), &quality);
    if (qualityLevels) *qualityLevels = quality;
    return result;
  }
  HRESULT_D3D CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType, std::uint32_t adapterFormat,
                                std::uint32_t usage, std::uint32_t resourceType, std::uint32_t format) override {
    return object_->CheckDeviceFormat(adapter, static_cast<D3DDEVTYPE>(deviceType),
                                      static_cast<D3DFORMAT>(adapterFormat), usage,
                                      static_cast<D3DRESOURCETYPE>(resourceType), static_cast<D3DFORMAT>(format));
  }
  HRESULT_D3D CreateDevice(std::uint32_t adapter, std::uint32_t deviceType, void* focusWindow,
                           std::uint32_t behaviourFlags, TD3DPresentParameters& parameters,
                           IDirect3DDevice9R** device) override {
    D3DPRESENT_PARAMETERS present{};
    present.BackBufferWidth = parameters.BackBufferWidth;
    present.BackBufferHeight = parameters.BackBufferHeight;
    present.BackBufferFormat = static_cast<D3DFORMAT>(parameters.BackBufferFormat);
    present.BackBufferCount = parameters.BackBufferCount;
    present.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(parameters.MultiSampleType);
    present.MultiSampleQuality = parameters.MultiSampleQuality;
    present.SwapEffect = static_cast<D3DSWAPEFFECT>(parameters.SwapEffect);
    present.hDeviceWindow = static_cast<HWND>(parameters.hDeviceWindow);
    present.Windowed = parameters.Windowed;
    present.EnableAutoDepthStencil = parameters.EnableAutoDepthStencil;
    present.AutoDepthStencilFormat = static_cast<D3DFORMAT>(parameters.AutoDepthStencilFormat);
    present.Flags = parameters.Flags;
    present.FullScreen_RefreshRateInHz = parameters.FullScreen_RefreshRateInHz;
    present.PresentationInterval = parameters.PresentationInterval;
    IDirect3DDevice9* made = nullptr;
    const HRESULT result = object_->CreateDevice(adapter, static_cast<D3DDEVTYPE>(deviceType),
                                                 static_cast<HWND>(focusWindow), behaviourFlags, &present, &made);
    // Direct3D writes back what it chose, such as the back buffer's format.
    parameters.BackBufferWidth = present.BackBufferWidth;
    parameters.BackBufferHeight = present.BackBufferHeight;
    parameters.BackBufferFormat = static_cast<std::uint32_t>(present.BackBufferFormat);
    parameters.BackBufferCount = present.BackBufferCount;
    *device = made ? new Device(made) : nullptr;
    return result;
  }
};

}  // namespace

IDirect3D9R* Direct3DCreate9R(std::uint32_t sdkVersion) {
  static HMODULE library = ::LoadLibraryA("d3d9.dll");
  if (!library) return nullptr;
  const auto create = reinterpret_cast<Direct3DCreate9Proc>(
      reinterpret_cast<void (*)()>(::GetProcAddress(library, "Direct3DCreate9")));
  if (!create) return nullptr;
  IDirect3D9* made = create(sdkVersion);
  return made ? new Direct3D(made) : nullptr;
}
