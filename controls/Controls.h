// The control classes of the launcher window.
#pragma once

#include <string>
#include <vector>

#include "Component.h"

// A push button with a glyph-less caption; one button of a form may be its
// default button, which Enter activates unless another button has the focus.
class TsBitBtn : public TControl {
 public:
  using TControl::TControl;
  bool IsDefault() const { return default_; }
  void SetDefault(bool isDefault);

 private:
  bool default_ = false;
};

// A check box. A change of its state, by the player or by the program, runs
// OnClick exactly as a click does, and only when the state really changes.
class TsCheckBox : public TControl {
 public:
  using TControl::TControl;
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

 private:
  bool checked_ = false;
};

// A framed group of radio items. A change of the selection, by the player or
// by the program, runs OnClick, and only when the selection really changes.
class TsRadioGroup : public TControl {
 public:
  using TControl::TControl;
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> items);
  void SetItem(std::size_t index, const std::string& text);
  // -1 when no item is selected.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class TsGroupBox : public TControl {
 public:
  using TControl::TControl;
};

// A read-only, multi-line text box; each message is one line.
class TsMemo : public TControl {
 public:
  using TControl::TControl;
  const std::vector<std::string>& Lines() const { return lines_; }
  void AddLine(const std::string& line);
  // The lines joined by CR LF, as the window shows them.
  std::string Text() const;
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // The text colour of every line (the font's colour).
  void SetTextColor(TColor color);

 private:
  std::vector<std::string> lines_;
  TColor color_ = RGBColor(255, 255, 255);
};

// A thin framed line.
class TsBevel : public TControl {
 public:
  using TControl::TControl;
};

// A picture; `Picture` names an embedded bitmap.
class TImage : public TControl {
 public:
  using TControl::TControl;
  const std::string& Picture() const { return picture_; }
  void SetPicture(std::string name) { picture_ = std::move(name); }

 private:
  std::string picture_;
};
