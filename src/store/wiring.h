#pragma once

namespace shell {
class App;
}

namespace store {

// Connects the day editor's buttons and text boxes.
void WireStore(shell::App& app);

}  // namespace store
