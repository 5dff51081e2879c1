#pragma once
// Verdicts on today's plans. A right click on a note opens PlansPop; a
// confirmed "此計畫完成" or "列為未完成" marks the plan's line with "x", adds one
// to its count and, for a plan not done, appends its text to the history.

#include <QString>

namespace shell {
class App;
}

namespace today {

inline const QString kConfirmTitle = QStringLiteral("Quendar 再確認");
inline const QString kConfirmDone = QStringLiteral("確定此計畫已經執行完畢？");
inline const QString kConfirmNotDone = QStringLiteral("確定此計畫要定義為「未完成」？");

// Opens the verdict menu for note Index (its time bar or its body was
// right-clicked); Label12.Tag remembers the note while the menu is open.
void OpenPlansPop(shell::App& app, int Index);
void Label11_MouseDown(shell::App& app, int Index, int Button);

void PlansPop_Done_Click(shell::App& app);
void PlansPop_Del_Click(shell::App& app);

}  // namespace today
