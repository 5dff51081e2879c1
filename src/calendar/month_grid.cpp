#include "calendar/month_grid.h"

#include "shell/app.h"

namespace calendar {

void BuildMonth(shell::App&) {}

}  // namespace calendar
