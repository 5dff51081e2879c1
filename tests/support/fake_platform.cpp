#include "fake_platform.h"

#include "platform/controls.h"

namespace testsupport {

platform::Answer FakePlatform::MsgBox(const QString& text, platform::Buttons buttons, const QString& title) {
  messages.push_back({text, buttons, title});
  if (onMessage) onMessage(messages.back());
  if (buttons == platform::Buttons::OK) return platform::Answer::OK;
  if (answers.empty()) return platform::Answer::Yes;
  const platform::Answer answer = answers.front();
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
    const bool errorBox = m.title == QStringLiteral("Quendar 錯誤訊息報告") && m.buttons == platform::Buttons::OK;
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

void FakePlatform::PopupMenu(platform::Menu& menu) {
  popups.push_back(&menu);
  if (onPopup) onPopup(menu);
  if (platform::Menu* choice = menuChoice) {
    menuChoice = nullptr;
    choice->Click();
  }
}

}  // namespace testsupport
