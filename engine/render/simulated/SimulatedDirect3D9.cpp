#include "SimulatedDirect3D9.h"

using namespace d3d9;

namespace simulated_d3d {
namespace {

Script g_script;
Record g_record;

template <class Interface>
class Object : public Interface {
 public:
  explicit Object(std::string name) : name_(std::move(name)) { ++g_record.liveObjects; }
  void Release() override {
    g_record.calls.push_back("Release " + name_);
    --g_record.liveObjects;
    delete this;
  }

 protected:
  virtual ~Object() = default;

 private:
  std::string name_;
};

// Fails while the call's failures last, else makes the object.
template <class Interface>
HRESULT_D3D Hand(Failures& failures, const char* name, Interface** out) {
  *out = nullptr;
  if (failures.times > 0) {
    --failures.times;
    return failures.code;
  }
  *out = new Object<Interface>(name);
  return D3D_OK;
}

class Device final : public Object<IDirect3DDevice9R> {
 public:
  Device() : Object("device") {}
  HRESULT_D3D GetRenderTarget(std::uint32_t index, IDirect3DSurface9R** surface) override {
    g_record.calls.push_back("GetRenderTarget(" + std::to_string(index) + ")");
    return Hand(g_script.getRenderTarget, "back buffer", surface);
  }
  HRESULT_D3D GetDepthStencilSurface(IDirect3DSurface9R** surface) override {
    g_record.calls.push_back("GetDepthStencilSurface");
    return Hand(g_script.getDepthStencilSurface, "depth stencil", surface);
  }
  HRESULT_D3D SetRenderState(std::uint32_t state, std::uint32_t value) override {
    g_record.calls.push_back("SetRenderState");
    g_record.renderStates.emplace_back(state, value);
    return D3D_OK;
  }
  HRESULT_D3D CreateVertexDeclaration(const TD3DVertexElement9* elements,
                                      IDirect3DVertexDeclaration9R** declaration) override {
    g_record.calls.push_back("CreateVertexDeclaration");
    const HRESULT_D3D result = Hand(g_script.createVertexDeclaration, "declaration", declaration);
    if (result == D3D_OK) {
      std::vector<TD3DVertexElement9> list;
      for (; elements->Stream != 0xFF; ++elements) list.push_back(*elements);
      g_record.declarations.push_back(list);
    }
    return result;
  }
  std::uint32_t GetAvailableTextureMem() override {
    g_record.calls.push_back("GetAvailableTextureMem");
    return g_script.textureMemory;
  }
};

class Direct3D final : public Object<IDirect3D9R> {
 public:
  Direct3D() : Object("Direct3D") {}
  HRESULT_D3D GetAdapterDisplayMode(std::uint32_t, TD3DDisplayMode& mode) override {
    g_record.calls.push_back("GetAdapterDisplayMode");
    mode = g_script.displayMode;
    return D3D_OK;
  }
  HRESULT_D3D GetDeviceCaps(std::uint32_t, std::uint32_t, TD3DDeviceCaps& caps) override {
    g_record.calls.push_back("GetDeviceCaps");
    caps.VertexShaderVersion = g_script.vertexShaderVersion;
    caps.PixelShaderVersion = g_script.pixelShaderVersion;
    caps.MaxAnisotropy = g_script.maxAnisotropy;
    return D3D_OK;
  }
  HRESULT_D3D CheckDeviceMultiSampleType(std::uint32_t, std::uint32_t, std::uint32_t surfaceFormat, bool windowed,
                                         std::uint32_t samples, std::uint32_t* qualityLevels) override {
    g_record.calls.push_back("CheckDeviceMultiSampleType(" + std::to_string(samples) + ")");
    const auto found = g_script.multisample.find(samples);
    if (surfaceFormat != D3DFMT_X8R8G8B8 || !windowed || found == g_script.multisample.end()) {
      return D3DERR_NOTAVAILABLE;
    }
    if (qualityLevels) *qualityLevels = found->second;
    return D3D_OK;
  }
  HRESULT_D3D CheckDeviceFormat(std::uint32_t, std::uint32_t, std::uint32_t adapterFormat, std::uint32_t usage,
                                std::uint32_t resourceType, std::uint32_t format) override {
    g_record.calls.push_back("CheckDeviceFormat(" + std::to_string(usage) + "," + std::to_string(resourceType) +
                             "," + std::to_string(format) + ")");
    const std::set<std::uint32_t>& supported = usage == D3DUSAGE_RENDERTARGET ? g_script.renderTargetFormats
                                               : resourceType == D3DRTYPE_SURFACE ? g_script.surfaceFormats
                                                                                  : g_script.textureFormats;
    return adapterFormat == D3DFMT_X8R8G8B8 && supported.count(format) ? D3D_OK : D3DERR_NOTAVAILABLE;
  }
  HRESULT_D3D CreateDevice(std::uint32_t, std::uint32_t, void* focusWindow, std::uint32_t behaviourFlags,
                           TD3DPresentParameters& parameters, IDirect3DDevice9R** device) override {
    g_record.calls.push_back("CreateDevice");
    g_record.focusWindow = focusWindow;
    g_record.behaviourFlags = behaviourFlags;
    g_record.presentParameters = parameters;
    *device = g_script.createDevice == D3D_OK ? new Device : nullptr;
    return g_script.createDevice;
  }
};

}  // namespace

Script& CurrentScript() { return g_script; }
Record& CurrentRecord() { return g_record; }
void Reset() {
  g_script = Script{};
  g_record = Record{};
}

}  // namespace simulated_d3d

IDirect3D9R* Direct3DCreate9R(std::uint32_t sdkVersion) {
  using namespace simulated_d3d;
  g_record.calls.push_back("Direct3DCreate9(" + std::to_string(sdkVersion) + ")");
  return g_script.available ? new Direct3D : nullptr;
}
