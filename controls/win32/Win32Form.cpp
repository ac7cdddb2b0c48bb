// The form's window: a dialog-class window (DefDlgProc gives it the default
// button and keyboard navigation) holding one child window per control.
#include <algorithm>
#include <climits>

#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

// Destroys a form closed from inside a window procedure once the procedures
// on the stack have returned.
constexpr UINT kDestroyMessage = WM_APP + 1;

constexpr DWORD kFormStyle = WS_CAPTION | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

// For a form without a skin manager: plain light colours.
constexpr char kFallbackSkin[] =
    "[Skin]\nName=Plain\nFace=240,240,240\n"
    "[DEFAULT]\nNormal.Top=252,252,252\nNormal.Bottom=225,225,225\nNormal.Border=150,150,150\n"
    "Normal.Text=0,0,0\nNormal.Mark=0,0,0\nDisabled.Text=150,150,150\n";

FormPeer* mainPeer = nullptr;

std::unique_ptr<ControlPeer> MakePeer(FormPeer& form, TControl& control) {
  if (auto* c = dynamic_cast<TsBitBtn*>(&control)) return MakeButtonPeer(form, *c);
  if (auto* c = dynamic_cast<TsCheckBox*>(&control)) return MakeCheckBoxPeer(form, *c);
  if (auto* c = dynamic_cast<TsRadioGroup*>(&control)) return MakeRadioGroupPeer(form, *c);
  if (auto* c = dynamic_cast<TsGroupBox*>(&control)) return MakeGroupBoxPeer(form, *c);
  if (auto* c = dynamic_cast<TsMemo*>(&control)) return MakeMemoPeer(form, *c);
  if (auto* c = dynamic_cast<TsBevel*>(&control)) return MakeBevelPeer(form, *c);
  if (auto* c = dynamic_cast<TImage*>(&control)) return MakeImagePeer(form, *c);
  return nullptr;
}

}  // namespace

FormPeer::FormPeer(TForm& form) : form_(form) {
  if (!mainPeer) mainPeer = this;
  for (const auto& component : form_.Components()) {
    if (auto* manager = dynamic_cast<TsSkinManager*>(component.get())) skin_ = manager->Active();
  }
  if (!skin_) {
    fallbackSkin_ = std::make_unique<TSkin>(
        ParseSkin(reinterpret_cast<const std::uint8_t*>(kFallbackSkin), sizeof kFallbackSkin - 1));
    skin_ = fallbackSkin_.get();
  }
  faceBrush_ = CreateSolidBrush(Resolve(form_.Color()));

  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFormClass;
    RegisterClassA(&windowClass);
    registered = true;
  }
  // Made in its place at once: every later move of a top-level window is a
  // round trip to the X server under Wine.
  const RECT frame = Frame(true);
  window_ = CreateWindowExA(kFormExStyle, kFormClass, form_.Caption().c_str(), kFormStyle, frame.left, frame.top,
                            frame.right - frame.left, frame.bottom - frame.top, ApplicationWindow(), nullptr, Instance(),
                            this);
  if (!window_) return;
  CreateChildren(nullptr, window_);
  for (const auto& peer : controls_) {
    auto* button = dynamic_cast<TsBitBtn*>(&peer->Control());
    if (button && button->IsDefault()) SendMessageA(window_, DM_SETDEFID, static_cast<WPARAM>(button->ControlId()), 0);
  }
  if (form_.Visible()) FormChanged();
}

FormPeer::~FormPeer() {
  if (window_) ::DestroyWindow(window_);
  controls_.clear();
  if (faceBrush_) DeleteObject(faceBrush_);
  if (mainPeer == this) mainPeer = nullptr;
}

void FormPeer::CreateChildren(const TControl* parent, HWND parentWindow) {
  std::vector<TControl*> children;
  for (const auto& component : form_.Components()) {
    auto* control = dynamic_cast<TControl*>(component.get());
    if (control && control->Parent() == parent) children.push_back(control);
  }
  // The dialog manager tabs in z-order, and a new child window goes to the
  // bottom of its siblings: creating them by TabOrder stacks them so.
  std::stable_sort(children.begin(), children.end(), [](const TControl* a, const TControl* b) {
    return (a->TabOrder() < 0 ? INT_MAX : a->TabOrder()) < (b->TabOrder() < 0 ? INT_MAX : b->TabOrder());
  });
  for (TControl* control : children) {
    std::unique_ptr<ControlPeer> peer = MakePeer(*this, *control);
    if (!peer) continue;
    ControlPeer& created = *peer;
    controls_.push_back(std::move(peer));
    byControl_[control] = &created;
    created.Create(parentWindow);
    if (created.Handle()) CreateChildren(control, created.Handle());
  }
}

LRESULT CALLBACK FormPeer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DispatchScope scope;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* peer = reinterpret_cast<FormPeer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!peer) return DefDlgProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    peer->window_ = nullptr;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return DefDlgProcA(window, message, wParam, lParam);
  }
  if (!peer->window_) peer->window_ = window;  // messages before CreateWindowEx returns
  return peer->Handle(message, wParam, lParam);
}

LRESULT FormPeer::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      // A control's notification; IDOK and IDCANCEL (Enter without a default
      // button, Escape) come without one and mean nothing here.
      WindowInfo* info = Find(reinterpret_cast<HWND>(lParam));
      if (info && GetDlgCtrlID(info->Handle) == LOWORD(wParam)) info->Peer->Command(*info, HIWORD(wParam));
      return 0;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORDLG: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      if (WindowInfo* info = Find(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = info->Peer->CtlColor(*info, dc)) return reinterpret_cast<LRESULT>(brush);
      }
      SetBkColor(dc, Resolve(form_.Color()));
      SetTextColor(dc, skin_->Section("DEFAULT").State(TSkinState::Normal).Text);
      return reinterpret_cast<LRESULT>(faceBrush_);
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, faceBrush_);
      return 1;
    }
    case WM_CLOSE:
      Guarded([this] { form_.Close(); });
      return 0;
    case kDestroyMessage:
      FinishClose();
      return 0;
    default:
      return DefDlgProcA(window_, message, wParam, lParam);
  }
}

void FormPeer::ControlChanged(TControl& control, TChange change) {
  if (!window_) return;
  ControlPeer* peer = PeerOf(&control);
  if (!peer) return;
  UpdateScope scope(*this);
  peer->Apply(change);
}

// The window's frame for the form's client size: centred on the screen, or
// where the window stands now.
RECT FormPeer::Frame(bool recentre) const {
  RECT frame{0, 0, form_.ClientWidth(), form_.ClientHeight()};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT place{(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
  RECT now;
  if (!recentre && window_ && GetWindowRect(window_, &now)) place = POINT{now.left, now.top};
  return RECT{place.x, place.y, place.x + width, place.y + height};
}

void FormPeer::ApplyBounds(bool recentre) {
  const RECT frame = Frame(recentre);
  RECT now;
  if (GetWindowRect(window_, &now) && EqualRect(&now, &frame)) return;
  SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPeer::FormChanged() {
  if (!window_ || closing_) return;
  if (skinpaint::WindowText(window_) != skinpaint::Wide(form_.Caption())) SetWindowTextA(window_, form_.Caption().c_str());
  // Centred on the screen until first shown; then the player's place stays.
  ApplyBounds(!shown_);
  const bool visible = IsWindowVisible(window_) != FALSE;
  if (form_.Visible() && !visible) {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    if (!shown_) {
      if (HWND first = FirstFocus()) SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    }
    shown_ = true;
  } else if (!form_.Visible() && visible) {
    ShowWindow(window_, SW_HIDE);
  }
}

void FormPeer::Close() {
  if (!window_ || closing_) return;
  closing_ = true;
  ShowWindow(window_, SW_HIDE);
  if (DispatchScope::Active()) {
    PostMessageA(window_, kDestroyMessage, 0, 0);
  } else {
    FinishClose();
  }
}

void FormPeer::FinishClose() {
  if (window_) ::DestroyWindow(window_);
  if (mainPeer == this) PostQuitMessage(0);
}

WindowInfo* FormPeer::Find(HWND window) const {
  const auto found = byWindow_.find(window);
  return found == byWindow_.end() ? nullptr : found->second;
}

void FormPeer::Register(WindowInfo& info) { byWindow_[info.Handle] = &info; }

void FormPeer::Unregister(HWND window) { byWindow_.erase(window); }

ControlPeer* FormPeer::PeerOf(const TControl* control) const {
  const auto found = byControl_.find(control);
  return found == byControl_.end() ? nullptr : found->second;
}

COLORREF FormPeer::Resolve(TColor color) const {
  if (color == clBtnFace) return skin_->Face;  // the skin's button face
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

void FormPeer::PaintParentBackground(HWND child, HDC dc) {
  const HWND parent = GetParent(child);
  RECT client;
  GetClientRect(child, &client);
  WindowInfo* info = parent == window_ ? nullptr : Find(parent);
  if (!info) {
    skinpaint::FillSolid(dc, client, Resolve(form_.Color()));
    return;
  }
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  RECT parentClient;
  GetClientRect(parent, &parentClient);
  info->Peer->PaintBackground(dc, parentClient);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

bool FormPeer::EffectivelyEnabled(HWND window) const {
  for (HWND h = window; h && h != window_; h = GetParent(h)) {
    if (!IsWindowEnabled(h)) return false;
  }
  return true;
}

HWND FormPeer::FirstFocus() const {
  // A radio group's tab stop is its checked item (see Win32RadioGroup.cpp).
  return GetNextDlgTabItem(window_, nullptr, FALSE);
}

}  // namespace win32
