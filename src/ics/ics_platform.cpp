#include "ics/ics_platform.h"

#include <cstdio>

namespace ics {

platform::Answer IcsPlatform::MsgBox(const QString& text, platform::Buttons buttons, const QString& title) {
  std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
  // Nobody is there to confirm: a question is answered No.
  return buttons == platform::Buttons::YesNo ? platform::Answer::No : platform::Answer::OK;
}

}  // namespace ics
