// TsCheckBox: a BUTTON with BS_AUTOCHECKBOX, painted from the skin's
// "CHECKBOX" section. The standard control keeps its state; the model follows
// it whoever changed it (a click, Space, BM_CLICK, BM_SETCHECK).
#include <algorithm>

#include "FitText.h"
#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

void PaintCheckItem(FormPeer& form, const WindowInfo& info, HDC dc, const RECT& client, const char* sectionName,
                    bool radio, HFONT font) {
  const HWND window = info.Handle;
  const LRESULT buttonState = SendMessageA(window, BM_GETSTATE, 0, 0);
  skinpaint::ControlState state;
  state.Enabled = form.EffectivelyEnabled(window);
  state.Hot = info.Hot;
  state.Pressed = (buttonState & BST_PUSHED) != 0;
  state.Focused = GetFocus() == window;
  state.Checked = (buttonState & BST_CHECKED) != 0;

  const TSkinSection& section = form.Skin().Section(sectionName);
  const TSkinColors& body = skinpaint::Body(section, state);
  form.PaintParentBackground(window, dc);

  // The box and the gap to its caption as the system's own check boxes have
  // them at 96 dots per inch; the caption takes the rest (the Russian
  // "Сглаживание" needs 69 of the anti-aliasing box's 85 pixels).
  constexpr int kBox = 13;
  constexpr int kGap = 3;
  const int top = (client.bottom - client.top - kBox) / 2;
  const RECT box{client.left, top, client.left + kBox, top + kBox};
  if (radio) {
    skinpaint::RadioBox(dc, box, body, state.Checked, skinpaint::MarkColor(section, state));
  } else {
    skinpaint::Panel(dc, box, body, section.Radius);
    if (state.Checked) skinpaint::CheckMark(dc, box, skinpaint::MarkColor(section, state));
  }

  const std::wstring caption = skinpaint::WindowText(window);
  RECT text{box.right + kGap, client.top, client.right, client.bottom};
  const HFONT fitting = FittingFont(dc, font, caption, text.right - text.left);
  const SIZE size = skinpaint::TextSize(dc, caption, fitting);
  skinpaint::Text(dc, caption, text, body.Text, fitting, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (state.Focused) {
    const int textTop = (client.bottom - client.top - size.cy) / 2;
    const RECT mark{text.left - 2, textTop - 1, std::min<LONG>(text.left + size.cx + 2, client.right),
                    std::min<LONG>(textTop + size.cy + 1, client.bottom)};
    skinpaint::FocusMark(dc, mark, section.State(TSkinState::Focused).Mark);
  }
}

namespace {

class CheckBoxPeer final : public ControlPeer {
 public:
  CheckBoxPeer(FormPeer& form, TsCheckBox& check) : ControlPeer(form, check), check_(check) {}

  void Create(HWND parent) override {
    const HWND window = CreateWindowFor("BUTTON", BS_AUTOCHECKBOX | CommonStyle(), 0, parent, check_.ControlId(),
                                        check_.Bounds(), check_.Caption())
                            .Handle;
    FormPeer::UpdateScope scope(Form());
    SendMessageA(window, BM_SETCHECK, check_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  void Apply(TChange change) override {
    if (change != TChange::Checked) return ControlPeer::Apply(change);
    SendMessageA(Handle(), BM_SETCHECK, check_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  void Command(WindowInfo& info, WORD code) override {
    if (code == BN_CLICKED) Follow(info);
  }

 protected:
  bool HotTracked() const override { return true; }

  LRESULT WindowProc(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = ControlPeer::WindowProc(info, message, wParam, lParam);
    // A click checks the box by sending itself BM_SETCHECK; so does anyone else.
    if (message == BM_SETCHECK) Follow(info);
    return result;
  }

  void Paint(WindowInfo& info, HDC dc, const RECT& client) override {
    PaintCheckItem(Form(), info, dc, client, "CHECKBOX", false, Font());
  }

 private:
  // The model takes the window's state, and runs OnClick if it changed.
  void Follow(WindowInfo& info) {
    if (Form().Updating() || !info.Handle) return;
    const bool checked = SendMessageA(info.Handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    Guarded([this, checked] { check_.SetChecked(checked); });
  }

  TsCheckBox& check_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeCheckBoxPeer(FormPeer& form, TsCheckBox& control) {
  return std::make_unique<CheckBoxPeer>(form, control);
}

}  // namespace win32
