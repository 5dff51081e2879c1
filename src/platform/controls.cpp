#include "platform/controls.h"

#include <QRect>

#include <algorithm>

namespace platform {

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

namespace {
QRect Area(const Control& c) { return {c.Left, c.Top, c.Width, c.Height}; }
}  // namespace

bool Form::CanTakeFocus(const Control& control) const {
  for (const Control* c = &control; c; c = c->Container) {
    if (!c->Visible || !c->Enabled) return false;
    const QRect inside = c->Container ? QRect(0, 0, c->Container->Width, c->Container->Height)
                                      : QRect(0, 0, Width, ClientHeight());
    if (!inside.contains(Area(*c).center())) return false;
    // Controls added later lie above; a frame among them that covers this
    // one hides it.
    const auto at = std::find(Controls.begin(), Controls.end(), c);
    if (at == Controls.end()) return false;
    const bool covered = std::any_of(at + 1, Controls.end(), [c](const Control* above) {
      return above->kind == Kind::Frame && above->Visible && above->Container == c->Container &&
             Area(*above).contains(Area(*c));
    });
    if (covered) return false;
  }
  return true;
}

}  // namespace platform
