/* Waits until a top-level window with the given name is mapped on the X
   display, then exits 0 (1 after 30 seconds). */

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

#include <cstring>

static bool HasName(Display* display, Window window, const char* name) {
  char* found = nullptr;
  const bool match = XFetchName(display, window, &found) && found && std::strcmp(found, name) == 0;
  if (found) XFree(found);
  return match;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  pollfd fd = {ConnectionNumber(display), POLLIN, 0};
  for (;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && HasName(display, event.xmap.window, argv[1])) return 0;
    }
    if (poll(&fd, 1, 30000) <= 0) return 1;
  }
}
