#include "ScreenBenchSupport.h"

#include "ScratchFolder.h"
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
        if (auto folder = makeScratchFolder("lumet-bench"); !folder.empty())
            setenv("LUMET_HOME", folder.c_str(), 1);
        core::Singleton::shared().setServer("http://127.0.0.1:9");
        return true;
    }();
    (void)done;
}

} // namespace bench
