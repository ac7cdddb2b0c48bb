// TsRadioGroup: a group box holding one BUTTON with BS_AUTORADIOBUTTON per
// item (IDs 101, 102, ...), painted from the "GROUPBOX" and "RADIOBUTTON"
// sections. The items share one group (WS_GROUP on the first); the checked
// one is the group's tab stop, so Tab lands on the selection.
#include "SkinPaint.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

constexpr int kFirstItemId = 101;

class RadioGroupPeer final : public GroupPeer {
 public:
  RadioGroupPeer(FormPeer& form, TsRadioGroup& group) : GroupPeer(form, group), group_(group) {}

  void Create(HWND parent) override {
    GroupPeer::Create(parent);
    CreateItems();
  }

  void Apply(TChange change) override {
    switch (change) {
      case TChange::ItemIndex:
        ShowSelection();
        break;
      case TChange::Items:
        if (Windows().size() != group_.Items().size() + 1) {
          RemoveWindows(1);
          CreateItems();
        } else {
          for (std::size_t i = 0; i < group_.Items().size(); ++i) {
            SetWindowTextA(Windows()[i + 1]->Handle, group_.Items()[i].c_str());
          }
        }
        break;
      case TChange::Font:
      case TChange::Bounds:
        ControlPeer::Apply(change);
        Arrange();
        break;
      default:
        ControlPeer::Apply(change);
        break;
    }
  }

  void Command(WindowInfo& info, WORD code) override {
    if (code == BN_CLICKED && info.Item >= 0) Follow(info);
  }

 protected:
  LRESULT WindowProc(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam) override {
    const LRESULT result = ControlPeer::WindowProc(info, message, wParam, lParam);
    if (message == BM_SETCHECK && info.Item >= 0) Follow(info);
    return result;
  }

  bool HotTracked() const override { return true; }

  void Paint(WindowInfo& info, HDC dc, const RECT& client) override {
    if (info.Item < 0) return GroupPeer::Paint(info, dc, client);
    PaintCheckItem(Form(), info, dc, client, "RADIOBUTTON", true, Font());
  }

 private:
  void CreateItems() {
    const HWND frame = Handle();
    if (!frame) return;
    const DWORD groupStops = group_.TabOrder() >= 0 ? WS_TABSTOP : 0;
    for (std::size_t i = 0; i < group_.Items().size(); ++i) {
      const DWORD style = BS_AUTORADIOBUTTON | WS_VISIBLE | (i == 0 ? WS_GROUP : 0) | groupStops;
      CreateWindowFor("BUTTON", style, 0, frame, kFirstItemId + static_cast<int>(i), TRect{}, group_.Items()[i],
                      static_cast<int>(i));
    }
    Arrange();
    FormPeer::UpdateScope scope(Form());
    ShowSelection();
  }

  // Items share the height below the caption evenly, one column, as wide as
  // the frame lets them be: the longest language name, the Russian
  // "Французский", takes 68 pixels beside its box in the group's 97.
  void Arrange() {
    const std::size_t count = group_.Items().size();
    if (count == 0 || Windows().size() < count + 1) return;
    HDC dc = GetDC(Handle());
    const HGDIOBJ old = SelectObject(dc, Font());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    const TRect& bounds = group_.Bounds();
    const int room = bounds.Height - metrics.tmHeight - 5;
    const int n = static_cast<int>(count);
    const int height = room / n;
    const int top = metrics.tmHeight + 1 + (room % n) / 2;
    for (int i = 0; i < n; ++i) {
      SetWindowPos(Windows()[static_cast<std::size_t>(i) + 1]->Handle, nullptr, 5, top + i * height, bounds.Width - 9,
                   height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  // Checks the model's item, unchecks the rest and moves the tab stop.
  void ShowSelection() {
    const int selected = group_.ItemIndex();
    const int stop = selected >= 0 ? selected : 0;
    for (std::size_t i = 1; i < Windows().size(); ++i) {
      const HWND item = Windows()[i]->Handle;
      const int index = static_cast<int>(i) - 1;
      SendMessageA(item, BM_SETCHECK, index == selected ? BST_CHECKED : BST_UNCHECKED, 0);
      LONG style = GetWindowLongA(item, GWL_STYLE);
      if (group_.TabOrder() >= 0) style = index == stop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
      SetWindowLongA(item, GWL_STYLE, style);
    }
  }

  bool IsChecked(std::size_t window) const {
    return SendMessageA(Windows()[window]->Handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  // The model takes the items' states: a checked item is the selection. An
  // item unchecked while another is checked (an auto radio button unchecks
  // its siblings when clicked) hands the selection over; the selected item
  // unchecked alone leaves none.
  void Follow(WindowInfo& info) {
    if (Form().Updating() || !info.Handle) return;
    int selection = group_.ItemIndex();
    if (IsChecked(static_cast<std::size_t>(info.Item) + 1)) {
      selection = info.Item;
    } else if (selection == info.Item) {
      selection = -1;
      for (std::size_t i = 1; i < Windows().size() && selection < 0; ++i) {
        if (IsChecked(i)) selection = static_cast<int>(i) - 1;
      }
    }
    Guarded([this, selection] { group_.SetItemIndex(selection); });
    // The windows show the model again, and the tab stop follows the selection.
    FormPeer::UpdateScope scope(Form());
    ShowSelection();
  }

  TsRadioGroup& group_;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeRadioGroupPeer(FormPeer& form, TsRadioGroup& control) {
  return std::make_unique<RadioGroupPeer>(form, control);
}

}  // namespace win32
