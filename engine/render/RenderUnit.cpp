// The unit's start and end: the lines that bracket everything the renderer
// logs.
#include "VK9_Render.h"

T3D_Render* CurrentRender = nullptr;

void VK9_RenderInitialization() {
  WriteLog("VK9_Render.Initialization", "", lkTimed);
  CurrentRender = nullptr;
}

void VK9_RenderFinalization() { TryWriteLog("VK9_Render.Finalization", "", lkTimed); }
