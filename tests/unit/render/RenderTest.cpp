// The render object on the simulated adapter: the probe and its capability
// block, the device made for a window, and what destruction releases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <thread>

#include "EngineFixture.h"
#include "SimulatedDirect3D9.h"
#include "VK9_Render.h"

namespace {

using namespace d3d9;
namespace sim = simulated_d3d;

class RenderTest : public test::EngineTest {
 protected:
  RenderTest() {
    sim::Reset();
    LastD3DResult = 0;
    D3DFailureCount = 0;
    StartEngine();
  }
  ~RenderTest() override { sim::Reset(); }

  // The texts the renderer logged: continuation lines as they stand, the
  // time-stamped ones from their label on.
  std::vector<std::string> Logged() {
    std::vector<std::string> texts;
    const std::vector<std::string> lines = LogLines();
    for (auto line = lines.begin() + 2; line != lines.end(); ++line) {
      const std::size_t label = line->find("RENDER ");
      if (line->rfind("\t\t     ", 0) == 0) {
        texts.push_back(line->substr(7));
      } else if (label != std::string::npos) {
        texts.push_back(line->substr(label));
      } else {
        texts.push_back("?" + *line);
      }
    }
    return texts;
  }

  sim::Script& script_ = sim::CurrentScript();
  sim::Record& record_ = sim::CurrentRecord();
};

TEST_F(RenderTest, CreateProbesTheAdapterAndLogsTheBlockAfterwards) {
  script_.surfaceFormats = {MakeFourCC('A', '2', 'M', '1')};
  script_.maxAnisotropy = 8;
  script_.multisample = {{2, 3}, {4, 2}, {6, 1}};
  {
    T3D_Render render;
    EXPECT_EQ(render.Width, 1920);
    EXPECT_EQ(render.Height, 1080);
    EXPECT_EQ(render.Caps.MaxSamples, 6);
    EXPECT_EQ(render.Caps.MaxSampleQuality, 1);
    EXPECT_TRUE(render.Caps.RT_A16B16G16R16F && render.Caps.RT_R32F && render.Caps.A2M1 && !render.Caps.ATOC);
  }
  EXPECT_EQ(Logged(), (std::vector<std::string>{"RENDER Render.Create",
                                                "Shaders supported:",
                                                " + Vertex 3.0",
                                                " + Pixel 3.0",
                                                "Max anisotropy: 8",
                                                "Max multisample samples: 6",
                                                "Max multisample quality: 1",
                                                "Supported render-target formats:",
                                                " + A16B16G16R16F",
                                                " + R32F",
                                                "Supported compressed texture formats:",
                                                " + DXT1",
                                                " + DXT5",
                                                "Supported alpha-test filtering:",
                                                " + A2M1"}));
  // The sample counts from 16 down to the first that passes, then the
  // formats in their order.
  const std::vector<std::string> expected = {
      "Direct3DCreate9(2147483680)", "GetAdapterDisplayMode", "GetDeviceCaps",
      "CheckDeviceMultiSampleType(16)", "CheckDeviceMultiSampleType(15)", "CheckDeviceMultiSampleType(14)",
      "CheckDeviceMultiSampleType(13)", "CheckDeviceMultiSampleType(12)", "CheckDeviceMultiSampleType(11)",
      "CheckDeviceMultiSampleType(10)", "CheckDeviceMultiSampleType(9)", "CheckDeviceMultiSampleType(8)",
      "CheckDeviceMultiSampleType(7)", "CheckDeviceMultiSampleType(6)",
      "CheckDeviceFormat(1,3,34)", "CheckDeviceFormat(1,3,36)", "CheckDeviceFormat(1,3,111)",
      "CheckDeviceFormat(1,3,112)", "CheckDeviceFormat(1,3,113)", "CheckDeviceFormat(1,3,114)",
      "CheckDeviceFormat(1,3,115)", "CheckDeviceFormat(1,3,116)",
      "CheckDeviceFormat(0,3," + std::to_string(MakeFourCC('D', 'X', 'T', '1')) + ")",
      "CheckDeviceFormat(0,3," + std::to_string(MakeFourCC('D', 'X', 'T', '3')) + ")",
      "CheckDeviceFormat(0,3," + std::to_string(MakeFourCC('D', 'X', 'T', '5')) + ")",
      "CheckDeviceFormat(0,1," + std::to_string(MakeFourCC('A', 'T', 'O', 'C')) + ")",
      "CheckDeviceFormat(0,1," + std::to_string(MakeFourCC('A', '2', 'M', '1')) + ")",
      "Release Direct3D"};
  EXPECT_EQ(record_.calls, expected);
  EXPECT_EQ(record_.liveObjects, 0);
}

TEST_F(RenderTest, OnlyTheExactShaderTokensCount) {
  struct Case {
    std::uint32_t vertex, pixel;
    std::vector<std::string> lines;  // between "Shaders supported:" and "Max anisotropy"
    std::int32_t vertexValue, pixelValue;
  };
  const Case cases[] = {
      {D3DVSVersion(1, 1), D3DPSVersion(1, 4), {" + Pixel 1.4"}, 0, 14},
      {D3DVSVersion(1, 0), D3DPSVersion(2, 0), {" + Vertex 1.0", " + Pixel 2.0"}, 10, 20},
      {D3DVSVersion(2, 0), D3DPSVersion(1, 1), {" + Vertex 2.0", " + Pixel 1.1"}, 20, 11},
      {D3DVSVersion(4, 0), D3DPSVersion(4, 0), {" + Vertex 4.0", " + Pixel 4.0"}, 40, 40},
      {D3DVSVersion(2, 1), D3DPSVersion(2, 1), {}, 0, 0},
      {0, 0, {}, 0, 0},
  };
  for (const Case& c : cases) {
    script_.vertexShaderVersion = c.vertex;
    script_.pixelShaderVersion = c.pixel;
    const std::size_t before = Logged().size();
    T3D_Render render;
    EXPECT_EQ(render.Caps.VertexShaderVersion, c.vertexValue) << std::hex << c.vertex;
    EXPECT_EQ(render.Caps.PixelShaderVersion, c.pixelValue) << std::hex << c.pixel;
    const std::vector<std::string> logged = Logged();
    EXPECT_EQ(logged[before + 1], "Shaders supported:");
    const auto first = logged.begin() + static_cast<std::ptrdiff_t>(before + 2);
    EXPECT_EQ(std::vector<std::string>(first, first + static_cast<std::ptrdiff_t>(c.lines.size())), c.lines);
    EXPECT_EQ(logged[before + 2 + c.lines.size()].rfind("Max anisotropy: ", 0), 0u);
  }
}

TEST_F(RenderTest, NothingSupportedLeavesTheHeadingsAndZeros) {
  script_.multisample.clear();
  script_.renderTargetFormats.clear();
  script_.textureFormats.clear();
  T3D_Render render;
  EXPECT_EQ(render.Caps.MaxSamples, 0);
  EXPECT_EQ(render.Caps.MaxSampleQuality, 0);
  const std::vector<std::string> logged = Logged();
  EXPECT_EQ(std::vector<std::string>(logged.end() - 5, logged.end()),
            (std::vector<std::string>{"Max multisample samples: 0", "Max multisample quality: 0",
                                      "Supported render-target formats:", "Supported compressed texture formats:",
                                      "Supported alpha-test filtering:"}));
}

TEST_F(RenderTest, NoDirect3DRaisesBeforeAnyProbe) {
  script_.available = false;
  EXPECT_THROW(T3D_Render(), EEngineError);
  EXPECT_EQ(record_.calls, std::vector<std::string>{"Direct3DCreate9(2147483680)"});
  EXPECT_TRUE(Logged().empty());
}

// The bytes a vertex of each declaration takes, from its last element.
std::uint32_t VertexSize(const std::vector<TD3DVertexElement9>& elements) {
  const std::map<std::uint8_t, std::uint32_t> typeSize = {
      {D3DDECLTYPE_FLOAT2, 8},  {D3DDECLTYPE_FLOAT3, 12},  {D3DDECLTYPE_FLOAT4, 16},  {D3DDECLTYPE_D3DCOLOR, 4},
      {D3DDECLTYPE_UBYTE4, 4},  {D3DDECLTYPE_UBYTE4N, 4},  {D3DDECLTYPE_SHORT2N, 4},  {D3DDECLTYPE_SHORT4N, 8}};
  std::uint32_t end = 0;
  for (const TD3DVertexElement9& element : elements) {
    EXPECT_EQ(element.Offset, end) << "elements are packed in order";
    EXPECT_EQ(element.Stream, 0);
    EXPECT_EQ(element.Method, D3DDECLMETHOD_DEFAULT);
    EXPECT_EQ(element.UsageIndex, 0);
    end = element.Offset + typeSize.at(element.Type);
  }
  return end;
}

TEST_F(RenderTest, InitMakesAWindowedDeviceWithItsSurfacesStatesAndDeclarations) {
  void* const window = reinterpret_cast<void*>(0x4711);
  T3D_Render render;
  render.Init(window, 1280, 1024, false, D3DPRESENT_INTERVAL_ONE, D3DMULTISAMPLE_NONE, D3DFMT_D24S8);

  EXPECT_EQ(Logged().back(), "RENDER Render.Init(1280,1024)");
  EXPECT_EQ(record_.focusWindow, window);
  EXPECT_EQ(record_.behaviourFlags, 0x44u);
  const TD3DPresentParameters& p = record_.presentParameters;
  EXPECT_EQ(p.BackBufferWidth, 1280u);
  EXPECT_EQ(p.BackBufferHeight, 1024u);
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_UNKNOWN);
  EXPECT_EQ(p.BackBufferCount, 1u);
  EXPECT_EQ(p.MultiSampleType, 0u);
  EXPECT_EQ(p.MultiSampleQuality, 0u);
  EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(p.hDeviceWindow, window);
  EXPECT_EQ(p.Windowed, 1);
  EXPECT_EQ(p.EnableAutoDepthStencil, 1);
  EXPECT_EQ(p.AutoDepthStencilFormat, 75u);
  EXPECT_EQ(p.Flags, 0u);
  EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(p.PresentationInterval, 1u);

  EXPECT_TRUE(render.Device && render.BackBuffer && render.DepthStencil);
  EXPECT_EQ(record_.renderStates, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{7, 1}, {9, 2}}));
  ASSERT_EQ(record_.declarations.size(), kMeshKindCount);
  const std::uint32_t sizes[kMeshKindCount] = {16, 24, 32, 36, 40, 28, 24, 32, 28};
  for (std::size_t kind = 0; kind < kMeshKindCount; ++kind) {
    EXPECT_EQ(VertexSize(record_.declarations[kind]), sizes[kind]) << MeshKindNames[kind];
    EXPECT_TRUE(render.VertexDeclarations[kind]) << kind;
  }
  EXPECT_EQ(record_.declarations[5][0].Usage, D3DDECLUSAGE_POSITIONT);
  EXPECT_EQ(record_.declarations[4][5].Usage, D3DDECLUSAGE_BLENDINDICES);
  EXPECT_EQ(record_.declarations[4][5].Type, D3DDECLTYPE_UBYTE4);

  // Init's size replaces the desktop's that Create stored.
  EXPECT_EQ(render.Width, 1280);
  EXPECT_EQ(render.Height, 1024);
  EXPECT_FALSE(render.FullScreen);
  EXPECT_EQ(CurrentRender, &render);
  const auto processors = static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
  EXPECT_EQ(render.Workers.WorkerCount, std::max(2, processors));
}

TEST_F(RenderTest, FullScreenSwapEffectFollowsMultisampling) {
  struct Case {
    std::uint32_t multiSample, swapEffect;
  };
  for (const Case c : {Case{0, D3DSWAPEFFECT_FLIP}, Case{4, D3DSWAPEFFECT_DISCARD}}) {
    T3D_Render render;
    render.Init(nullptr, 800, 600, true, 0, c.multiSample, D3DFMT_D24S8);
    const TD3DPresentParameters& p = record_.presentParameters;
    EXPECT_EQ(p.SwapEffect, c.swapEffect) << c.multiSample;
    EXPECT_EQ(p.MultiSampleType, c.multiSample);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_EQ(p.Windowed, 0);
    EXPECT_TRUE(render.FullScreen);
  }
}

TEST_F(RenderTest, InitFailuresLeaveAnObjectThatCanBeDestroyed) {
  {
    T3D_Render render;
    EXPECT_THROW(render.Init(nullptr, -1, 768, false, 1, 0, D3DFMT_D24S8), ERangeError);
    EXPECT_EQ(Logged().back(), "RENDER Render.Init(-1,768)");
    EXPECT_EQ(std::count(record_.calls.begin(), record_.calls.end(), "CreateDevice"), 0);
  }
  {
    script_.createDevice = D3DERR_NOTAVAILABLE;
    T3D_Render render;
    EXPECT_THROW(render.Init(nullptr, 1024, 768, false, 1, 0, D3DFMT_D24S8), EEngineError);
    EXPECT_EQ(Logged().back(), "RENDER Render.Init(1024,768)");
    EXPECT_FALSE(render.Device);
    EXPECT_EQ(render.Width, 1920);  // still the desktop's
  }
  EXPECT_EQ(record_.liveObjects, 0);
}

TEST_F(RenderTest, DestructionReleasesEverythingInitMade) {
  {
    T3D_Render render;
    render.Init(nullptr, 1024, 768, false, 1, 0, D3DFMT_D24S8);
    EXPECT_EQ(record_.liveObjects, 1 + 1 + 2 + 9);  // Direct3D, device, two surfaces, declarations
  }
  EXPECT_EQ(record_.liveObjects, 0);
}

TEST_F(RenderTest, GuardedCallsRetryAndReportEachFailure) {
  script_.getRenderTarget = {9, D3DERR_INVALIDCALL};
  script_.getDepthStencilSurface = {10, D3DERR_OUTOFVIDEOMEMORY};
  script_.createVertexDeclaration = {3, D3DERR_INVALIDCALL};
  T3D_Render render;
  render.Init(nullptr, 1024, 768, false, 1, 0, D3DFMT_D24S8);
  const std::vector<std::string> logged = Logged();
  const auto count = [&](const char* text) { return std::count(logged.begin(), logged.end(), text); };
  EXPECT_EQ(count("RENDER D3D.GetRenderTarget = D3DERR_INVALIDCALL"), 9);
  EXPECT_EQ(count("RENDER D3D.GetDepthStencilSurface = D3DERR_OUTOFVIDEOMEMORY"), 10);
  EXPECT_EQ(count("RENDER D3D.CreateVertexDeclaration = D3DERR_INVALIDCALL"), 3);
  EXPECT_TRUE(render.BackBuffer && render.DepthStencil);
  EXPECT_EQ(record_.declarations.size(), kMeshKindCount);
  EXPECT_EQ(D3DFailureCount, 0);
}

void InitWithElevenFailures() {
  StartUnits(&VK9_SystemUnit, 1);
  sim::CurrentScript().getDepthStencilSurface = {11, D3DERR_INVALIDCALL};
  T3D_Render render;
  render.Init(nullptr, 1024, 768, false, 1, 0, D3DFMT_D24S8);
  std::_Exit(4);
}

TEST_F(RenderTest, TheEleventhGuardedFailureStopsTheProgram) {
  platform::ScopedOverrides box({.messageBox = [](const std::string& text, const std::string&, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }});
  EXPECT_EXIT(InitWithElevenFailures(), ::testing::ExitedWithCode(0),
              "ERRORS:\n\rD3D.GetDepthStencilSurface: D3DERR_INVALIDCALL -> DIRECT3D ERROR!\n$");
}

TEST_F(RenderTest, UnitStartAndEndLines) {
  CurrentRender = reinterpret_cast<T3D_Render*>(this);
  VK9_RenderInitialization();
  EXPECT_EQ(CurrentRender, nullptr);
  VK9_RenderFinalization();
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines[lines.size() - 2].find("VK9_Render.Initialization"), std::string::npos);
  EXPECT_NE(lines.back().find("VK9_Render.Finalization"), std::string::npos);
}

}  // namespace
