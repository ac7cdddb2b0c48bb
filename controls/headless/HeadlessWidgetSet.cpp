// The model without windows: for the native build and the unit tests.
#include "Form.h"
#include "Peer.h"

namespace {

class HeadlessWidgetSet final : public TWidgetSet {
 public:
  void Initialize() override {}
  void* ApplicationHandle() override { return nullptr; }
  std::unique_ptr<TFormPeer> CreateFormPeer(TForm&) override { return nullptr; }
  // Nothing to wait for: the form is shown and the loop ends at once.
  void Run(TForm& mainForm) override { mainForm.Show(); }
};

}  // namespace

TWidgetSet& WidgetSet() {
  static HeadlessWidgetSet widgetSet;
  return widgetSet;
}
