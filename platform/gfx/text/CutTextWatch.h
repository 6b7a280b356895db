// gfx::CutTextWatch: hears of every text that Context::drawText shows only in part: shortened with an
// ellipsis, cut at the width where it clips, or with lines left out for want of height or of lines. Screens
// are laid out so that their texts fit; a watch lets a check walk the screens and list the texts that do not.
// The latest watch hears, and puts back the one before when it goes; it is called on the thread that draws,
// and drawing with no watch costs one load.
//
//   std::vector<std::string> cut;
//   gfx::CutTextWatch watch([&](const std::string& text) { cut.push_back(text); });
//   window->layer()->displayIfNeeded();   // every label drawn cut lands in `cut`
#pragma once

#include <functional>
#include <string>

namespace gfx {

class CutTextWatch {
public:
    using Listener = std::function<void(const std::string& text)>;

    explicit CutTextWatch(Listener listener);
    ~CutTextWatch();
    CutTextWatch(const CutTextWatch&) = delete;
    CutTextWatch& operator=(const CutTextWatch&) = delete;

    // Tells the watch, if one is installed, that `text` was drawn cut.
    static void report(const std::string& text);
    // Whether a watch is installed, so that drawing finds out what it cut only when someone asks.
    static bool active();

private:
    Listener m_previous;
};

} // namespace gfx
