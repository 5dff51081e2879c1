#pragma once
// Connecting control events to handlers. A file error inside a handler is
// reported to the user and stops that handler only.

#include "shell/file_error.h"
#include "platform/controls.h"

namespace shell {

class App;

template <typename... Args, typename F>
void On(App& app, platform::Event<Args...>& event, F handler) {
  event.handler = [&app, handler](Args... args) { Guarded(app, [&] { handler(args...); }); };
}

}  // namespace shell
