#include "ics/command_line.h"

#include "ics/calendar_file.h"
#include "ics/export_plans.h"
#include "ics/ics_platform.h"
#include "store/journal.h"
#include "ics/import_plans.h"
#include "shell/app.h"
#include "platform/files/file_ops.h"
#include "platform/files/folder_lock.h"

#include <QCommandLineParser>

namespace ics {

namespace files = platform::files;

namespace {

constexpr int kDone = 0, kFailed = 1, kPlannerRuns = 2, kUsage = 64;

const char* const kUsageText =
    "usage: quendar-ics export [--folder DIR] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [-o FILE]\n"
    "       quendar-ics import [--folder DIR] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--dry-run] FILE.ics\n";

void Say(std::FILE* to, const QString& text) { std::fprintf(to, "%s\n", qUtf8Printable(text)); }

struct Request {
  QString command, folder, file, output;
  QDate from, to;
  bool dryRun = false;
};

// Reads the command line; an empty command means it was wrong, and why has
// been said.
Request Parse(const QStringList& arguments, const Context& context, std::FILE* err) {
  QCommandLineParser parser;
  const QCommandLineOption folder(QStringLiteral("folder"), {}, QStringLiteral("DIR"));
  const QCommandLineOption from(QStringLiteral("from"), {}, QStringLiteral("DATE"));
  const QCommandLineOption to(QStringLiteral("to"), {}, QStringLiteral("DATE"));
  const QCommandLineOption output(QStringLiteral("o"), {}, QStringLiteral("FILE"));
  const QCommandLineOption dryRun(QStringLiteral("dry-run"));
  parser.addOptions({folder, from, to, output, dryRun});
  Request request;
  auto wrong = [&](const QString& why) {
    Say(err, QStringLiteral("quendar-ics: ") + why);
    std::fputs(kUsageText, err);
    return Request{};
  };
  if (!parser.parse(arguments)) return wrong(parser.errorText());
  const QStringList rest = parser.positionalArguments();
  if (rest.isEmpty()) return wrong(QStringLiteral("export or import?"));
  request.command = rest[0];
  if (request.command == QLatin1String("export")) {
    if (rest.size() != 1 || parser.isSet(dryRun)) return wrong(QStringLiteral("export takes no file and no --dry-run"));
    request.output = parser.value(output);
  } else if (request.command == QLatin1String("import")) {
    if (rest.size() != 2 || parser.isSet(output)) return wrong(QStringLiteral("import takes one FILE.ics and no -o"));
    request.file = rest[1];
    request.dryRun = parser.isSet(dryRun);
  } else {
    return wrong(QStringLiteral("unknown command \"") + request.command + '"');
  }
  request.folder = parser.isSet(folder) ? parser.value(folder) : context.defaultFolder;
  for (const auto& [option, date] : {std::pair{&from, &request.from}, std::pair{&to, &request.to}}) {
    if (!parser.isSet(*option)) continue;
    *date = QDate::fromString(parser.value(*option), Qt::ISODate);
    if (!date->isValid()) return wrong(QStringLiteral("not a date YYYY-MM-DD: ") + parser.value(*option));
  }
  return request;
}

int Export(const Request& request, std::FILE* out, std::FILE* err) {
  IcsPlatform platform(request.folder);
  shell::App app(platform, request.folder);
  const ExportResult result = ExportPlans(app, request.from.isValid() ? request.from : QDate(kFirstYear, 1, 1),
                                          request.to.isValid() ? request.to : QDate(kLastYear, 12, 31));
  if (result.undecodableLines > 0) {
    Say(err, QStringLiteral("quendar-ics: %1 line(s) held bytes that code page 950 does not decode; "
                            "they were replaced by U+FFFD")
                 .arg(result.undecodableLines));
  }
  if (request.output.isEmpty()) {
    std::fwrite(result.calendar.constData(), 1, std::size_t(result.calendar.size()), out);
    return std::fflush(out) == 0 ? kDone : kFailed;
  }
  try {
    files::CreateFile(request.output, result.calendar);
  } catch (const files::FileError& e) {
    Say(err, QStringLiteral("quendar-ics: cannot write %1: %2").arg(e.path, e.reason));
    return kFailed;
  }
  Say(out, QStringLiteral("%1 event(s) written to %2").arg(result.events).arg(request.output));
  return kDone;
}

void SayCounts(std::FILE* out, const ImportSummary& s, const CalendarContents& c, bool dryRun) {
  QString text = QStringLiteral("%1 %2, %3 already there, %4 outside the range, %5 outside 2001-2050, "
                                "%6 changed by the code-page filter")
                     .arg(dryRun ? QStringLiteral("would add") : QStringLiteral("added"))
                     .arg(s.added)
                     .arg(s.duplicates)
                     .arg(s.outsideRange)
                     .arg(s.outsideYears)
                     .arg(s.filtered);
  const int untitled = s.untitled + c.untitled;
  if (untitled > 0) text += QStringLiteral(", %1 without a text").arg(untitled);
  if (c.undated > 0) text += QStringLiteral(", %1 to-do(s) without a due date").arg(c.undated);
  if (c.dayNotes > 0) text += QStringLiteral(", %1 day note(s) left out").arg(c.dayNotes);
  if (c.cancelled > 0) text += QStringLiteral(", %1 cancelled left out").arg(c.cancelled);
  if (!c.cut.isEmpty()) text += QStringLiteral(", %1 repeating event(s) cut short").arg(c.cut.size());
  Say(out, text);
}

int Import(const Request& request, const Context& context, std::FILE* out, std::FILE* err) {
  // A plan of a past day would count as not done at the planner's next exit.
  QDate from = request.from.isValid() ? request.from : context.today;
  if (from < context.today) {
    Say(err, QStringLiteral("quendar-ics: starting at today, %1: past days take no new plans")
                 .arg(context.today.toString(Qt::ISODate)));
    from = context.today;
  }
  const QDate to = request.to.isValid() ? request.to : QDate(kLastYear, 12, 31);
  if (!files::FolderExists(request.folder)) {
    Say(err, QStringLiteral("quendar-ics: no program folder %1").arg(request.folder));
    return kFailed;
  }
  const CalendarContents contents = ReadCalendarFile(request.file, from, to);
  if (!contents.error.isEmpty()) {
    Say(err, QStringLiteral("quendar-ics: ") + contents.error + QStringLiteral("; nothing was imported"));
    return kFailed;
  }
  for (const QString& text : contents.cut) {
    Say(err, QStringLiteral("quendar-ics: the event \"%1\" repeats too often to take in full "
                            "(more than %2 plans, or %3 steps of its rule); the rest of it is left out")
                 .arg(text)
                 .arg(kMostPlans)
                 .arg(kMostSteps));
  }
  // Held until the end, so the planner cannot start in between. A dry run
  // changes nothing and needs no lock.
  files::FolderLock lock;
  if (!request.dryRun && !lock.TryLock(request.folder)) {
    Say(err, QStringLiteral("quendar-ics: Quendar is running on %1; end it first (nothing was imported)")
                 .arg(request.folder));
    return kPlannerRuns;
  }
  IcsPlatform platform(request.folder);
  shell::App app(platform, request.folder);
  // A change the planner left half done is completed first: its steps name
  // whole day files, and must not later overwrite the plans added here.
  if (!request.dryRun && !store::CompleteJournal(app)) {
    Say(err, QStringLiteral("quendar-ics: an earlier change in %1 cannot be completed; nothing was imported")
                 .arg(request.folder));
    return kFailed;
  }
  const ImportSummary summary = ImportPlans(app, contents.plans, from, to, request.dryRun, [&](QDate day, const QString& line) {
    if (request.dryRun) Say(out, day.toString(Qt::ISODate) + QStringLiteral("  ") + line);
  });
  SayCounts(out, summary, contents, request.dryRun);
  if (summary.failure) {
    Say(err, QStringLiteral("quendar-ics: cannot write %1: %2; the plans added before it stay, every day file is whole")
                 .arg(summary.failure->path, summary.failure->reason));
    return kFailed;
  }
  return kDone;
}

}  // namespace

int Run(const QStringList& arguments, const Context& context, std::FILE* out, std::FILE* err) {
  if (arguments.size() == 2 && (arguments[1] == QLatin1String("--help") || arguments[1] == QLatin1String("-h"))) {
    std::fputs(kUsageText, out);
    return kDone;
  }
  const Request request = Parse(arguments, context, err);
  if (request.command.isEmpty()) return kUsage;
  if (request.from.isValid() && request.to.isValid() && request.from > request.to) {
    Say(err, QStringLiteral("quendar-ics: --from is after --to"));
    return kUsage;
  }
  if (request.command == QLatin1String("export")) return Export(request, out, err);
  return Import(request, context, out, err);
}

}  // namespace ics
