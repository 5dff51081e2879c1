#pragma once

namespace shell {
class App;
}

namespace store {

// Connects the day editor's buttons and text boxes, and the closing of the
// books at exit.
void WireStore(shell::App& app);

}  // namespace store
