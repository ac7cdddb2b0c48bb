// What every control's peer shares: its subclassed windows, its font, the
// common changes and the repaint over the standard control's own drawing.
#include "Win32Peer.h"

#include <map>
#include <string>
#include <tuple>

#include "FontMatch.h"
#include "SkinPaint.h"

namespace win32 {

ControlPeer::~ControlPeer() { DestroyWindows(); }

// Subclassed by replacing the window procedure, with the window's record in
// its user data (which the standard controls leave to the program). The
// common controls' subclassing would do the same, but loading comctl32.dll
// alone costs about 25 ms of start-up under Wine.
LRESULT CALLBACK ControlPeer::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DispatchScope scope;
  auto* info = reinterpret_cast<WindowInfo*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    const WNDPROC original = info->Original;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    info->Peer->Form().Unregister(window);
    info->Handle = nullptr;
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
  return info->Peer->WindowProc(*info, message, wParam, lParam);
}

LRESULT ControlPeer::Default(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(info.Original, info.Handle, message, wParam, lParam);
}

// The messages after which a standard BUTTON has drawn itself, outside
// WM_PAINT, and must be painted over from the skin.
bool ControlPeer::RedrawsItself(UINT message) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_CLICK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_STYLECHANGED:
      return true;
    default:
      return false;
  }
}

LRESULT ControlPeer::WindowProc(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = info.Handle;
  switch (message) {
    // A container's children report to it; the form answers for them all.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      if (form_.Handle()) return SendMessageA(form_.Handle(), message, wParam, lParam);
      break;
    case WM_ERASEBKGND:
      if (Skinned()) return 1;
      break;
    case WM_PAINT:
      if (Skinned()) {
        skinpaint::BufferedPaint paint(window);
        Paint(info, paint.Dc(), paint.Client());
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
      if (HotTracked() && TrackHot(info, message)) {
        const LRESULT result = Default(info, message, wParam, lParam);
        if (IsWindow(window)) Repaint(window);
        return result;
      }
      break;
    default:
      break;
  }
  const LRESULT result = Default(info, message, wParam, lParam);
  if (Skinned() && RedrawsItself(message) && IsWindow(window)) Repaint(window);
  return result;
}

WindowInfo& ControlPeer::CreateWindowFor(const char* className, DWORD style, DWORD exStyle, HWND parent, int id,
                                         const TRect& bounds, const std::string& text, int item) {
  HWND window = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | style, bounds.Left, bounds.Top, bounds.Width,
                                bounds.Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  auto info = std::make_unique<WindowInfo>();
  info->Peer = this;
  info->Handle = window;
  info->Item = item;
  WindowInfo& result = *info;
  windows_.push_back(std::move(info));
  if (!window) return result;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&result));
  result.Original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlPeer::SubclassProc)));
  form_.Register(result);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  return result;
}

DWORD ControlPeer::CommonStyle() const {
  DWORD style = 0;
  if (control_.Visible()) style |= WS_VISIBLE;
  if (!control_.Enabled()) style |= WS_DISABLED;
  if (control_.TabOrder() >= 0) style |= WS_TABSTOP;
  return style;
}

DWORD ControlPeer::UntabbedStyle() const { return CommonStyle() & ~static_cast<DWORD>(WS_TABSTOP); }

void ControlPeer::DestroyWindow(WindowInfo& info) {
  // WM_NCDESTROY unregisters the window and clears its handle.
  if (info.Handle && IsWindow(info.Handle)) ::DestroyWindow(info.Handle);
}

void ControlPeer::DestroyWindows() {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(**it);
  windows_.clear();
}

void ControlPeer::RemoveWindows(std::size_t from) {
  while (windows_.size() > from) {
    DestroyWindow(*windows_.back());
    windows_.pop_back();
  }
}

namespace {

// The window uses a handful of fonts; each is made once and kept until the
// process ends, since matching a face costs several GDI calls per control.
HFONT SharedFont(const TFont& font) {
  static std::map<std::tuple<std::string, int, bool>, HFONT> fonts;
  HFONT& shared = fonts[{font.Name, font.Height, font.Bold}];
  if (!shared) shared = MatchFont(font);
  return shared;
}

}  // namespace

HFONT ControlPeer::Font() {
  if (!font_) font_ = SharedFont(control_.Font());
  return font_;
}

void ControlPeer::ApplyFont() {
  font_ = nullptr;
  for (const auto& info : windows_) {
    if (info->Handle) SendMessageA(info->Handle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
  }
}

void ControlPeer::Repaint(HWND window) {
  // Nothing of a hidden window is on the screen to correct, and it is painted
  // whole when it shows; skipping it spares the window's creation a server
  // round trip for each message that would repaint it.
  if (!IsWindowVisible(window)) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE | RDW_NOCHILDREN);
}

bool ControlPeer::TrackHot(WindowInfo& info, UINT message) {
  if (message == WM_MOUSELEAVE) {
    if (!info.Hot) return false;
    info.Hot = false;
    return true;
  }
  if (info.Hot) return false;
  info.Hot = true;
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, info.Handle, 0};
  TrackMouseEvent(&track);
  return true;
}

void ControlPeer::PaintBackground(HDC dc, const RECT& client) { skinpaint::FillSolid(dc, client, form_.Resolve(clBtnFace)); }

void ControlPeer::Apply(TChange change) {
  const HWND window = Handle();
  if (!window) return;
  switch (change) {
    case TChange::Caption:
      SetWindowTextA(window, control_.Caption().c_str());
      break;
    case TChange::Enabled:
      EnableWindow(window, control_.Enabled());
      // Children draw themselves disabled with their container.
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      break;
    case TChange::Visible:
      ShowWindow(window, control_.Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
      break;
    case TChange::Bounds: {
      const TRect& b = control_.Bounds();
      SetWindowPos(window, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case TChange::Font:
      ApplyFont();
      break;
    default:
      break;
  }
}

}  // namespace win32
