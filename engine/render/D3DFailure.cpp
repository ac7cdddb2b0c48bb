// Judging and reporting guarded Direct3D calls.
#include "VK9_Render.h"

#include "Platform.h"
#include "VK9_System.h"

using namespace d3d9;

HRESULT_D3D LastD3DResult = 0;
std::int32_t D3DFailureCount = 0;

namespace {

// Indexed by TD3DOperation.
const char* const kOperations[kD3DOperationCount] = {
    "Unknown",
    "D3D.Present",
    "D3D.GetRenderTarget",
    "D3D.GetDepthStencilSurface",
    "D3D.GetRenderTargetData",
    "D3D.CreateVertexDeclaration",
    "D3D.CreateTexture",
    "D3D.CreateDepthStencilSurface",
    "D3D.CreateOffscreenPlainSurface",
    "D3D.CreatePixelShader",
    "D3D.CreateVertexShader",
    "D3D.CreateVertexBuffer",
    "D3D.CreateIndexBuffer",
    "D3D.SetPixelShaderConstantF",
    "D3D.SetVertexShaderConstantF",
    "D3D.SetVertexShader",
    "D3D.SetPixelShader",
    "D3D.SetVertexDeclaration",
    "D3D.SetRenderTarget",
    "D3D.SetDepthStencilSurface",
    "D3D.SetStreamSource",
    "D3D.SetIndices",
    "Texture.GetSurfaceLevel",
    "Texture.SetAutoGenFilterType",
    "Texture.LockRect",
    "Texture.UnlockRect",
    "VertexBuffer.Lock",
    "VertexBuffer.Unlock",
    "IndexBuffer.Lock",
    "IndexBuffer.Unlock",
    "D3D.DrawIndexedPrimitive",
    "D3D.DrawIndexedPrimitiveUP",
};

struct ResultName {
  std::uint32_t code;
  const char* name;
};
const ResultName kResults[] = {
    {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"},       {0x8876021C, "D3DERR_WASSTILLDRAWING"},
    {0x88760818, "D3DERR_WRONGTEXTUREFORMAT"},     {0x88760819, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
    {0x8876081A, "D3DERR_UNSUPPORTEDCOLORARG"},    {0x8876081B, "D3DERR_UNSUPPORTEDALPHAOPERATION"},
    {0x8876081C, "D3DERR_UNSUPPORTEDALPHAARG"},    {0x8876081D, "D3DERR_TOOMANYOPERATIONS"},
    {0x8876081E, "D3DERR_CONFLICTINGTEXTUREFILTER"}, {0x8876081F, "D3DERR_UNSUPPORTEDFACTORVALUE"},
    {0x88760821, "D3DERR_CONFLICTINGRENDERSTATE"}, {0x88760822, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
    {0x88760826, "D3DERR_CONFLICTINGTEXTUREPALETTE"}, {0x88760827, "D3DERR_DRIVERINTERNALERROR"},
    {0x88760866, "D3DERR_NOTFOUND"},               {0x88760867, "D3DERR_MOREDATA"},
    {0x88760868, "D3DERR_DEVICELOST"},             {0x88760869, "D3DERR_DEVICENOTRESET"},
    {0x8876086A, "D3DERR_NOTAVAILABLE"},           {0x8876086B, "D3DERR_INVALIDDEVICE"},
    {0x8876086C, "D3DERR_INVALIDCALL"},            {0x8876086D, "D3DERR_DRIVERINVALIDCALL"},
};

// More failures in a row than this end the program.
constexpr std::int32_t kFailureLimit = 10;
constexpr std::uint32_t kPauseMs = 5;

}  // namespace

std::string D3DOperationName(std::int32_t operation) {
  const auto index = static_cast<std::uint32_t>(operation);
  return index < kD3DOperationCount ? kOperations[index] : kOperations[opUnknown];
}

std::string D3DResultName(HRESULT_D3D result) {
  for (const ResultName& entry : kResults) {
    if (entry.code == static_cast<std::uint32_t>(result)) return entry.name;
  }
  return "D3DERR_UNKNOWN";
}

bool CheckD3DResult(HRESULT_D3D result) {
  LastD3DResult = result;
  const bool success = result == D3D_OK || result == D3DOK_NOAUTOGEN;
  if (success) D3DFailureCount = 0;
  return success;
}

void ReportD3DFailure(std::int32_t operation) {
  // A short pause gives a busy or resetting device a moment before the retry.
  platform::SleepFor(kPauseMs);
  ++D3DFailureCount;
  const std::string text = D3DOperationName(operation) + " = " + D3DResultName(LastD3DResult);
  WriteLog(kRenderLogLabel, text, lkTimed);
  if (D3DFailureCount > kFailureLimit) {
    FatalStop(D3DOperationName(operation) + ": " + D3DResultName(LastD3DResult) + " -> DIRECT3D ERROR!");
  }
}
