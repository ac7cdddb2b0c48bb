#include "Component.h"

#include "Form.h"

TComponent::TComponent(TForm& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

TComponent::~TComponent() = default;

void TControl::Changed(TChange change) { Owner().ControlChanged(*this, change); }

void TControl::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed(TChange::Caption);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed(TChange::Enabled);
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed(TChange::Visible);
}

void TControl::SetBounds(const TRect& bounds) {
  if (bounds_ == bounds) return;
  bounds_ = bounds;
  Changed(TChange::Bounds);
}

void TControl::SetTop(int top) { SetBounds({bounds_.Left, top, bounds_.Width, bounds_.Height}); }

void TControl::SetFont(const TFont& font) {
  if (font_ == font) return;
  font_ = font;
  Changed(TChange::Font);
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}
