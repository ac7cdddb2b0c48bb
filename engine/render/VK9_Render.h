// VK9_Render: the engine's renderer unit. So far: the judging and reporting
// of guarded Direct3D calls, which are repeated until they succeed.
#pragma once

#include <cstdint>
#include <string>

#include "Direct3D9.h"

// The code passed to the latest CheckD3DResult, success or not.
extern HRESULT_D3D LastD3DResult;
// Failures reported since the latest successful check.
extern std::int32_t D3DFailureCount;

// Remembers `result`; true for D3D_OK and D3DOK_NOAUTOGEN, which also restart
// the failure count. Every other code, success codes included, is a failure.
bool CheckD3DResult(HRESULT_D3D result);

// Reports the result of the failed check just made, under the name of the
// operation code: a pause of 5 ms, one "RENDER" log line, and on the
// eleventh failure in a row the fatal stop (" -> DIRECT3D ERROR!").
void ReportD3DFailure(std::int32_t operation);

// "D3D.Present" and the others; "Unknown" outside 1 to 31.
std::string D3DOperationName(std::int32_t operation);
// "D3DERR_INVALIDCALL" and the others; "D3DERR_UNKNOWN" for the rest.
std::string D3DResultName(HRESULT_D3D result);
