// startup_bare_probe: the floor of the launcher's start-up benchmark. It makes
// the same DirectSound and Direct3D 9 calls as the launcher's machine checks,
// with a hidden application window, and nothing else; then it shows a small
// window titled "Ostrelund - Startup probe" and runs a message loop until it
// is closed or ended. startup_timer measures how long that window takes to
// show, and the launcher's against it.
//
//   startup_bare_probe            the probe, then the window
//   startup_bare_probe --check    the probe only: prints each call's result
//                                 and when it returned, then exits (0 when
//                                 every call the start-up depends on succeeded)
//
// When a call the start-up depends on fails, the program exits with the
// call's step number (see Step) instead of showing its window, so a timer
// waiting for the window sees the failure at once.
//
// dsound.dll and d3d9.dll are loaded at run time, as the launcher loads them.
//
// Built a second time as startup_probe_engine_calls.exe (PROBE_ENGINE_CALLS),
// it first makes the operating-system calls of the engine's own start-up that
// no device needs: the timer resolution and clock (winmm.dll) and the local
// application-data folder (shell32.dll). What that costs is the part of the
// launcher's start-up that the engine must pay before any window or device.
#include <windows.h>
#include <mmsystem.h>
#ifdef PROBE_ENGINE_CALLS
#include <shlobj.h>
#endif
#include <dsound.h>
#include <d3d9.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr char kCaption[] = "Ostrelund - Startup probe";

// The steps whose failure ends the probe; the value is the exit code.
enum Step : int {
  kDsoundMissing = 10,
  kDirectSoundCreate,
  kSetCooperativeLevel,
  kCreateSoundBuffer,
  kSetFormat,
  kD3d9Missing = 20,
  kDirect3DCreate9,
  kGetAdapterDisplayMode,
  kGetDeviceCaps,
  kCreateDevice,
  kGetRenderTarget,
  kGetDepthStencilSurface,
  kCreateVertexDeclaration,
  kLocalAppDataFolder = 30,  // startup_probe_engine_calls only
};

bool g_check = false;

// Milliseconds since the first call (QueryPerformanceCounter).
double Elapsed() {
  static LARGE_INTEGER frequency{}, start{};
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  if (frequency.QuadPart == 0) {
    ::QueryPerformanceFrequency(&frequency);
    start = now;
  }
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// In --check mode, one line per call: its name, its result and the time
// since the probe began. Nothing is formatted or timed otherwise.
__attribute__((format(printf, 2, 3))) void Report(HRESULT result, const char* format, ...) {
  if (!g_check) return;
  char call[64];
  va_list args;
  va_start(args, format);
  std::vsnprintf(call, sizeof call, format, args);
  va_end(args);
  std::printf("%-40s 0x%08lx %8.1f ms\n", call, static_cast<unsigned long>(result), Elapsed());
}

template <typename Proc>
Proc Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

// --- DirectSound: the device stays until the program ends -------------------

using DirectSoundCreateProc = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

IDirectSound* g_sound = nullptr;
IDirectSoundBuffer* g_primary = nullptr;

int ProbeSound(HWND application) {
  HMODULE library = ::LoadLibraryA("dsound.dll");
  if (!library) return kDsoundMissing;
  const auto create = Lookup<DirectSoundCreateProc>(library, "DirectSoundCreate");
  if (!create) return kDsoundMissing;

  HRESULT result = create(nullptr, &g_sound, nullptr);
  Report(result, "DirectSoundCreate");
  if (FAILED(result) || !g_sound) return kDirectSoundCreate;

  result = g_sound->SetCooperativeLevel(application, DSSCL_PRIORITY);
  Report(result, "SetCooperativeLevel(DSSCL_PRIORITY)");
  if (FAILED(result)) return kSetCooperativeLevel;

  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
  result = g_sound->CreateSoundBuffer(&description, &g_primary, nullptr);
  Report(result, "CreateSoundBuffer(primary)");
  if (FAILED(result) || !g_primary) return kCreateSoundBuffer;

  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  result = g_primary->SetFormat(&format);
  Report(result, "SetFormat(PCM 2ch 44100 Hz 16 bit)");
  if (FAILED(result)) return kSetFormat;
  return 0;
}

void ReleaseSound() {
  if (g_primary) g_primary->Release();
  if (g_sound) g_sound->Release();
  g_primary = nullptr;
  g_sound = nullptr;
}

// --- Direct3D 9: created, asked, released ---------------------------------

using Direct3DCreate9Proc = IDirect3D9*(WINAPI*)(UINT);

constexpr UINT kSdkVersion = 0x80000020;
constexpr DWORD kCreateFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED;  // 0x44

constexpr D3DFORMAT kRenderTargetFormats[] = {
    D3DFMT_G16R16,  D3DFMT_A16B16G16R16, D3DFMT_R16F,    D3DFMT_G16R16F,
    D3DFMT_A16B16G16R16F, D3DFMT_R32F,   D3DFMT_G32R32F, D3DFMT_A32B32G32R32F,
};
constexpr D3DFORMAT kTextureFourCCs[] = {D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5};
constexpr D3DFORMAT kSurfaceFourCCs[] = {
    static_cast<D3DFORMAT>(MAKEFOURCC('A', 'T', 'O', 'C')),
    static_cast<D3DFORMAT>(MAKEFOURCC('A', '2', 'M', '1')),
};

// Nine small vertex layouts.
constexpr D3DVERTEXELEMENT9 kEnd = D3DDECL_END();
constexpr D3DVERTEXELEMENT9 kDeclarations[9][4] = {
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}, kEnd, kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0}, kEnd, kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
     {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
     {0, 16, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
     kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
     {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
     {0, 24, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
     kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0}, {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0}, kEnd, kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT4, 0, D3DDECLUSAGE_POSITIONT, 0},
     {0, 16, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
     {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
     kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, kEnd, kEnd, kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
     {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
     {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 1},
     kEnd},
    {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
     {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
     {0, 24, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
     kEnd},
};

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

struct Direct3D {
  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  IDirect3DSurface9* renderTarget = nullptr;
  IDirect3DSurface9* depthStencil = nullptr;
  IDirect3DVertexDeclaration9* declarations[9] = {};

  ~Direct3D() {
    for (auto*& declaration : declarations) Release(declaration);
    Release(depthStencil);
    Release(renderTarget);
    Release(device);
    Release(d3d);
  }
};

int ProbeDirect3D(HWND application) {
  HMODULE library = ::LoadLibraryA("d3d9.dll");
  if (!library) return kD3d9Missing;
  const auto create = Lookup<Direct3DCreate9Proc>(library, "Direct3DCreate9");
  if (!create) return kD3d9Missing;

  Direct3D objects;
  objects.d3d = create(kSdkVersion);
  Report(objects.d3d ? S_OK : E_FAIL, "Direct3DCreate9");
  if (!objects.d3d) return kDirect3DCreate9;
  IDirect3D9* d3d = objects.d3d;

  D3DDISPLAYMODE mode{};
  HRESULT result = d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
  Report(result, "GetAdapterDisplayMode");
  if (FAILED(result)) return kGetAdapterDisplayMode;

  D3DCAPS9 caps{};
  result = d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
  Report(result, "GetDeviceCaps");
  if (FAILED(result)) return kGetDeviceCaps;

  // The highest multisample count the adapter takes, from 16 down.
  for (int samples = 16; samples >= 1; --samples) {
    DWORD quality = 0;
    result = d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE,
                                             static_cast<D3DMULTISAMPLE_TYPE>(samples), &quality);
    Report(result, "CheckDeviceMultiSampleType(%d)", samples);
    if (result == D3D_OK) break;
  }

  for (const D3DFORMAT format : kRenderTargetFormats) {
    result = d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET,
                                    D3DRTYPE_TEXTURE, format);
    Report(result, "CheckDeviceFormat(render target %d)", static_cast<int>(format));
  }
  for (const D3DFORMAT format : kTextureFourCCs) {
    result = d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, format);
    Report(result, "CheckDeviceFormat(texture %.4s)", reinterpret_cast<const char*>(&format));
  }
  for (const D3DFORMAT format : kSurfaceFourCCs) {
    result = d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_SURFACE, format);
    Report(result, "CheckDeviceFormat(surface %.4s)", reinterpret_cast<const char*>(&format));
  }

  D3DPRESENT_PARAMETERS present{};
  present.BackBufferWidth = static_cast<UINT>(::GetSystemMetrics(SM_CXSCREEN));
  present.BackBufferHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYSCREEN));
  present.BackBufferFormat = D3DFMT_UNKNOWN;
  present.BackBufferCount = 1;
  present.SwapEffect = D3DSWAPEFFECT_DISCARD;
  present.Windowed = TRUE;
  present.EnableAutoDepthStencil = TRUE;
  present.AutoDepthStencilFormat = D3DFMT_D24S8;
  present.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
  result = d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, application, kCreateFlags, &present, &objects.device);
  Report(result, "CreateDevice");
  if (FAILED(result) || !objects.device) return kCreateDevice;
  IDirect3DDevice9* device = objects.device;

  result = device->GetRenderTarget(0, &objects.renderTarget);
  Report(result, "GetRenderTarget(0)");
  if (FAILED(result)) return kGetRenderTarget;
  result = device->GetDepthStencilSurface(&objects.depthStencil);
  Report(result, "GetDepthStencilSurface");
  if (FAILED(result)) return kGetDepthStencilSurface;

  Report(device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE), "SetRenderState(ZENABLE, TRUE)");
  Report(device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD), "SetRenderState(SHADEMODE, GOURAUD)");

  for (int i = 0; i < 9; ++i) {
    result = device->CreateVertexDeclaration(kDeclarations[i], &objects.declarations[i]);
    Report(result, "CreateVertexDeclaration(%d)", i);
    if (FAILED(result)) return kCreateVertexDeclaration;
  }

  const UINT textureMemory = device->GetAvailableTextureMem();
  if (g_check) std::printf("%-40s %4u MB %8.1f ms\n", "GetAvailableTextureMem", textureMemory >> 20, Elapsed());
  return 0;  // ~Direct3D releases the device objects, the device and Direct3D
}

// --- windows ----------------------------------------------------------------

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  g_check = std::strstr(commandLine, "--check") != nullptr;
#ifdef PROBE_ENGINE_CALLS
  ::timeBeginPeriod(1);
  volatile DWORD started = ::timeGetTime();
  (void)started;
  char appData[MAX_PATH];
  if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return kLocalAppDataFolder;
#endif

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "OstrelundStartupProbe";
  if (!::RegisterClassA(&windowClass)) return 2;

  // The hidden application window the devices are given.
  HWND application = ::CreateWindowExA(0, windowClass.lpszClassName, "Ostrelund", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                                       nullptr, nullptr, instance, nullptr);
  if (!application) return 3;

  if (g_check) Elapsed();
  int failed = ProbeSound(application);
  if (failed == 0) {
    failed = ProbeDirect3D(application);
    Report(failed ? E_FAIL : S_OK, "Release(device objects, Direct3D)");
  }
  if (g_check || failed != 0) {
    ReleaseSound();
    if (g_check) std::fflush(stdout);
    return failed;
  }

  HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, kCaption,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
  if (!window) return 4;
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::UpdateWindow(window);

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ::DestroyWindow(application);
  ReleaseSound();
  return 0;
}
