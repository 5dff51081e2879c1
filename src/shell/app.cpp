#include "shell/app.h"

#include "shell/paths.h"

namespace shell {

App::App(ui::Platform& platform, QString programFolder)
    : platform(platform), appFolder_(WithTrailingSlash(programFolder)) {}

App::~App() = default;

Form2& App::GetForm2() {
  if (!form2_) {
    // Made before the unloaded one goes, so a new window never shares the
    // address of the one whose drawing may still be about to go.
    auto fresh = std::make_unique<Form2>();
    unloadedForm2_.reset();
    form2_ = std::move(fresh);
    if (LoadForm2) LoadForm2(*form2_);
  }
  return *form2_;
}

void App::UnloadForm2() {
  if (!form2_) return;
  form2_->Visible = false;
  unloadedForm2_ = std::move(form2_);
}

Form3& App::GetForm3() {
  if (!form3_) {
    // Made before the unloaded one goes, as the alarm window is.
    auto fresh = std::make_unique<Form3>();
    unloadedForm3_.reset();
    form3_ = std::move(fresh);
    if (LoadForm3) LoadForm3(*form3_);
  }
  return *form3_;
}

void App::UnloadForm3() {
  if (!form3_) return;
  form3_->Visible = false;
  unloadedForm3_ = std::move(form3_);
}

std::vector<ui::Form*> App::LoadedForms() {
  std::vector<ui::Form*> forms{&form1};
  if (form2_) forms.push_back(form2_.get());
  if (form3_) forms.push_back(form3_.get());
  return forms;
}

}  // namespace shell
