#include "Form.h"

TForm::TForm() = default;

// The peer goes first: its windows refer to the components.
TForm::~TForm() { peer_.reset(); }

TComponent* TForm::FindComponent(const std::string& name) const {
  for (const auto& component : components_) {
    if (component->Name() == name) return component.get();
  }
  return nullptr;
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  FormChanged();
}

void TForm::SetClientSize(int width, int height) {
  if (clientWidth_ == width && clientHeight_ == height) return;
  clientWidth_ = width;
  clientHeight_ = height;
  FormChanged();
}

void TForm::Show() {
  if (visible_) return;
  visible_ = true;
  FormChanged();
}

void TForm::Hide() {
  if (!visible_) return;
  visible_ = false;
  FormChanged();
}

void TForm::Close() {
  if (closed_) return;
  closed_ = true;
  visible_ = false;
  if (peer_) peer_->Close();
}

void TForm::ControlChanged(TControl& control, TChange change) {
  if (peer_) peer_->ControlChanged(control, change);
}

void TForm::FormChanged() {
  if (peer_) peer_->FormChanged();
}
