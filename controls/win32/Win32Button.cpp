// TsBitBtn: a BUTTON (BS_PUSHBUTTON, BS_DEFPUSHBUTTON for the default one)
// painted from the skin's "BUTTON" section.
#include "FitText.h"
#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

class ButtonPeer final : public ControlPeer {
 public:
  ButtonPeer(FormPeer& form, TsBitBtn& button) : ControlPeer(form, button), button_(button) {}

  void Create(HWND parent) override {
    const DWORD type = button_.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    CreateWindowFor("BUTTON", type | CommonStyle(), 0, parent, button_.ControlId(), button_.Bounds(), button_.Caption());
  }

  void Apply(TChange change) override {
    if (change != TChange::Default) return ControlPeer::Apply(change);
    const HWND form = Form().Handle();
    if (button_.IsDefault()) {
      SendMessageA(form, DM_SETDEFID, static_cast<WPARAM>(button_.ControlId()), 0);
    } else if (LOWORD(SendMessageA(form, DM_GETDEFID, 0, 0)) == button_.ControlId()) {
      SendMessageA(form, DM_SETDEFID, 0, 0);
      SendMessageA(Handle(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
  }

  void Command(WindowInfo&, WORD code) override {
    if (code == BN_CLICKED) Guarded([this] { button_.Click(); });
  }

 protected:
  bool HotTracked() const override { return true; }

  void Paint(WindowInfo& info, HDC dc, const RECT& client) override {
    const HWND window = info.Handle;
    const LRESULT pushState = SendMessageA(window, BM_GETSTATE, 0, 0);
    skinpaint::ControlState state;
    state.Enabled = Form().EffectivelyEnabled(window);
    state.Hot = info.Hot;
    state.Pressed = (pushState & BST_PUSHED) != 0;
    state.Focused = GetFocus() == window;
    state.Default = (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;

    const TSkinSection& section = Form().Skin().Section("BUTTON");
    TSkinColors colors = skinpaint::Body(section, state);
    if (state.Enabled && state.Focused) {
      colors.Border = section.State(TSkinState::Focused).Border;
    } else if (state.Enabled && state.Default) {
      colors.Border = section.State(TSkinState::Checked).Border;
    }
    Form().PaintParentBackground(window, dc);
    skinpaint::Panel(dc, client, colors, section.Radius);

    // The centred caption clears the focus mark, 3 pixels inside each edge.
    constexpr int kFocusInset = 3;
    const std::wstring caption = skinpaint::WindowText(window);
    const int room = client.right - client.left - 2 * kFocusInset;
    RECT text = client;
    if (state.Pressed) OffsetRect(&text, 1, 1);
    skinpaint::Text(dc, caption, text, colors.Text, FittingFont(dc, Font(), caption, room),
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (state.Focused) {
      RECT mark = client;
      InflateRect(&mark, -kFocusInset, -kFocusInset);
      skinpaint::FocusMark(dc, mark, section.State(TSkinState::Focused).Mark);
    }
  }

 private:
  TsBitBtn& button_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeButtonPeer(FormPeer& form, TsBitBtn& control) {
  return std::make_unique<ButtonPeer>(form, control);
}

}  // namespace win32
