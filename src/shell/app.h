#pragma once
// The application object: the shared variables, the three windows and the
// platform the logic runs on. Handlers of every subsystem take an App&.

#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/form3.h"
#include "platform/controls.h"
#include "platform/platform.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace shell {

// A window created on first use and unloaded when it goes. An unloaded
// window lives on until the next load, because it is often unloaded from
// inside one of its own events; the next one is made before it goes, so a new
// window never shares the address of one whose drawing may still be pending.
template <typename F>
class LoadedOnUse {
 public:
  F& Get(const std::function<void(F&)>& load) {
    if (!loaded_) {
      auto fresh = std::make_unique<F>();
      unloaded_.reset();
      loaded_ = std::move(fresh);
      if (load) load(*loaded_);
    }
    return *loaded_;
  }
  bool Loaded() const { return loaded_ != nullptr; }
  F* IfLoaded() const { return loaded_.get(); }
  void Unload() {
    if (!loaded_) return;
    loaded_->Visible = false;
    unloaded_ = std::move(loaded_);
  }

 private:
  std::unique_ptr<F> loaded_;
  std::unique_ptr<F> unloaded_;
};

inline const QString kVersionCaption = QStringLiteral("Quendar  0.4.8");

class App : public platform::Desktop {
 public:
  App(platform::Platform& platform, QString programFolder);
  ~App() override;

  platform::Platform& platform;

  // --- shared variables
  std::int16_t ShownYear = 0, ShownMonth = 0;
  std::int16_t TodayYear = 0, TodayMonth = 0, TodayDay = 0;
  QString NowHour, NowMinute, NowSecond;
  std::int16_t MonthDays = 0;
  std::int32_t MonthStartSerial = 0;
  std::int32_t FirstWeekday = 0;
  QString VersionCaption;
  std::int16_t ExitFlag = 0;
  std::int32_t PrevWndProc = 0;
  float DragStartX = 0, DragStartY = 0;
  std::int16_t AlarmTicks = 0;
  std::int16_t SummaryAnimStep = 0;

  // --- windows
  Form1 form1;
  // The alarm window, loaded on first use and unloaded when its display ends.
  Form2& GetForm2() { return form2_.Get(LoadForm2); }
  bool Form2Loaded() const { return form2_.Loaded(); }
  void UnloadForm2() { form2_.Unload(); }
  // The summary window, loaded on first use and unloaded by its menu moves.
  Form3& GetForm3() { return form3_.Get(LoadForm3); }
  bool Form3Loaded() const { return form3_.Loaded(); }
  void UnloadForm3() { form3_.Unload(); }

  // --- procedures that other subsystems provide, connected by the wiring
  std::function<void()> BuildMonth;
  std::function<void(Form2&)> LoadForm2;  // wires its events, runs its Form_Load
  std::function<void(Form3&)> LoadForm3;
  std::function<void()> EndProgram;
  // Closes the books when the main window really goes (the plan store's).
  std::function<void()> ShutdownProcessing;
  // Completes a change that a crash left half done, before anything reads
  // the data folder (the plan store's); false when none may run.
  std::function<bool()> CompleteJournal;

  // Set once the main window's load went through: a start-up that failed
  // has nothing to close and must not touch the files.
  bool Form1Loaded = false;
  // Set once the main window has been unloaded: the end comes only once,
  // however many ways it is asked for.
  bool Form1Unloaded = false;

  // The program folder with exactly one trailing "/".
  const QString& AppFolder() const { return appFolder_; }

  std::vector<platform::Form*> LoadedForms() override;

 private:
  QString appFolder_;
  LoadedOnUse<Form2> form2_;
  LoadedOnUse<Form3> form3_;
};

}  // namespace shell
