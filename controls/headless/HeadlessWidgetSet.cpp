// The model without windows: for the native build and the unit tests.
#include "Form.h"
#include "Peer.h"

namespace {

class HeadlessWidgetSet final : public TWidgetSet {
 public:
  void Initialize() override {}
  // A stand-in, not null, so that tests can see it handed on.
  void* ApplicationHandle() override { return reinterpret_cast<void*>(0x10010); }
  std::unique_ptr<TFormPeer> CreateFormPeer(TForm&) override { return nullptr; }
  // Nothing to wait for: the form is shown and the loop ends at once.
  void Run(TForm& mainForm) override { mainForm.Show(); }
};

}  // namespace

TWidgetSet& WidgetSet() {
  static HeadlessWidgetSet widgetSet;
  return widgetSet;
}
