// A top-level window and the components it owns, in creation order.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Component.h"
#include "Peer.h"

class TForm {
 public:
  TForm();
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Creates a component owned by the form, appended to the creation order.
  template <class T>
  T& Add(std::string name) {
    components_.push_back(std::make_unique<T>(*this, std::move(name)));
    return static_cast<T&>(*components_.back());
  }
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }
  TComponent* FindComponent(const std::string& name) const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);
  void SetClientHeight(int height) { SetClientSize(clientWidth_, height); }
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_ = font; }
  bool Visible() const { return visible_; }
  void Show();
  void Hide();
  // Closes the window; for the main form this ends the message loop.
  void Close();
  bool Closed() const { return closed_; }

  // Runs once, when the application creates the form, before it is shown.
  virtual void FormCreate() {}

  TFormPeer* Peer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<TFormPeer> peer) { peer_ = std::move(peer); }
  // Called by the controls after each change.
  void ControlChanged(TControl& control, TChange change);

 private:
  void FormChanged();

  std::vector<std::unique_ptr<TComponent>> components_;
  std::string caption_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  TColor color_ = clBtnFace;
  TFont font_;
  bool visible_ = false;
  bool closed_ = false;
  std::unique_ptr<TFormPeer> peer_;
};
