#include "Controls.h"

void TsBitBtn::SetDefault(bool isDefault) {
  if (default_ == isDefault) return;
  default_ = isDefault;
  Changed(TChange::Default);
}

void TsCheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed(TChange::Checked);
  Click();
}

void TsRadioGroup::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
  Changed(TChange::Items);
}

void TsRadioGroup::SetItem(std::size_t index, const std::string& text) {
  if (index >= items_.size() || items_[index] == text) return;
  items_[index] = text;
  Changed(TChange::Items);
}

void TsRadioGroup::SetItemIndex(int index) {
  if (index < -1) index = -1;
  if (index >= static_cast<int>(items_.size())) index = static_cast<int>(items_.size()) - 1;
  if (itemIndex_ == index) return;
  itemIndex_ = index;
  Changed(TChange::ItemIndex);
  Click();
}

void TsMemo::AddLine(const std::string& line) {
  lines_.push_back(line);
  Changed(TChange::Lines);
}

std::string TsMemo::Text() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i];
  }
  return text;
}

void TsMemo::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed(TChange::Color);
}

void TsMemo::SetTextColor(TColor color) {
  TFont font = Font();
  font.Color = color;
  SetFont(font);
}
