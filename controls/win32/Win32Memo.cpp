// TsMemo: a read-only multi-line EDIT. The edit paints its own text in the
// memo's colours (WM_CTLCOLORSTATIC, as a read-only edit asks); its one-pixel
// border is the skin's "EDIT" section.
#include <algorithm>

#include "FitText.h"
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
    FitLines();
  }

  void Apply(TChange change) override {
    switch (change) {
      case TChange::Caption:
        break;  // a memo shows its lines
      case TChange::Lines:
        SetWindowTextA(Handle(), memo_.Text().c_str());
        FitLines();
        break;
      case TChange::Color:
        if (brush_) DeleteObject(brush_);
        brush_ = nullptr;
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case TChange::Font:
        // The font's colour is the text's: repaint even when only it changed.
        ControlPeer::Apply(change);
        FitLines();
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case TChange::Bounds:
        ControlPeer::Apply(change);
        FitLines();
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
      case WM_GETDLGCODE:
        // Read-only text: Tab moves on, Enter presses the default button, and
        // tabbing in leaves the selection alone.
        return Default(info, message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_HASSETSEL);
      case WM_MOUSELEAVE:
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
      case WM_NCMOUSELEAVE: {
        const bool hotChanged = message == WM_MOUSEMOVE || message == WM_MOUSELEAVE ? TrackHot(info, message) : false;
        const LRESULT result = Default(info, message, wParam, lParam);
        if (message != WM_MOUSEMOVE || hotChanged) PaintFrame(info);
        return result;
      }
      default:
        break;
    }
    const LRESULT result = ControlPeer::WindowProc(info, message, wParam, lParam);
    if (DrawsFrame(message)) PaintFrame(info);
    return result;
  }

 private:
  // Every message in view at once: when the edit wraps its lines, in the
  // face the system gave, into more than it shows, its font goes a size
  // smaller, step by step, to the floor the captions' fitting has
  // (FitText.h); past that the asked size stays and the scroll bar serves.
  void FitLines() {
    const HWND window = Handle();
    if (!window) return;
    HFONT fitting = LargestFitting(Font(), [window](HFONT font) { return LinesInView(window, font); });
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(fitting), TRUE);
  }

  // Whether the edit shows every line of its text in that font: the lines as
  // it wraps them (a last empty line after the final line break aside)
  // against the lines its formatting rectangle holds.
  static bool LinesInView(HWND window, HFONT font) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    LRESULT lines = SendMessageA(window, EM_GETLINECOUNT, 0, 0);
    const int length = GetWindowTextLengthA(window);
    if (lines > 1 && SendMessageA(window, EM_LINEINDEX, static_cast<WPARAM>(lines - 1), 0) == length) --lines;
    RECT format{};
    SendMessageA(window, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmHeight > 0 && lines <= (format.bottom - format.top) / metrics.tmHeight;
  }

  // After these the edit has drawn its frame or scroll bar itself.
  static bool DrawsFrame(UINT message) {
    switch (message) {
      case WM_NCPAINT:
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
      case WM_ENABLE:
      case WM_SETTEXT:
      case WM_SIZE:
      case WM_VSCROLL:
      case WM_MOUSEWHEEL:
      case WM_KEYDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONUP:
      case WM_NCLBUTTONDBLCLK:
      case WM_LBUTTONUP:
      case WM_CAPTURECHANGED:
      case EM_SCROLL:
      case EM_LINESCROLL:
      case EM_SCROLLCARET:
      case EM_SETSEL:
      case EM_REPLACESEL:
        return true;
      default:
        return false;
    }
  }

  // The border, and the vertical scroll bar over the standard one: track,
  // arrow buttons and thumb from the "EDIT" and "BUTTON" sections.
  void PaintFrame(const WindowInfo& info) {
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
    PaintScrollBar(window, dc, state.Enabled);
    ReleaseDC(window, dc);
  }

  void PaintScrollBar(HWND window, HDC windowDc, bool enabled) {
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    if (!GetScrollBarInfo(window, OBJID_VSCROLL, &bar)) return;
    if (bar.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return;
    RECT place;
    GetWindowRect(window, &place);
    RECT area = bar.rcScrollBar;
    OffsetRect(&area, -place.left, -place.top);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;

    const skinpaint::MemoryCanvas canvas(windowDc, area.left, area.top, width, height);
    HDC dc = canvas.Dc();
    const TSkinSection& edit = Form().Skin().Section("EDIT");
    const TSkinSection& button = Form().Skin().Section("BUTTON");
    const bool usable = enabled && !(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    const TSkinColors& track = edit.State(usable ? TSkinState::Normal : TSkinState::Disabled);
    skinpaint::FillGradient(dc, RECT{0, 0, width, height}, track.Top, track.Bottom);

    const auto part = [&](RECT rect, DWORD partState, int arrow) {
      skinpaint::ControlState look;
      look.Enabled = usable;
      look.Pressed = (partState & STATE_SYSTEM_PRESSED) != 0;
      const TSkinColors& colors = skinpaint::Body(button, look);
      InflateRect(&rect, -1, -1);
      skinpaint::Panel(dc, rect, colors, button.Radius > 0 ? 2 : 0);
      if (arrow != 0) skinpaint::Arrow(dc, rect, arrow < 0, colors.Text);
    };
    const int buttonSize = std::min(bar.dxyLineButton, height / 2);
    part(RECT{0, 0, width, buttonSize}, bar.rgstate[1], -1);
    part(RECT{0, height - buttonSize, width, height}, bar.rgstate[5], 1);
    if (usable && bar.xyThumbBottom > bar.xyThumbTop) part(RECT{0, bar.xyThumbTop, width, bar.xyThumbBottom}, bar.rgstate[3], 0);
  }

  TsMemo& memo_;
  HBRUSH brush_ = nullptr;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeMemoPeer(FormPeer& form, TsMemo& control) {
  return std::make_unique<MemoPeer>(form, control);
}

}  // namespace win32
