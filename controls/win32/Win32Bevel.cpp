// TsBevel: a STATIC drawn as an etched line from the skin's "DEFAULT"
// section: Normal.Border the shadow, Normal.Top the light edge.
#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

class BevelPeer final : public ControlPeer {
 public:
  BevelPeer(FormPeer& form, TsBevel& bevel) : ControlPeer(form, bevel), bevel_(bevel) {}

  void Create(HWND parent) override {
    CreateWindowFor("STATIC", SS_LEFT | UntabbedStyle(), 0, parent, bevel_.ControlId(), bevel_.Bounds(),
                    bevel_.Caption());
  }

 protected:
  void Paint(WindowInfo& info, HDC dc, const RECT& client) override {
    Form().PaintParentBackground(info.Handle, dc);
    const TSkinColors& colors = Form().Skin().Section("DEFAULT").State(TSkinState::Normal);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width >= height) {  // a horizontal line: shadow above, light below
      const int middle = client.top + height / 2;
      skinpaint::FillSolid(dc, RECT{client.left, middle - 1, client.right, middle}, colors.Border);
      skinpaint::FillSolid(dc, RECT{client.left, middle, client.right, middle + 1}, colors.Top);
    } else {
      const int middle = client.left + width / 2;
      skinpaint::FillSolid(dc, RECT{middle - 1, client.top, middle, client.bottom}, colors.Border);
      skinpaint::FillSolid(dc, RECT{middle, client.top, middle + 1, client.bottom}, colors.Top);
    }
  }

 private:
  TsBevel& bevel_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeBevelPeer(FormPeer& form, TsBevel& control) {
  return std::make_unique<BevelPeer>(form, control);
}

}  // namespace win32
