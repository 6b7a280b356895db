// kit::FloatingNavigationBar: a navigation bar that draws no background, so that the floating panel's frame
// and its gloss show through it. Main thread.
#pragma once

#include "ui/controls/NavigationBar.h"

namespace kit {

class FloatingNavigationBar : public ui::NavigationBar {
public:
    explicit FloatingNavigationBar(const gfx::Rect& frame = {});

    void drawRect(const gfx::Rect& rect) override;
};

} // namespace kit
