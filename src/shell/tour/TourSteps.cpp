#include "shell/tour/TourSteps.h"

#include "base/loop/MainThread.h"

#include <algorithm>

namespace shell {

TourSteps& TourSteps::shared()
{
    static TourSteps steps;
    return steps;
}

void TourSteps::add(TourStep step)
{
    BASE_ASSERT_MAIN_THREAD();
    auto same = std::find_if(
        m_steps.begin(), m_steps.end(), [&](const TourStep& earlier) { return earlier.picture == step.picture; });
    if (same != m_steps.end())
        *same = std::move(step);
    else
        m_steps.push_back(std::move(step));
}

void TourSteps::remove(const std::string& picture)
{
    BASE_ASSERT_MAIN_THREAD();
    std::erase_if(m_steps, [&](const TourStep& step) { return step.picture == picture; });
}

} // namespace shell
