// What the screen frame benchmarks that build a screen by hand share: marking a whole view tree for
// redrawing, and a scratch data root with a closed local server, so that a screen's own requests fail fast
// and the settings it writes never reach the user's. Main thread.
//
//   bench::useScratchServer();
//   bench::redrawAll(*window);
#pragma once

namespace ui {
class View;
}

namespace bench {

void redrawAll(ui::View& view);
void useScratchServer();

} // namespace bench
