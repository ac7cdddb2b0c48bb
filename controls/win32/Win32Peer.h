// The Win32 peer: every control is a standard child window (BUTTON, EDIT,
// STATIC) of the form's window, subclassed so that it paints from the skin
// and reports the player's changes to the model. Only this folder sees the
// Windows headers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "Form.h"
#include "Peer.h"
#include "SkinManager.h"

namespace win32 {

// Runs model code (a setter, a handler) from inside a window procedure: an
// exception must not unwind through the system's code, so it ends here in
// the application's error box.
void Guarded(const std::function<void()>& action);

// Counts the window procedures of ours on the stack, so that a form closed
// from a handler is destroyed only once they have all returned.
class DispatchScope {
 public:
  DispatchScope();
  ~DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
  static bool Active();
};

class FormPeer;
class ControlPeer;

// One window of a control; a radio group has one for its frame and one per item.
struct WindowInfo {
  ControlPeer* Peer = nullptr;
  HWND Handle = nullptr;
  int Item = -1;  // the radio item's index, -1 for the control's own window
  bool Hot = false;
  WNDPROC Original = nullptr;  // the standard control's own window procedure
};

class ControlPeer {
 public:
  ControlPeer(FormPeer& form, TControl& control) : form_(form), control_(control) {}
  virtual ~ControlPeer();
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  TControl& Control() const { return control_; }
  FormPeer& Form() const { return form_; }
  HWND Handle() const { return windows_.empty() ? nullptr : windows_.front()->Handle; }
  const std::vector<std::unique_ptr<WindowInfo>>& Windows() const { return windows_; }

  // Creates the window(s) from the model's state.
  virtual void Create(HWND parent) = 0;
  // Brings the windows up to date with the model.
  virtual void Apply(TChange change);
  // A WM_COMMAND notification from one of the control's windows.
  virtual void Command(WindowInfo&, WORD) {}
  // WM_CTLCOLOR* for one of its windows; null for the form's default.
  virtual HBRUSH CtlColor(WindowInfo&, HDC) { return nullptr; }
  // Paints what the control's children show through (a group's panel).
  virtual void PaintBackground(HDC dc, const RECT& client);

 protected:
  // The subclass: forwards a container's notifications to the form, paints
  // skinned windows, tracks the mouse, repaints after the standard drawing.
  virtual LRESULT WindowProc(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(WindowInfo& info, UINT message, WPARAM wParam, LPARAM lParam);
  // Whether WM_PAINT is the skin's (else the standard control paints).
  virtual bool Skinned() const { return true; }
  virtual bool HotTracked() const { return false; }
  virtual void Paint(WindowInfo&, HDC, const RECT&) {}
  static bool RedrawsItself(UINT message);

  // Creates a subclassed child window of the control.
  WindowInfo& CreateWindowFor(const char* className, DWORD style, DWORD exStyle, HWND parent, int id, const TRect& bounds,
                              const std::string& text, int item = -1);
  // Style bits every control's window shares: visibility, tab stop, disabled.
  DWORD CommonStyle() const;
  // CommonStyle without the tab stop, for controls the Tab key passes over.
  DWORD UntabbedStyle() const;
  void DestroyWindows();
  // Destroys the windows after the first `from` ones.
  void RemoveWindows(std::size_t from);
  void DestroyWindow(WindowInfo& info);
  HFONT Font();
  void ApplyFont();
  // Repaints now, over whatever the standard control just drew.
  static void Repaint(HWND window);
  // Hot tracking: sets Hot on the first mouse move, clears it on leaving.
  bool TrackHot(WindowInfo& info, UINT message);

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  FormPeer& form_;
  TControl& control_;
  std::vector<std::unique_ptr<WindowInfo>> windows_;
  HFONT font_ = nullptr;
};

// A framed panel with a caption (TsGroupBox, and the frame of TsRadioGroup):
// a BUTTON with BS_GROUPBOX whose controls are its child windows.
class GroupPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  void Create(HWND parent) override;
  void PaintBackground(HDC dc, const RECT& client) override;

 protected:
  void Paint(WindowInfo& info, HDC dc, const RECT& client) override;
};

// A check box or radio item from a skin section: box or circle, mark, caption
// and focus mark, over the container's background.
void PaintCheckItem(FormPeer& form, const WindowInfo& info, HDC dc, const RECT& client, const char* sectionName,
                    bool radio, HFONT font);

class FormPeer final : public TFormPeer {
 public:
  explicit FormPeer(TForm& form);
  ~FormPeer() override;

  void ControlChanged(TControl& control, TChange change) override;
  void FormChanged() override;
  void Close() override;

  TForm& Form() const { return form_; }
  HWND Handle() const { return window_; }
  // The active skin; a built-in one when the form has no skin manager.
  const TSkin& Skin() const { return *skin_; }
  // A colour of the model on screen: the system button face is the skin's Face.
  COLORREF Resolve(TColor color) const;

  // True while the peer writes the model's state into its windows: what the
  // windows report then is the peer's own echo, not the player's action.
  bool Updating() const { return updating_ > 0; }
  class UpdateScope {
   public:
    explicit UpdateScope(FormPeer& peer) : peer_(peer) { ++peer_.updating_; }
    ~UpdateScope() { --peer_.updating_; }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

   private:
    FormPeer& peer_;
  };

  // Where a window of ours came from; null for foreign windows.
  WindowInfo* Find(HWND window) const;
  void Register(WindowInfo& info);
  void Unregister(HWND window);
  ControlPeer* PeerOf(const TControl* control) const;

  // Paints what a child window shows through: the form's face or its
  // container's panel, shifted to the child's place.
  void PaintParentBackground(HWND child, HDC dc);
  // Draws a control disabled when it or a container of it is disabled.
  bool EffectivelyEnabled(HWND window) const;

  // The first control the keyboard reaches, as the tab order gives it.
  HWND FirstFocus() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateChildren(const TControl* parent, HWND parentWindow);
  RECT Frame(bool recentre) const;
  void ApplyBounds(bool recentre);
  void FinishClose();

  TForm& form_;
  HWND window_ = nullptr;
  std::unique_ptr<TSkin> fallbackSkin_;
  const TSkin* skin_ = nullptr;
  HBRUSH faceBrush_ = nullptr;
  std::vector<std::unique_ptr<ControlPeer>> controls_;
  std::map<const TControl*, ControlPeer*> byControl_;
  std::map<HWND, WindowInfo*> byWindow_;
  int updating_ = 0;
  bool shown_ = false;
  bool closing_ = false;
};

// The application window and the class names of ours.
inline constexpr const char* kFormClass = "OstrelundForm";
HWND ApplicationWindow();
HINSTANCE Instance();

// One maker per kind of control.
std::unique_ptr<ControlPeer> MakeButtonPeer(FormPeer& form, TsBitBtn& control);
std::unique_ptr<ControlPeer> MakeCheckBoxPeer(FormPeer& form, TsCheckBox& control);
std::unique_ptr<ControlPeer> MakeRadioGroupPeer(FormPeer& form, TsRadioGroup& control);
std::unique_ptr<ControlPeer> MakeGroupBoxPeer(FormPeer& form, TsGroupBox& control);
std::unique_ptr<ControlPeer> MakeMemoPeer(FormPeer& form, TsMemo& control);
std::unique_ptr<ControlPeer> MakeBevelPeer(FormPeer& form, TsBevel& control);
std::unique_ptr<ControlPeer> MakeImagePeer(FormPeer& form, TImage& control);

}  // namespace win32
