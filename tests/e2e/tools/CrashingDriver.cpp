// A stand-in driver DLL that crashes on purpose, for the launcher's crash
// report under Wine. Built as d3d9.dll, it answers the adapter probe and
// crashes in IDirect3D9::CreateDevice; built as dsound.dll, it crashes in
// DirectSoundCreate. The environment variable CRASHING_DRIVER chooses how:
// "access-violation" (the default), "illegal-instruction", "divide-by-zero",
// "stack-overflow", or "again-while-the-box-shows": an access violation, and
// an illegal instruction on a second thread as soon as the crashed thread
// shows a dialog box (the crash report's). The dsound.dll also knows
// "access-violation-at-release": a device that works, and whose last Release
// (at the sound unit's end, long after the checks) makes the access violation. The first three fault in the
// exported functions CrashSite*, so that a test can tell the offset the
// report must name.
#include <windows.h>

#include <d3d9.h>
#include <dsound.h>

#include <cstdint>
#include <cstring>

// The faulting instruction of each: writing address 0x10 and ud2 at the
// function's first byte; the division after a two-byte xor.
extern "C" __declspec(dllexport) __attribute__((naked)) void CrashSiteAccessViolation() { asm("movl $0, 0x10"); }
extern "C" __declspec(dllexport) __attribute__((naked)) void CrashSiteIllegalInstruction() { asm("ud2"); }
extern "C" __declspec(dllexport) __attribute__((naked)) void CrashSiteDivideByZero() {
  asm("xorl %ecx, %ecx\n\tdivl %ecx");
}

namespace {

// Called through a volatile pointer, so that the recursion stays a call.
void Recurse(unsigned depth);
void (*volatile gRecurse)(unsigned) = Recurse;

void Recurse(unsigned depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(depth);
  gRecurse(depth + 1);
  frame[1] = frame[0];
}

BOOL CALLBACK IsDialogBox(HWND window, LPARAM found) {
  char name[16] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

DWORD WINAPI CrashOnceTheBoxShows(void* crashedThread) {
  for (;;) {
    bool found = false;
    ::EnumThreadWindows(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(crashedThread)), IsDialogBox,
                        reinterpret_cast<LPARAM>(&found));
    if (found) CrashSiteIllegalInstruction();
    ::Sleep(20);
  }
}

[[noreturn]] void Crash() {
  char how[64] = {};
  ::GetEnvironmentVariableA("CRASHING_DRIVER", how, sizeof how);
  if (std::strcmp(how, "illegal-instruction") == 0) {
    CrashSiteIllegalInstruction();
  } else if (std::strcmp(how, "divide-by-zero") == 0) {
    CrashSiteDivideByZero();
  } else if (std::strcmp(how, "stack-overflow") == 0) {
    gRecurse(0);
  } else if (std::strcmp(how, "again-while-the-box-shows") == 0) {
    void* const self = reinterpret_cast<void*>(static_cast<std::uintptr_t>(::GetCurrentThreadId()));
    ::CreateThread(nullptr, 0, CrashOnceTheBoxShows, self, 0, nullptr);
    CrashSiteAccessViolation();
  } else {
    CrashSiteAccessViolation();
  }
  ::ExitProcess(99);  // not reached: each of them faults
}

// Reference counting for the stand-in's objects; `last` runs when the count
// drops to none.
template <class Interface>
class Counted : public Interface {
 public:
  HRESULT WINAPI QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG WINAPI AddRef() override { return ++references_; }
  ULONG WINAPI Release() override {
    const ULONG left = --references_;
    if (left == 0) Last();
    return left;
  }

 protected:
  virtual ~Counted() = default;
  virtual void Last() { delete this; }

 private:
  ULONG references_ = 1;
};

#ifdef CRASH_IN_DSOUND
bool CrashesAtRelease() {
  char how[64] = {};
  ::GetEnvironmentVariableA("CRASHING_DRIVER", how, sizeof how);
  return std::strcmp(how, "access-violation-at-release") == 0;
}

// A primary buffer that takes any format.
class Buffer final : public Counted<IDirectSoundBuffer> {
 public:
  HRESULT WINAPI GetCaps(LPDSBCAPS) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI GetCurrentPosition(LPDWORD, LPDWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI GetVolume(LPLONG) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI GetPan(LPLONG) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI GetFrequency(LPDWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI GetStatus(LPDWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return DSERR_ALREADYINITIALIZED; }
  HRESULT WINAPI Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI Play(DWORD, DWORD, DWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI SetCurrentPosition(DWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI SetFormat(LPCWAVEFORMATEX) override { return DS_OK; }
  HRESULT WINAPI SetVolume(LONG) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI SetPan(LONG) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI SetFrequency(DWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI Stop() override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI Restore() override { return DSERR_UNSUPPORTED; }
};

// A device that works until its last Release.
class Device final : public Counted<IDirectSound> {
 public:
  HRESULT WINAPI CreateSoundBuffer(LPCDSBUFFERDESC, LPLPDIRECTSOUNDBUFFER buffer, IUnknown*) override {
    *buffer = new Buffer;
    return DS_OK;
  }
  HRESULT WINAPI GetCaps(LPDSCAPS) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }
  HRESULT WINAPI Compact() override { return DS_OK; }
  HRESULT WINAPI GetSpeakerConfig(LPDWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI SetSpeakerConfig(DWORD) override { return DSERR_UNSUPPORTED; }
  HRESULT WINAPI Initialize(LPCGUID) override { return DSERR_ALREADYINITIALIZED; }

 private:
  void Last() override { CrashSiteAccessViolation(); }
};
#endif

#ifdef CRASH_IN_D3D9
// Enough of an adapter for the renderer's probe, which runs before the device.
class Adapter final : public Counted<IDirect3D9> {
 public:
  HRESULT WINAPI RegisterSoftwareDevice(void*) override { return D3DERR_NOTAVAILABLE; }
  UINT WINAPI GetAdapterCount() override { return 1; }
  HRESULT WINAPI GetAdapterIdentifier(UINT, DWORD, D3DADAPTER_IDENTIFIER9*) override { return D3DERR_NOTAVAILABLE; }
  UINT WINAPI GetAdapterModeCount(UINT, D3DFORMAT) override { return 0; }
  HRESULT WINAPI EnumAdapterModes(UINT, D3DFORMAT, UINT, D3DDISPLAYMODE*) override { return D3DERR_NOTAVAILABLE; }
  HRESULT WINAPI GetAdapterDisplayMode(UINT, D3DDISPLAYMODE* mode) override {
    *mode = D3DDISPLAYMODE{1280, 1024, 60, D3DFMT_X8R8G8B8};
    return D3D_OK;
  }
  HRESULT WINAPI CheckDeviceType(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, BOOL) override { return D3DERR_NOTAVAILABLE; }
  HRESULT WINAPI CheckDeviceFormat(UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT) override {
    return D3DERR_NOTAVAILABLE;
  }
  HRESULT WINAPI CheckDeviceMultiSampleType(UINT, D3DDEVTYPE, D3DFORMAT, BOOL, D3DMULTISAMPLE_TYPE, DWORD*) override {
    return D3DERR_NOTAVAILABLE;
  }
  HRESULT WINAPI CheckDepthStencilMatch(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT) override {
    return D3DERR_NOTAVAILABLE;
  }
  HRESULT WINAPI CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) override {
    return D3DERR_NOTAVAILABLE;
  }
  HRESULT WINAPI GetDeviceCaps(UINT, D3DDEVTYPE, D3DCAPS9* caps) override {
    std::memset(caps, 0, sizeof *caps);
    return D3D_OK;
  }
  HMONITOR WINAPI GetAdapterMonitor(UINT) override { return nullptr; }
  HRESULT WINAPI CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*, IDirect3DDevice9**) override {
    Crash();
  }
};
#endif

}  // namespace

#ifdef CRASH_IN_D3D9
extern "C" __declspec(dllexport) IDirect3D9* WINAPI Direct3DCreate9(UINT) { return new Adapter; }
#endif

#ifdef CRASH_IN_DSOUND
extern "C" __declspec(dllexport) HRESULT WINAPI DirectSoundCreate(LPCGUID, LPDIRECTSOUND* device, LPUNKNOWN) {
  if (!CrashesAtRelease()) Crash();
  *device = new Device;
  return DS_OK;
}
#endif
