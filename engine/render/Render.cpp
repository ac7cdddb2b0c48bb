// The render object: the adapter probe and its capability log, and the
// device made for a window.
#include "RangeCheck.h"
#include "VK9_Render.h"

using namespace d3d9;

namespace {

// The recognised shader versions and the values the probe records for them.
struct ShaderVersion {
  std::uint32_t token;
  std::int32_t value;
};
constexpr ShaderVersion kVertexShaders[] = {
    {D3DVSVersion(1, 0), 10}, {D3DVSVersion(2, 0), 20}, {D3DVSVersion(3, 0), 30}, {D3DVSVersion(4, 0), 40}};
constexpr ShaderVersion kPixelShaders[] = {
    {D3DPSVersion(1, 0), 10}, {D3DPSVersion(1, 1), 11}, {D3DPSVersion(1, 2), 12}, {D3DPSVersion(1, 3), 13},
    {D3DPSVersion(1, 4), 14}, {D3DPSVersion(2, 0), 20}, {D3DPSVersion(3, 0), 30}, {D3DPSVersion(4, 0), 40}};

std::int32_t RecognisedVersion(std::uint32_t token, const ShaderVersion* versions, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (versions[i].token == token) return versions[i].value;
  }
  return 0;
}

// " + Vertex 3.0" for ("Vertex", 30); the recognised versions have one
// digit each.
std::string ShaderLine(const char* kind, std::int32_t value) {
  std::string line = " + ";
  line += kind;
  line += ' ';
  line += static_cast<char>('0' + value / 10);
  line += '.';
  line += static_cast<char>('0' + value % 10);
  return line;
}

struct FormatFlag {
  bool T3D_Caps::*flag;
  std::uint32_t format;
  const char* name;
};
constexpr FormatFlag kRenderTargetFormats[] = {
    {&T3D_Caps::RT_G16R16, D3DFMT_G16R16, "G16R16"},
    {&T3D_Caps::RT_A16B16G16R16, D3DFMT_A16B16G16R16, "A16B16G16R16"},
    {&T3D_Caps::RT_R16F, D3DFMT_R16F, "R16F"},
    {&T3D_Caps::RT_G16R16F, D3DFMT_G16R16F, "G16R16F"},
    {&T3D_Caps::RT_A16B16G16R16F, D3DFMT_A16B16G16R16F, "A16B16G16R16F"},
    {&T3D_Caps::RT_R32F, D3DFMT_R32F, "R32F"},
    {&T3D_Caps::RT_G32R32F, D3DFMT_G32R32F, "G32R32F"},
    {&T3D_Caps::RT_A32B32G32R32F, D3DFMT_A32B32G32R32F, "A32B32G32R32F"},
};
constexpr FormatFlag kCompressedFormats[] = {
    {&T3D_Caps::DXT1, MakeFourCC('D', 'X', 'T', '1'), "DXT1"},
    {&T3D_Caps::DXT3, MakeFourCC('D', 'X', 'T', '3'), "DXT3"},
    {&T3D_Caps::DXT5, MakeFourCC('D', 'X', 'T', '5'), "DXT5"},
};
constexpr FormatFlag kAlphaToCoverageFormats[] = {
    {&T3D_Caps::ATOC, MakeFourCC('A', 'T', 'O', 'C'), "ATOC"},
    {&T3D_Caps::A2M1, MakeFourCC('A', '2', 'M', '1'), "A2M1"},
};

constexpr std::uint32_t kMaxProbedSamples = 16;
constexpr std::uint32_t kBehaviourFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;
constexpr std::int32_t kRequestedWorkers = 2;

// Repeats `call` until it succeeds, reporting each failure; the report
// stops the program on the eleventh failure in a row.
template <class Call>
void GuardedD3DCall(TD3DOperation operation, Call call) {
  while (!CheckD3DResult(call())) ReportD3DFailure(operation);
}

void Log(const std::string& text, TLogKind kind = lkContinued) { WriteLog(kRenderLogLabel, text, kind); }

}  // namespace

T3D_Render::T3D_Render() {
  D3D.Attach(Direct3DCreate9R(kD3DSdkVersion));
  if (!D3D) throw EEngineError("Direct3DCreate9: Direct3D 9 is not available");

  // Failures here leave the cleared values, which is what the probe records.
  TD3DDisplayMode mode;
  D3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, mode);
  Width = RangeChecked<std::int32_t>(mode.Width);
  Height = RangeChecked<std::int32_t>(mode.Height);

  ProbeAdapter();
  LogCaps();
}

void T3D_Render::ProbeAdapter() {
  TD3DDeviceCaps caps;
  D3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, caps);
  Caps.VertexShaderVersion = RecognisedVersion(caps.VertexShaderVersion, kVertexShaders, std::size(kVertexShaders));
  Caps.PixelShaderVersion = RecognisedVersion(caps.PixelShaderVersion, kPixelShaders, std::size(kPixelShaders));
  Caps.MaxAnisotropy = RangeChecked<std::int32_t>(caps.MaxAnisotropy);

  for (std::uint32_t samples = kMaxProbedSamples; samples >= 1; --samples) {
    std::uint32_t quality = 0;
    if (D3D->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, true, samples,
                                        &quality) == D3D_OK) {
      Caps.MaxSamples = static_cast<std::int32_t>(samples);
      Caps.MaxSampleQuality = RangeChecked<std::int32_t>(quality);
      break;
    }
  }

  const auto probe = [this](const FormatFlag& entry, std::uint32_t usage, std::uint32_t resourceType) {
    Caps.*entry.flag = D3D->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, usage,
                                             resourceType, entry.format) == D3D_OK;
  };
  for (const FormatFlag& entry : kRenderTargetFormats) probe(entry, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE);
  for (const FormatFlag& entry : kCompressedFormats) probe(entry, 0, D3DRTYPE_TEXTURE);
  for (const FormatFlag& entry : kAlphaToCoverageFormats) probe(entry, 0, D3DRTYPE_SURFACE);
}

void T3D_Render::LogCaps() const {
  Log("Render.Create", lkTimed);
  Log("Shaders supported:");
  if (Caps.VertexShaderVersion != 0) Log(ShaderLine("Vertex", Caps.VertexShaderVersion));
  if (Caps.PixelShaderVersion != 0) Log(ShaderLine("Pixel", Caps.PixelShaderVersion));
  Log("Max anisotropy: " + std::to_string(Caps.MaxAnisotropy));
  Log("Max multisample samples: " + std::to_string(Caps.MaxSamples));
  Log("Max multisample quality: " + std::to_string(Caps.MaxSampleQuality));
  const auto list = [this](const char* heading, const auto& formats) {
    Log(heading);
    for (const FormatFlag& entry : formats) {
      if (Caps.*entry.flag) Log(std::string(" + ") + entry.name);
    }
  };
  list("Supported render-target formats:", kRenderTargetFormats);
  list("Supported compressed texture formats:", kCompressedFormats);
  list("Supported alpha-test filtering:", kAlphaToCoverageFormats);
}

void T3D_Render::Init(void* window, std::int32_t width, std::int32_t height, bool fullScreen,
                      std::uint32_t presentationInterval, std::uint32_t multiSampleType,
                      std::uint32_t depthStencilFormat) {
  Log("Render.Init(" + std::to_string(width) + "," + std::to_string(height) + ")", lkTimed);

  TD3DPresentParameters parameters;
  parameters.BackBufferWidth = RangeChecked<std::uint32_t>(width);
  parameters.BackBufferHeight = RangeChecked<std::uint32_t>(height);
  parameters.BackBufferFormat = fullScreen ? D3DFMT_A8R8G8B8 : D3DFMT_UNKNOWN;
  parameters.BackBufferCount = 1;
  parameters.MultiSampleType = multiSampleType;
  parameters.MultiSampleQuality = 0;
  // Flipping cannot resolve a multisampled back buffer.
  parameters.SwapEffect =
      fullScreen && multiSampleType == D3DMULTISAMPLE_NONE ? D3DSWAPEFFECT_FLIP : D3DSWAPEFFECT_DISCARD;
  parameters.hDeviceWindow = window;
  parameters.Windowed = fullScreen ? 0 : 1;
  parameters.EnableAutoDepthStencil = 1;
  parameters.AutoDepthStencilFormat = depthStencilFormat;
  parameters.PresentationInterval = presentationInterval;

  const HRESULT_D3D created =
      D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kBehaviourFlags, parameters, Device.Receive());
  if (!Device) throw EEngineError("Render.Init: no Direct3D 9 device (" + D3DResultName(created) + ")");

  GuardedD3DCall(opGetRenderTarget, [this] { return Device->GetRenderTarget(0, BackBuffer.Receive()); });
  GuardedD3DCall(opGetDepthStencilSurface, [this] { return Device->GetDepthStencilSurface(DepthStencil.Receive()); });
  Device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  for (std::size_t kind = 0; kind < kMeshKindCount; ++kind) {
    GuardedD3DCall(opCreateVertexDeclaration, [this, kind] {
      return Device->CreateVertexDeclaration(MeshKindElements(kind), VertexDeclarations[kind].Receive());
    });
  }

  FullScreen = fullScreen;
  Width = width;
  Height = height;
  CurrentRender = this;
  Workers.Setup(kRequestedWorkers);
}
