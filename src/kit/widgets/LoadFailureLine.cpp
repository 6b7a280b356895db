#include "kit/widgets/LoadFailureLine.h"

#include "base/loop/MainThread.h"
#include "ui/controls/Label.h"

namespace kit {

namespace {
    // The text's band at the top of the content's area, and its margin either side.
    constexpr double bandHeight = 60;
    constexpr double sideMargin = 20;
}

std::shared_ptr<LoadFailureLine> LoadFailureLine::make(const gfx::Rect& area)
{
    BASE_ASSERT_MAIN_THREAD();
    auto line = std::make_shared<LoadFailureLine>(Private(), area);
    line->addSubview(line->m_label);
    return line;
}

LoadFailureLine::LoadFailureLine(Private, const gfx::Rect& area)
    : ui::View(area)
    , m_label(std::make_shared<ui::Label>(gfx::Rect { sideMargin, 0, area.width() - 2 * sideMargin, bandHeight }))
{
    BASE_ASSERT_MAIN_THREAD();
    setUserInteractionEnabled(false);
    setHidden(true);
    m_label->setFont(gfx::Font::system(15));
    m_label->setTextColor(gfx::Color::fromWhite(0.4, 1));
    m_label->setTextAlignment(gfx::TextAlignment::Center);
    m_label->setNumberOfLines(0);
}

void LoadFailureLine::loadFailed(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_loaded)
        return;
    m_label->setText(text);
    setHidden(false);
}

void LoadFailureLine::loadSucceeded()
{
    BASE_ASSERT_MAIN_THREAD();
    m_loaded = true;
    setHidden(true);
}

} // namespace kit
