// Guarded Direct3D calls: the check, the count, the log line, the stop.
#include <gtest/gtest.h>

#include <cstdio>

#include "EngineFixture.h"
#include "VK9_Render.h"

namespace {

constexpr HRESULT_D3D kInvalidCall = static_cast<HRESULT_D3D>(0x8876086Cu);

class D3DFailureTest : public test::EngineTest {
 protected:
  D3DFailureTest() {
    LastD3DResult = 0;
    D3DFailureCount = 0;
  }
  // The log's lines after start-up.
  std::vector<std::string> Reports() {
    std::vector<std::string> lines = LogLines();
    return std::vector<std::string>(lines.begin() + 2, lines.end());
  }
};

TEST(D3DNames, OperationsAndResults) {
  const std::pair<std::int32_t, const char*> operations[] = {
      {0, "Unknown"}, {1, "D3D.Present"}, {2, "D3D.GetRenderTarget"}, {3, "D3D.GetDepthStencilSurface"},
      {5, "D3D.CreateVertexDeclaration"}, {22, "Texture.GetSurfaceLevel"}, {31, "D3D.DrawIndexedPrimitiveUP"},
      {32, "Unknown"}, {-1, "Unknown"}};
  for (const auto& [code, name] : operations) EXPECT_EQ(D3DOperationName(code), name) << code;
  const std::pair<std::uint32_t, const char*> results[] = {
      {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"}, {0x8876086C, "D3DERR_INVALIDCALL"}, {0x8876086D, "D3DERR_DRIVERINVALIDCALL"},
      {0x88760868, "D3DERR_DEVICELOST"},       {0x8007000E, "D3DERR_UNKNOWN"},     {0, "D3DERR_UNKNOWN"}};
  for (const auto& [code, name] : results) EXPECT_EQ(D3DResultName(static_cast<HRESULT_D3D>(code)), name) << std::hex << code;
}

TEST_F(D3DFailureTest, OnlyOkAndNoAutogenAreSuccesses) {
  D3DFailureCount = 4;
  EXPECT_FALSE(CheckD3DResult(1));
  EXPECT_EQ(LastD3DResult, 1);
  EXPECT_EQ(D3DFailureCount, 4);  // a failed check counts nothing
  EXPECT_TRUE(CheckD3DResult(0x0876086F));
  EXPECT_EQ(D3DFailureCount, 0);
  EXPECT_FALSE(CheckD3DResult(kInvalidCall));
  EXPECT_TRUE(CheckD3DResult(0));
  EXPECT_EQ(LastD3DResult, 0);
}

TEST_F(D3DFailureTest, EachReportWritesOneRenderLine) {
  StartEngine(1000);
  SetClock(1120);
  CheckD3DResult(kInvalidCall);
  ReportD3DFailure(2);
  CheckD3DResult(static_cast<HRESULT_D3D>(0x8007000Eu));
  ReportD3DFailure(-1);
  EXPECT_EQ(Reports(), (std::vector<std::string>{" 0: 0:  120   0.120  RENDER D3D.GetRenderTarget = D3DERR_INVALIDCALL",
                                                  " 0: 0:  120\t     RENDER Unknown = D3DERR_UNKNOWN"}));
  EXPECT_EQ(D3DFailureCount, 2);
}

TEST_F(D3DFailureTest, ASuccessRestartsTheCount) {
  StartEngine();
  for (int i = 0; i < 9; ++i) {
    CheckD3DResult(kInvalidCall);
    ReportD3DFailure(3);
  }
  CheckD3DResult(d3d9::D3D_OK);
  for (int i = 0; i < 10; ++i) {
    CheckD3DResult(kInvalidCall);
    ReportD3DFailure(5);
  }
  EXPECT_EQ(D3DFailureCount, 10);
  EXPECT_EQ(Reports().size(), 19u);
}

void FailElevenTimes() {
  StartUnits(&VK9_SystemUnit, 1);
  EngineErrors = "\n\rearlier";
  for (int i = 0; i < 11; ++i) {
    CheckD3DResult(kInvalidCall);
    ReportD3DFailure(5);
    std::fprintf(stderr, "report %d\n", i + 1);
  }
  std::_Exit(4);
}

TEST_F(D3DFailureTest, TheEleventhFailureInARowStopsTheProgram) {
  platform::ScopedOverrides box({.messageBox = [](const std::string& text, const std::string&, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }});
  EXPECT_EXIT(FailElevenTimes(), ::testing::ExitedWithCode(0),
              "report 10\nERRORS:\n\rearlier\n\rD3D.CreateVertexDeclaration: D3DERR_INVALIDCALL -> DIRECT3D ERROR!\n$");
  // The fatal report is in the log too, before the errors.
  const std::string log = ChildLog();
  std::size_t count = 0;
  for (std::size_t at = log.find("RENDER D3D.CreateVertexDeclaration = D3DERR_INVALIDCALL"); at != std::string::npos;
       at = log.find("RENDER D3D.CreateVertexDeclaration = D3DERR_INVALIDCALL", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, 11u);
  EXPECT_NE(log.find("ERRORS: \n\rearlier\n\rD3D.CreateVertexDeclaration: D3DERR_INVALIDCALL -> DIRECT3D ERROR!"),
            std::string::npos);
}

}  // namespace
