// The seam between the portable model and a windowing system.
//
// The model calls its form's peer after every change; the peer updates the
// real windows. A peer that sees the player change a value calls the model's
// setter, so handlers run the same way whoever made the change. Without a
// peer (the headless build, the unit tests) the model works on its own.
#pragma once

#include <memory>
#include <string>

#include "Component.h"

class TForm;

class TFormPeer {
 public:
  virtual ~TFormPeer() = default;
  virtual void ControlChanged(TControl& control, TChange change) = 0;
  // The form's caption, client size or visibility changed.
  virtual void FormChanged() = 0;
  // Ends the form's window: the message loop ends with it.
  virtual void Close() = 0;
};

// One per windowing system; the build links exactly one.
class TWidgetSet {
 public:
  virtual ~TWidgetSet() = default;
  // Creates the hidden application window; its handle is what devices get.
  virtual void Initialize() = 0;
  // The application window's handle (an HWND on Windows), null without one.
  virtual void* ApplicationHandle() = 0;
  // Creates the windows of a form from its model; null for no windows.
  virtual std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) = 0;
  // Shows the form and dispatches messages until its window is closed.
  virtual void Run(TForm& mainForm) = 0;
};

TWidgetSet& WidgetSet();
