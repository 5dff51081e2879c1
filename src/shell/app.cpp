#include "shell/app.h"

#include "shell/paths.h"

namespace shell {

App::App(platform::Platform& platform, QString programFolder)
    : platform(platform), appFolder_(WithTrailingSlash(programFolder)) {}

App::~App() = default;

std::vector<platform::Form*> App::LoadedForms() {
  std::vector<platform::Form*> forms{&form1};
  if (Form2* alarm = form2_.IfLoaded()) forms.push_back(alarm);
  if (Form3* summary = form3_.IfLoaded()) forms.push_back(summary);
  return forms;
}

}  // namespace shell
