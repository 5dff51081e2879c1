#include "store/wiring.h"

#include "shell/app.h"

namespace store {

void WireStore(shell::App&) {}

}  // namespace store
