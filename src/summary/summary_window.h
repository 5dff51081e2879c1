#pragma once
// The summary window's own behaviour: the swing of its two bars, deleting a
// history record, the menu back to the main window or out of the program,
// and its close box, which sends it to its own notification-area icon.

namespace shell {
class App;
class Form3;
}  // namespace shell

namespace summary {

// One tick of the bars' swing: 25 twips to and fro around the computed
// lengths, until either bar is 20 twips or shorter.
void Timer1_Timer(shell::App& app, shell::Form3& f);
// "刪除記錄".
void Command1_Click(shell::App& app, shell::Form3& f);
// The close box: to the notification area while ExitFlag is 0.
void Form_QueryUnload(shell::App& app, shell::Form3& f, bool& cancel);
void Form_Resize(shell::App& app, shell::Form3& f);
void TrayOpen3(shell::App& app, shell::Form3& f);
// "主畫面", "行程排定", "結束程式".
void Menu_Back1_Click(shell::App& app, shell::Form3& f);
void Menu_Back2_Click(shell::App& app, shell::Form3& f);
void Menu_Back4_Click(shell::App& app, shell::Form3& f);

// Connects the summary window's events each time it loads.
void WireSummaryWindow(shell::App& app);

}  // namespace summary
