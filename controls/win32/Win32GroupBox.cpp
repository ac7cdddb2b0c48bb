// TsGroupBox: a BUTTON with BS_GROUPBOX, painted from the skin's "GROUPBOX"
// section as a panel with its caption at the top. Its controls are child
// windows; WS_EX_CONTROLPARENT lets the dialog manager tab into them.
#include "FitText.h"
#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

void GroupPeer::Create(HWND parent) {
  const TControl& control = Control();
  // A container, not a stop of its own: its children are the tab stops.
  const DWORD style = BS_GROUPBOX | WS_CLIPCHILDREN | UntabbedStyle();
  CreateWindowFor("BUTTON", style, WS_EX_CONTROLPARENT, parent, control.ControlId(), control.Bounds(), control.Caption());
}

void GroupPeer::PaintBackground(HDC dc, const RECT& client) {
  const HWND window = Handle();
  Form().PaintParentBackground(window, dc);
  skinpaint::ControlState state;
  state.Enabled = Form().EffectivelyEnabled(window);
  const TSkinSection& section = Form().Skin().Section("GROUPBOX");
  skinpaint::Panel(dc, client, skinpaint::Body(section, state), section.Radius);
}

void GroupPeer::Paint(WindowInfo& info, HDC dc, const RECT& client) {
  PaintBackground(dc, client);
  skinpaint::ControlState state;
  state.Enabled = Form().EffectivelyEnabled(info.Handle);
  const TSkinSection& section = Form().Skin().Section("GROUPBOX");
  const std::wstring caption = skinpaint::WindowText(info.Handle);
  RECT text{client.left + 7, client.top + 2, client.right - 7, client.top + 2};
  const HFONT font = FittingFont(dc, Font(), caption, text.right - text.left);
  text.bottom += skinpaint::TextSize(dc, caption, font).cy;
  skinpaint::Text(dc, caption, text, skinpaint::Body(section, state).Text, font,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
}

namespace {

class GroupBoxPeer final : public GroupPeer {
 public:
  using GroupPeer::GroupPeer;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeGroupBoxPeer(FormPeer& form, TsGroupBox& control) {
  return std::make_unique<GroupBoxPeer>(form, control);
}

}  // namespace win32
