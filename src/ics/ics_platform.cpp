#include "ics/ics_platform.h"

#include <cstdio>

namespace ics {

ui::Answer IcsPlatform::MsgBox(const QString& text, ui::Buttons buttons, const QString& title) {
  std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
  // Nobody is there to confirm: a question is answered No.
  return buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::OK;
}

}  // namespace ics
