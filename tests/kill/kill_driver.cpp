// Kills the program at random moments of its work and checks after every kill
// that its files are whole and that no plan it had shown is lost.
//
// Each round runs the App (its real file layer, the tests' fake platform) in a
// child process on one program folder: start-up, a random script of Adds,
// note Edits, Dels and verdicts on the calendar's month of today, then the
// exit. The child tells the parent through a pipe what it starts and what its
// lists have shown; the parent picks a step of the script, waits until the
// child starts it, waits a random few microseconds to milliseconds more and
// sends SIGKILL. After every round the parent reads the folder:
//   - every day file, month.qdr, the counters and the history are well-formed;
//   - every plan the child's lists showed, and that no Del or verdict has
//     touched since, is still a plan line of a day file or in the history;
//   - a plan whose Del the list showed done is nowhere, one judged done is not
//     in the history, one judged not done is;
//   - the history grows only with plans, each at most once, beyond what a
//     kill inside the exit's sweep (or inside a verdict) may repeat, and the
//     not-done count falls short of the history's length by no more than a
//     killed round can leave uncounted;
//   - the next start-up and exit, which every round begins with, show no
//     error box, and a finished exit leaves no past day behind.
// The days move on every few rounds, so the exits have past days to sweep.
//
// Usage: kill_driver [SEED [SECONDS]]: 1500 rounds, or fewer when the seconds
// (default 90) run out first. KILL_TRACE=1 prints what the child says.

#include "app/wiring.h"
#include "fake_platform.h"
#include "shell/app.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "store/day_file.h"
#include "ui/files/file_ops.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace files = ui::files;
using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------- the child

class Child {
 public:
  Child(int fd, const QString& folder, const QDate& today, int round, std::uint32_t seed)
      : round_(round), fd_(fd), rng_(seed) {
    platform_.programFolder = folder;
    platform_.now = QDateTime(today, QTime(12, 0));
    app_ = std::make_unique<shell::App>(platform_, folder);
    app::Wire(*app_);
    app_->EndProgram = [] {};
  }

  void Run() {
    const int steps = 3 + int(rng_() % 12);
    Say("N %d", steps + 1);  // the exit is the last step
    if (!shell::Start(*app_)) Fail("start-up refused");
    CheckNoErrorBox();
    for (int k = 0; k < steps; ++k) {
      Say("B %d", k);
      const int pick = int(rng_() % 10);
      if (pick < 4) Add(k);
      else if (pick < 5) EditNote(k);
      else if (pick < 7) Del();
      else Judge(pick == 7);
      CheckNoErrorBox();
    }
    Say("B %d", steps);
    Say("S");
    app_->form1.MenuExit.Click();
    CheckNoErrorBox();
    Say("E");
  }

 private:
  template <typename... Args>
  void Say(const char* format, Args... args) {
    char line[512];
    const int n = std::snprintf(line, sizeof line - 1, format, args...);
    line[n] = '\n';
    // One write per line: the parent may kill us between two, never inside one.
    if (::write(fd_, line, std::size_t(n) + 1) < 0) std::_Exit(3);
  }
  void Fail(const char* what) {
    Say("ERR %s", what);
    std::_Exit(2);
  }
  // Boxes that ask (a Del, a verdict) are answered Yes; any other box is a fault.
  void CheckNoErrorBox() {
    bool other = false;
    for (const testsupport::ShownMessage& m : platform_.messages) {
      if (m.buttons == ui::Buttons::YesNo) continue;
      Say("ERR box: %s %s", qPrintable(m.title), qPrintable(m.text));
      other = true;
    }
    if (other) std::_Exit(2);
  }

  // Opens the editor on a day of the shown month (today's).
  int OpenDay() {
    shell::Form1& f = app_->form1;
    f.MenuSetting.Click();
    const int day = 1 + int(rng_() % std::uint32_t(app_->MonthDays));
    for (int c = 0; c < shell::kCellCount; ++c) {
      if (f.Label5[c].Tag != QString::number(day)) continue;
      f.Label5[c].Click();
      f.Label5[c].DblClick();
      return day;
    }
    Fail("no cell for the day");
    return 0;
  }
  QString Text(int item) const {
    const QString shown = app_->form1.List2.List[item];
    return shown.mid(shown.indexOf(QStringLiteral("  ")) + 2);
  }
  bool Listed(const QString& text) const {
    const ui::ListBox& list = app_->form1.List2;
    for (int i = 0; i < list.ListCount(); ++i) {
      if (list.List[i] != store::kNoPlansItem && Text(i) == text) return true;
    }
    return false;
  }

  void Add(int k) {
    shell::Form1& f = app_->form1;
    const int day = OpenDay();
    const QString text = QStringLiteral("P%1-%2").arg(round_).arg(k);
    const bool timed = rng_() % 2;
    f.Text4[0].SetText(timed ? QStringLiteral("%1").arg(rng_() % 24, 2, 10, QChar('0')) : QString());
    f.Text4[1].SetText(timed ? QStringLiteral("%1").arg(rng_() % 60, 2, 10, QChar('0')) : QString());
    f.Text1.SetText(text);
    f.Command2.Click();
    if (!Listed(text)) Fail("an added plan is not listed");
    Say("C %s %d %d %d", qPrintable(text), int(app_->ShownYear), int(app_->ShownMonth), day);
  }

  void EditNote(int k) {
    shell::Form1& f = app_->form1;
    OpenDay();
    f.Text3.SetText(QStringLiteral("N%1-%2").arg(round_).arg(k));
    f.Command3.Click();
  }

  void Del() {
    shell::Form1& f = app_->form1;
    OpenDay();
    if (f.List2.ListCount() == 0 || f.List2.List[0] == store::kNoPlansItem) return;
    const int item = int(rng_() % std::uint32_t(f.List2.ListCount()));
    const QString text = Text(item);
    Say("R %s", qPrintable(text));
    f.List2.ListIndex = item;
    f.Command1.Click();
    if (Listed(text)) Fail("a deleted plan is still listed");
    Say("G %s", qPrintable(text));
  }

  void Judge(bool done) {
    shell::Form1& f = app_->form1;
    f.MenuMain.Click();
    std::vector<int> shown;
    for (int i = 0; i < shell::kNoteCount; ++i) {
      if (f.Label10[i].Visible) shown.push_back(i);
    }
    if (shown.empty()) return;
    const int i = shown[rng_() % shown.size()];
    const QString text = QString::fromLatin1(f.NotePlans[std::size_t(i)].line.mid(6));
    Say("V %s %s", qPrintable(text), done ? "done" : "not");
    platform_.menuChoice = done ? &f.PlansPop_Done : &f.PlansPop_Del;
    platform_.answers.push_back(ui::Answer::Yes);
    f.Label10[i].MouseDown(ui::kRightButton, 0, 0, 0);
    if (f.Label10[i].Visible) Fail("a judged note is still shown");
    Say("W %s", qPrintable(text));
  }

 private:
  int round_;  // names the plans it adds
  int fd_;
  std::mt19937 rng_;
  testsupport::FakePlatform platform_;
  std::unique_ptr<shell::App> app_;
};

// --------------------------------------------------------------- the parent

struct Plan {
  enum State { Unconfirmed, Live, Deleting, Deleted, Judging, Done, NotDone } state = Unconfirmed;
  QDate day;          // invalid when only its files told us of it
  bool doneVerdict = false;
  int exposure = 0;   // kills that may have put it into the history once more
};

struct Folder {
  std::map<QString, int> inDayFiles;  // plan text -> unmarked plan lines
  std::set<QString> markedInDayFiles;
  std::map<QString, QDate> dayOf;
  std::vector<std::pair<QString, QDate>> copies;
  std::map<QString, int> inHistory;
  int historyLines = 0;
  int notDone = 0, done = 0;
  QStringList problems;
};

const QRegularExpression kPlanText(QStringLiteral("^P\\d+-\\d+$"));
const QRegularExpression kPlanLine(QStringLiteral("^(x?)(?:[01]\\d|2[0-3]):[0-5]\\d (.*)$|^(x?)--:-- (.*)$"));
const QRegularExpression kNoteLine(QStringLiteral("^(N\\d+-\\d+)?$"));
const QRegularExpression kDayName(QStringLiteral("^([1-9]\\d?)(\\.dat|\\.~dat|\\.dat\\.~new)$"));
const QRegularExpression kIndexLine(QStringLiteral("^ (?:[1-9]|1[0-2])$"));

// A text file the program wrote: whole CR LF lines, and nothing else.
bool WholeLines(const QByteArray& bytes) {
  if (bytes.isEmpty()) return true;
  if (!bytes.endsWith("\r\n")) return false;
  const QByteArray body = bytes.chopped(2);
  return body.count('\n') == body.count("\r\n") && body.count('\r') == body.count("\r\n");
}

Folder ReadFolder(const QString& root) {
  Folder f;
  const QString datas = root + QStringLiteral("/datas");
  QDirIterator it(datas, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info(path);
    const QStringList parts = QDir(datas).relativeFilePath(path).split('/');
    if (info.isDir()) continue;
    const QByteArray bytes = files::ReadFile(path);
    const QString where = QDir(root).relativeFilePath(path);
    if (parts.size() == 1) {
      if (parts[0] == QLatin1String("quendar.qdr")) {
        if (bytes.size() != 4) f.problems << where + ": not 4 bytes";
        f.notDone = files::Int16At(bytes, 0), f.done = files::Int16At(bytes, 2);
      } else if (parts[0] == QLatin1String("quendar.dat")) {
        if (!WholeLines(bytes)) f.problems << where + ": not whole CR LF lines";
        for (const QByteArray& line : files::ReadRawLines(path)) {
          ++f.historyLines;
          ++f.inHistory[QString::fromLatin1(line)];
          if (!kPlanText.match(QString::fromLatin1(line)).hasMatch()) f.problems << where + ": not a plan: " + line;
        }
      } else if (parts[0] == QLatin1String("quendar.~jnl")) {
        // A change a kill cut off: the next start completes it.
      } else if (!parts[0].endsWith(QLatin1String(".~new"))) {
        f.problems << where + ": unknown file";
      }
    } else if (parts.size() == 2) {
      if (parts[1] == QLatin1String("month.qdr")) {
        if (!WholeLines(bytes)) f.problems << where + ": not whole CR LF lines";
        for (const QByteArray& line : files::ReadRawLines(path)) {
          if (!kIndexLine.match(QString::fromLatin1(line)).hasMatch()) f.problems << where + ": bad line " + line;
        }
      } else if (parts[1] != QLatin1String("month.~qdr")) {
        f.problems << where + ": unknown file";
      }
    } else {
      const auto name = kDayName.match(parts[2]);
      if (!name.hasMatch()) {
        f.problems << where + ": unknown file";
        continue;
      }
      const QDate day(parts[0].toInt(), parts[1].toInt(), name.captured(1).toInt());
      if (name.captured(2) != QLatin1String(".dat")) {
        f.copies.emplace_back(where, day);  // a kill left it: the next start and exit must cope
        continue;
      }
      if (!WholeLines(bytes)) f.problems << where + ": not whole CR LF lines";
      const files::RawLines lines = files::ReadRawLines(path);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromLatin1(lines[i]);
        if (i == 0) {
          if (!kNoteLine.match(line).hasMatch()) f.problems << where + ": bad note line " + line;
          continue;
        }
        const auto plan = kPlanLine.match(line);
        const QString text = plan.captured(2).isNull() ? plan.captured(4) : plan.captured(2);
        if (!plan.hasMatch() || !kPlanText.match(text).hasMatch()) {
          f.problems << where + ": bad plan line " + line;
          continue;
        }
        const bool marked = !(plan.captured(1) + plan.captured(3)).isEmpty();
        if (marked) f.markedInDayFiles.insert(text);
        else ++f.inDayFiles[text];
        f.dayOf[text] = day;
      }
    }
  }
  return f;
}

struct Run {
  std::uint32_t seed = 0;
  int round = 0;
  QDate today{2005, 1, 27};
  std::map<QString, Plan> plans;
  int doneConfirmed = 0, doneInFlight = 0;
  int uncounted = 0;  // history lines the not-done count lacks
  int repeated = 0;   // history lines that repeat a plan
  int kills = 0, killsInExit = 0, finished = 0;
  int killsLeavingCopies = 0;  // evidence that kills land inside file operations
  std::set<QString> lastCopies;
  QStringList problems;

  void Problem(const QString& what) { problems << QStringLiteral("round %1: %2").arg(round).arg(what); }

  // Takes in one line the child said.
  void Hear(const QString& line, int& begun, bool& inExit, bool& ended, QString& judging) {
    if (std::getenv("KILL_TRACE")) std::fprintf(stderr, "%d: %s\n", round, qPrintable(line));
    const QStringList w = line.split(' ');
    if (w[0] == "B") begun = w[1].toInt();
    else if (w[0] == "S") inExit = true;
    else if (w[0] == "E") ended = true;
    else if (w[0] == "ERR") Problem("child: " + line.mid(4));
    else if (w[0] == "C") {
      Plan& p = plans[w[1]];
      p.state = Plan::Live;
      p.day = QDate(w[2].toInt(), w[3].toInt(), w[4].toInt());
    } else if (w[0] == "R") {
      plans[w[1]].state = Plan::Deleting;
    } else if (w[0] == "G") {
      plans[w[1]].state = Plan::Deleted;
    } else if (w[0] == "V") {
      Plan& p = plans[w[1]];
      p.state = Plan::Judging;
      p.doneVerdict = w[2] == "done";
      judging = w[1];
    } else if (w[0] == "W") {
      Plan& p = plans[w[1]];
      p.state = p.doneVerdict ? Plan::Done : Plan::NotDone;
      if (p.doneVerdict) ++doneConfirmed;
      judging.clear();
    }
  }

  void Check(const QString& root, bool ended, bool killed) {
    const Folder f = ReadFolder(root);
    for (const QString& p : f.problems) Problem(p);
    std::set<QString> copies;
    for (const auto& [path, day] : f.copies) copies.insert(path);
    if (killed && !std::includes(lastCopies.begin(), lastCopies.end(), copies.begin(), copies.end())) {
      ++killsLeavingCopies;
    }
    lastCopies = copies;
    repeated = 0;
    for (const auto& [text, n] : f.inHistory) repeated += n - 1;
    // Plans only the files know of: an Add the kill cut short.
    for (const auto& [text, day] : f.dayOf) {
      Plan& p = plans[text];
      if (!p.day.isValid()) p.day = day;
    }
    for (const auto& [text, n] : f.inHistory) plans[text];

    for (const auto& [text, p] : plans) {
      const int inDay = f.inDayFiles.count(text) ? f.inDayFiles.at(text) : 0;
      const int inHistory = f.inHistory.count(text) ? f.inHistory.at(text) : 0;
      const bool marked = f.markedInDayFiles.count(text);
      const std::string t = text.toStdString();
      if (inDay + int(marked) > 1) Problem(QStringLiteral("%1 stands in day files %2 times").arg(text).arg(inDay + marked));
      if (inHistory > 1 + p.exposure) {
        Problem(QStringLiteral("%1 is in the history %2 times, with %3 kills that could repeat it")
                    .arg(text).arg(inHistory).arg(p.exposure));
      }
      switch (p.state) {
        case Plan::Live:
          if (inDay + inHistory == 0) Problem(text + " was listed and is lost");
          break;
        case Plan::Deleted:
          // A sweep killed before the Del may have recorded it already.
          if (inDay + int(marked) > 0 || inHistory > p.exposure) Problem(text + " was deleted and is back");
          break;
        case Plan::Done:
          if (inHistory > p.exposure) Problem(text + " was judged done and is in the history");
          break;
        case Plan::NotDone:
          if (inHistory == 0) Problem(text + " was judged not done and is not in the history");
          break;
        default:
          break;
      }
      // A finished exit leaves no plan of a past day in the day files.
      if (ended && p.day.isValid() && p.day < today && inDay + int(marked) > 0) {
        Problem(text + " of a past day outlived the exit");
      }
    }
    if (ended) {
      for (const auto& [path, day] : f.copies) {
        if (day < today) Problem(path + ": a copy of a past day outlived the exit");
      }
    }
    if (f.done < doneConfirmed || f.done > doneConfirmed + doneInFlight) {
      Problem(QStringLiteral("done count %1, expected %2 to %3").arg(f.done).arg(doneConfirmed).arg(doneConfirmed + doneInFlight));
    }
    // Records are appended before they are counted: only a kill between the
    // two leaves some uncounted, and nothing counts them later.
    const int shortfall = f.historyLines - f.notDone;
    if (shortfall < uncounted || (!killed && shortfall != uncounted)) {
      Problem(QStringLiteral("the not-done count %1 against %2 history lines, of which %3 may be uncounted")
                  .arg(f.notDone).arg(f.historyLines).arg(uncounted));
    }
    uncounted = shortfall;
  }
};

// Reads lines from the child until the step, or the end.
class Reader {
 public:
  explicit Reader(int fd) : fd_(fd) {}
  // Next whole line, or false at the end of the pipe.
  bool Next(QString& line) {
    for (;;) {
      const int nl = buffer_.indexOf('\n');
      if (nl >= 0) {
        line = QString::fromLatin1(buffer_.left(nl));
        buffer_.remove(0, nl + 1);
        return true;
      }
      char chunk[4096];
      const ssize_t n = ::read(fd_, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      buffer_.append(chunk, n);
    }
  }

 private:
  int fd_;
  QByteArray buffer_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t seed = argc > 1 ? std::uint32_t(std::strtoul(argv[1], nullptr, 10)) : 20051203u;
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 90;
  ::signal(SIGPIPE, SIG_IGN);

  QTemporaryDir dir;  // on the disk, not in memory, so that every flush costs
  const QString root = dir.path();
  {
    QFile settings(root + QStringLiteral("/Quendar.ini"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write(shell::InitialSettingsBytes()) < 0) return 1;
  }

  Run run;
  run.seed = seed;
  std::mt19937 rng(seed);
  const auto start = Clock::now();
  while (Clock::now() - start < std::chrono::seconds(seconds) && run.round < 1500) {
    ++run.round;
    if (rng() % 4 == 0) run.today = run.today.addDays(1 + int(rng() % 3));

    int fds[2];
    if (::pipe(fds) != 0) return 1;
    const pid_t pid = ::fork();
    if (pid < 0) return 1;
    if (pid == 0) {
      ::close(fds[0]);
      Child(fds[1], root, run.today, run.round, seed * 7919u + std::uint32_t(run.round)).Run();
      std::_Exit(0);
    }
    ::close(fds[1]);

    // The step to kill in, and how long after it began: from a few
    // microseconds (inside the file operation just started) to milliseconds.
    Reader reader(fds[0]);
    QString line;
    int steps = 0, begun = -1;
    bool inExit = false, ended = false;
    QString judging;
    if (reader.Next(line)) run.Hear(line, begun, inExit, ended, judging);
    if (line.startsWith("N ")) steps = line.mid(2).toInt();
    const bool spare = rng() % 8 == 0;  // some rounds run to their end
    const int target = steps > 0 ? int(rng() % std::uint32_t(steps + 1)) : 0;
    const int scale = std::array<int, 3>{100, 1000, 10000}[rng() % 3];
    const auto delay = std::chrono::microseconds(rng() % std::uint32_t(scale));
    while (!spare && begun < target && reader.Next(line)) run.Hear(line, begun, inExit, ended, judging);
    if (!spare && begun >= target) {
      std::this_thread::sleep_for(delay);
      ::kill(pid, SIGKILL);
    }
    while (reader.Next(line)) run.Hear(line, begun, inExit, ended, judging);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!killed && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) run.Problem("the child failed");
    if (!killed && !ended) run.Problem("the child stopped early");

    if (killed) {
      ++run.kills;
      // What the kill may leave to be counted again: a verdict cut short, and
      // every plan of a past day when the exit was sweeping.
      if (!judging.isEmpty()) {
        Plan& p = run.plans[judging];
        ++p.exposure;
        if (p.doneVerdict) ++run.doneInFlight;
      }
      if (inExit && !ended) {
        ++run.killsInExit;
        for (auto& [text, p] : run.plans) {
          if (!p.day.isValid() || p.day < run.today) ++p.exposure;
        }
      }
    } else {
      ++run.finished;
    }
    run.Check(root, ended, killed);
    if (!run.problems.isEmpty()) {
      for (const QString& p : run.problems) std::fprintf(stderr, "%s\n", qPrintable(p));
      std::fprintf(stderr, "kill test FAILED: seed %u, round %d, today %s; folder kept at %s\n", seed, run.round,
                   qPrintable(run.today.toString(Qt::ISODate)), qPrintable(root));
      dir.setAutoRemove(false);
      return 1;
    }
  }
  std::printf(
      "kill test: seed %u, %d rounds, %d kills (%d inside the exit, %d leaving a new copy of a day behind), %d rounds ran to "
      "their end, %lld s; the history repeats %d records and the not-done count lacks %d\n",
      seed, run.round, run.kills, run.killsInExit, run.killsLeavingCopies, run.finished,
      (long long)std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count(), run.repeated,
      run.uncounted);
  return 0;
}
