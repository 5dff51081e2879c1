#pragma once
// Add's file steps, shared by the day editor and the iCalendar import: a
// plan line goes onto its day exactly as the "Add" button puts it there.

#include "platform/files/file_ops.h"

#include <QString>

#include <functional>
#include <vector>

namespace shell {
class App;
}

namespace store {

// What a plan or note may hold: characters the code page stores, and no
// control characters, since a line break would split one plan into two lines.
QString FileSafe(const QString& text);

// The quotes the plan box refuses as they are typed.
inline bool IsRefusedQuote(int code) { return code == '\'' || code == '"'; }

struct NewPlan {
  QString time;  // "hh:mm" or "--:--"
  QString text;  // kept to FileSafe on the way in
};

// The bytes of the plan line the day file gets for this plan.
QByteArray PlanLine(const NewPlan& plan);

// Makes sure the day has a file, then changes it. When the change fails, a
// file made only for it goes again with its folders.
void ChangeDayFile(shell::App& app, int year, int month, const QString& day, const std::function<void()>& change);

// Appends the plans to the day's file in one write, making the file (with its
// folders and index line) when the day has none. A failure leaves the day as
// it was.
void AddPlans(shell::App& app, int year, int month, const QString& day, const std::vector<NewPlan>& plans);

}  // namespace store
