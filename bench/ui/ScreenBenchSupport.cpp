#include "ScreenBenchSupport.h"

#include "core/state/Singleton.h"
#include "ui/view/View.h"

#include <cstdlib>

namespace bench {

void redrawAll(ui::View& view)
{
    view.setNeedsDisplay();
    for (const auto& subview : view.subviews())
        redrawAll(*subview);
}

void useScratchServer()
{
    static const bool done = [] {
        char folder[] = "/tmp/lumet-bench-XXXXXX";
        if (mkdtemp(folder))
            setenv("LUMET_HOME", folder, 1);
        core::Singleton::shared().setServer("http://127.0.0.1:9");
        return true;
    }();
    (void)done;
}

} // namespace bench
