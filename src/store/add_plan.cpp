#include "store/add_plan.h"

#include "shell/paths.h"
#include "store/day_file.h"
#include "platform/files/codepage.h"

namespace store {

namespace files = platform::files;

QString FileSafe(const QString& text) {
  QString kept = files::StorableOnly(text);
  kept.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
  return kept;
}

QByteArray PlanLine(const NewPlan& plan) { return files::Encode(plan.time + ' ' + FileSafe(plan.text)); }

void ChangeDayFile(shell::App& app, int year, int month, const QString& day, const std::function<void()>& change) {
  const bool created = EnsureDayFile(app, year, month, day);
  try {
    change();
  } catch (const files::FileError&) {
    if (created) {
      try {
        PruneDay(app, year, month, day);
      } catch (const files::FileError&) {
        // The first failure is the one to report.
      }
    }
    throw;
  }
}

void AddPlans(shell::App& app, int year, int month, const QString& day, const std::vector<NewPlan>& plans) {
  if (plans.empty()) return;
  ChangeDayFile(app, year, month, day, [&] {
    const QString path = shell::DayFilePath(app, year, month, day);
    QByteArray lines;
    // A file of zero bytes has no note line yet, and a plan must not become
    // it: the empty note goes in with the plans, in one append.
    if (files::ReadBytes(path, 1).isEmpty()) lines = "\r\n";
    for (const NewPlan& plan : plans) {
      if (&plan != &plans.front()) lines += "\r\n";
      lines += PlanLine(plan);
    }
    files::AppendRawLine(path, lines);
  });
}

}  // namespace store
