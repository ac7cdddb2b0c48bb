// The application window, the message loop and the widget set of Windows.
#include <stdexcept>

#include "Application.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

constexpr const char* kApplicationClass = "OstrelundApplication";
HWND applicationWindow = nullptr;
int dispatchDepth = 0;

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

class Win32WidgetSet final : public TWidgetSet {
 public:
  void Initialize() override {
    if (applicationWindow) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ApplicationProc;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = kApplicationClass;
    RegisterClassA(&windowClass);
    // Never shown: it owns the forms and is the window devices are given.
    applicationWindow = CreateWindowExA(0, kApplicationClass, Application.Title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                        nullptr, Instance(), nullptr);
    if (!applicationWindow) throw std::runtime_error("CreateWindowEx of the application window failed");
  }

  void* ApplicationHandle() override { return applicationWindow; }

  std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) override { return std::make_unique<FormPeer>(form); }

  void Run(TForm& mainForm) override {
    auto* peer = dynamic_cast<FormPeer*>(mainForm.Peer());
    if (!peer || !peer->Handle()) return;
    mainForm.Show();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      // The dialog manager gives Tab, the arrow keys, Enter and Space their
      // meaning among the form's controls.
      const HWND form = peer->Handle();
      if (form && IsDialogMessageA(form, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
};

}  // namespace

void Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    Application.ShowException(error);
  } catch (...) {
    Application.ShowException(std::runtime_error("unknown error"));
  }
}

DispatchScope::DispatchScope() { ++dispatchDepth; }
DispatchScope::~DispatchScope() { --dispatchDepth; }
bool DispatchScope::Active() { return dispatchDepth > 0; }

HWND ApplicationWindow() { return applicationWindow; }

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace win32

TWidgetSet& WidgetSet() {
  static win32::Win32WidgetSet widgetSet;
  return widgetSet;
}
