// TsMemo: a read-only multi-line EDIT. The edit paints its own text in the
// memo's colours (WM_CTLCOLORSTATIC, as a read-only edit asks); its one-pixel
// border is the skin's "EDIT" section.
#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

class MemoPeer final : public ControlPeer {
 public:
  MemoPeer(FormPeer& form, TsMemo& memo) : ControlPeer(form, memo), memo_(memo) {}
  ~MemoPeer() override {
    DestroyWindows();
    if (brush_) DeleteObject(brush_);
  }

  void Create(HWND parent) override {
    const DWORD style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | CommonStyle();
    CreateWindowFor("EDIT", style, 0, parent, memo_.ControlId(), memo_.Bounds(), memo_.Text());
  }

  void Apply(TChange change) override {
    switch (change) {
      case TChange::Caption:
        break;  // a memo shows its lines
      case TChange::Lines:
        SetWindowTextA(Handle(), memo_.Text().c_str());
        break;
      case TChange::Color:
        if (brush_) DeleteObject(brush_);
        brush_ = nullptr;
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case TChange::Font:
        // The font's colour is the text's: repaint even when only it changed.
        ControlPeer::Apply(change);
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      default:
        ControlPeer::Apply(change);
        break;
    }
  }

  HBRUSH CtlColor(WindowInfo&, HDC dc) override {
    const COLORREF back = Form().Resolve(memo_.Color());
    if (!brush_) brush_ = CreateSolidBrush(back);
    SetBkColor(dc, back);
    SetTextColor(dc, Form().Resolve(memo_.Font().Color));
    return brush_;
  }

 protected:
  bool Skinned() const override { return false; }
  bool HotTracked() const override { return true; }

  LRESULT WindowProc(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_NCPAINT: {
        const LRESULT result = Default(info, message, wParam, lParam);
        PaintBorder(info);
        return result;
      }
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
      case WM_ENABLE:
      case WM_MOUSELEAVE:
      case WM_MOUSEMOVE: {
        const bool hotChanged = (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) && TrackHot(info, message);
        const LRESULT result = Default(info, message, wParam, lParam);
        if (message != WM_MOUSEMOVE || hotChanged) PaintBorder(info);
        return result;
      }
      default:
        return ControlPeer::WindowProc(info, message, wParam, lParam);
    }
  }

 private:
  void PaintBorder(const WindowInfo& info) {
    const HWND window = info.Handle;
    if (!window || !IsWindow(window)) return;
    skinpaint::ControlState state;
    state.Enabled = Form().EffectivelyEnabled(window);
    state.Hot = info.Hot;
    state.Focused = GetFocus() == window;
    const TSkinSection& section = Form().Skin().Section("EDIT");
    COLORREF color = skinpaint::Body(section, state).Border;
    if (state.Enabled && state.Focused) color = section.State(TSkinState::Focused).Border;
    RECT frame;
    GetWindowRect(window, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    HDC dc = GetWindowDC(window);
    skinpaint::Frame(dc, frame, color, 0);
    ReleaseDC(window, dc);
  }

  TsMemo& memo_;
  HBRUSH brush_ = nullptr;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeMemoPeer(FormPeer& form, TsMemo& control) {
  return std::make_unique<MemoPeer>(form, control);
}

}  // namespace win32
