// Kills the program at random moments of its work and checks after every kill
// that its files are whole and that every plan stands exactly once.
//
// Each round runs the App (its real file layer, the tests' fake platform) in a
// child process on one program folder: start-up, a random script of Adds,
// note Edits, Dels, verdicts and history deletes ("刪除記錄" in the summary),
// then the exit. The child tells the parent through a pipe what it starts and
// what it saw done; the parent picks a step of the script, waits until the
// child starts it, waits a random few microseconds to milliseconds more and
// sends SIGKILL. After a kill a second child only starts the program, which
// completes what the kill left unfinished; then the parent reads the folder:
//   - every day file, month.qdr, the counters and the history are well-formed;
//   - every plan stands in exactly one place: an unjudged line of its day
//     file, or judged done (counted, nowhere else), or judged not done (counted
//     and once in the history, or counted alone once its record was deleted);
//     a deleted plan is nowhere;
//   - a step the kill cut short happened as a whole or not at all: its plan
//     is taken as judged, deleted or forgotten from what the folder shows;
//   - the two counts are exactly the plans judged done and not done;
//   - no start-up or exit shows an error box, and a finished exit leaves no
//     past day behind.
// The days move on every few rounds, so the exits have past days to sweep.
//
// Usage: kill_driver [SEED [KILLS [SECONDS]]]: rounds until KILLS kills (2000),
// failing when SECONDS (600) run out first. KILL_TRACE=1 prints what the child
// says.

#include "app/wiring.h"
#include "books.h"
#include "fake_platform.h"
#include "shell/app.h"
#include "shell/form3.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "store/day_file.h"
#include "platform/files/file_ops.h"

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

#if defined(__SANITIZE_ADDRESS__)
// Every round forks once or twice: a small quarantine of freed memory keeps
// what each fork has to copy small, which halves the sanitized run's time.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=8"; }
#endif

namespace {

namespace files = platform::files;
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
    const int steps = 2 + int(rng_() % 7);
    Say("N %d", steps + 1);  // the exit is the last step
    if (!shell::Start(*app_)) Fail("start-up refused");
    CheckNoErrorBox();
    for (int k = 0; k < steps; ++k) {
      Say("B %d", k);
      const int pick = int(rng_() % 10);
      if (pick < 4) Add(k);
      else if (pick < 5) EditNote(k);
      else if (pick < 7) Del();
      else if (pick < 9) Judge(pick == 7);
      else ForgetRecord();
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
      if (m.buttons == platform::Buttons::YesNo) continue;
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
    const platform::ListBox& list = app_->form1.List2;
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
    platform_.answers.push_back(platform::Answer::Yes);
    f.Label10[i].MouseDown(platform::kRightButton, 0, 0, 0);
    if (f.Label10[i].Visible) Fail("a judged note is still shown");
    Say("W %s", qPrintable(text));
  }

 private:
  // "刪除記錄" on a random record of the summary's list, then back to the
  // main page.
  void ForgetRecord() {
    app_->form1.MenuView.Click();
    shell::Form3& f = app_->GetForm3();
    if (f.List1.ListCount() > 0) {
      const int item = int(rng_() % std::uint32_t(f.List1.ListCount()));
      const QString text = RecordText(f.List1.List[item]);
      Say("H %s", qPrintable(text));
      f.List1.ListIndex = item;
      f.Command1.Click();
      for (const QString& shown : f.List1.List) {
        if (RecordText(shown) == text) Fail("a deleted record is still listed");
      }
      Say("I %s", qPrintable(text));
    }
    f.Menu_Back1.Click();
  }
  // A history item is its number, a blank and the record.
  static QString RecordText(const QString& item) { return item.mid(item.indexOf(' ') + 1); }

  int round_;  // names the plans it adds
  int fd_;
  std::mt19937 rng_;
  testsupport::FakePlatform platform_;
  std::unique_ptr<shell::App> app_;
};

// ------------------------------------------------------------ the recovery

// Starts the program on the folder, which completes what a kill left, and
// ends it without an exit; false when the start refused or showed an error box.
bool Recover(const QString& folder, const QDate& today) {
  testsupport::FakePlatform platform;
  platform.programFolder = folder;
  platform.now = QDateTime(today, QTime(12, 0));
  shell::App app(platform, folder);
  app::Wire(app);
  const bool started = shell::Start(app);
  for (const QString& text : platform.ErrorTexts()) std::fprintf(stderr, "recovery: box %s\n", qPrintable(text));
  return started && platform.messages.empty();
}

// --------------------------------------------------------------- the parent

struct Plan {
  // A step that a kill cut short (Adding, Deleting, Judging, Forgetting) is
  // settled from the folder after the recovery: it happened as a whole or
  // not at all.
  enum State { Adding, Live, Deleting, Deleted, Judging, Done, NotDone, Forgetting, Forgotten } state = Adding;
  QDate day;  // invalid when only its files told us of it
  bool doneVerdict = false;
};

// Where a plan stands in the folder.
struct Place {
  int inDay, marked, inHistory;
};

// Takes the folder's word for a step cut short, and for the exit's sweep,
// which moves a plan of a past day to the history.
void Settle(Plan& p, const Place& at) {
  switch (p.state) {
    case Plan::Adding:
      if (at.inDay + at.marked + at.inHistory > 0) p.state = Plan::Live;
      break;
    case Plan::Deleting:
      p.state = at.inDay + at.marked > 0 ? Plan::Live : Plan::Deleted;
      break;
    case Plan::Judging:
      if (p.doneVerdict) p.state = at.inDay == 0 && at.inHistory == 0 ? Plan::Done : Plan::Live;
      else p.state = at.inHistory > 0 ? Plan::NotDone : Plan::Live;
      break;
    case Plan::Forgetting:
      p.state = at.inHistory > 0 ? Plan::NotDone : Plan::Forgotten;
      break;
    default:
      break;
  }
  if (p.state == Plan::Live && at.inDay == 0 && at.marked == 0 && at.inHistory > 0) p.state = Plan::NotDone;
}

// Whether the plan stands exactly where its state says, and once.
bool StandsOnce(const Plan& p, const Place& at) {
  switch (p.state) {
    case Plan::Adding:
    case Plan::Deleted:
      return at.inDay + at.marked + at.inHistory == 0;
    case Plan::Live:
      return at.inDay == 1 && at.marked == 0 && at.inHistory == 0;
    case Plan::Done:
    case Plan::Forgotten:
      // A judged line keeps its mark until the day's exit.
      return at.inDay == 0 && at.marked <= 1 && at.inHistory == 0;
    case Plan::NotDone:
      return at.inDay == 0 && at.marked <= 1 && at.inHistory == 1;
    default:
      return false;
  }
}

const char* StateName(Plan::State s) {
  static const char* const names[] = {"adding", "live", "deleting", "deleted", "judging",
                                      "done",   "not done", "forgetting", "record deleted"};
  return names[s];
}

const QRegularExpression kPlanText(QStringLiteral("^P\\d+-\\d+$"));
const QRegularExpression kNoteLine(QStringLiteral("^(N\\d+-\\d+)?$"));

struct Run {
  std::uint32_t seed = 0;
  int round = 0;
  QDate today{2005, 1, 27};
  std::map<QString, Plan> plans;
  int kills = 0, killsInExit = 0, finished = 0;
  int killsLeavingCopies = 0;  // evidence that kills land inside file operations
  int untidyRounds = 0;        // month indexes out of step with their folders
  std::set<QString> lastCopies;
  QStringList problems;

  void Problem(const QString& what) { problems << QStringLiteral("round %1: %2").arg(round).arg(what); }

  // Takes in one line the child said.
  void Hear(const QString& line, int& begun, bool& inExit, bool& ended) {
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
    } else if (w[0] == "W") {
      Plan& p = plans[w[1]];
      p.state = p.doneVerdict ? Plan::Done : Plan::NotDone;
    } else if (w[0] == "H") {
      plans[w[1]].state = Plan::Forgetting;
    } else if (w[0] == "I") {
      plans[w[1]].state = Plan::Forgotten;
    }
  }

  void Check(const QString& root, bool ended, bool killed) {
    const testsupport::Books f = testsupport::ReadBooks(root);
    for (const QString& p : f.problems) Problem(p);
    for (const QString& s : f.strangers) Problem(s + ": unknown file");
    for (const QString& note : f.notes) {
      if (!kNoteLine.match(note).hasMatch()) Problem("bad note line " + note);
    }
    if (!f.untidy.isEmpty()) ++untidyRounds;
    std::set<QString> copies;
    for (const auto& [path, day] : f.copies) copies.insert(path);
    if (killed && !std::includes(lastCopies.begin(), lastCopies.end(), copies.begin(), copies.end())) {
      ++killsLeavingCopies;
    }
    lastCopies = copies;
    // Plans only the files know of: an Add the kill cut short.
    for (const auto& [text, day] : f.dayOf) {
      Plan& p = plans[text];
      if (!p.day.isValid()) p.day = day;
    }
    for (const auto& [text, n] : f.inHistory) plans[text];

    int done = 0, notDone = 0;
    for (auto& [text, p] : plans) {
      if (!kPlanText.match(text).hasMatch()) Problem("not a plan: " + text);
      const Place at{f.InDay(text), f.Marked(text), f.InHistory(text)};
      Settle(p, at);
      if (!StandsOnce(p, at)) {
        Problem(QStringLiteral("%1 (%2) stands %3 times unjudged, %4 times marked, %5 times in the history")
                    .arg(text, StateName(p.state)).arg(at.inDay).arg(at.marked).arg(at.inHistory));
      }
      done += p.state == Plan::Done;
      notDone += p.state == Plan::NotDone || p.state == Plan::Forgotten;
      // A finished exit leaves no plan of a past day in the day files.
      if (ended && p.day.isValid() && p.day < today && at.inDay + at.marked > 0) {
        Problem(text + " of a past day outlived the exit");
      }
    }
    if (ended) {
      for (const auto& [path, day] : f.copies) {
        if (day.isValid() && day < today) Problem(path + ": a copy of a past day outlived the exit");
      }
    }
    if (f.done != done || f.notDone != notDone) {
      Problem(QStringLiteral("the counts are %1 not done and %2 done; the plans say %3 and %4")
                  .arg(f.notDone).arg(f.done).arg(notDone).arg(done));
    }
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
  const int wantedKills = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 600;
  ::signal(SIGPIPE, SIG_IGN);
  std::printf("kill test: seed %u\n", seed);
  std::fflush(stdout);

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
  auto fail = [&](const char* why) {
    for (const QString& p : run.problems) std::fprintf(stderr, "%s\n", qPrintable(p));
    std::fprintf(stderr, "kill test FAILED (%s): seed %u, round %d, today %s; folder kept at %s\n", why, seed,
                 run.round, qPrintable(run.today.toString(Qt::ISODate)), qPrintable(root));
    dir.setAutoRemove(false);
    return 1;
  };
  while (run.kills < wantedKills) {
    if (Clock::now() - start > std::chrono::seconds(seconds)) return fail("out of time");
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
    if (reader.Next(line)) run.Hear(line, begun, inExit, ended);
    if (line.startsWith("N ")) steps = line.mid(2).toInt();
    const bool spare = rng() % 8 == 0;  // some rounds run to their end
    const int target = steps > 0 ? int(rng() % std::uint32_t(steps + 1)) : 0;
    const int scale = std::array<int, 3>{100, 1000, 10000}[rng() % 3];
    const auto delay = std::chrono::microseconds(rng() % std::uint32_t(scale));
    while (!spare && begun < target && reader.Next(line)) run.Hear(line, begun, inExit, ended);
    if (!spare && begun >= target) {
      std::this_thread::sleep_for(delay);
      ::kill(pid, SIGKILL);
    }
    while (reader.Next(line)) run.Hear(line, begun, inExit, ended);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (!killed && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) run.Problem("the child failed");
    if (!killed && !ended) run.Problem("the child stopped early");
    if (killed) {
      ++run.kills;
      run.killsInExit += inExit && !ended;
    } else {
      ++run.finished;
    }

    // The next start completes what a kill cut short; only then must every
    // plan stand once. A round that ran to its end must leave nothing to
    // complete.
    if (killed) {
      const pid_t recovery = ::fork();
      if (recovery < 0) return 1;
      if (recovery == 0) std::_Exit(Recover(root, run.today) ? 0 : 2);
      ::waitpid(recovery, &status, 0);
      if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0)) run.Problem("the start after the kill failed");
    }

    run.Check(root, ended, killed);
    if (!run.problems.isEmpty()) return fail("a plan or a file is wrong");
  }
  std::printf(
      "kill test: seed %u, %d rounds, %d kills (%d inside the exit, %d leaving a new copy of a day behind), %d rounds ran to "
      "their end, %lld s; 0 plans lost, 0 doubled; %d rounds left a month index out of step with its folders\n",
      seed, run.round, run.kills, run.killsInExit, run.killsLeavingCopies, run.finished,
      (long long)std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count(), run.untidyRounds);
  return 0;
}
