#include "ui/controls.h"

namespace ui {

void TextBox::SetText(const QString& text) {
  if (text == text_) return;  // assigning the same text is no change
  text_ = text;
  Change();
}

void ListBox::Clear() {
  List.clear();
  ItemData.clear();
  ListIndex = -1;
}

QString ListBox::Text() const {
  if (ListIndex < 0 || ListIndex >= List.size()) return {};
  return List[ListIndex];
}

}  // namespace ui
