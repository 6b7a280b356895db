// app::launch: starts the application as the command line asks and runs the main run loop until it ends;
// the process's exit status. With a window (the default) it runs until the window is closed or the run is
// interrupted as a headless one is (status 1 when no window can be had). Headless, it runs until interrupted
// (SIGINT, SIGTERM, SIGHUP, or SIGQUIT while its action is the default) and then writes
// the screen as "last.png" into the snapshots folder; with --tour, in either mode, it ends when the tour has written
// its pictures (status 0) or found a screen that did not come (status 1). Main thread, once.
//
//   return app::launch(*options);
#pragma once

#include "app/CommandLine.h"

namespace app {

int launch(const CommandLine& options);

} // namespace app
