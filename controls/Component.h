// The component model: named components owned by a form in creation order,
// and visual controls with caption, state, bounds, parent, tab order and font.
//
// A control's setters keep the model as the one truth and tell the form's
// peer (the real window, when there is one) what changed.
#pragma once

#include <functional>
#include <string>
#include <typeinfo>

#include "Types.h"

class TForm;
class TControl;

// What a peer must bring up to date.
enum class TChange { Caption, Enabled, Visible, Bounds, Font, Checked, ItemIndex, Items, Lines, Color, Default };

using TNotifyEvent = std::function<void(TControl& sender)>;

class TComponent {
 public:
  TComponent(TForm& owner, std::string name);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  TForm& Owner() const { return owner_; }

  // The exact class, not inheritance: `ClassIs<TsCheckBox>(c)`.
  template <class T>
  bool ClassIs() const {
    return typeid(*this) == typeid(T);
  }

 private:
  TForm& owner_;
  std::string name_;
};

class TControl : public TComponent {
 public:
  TControl(TForm& owner, std::string name) : TComponent(owner, std::move(name)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const TRect& Bounds() const { return bounds_; }
  void SetBounds(const TRect& bounds);
  void SetTop(int top);
  TControl* Parent() const { return parent_; }
  void SetParent(TControl* parent) { parent_ = parent; }
  // -1: not a tab stop.
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  // The window's control identifier; 0 for none.
  int ControlId() const { return controlId_; }
  void SetControlId(int id) { controlId_ = id; }

  TNotifyEvent OnClick;
  // Runs OnClick, if any, as a click by the player does.
  void Click();

 protected:
  void Changed(TChange change);

 private:
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  TRect bounds_;
  TControl* parent_ = nullptr;
  int tabOrder_ = -1;
  TFont font_;
  int controlId_ = 0;
};
