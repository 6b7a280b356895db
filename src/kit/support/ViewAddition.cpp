#include "kit/support/ViewAddition.h"

#include "base/loop/MainThread.h"
#include <algorithm>
#include <optional>

namespace kit {

namespace {

    std::optional<size_t> indexAmongSiblings(const ui::View& view, const ui::View& superview)
    {
        const auto& siblings = superview.subviews();
        auto found = std::find_if(
            siblings.begin(), siblings.end(), [&view](const auto& sibling) { return sibling.get() == &view; });
        if (found == siblings.end())
            return std::nullopt;
        return static_cast<size_t>(found - siblings.begin());
    }

} // namespace

std::shared_ptr<ui::ViewController> viewController(const ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (auto controller = std::dynamic_pointer_cast<ui::ViewController>(ancestor->viewController()))
            return controller;
    }
    return nullptr;
}

void bringToFront(ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto superview = view.superview())
        superview->bringSubviewToFront(&view);
}

void sendToBack(ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto superview = view.superview())
        superview->sendSubviewToBack(&view);
}

void bringOneLevelUp(ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto superview = view.superview();
    if (!superview)
        return;
    auto index = indexAmongSiblings(view, *superview);
    if (index && *index + 1 < superview->subviews().size())
        superview->exchangeSubviewAtIndex(*index, *index + 1);
}

void sendOneLevelDown(ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto superview = view.superview();
    if (!superview)
        return;
    auto index = indexAmongSiblings(view, *superview);
    if (index && *index > 0)
        superview->exchangeSubviewAtIndex(*index, *index - 1);
}

bool isInFront(const ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto superview = view.superview();
    return superview && superview->subviews().back().get() == &view;
}

bool isAtBack(const ui::View& view)
{
    BASE_ASSERT_MAIN_THREAD();
    auto superview = view.superview();
    return superview && superview->subviews().front().get() == &view;
}

} // namespace kit
