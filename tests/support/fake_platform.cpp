#include "fake_platform.h"

#include "ui/controls.h"

namespace testsupport {

ui::Answer FakePlatform::MsgBox(const QString& text, ui::Buttons buttons, const QString& title) {
  messages.push_back({text, buttons, title});
  if (onMessage) onMessage(messages.back());
  if (buttons == ui::Buttons::OK) return ui::Answer::OK;
  if (answers.empty()) return ui::Answer::Yes;
  const ui::Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

bool FakePlatform::TrayAdd(int id, int, const QString& tip) {
  if (!trayAvailable) return false;
  trayIcons[id] = tip;
  return true;
}

QStringList FakePlatform::ErrorTexts() const {
  QStringList texts;
  for (const ShownMessage& m : messages) {
    const bool errorBox = m.title == QStringLiteral("Quendar 錯誤訊息報告") && m.buttons == ui::Buttons::OK;
    texts.append(errorBox ? m.text : QStringLiteral("(not an error box)"));
  }
  return texts;
}

void FakePlatform::AfterRepaint(std::function<void()> work) {
  if (holdAfterRepaint) {
    afterRepaint.push_back(std::move(work));
  } else {
    work();
  }
}

void FakePlatform::RunAfterRepaint() {
  auto held = std::move(afterRepaint);
  afterRepaint.clear();
  for (auto& work : held) work();
}

void FakePlatform::PopupMenu(ui::Menu& menu) {
  popups.push_back(&menu);
  if (onPopup) onPopup(menu);
  if (ui::Menu* choice = menuChoice) {
    menuChoice = nullptr;
    choice->Click();
  }
}

}  // namespace testsupport
