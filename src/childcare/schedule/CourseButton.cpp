#include "childcare/schedule/CourseButton.h"

#include "base/loop/MainThread.h"
#include "gfx/images/Image.h"
#include "ui/controls/Label.h"
#include "ui/layer/Layer.h"

#include <algorithm>
#include <array>

namespace childcare {

namespace {

    // Whether `p` lies within `box` with its corners rounded by `radius`.
    bool withinRounded(gfx::Point p, const gfx::Rect& box, double radius)
    {
        if (p.x < box.minX() || p.x > box.maxX() || p.y < box.minY() || p.y > box.maxY())
            return false;
        double dx = p.x - std::clamp(p.x, box.minX() + radius, box.maxX() - radius);
        double dy = p.y - std::clamp(p.y, box.minY() + radius, box.maxY() - radius);
        return dx * dx + dy * dy <= radius * radius;
    }

    // Whether every pixel of `image` with ink, placed in `frame` and padded by `pad` points, lies within
    // `outline` rounded by `radius` (a convex shape, so a padded pixel lies within when its corners do).
    bool inkWithin(const gfx::Image& image, const gfx::Rect& frame, double pad, const gfx::Rect& outline, double radius)
    {
        double scale = image.scale();
        for (int y = 0; y < image.pixelHeight(); ++y) {
            for (int x = 0; x < image.pixelWidth(); ++x) {
                if (image.pixel(x, y) == 0)
                    continue;
                double left = frame.minX() + x / scale - pad, right = frame.minX() + (x + 1) / scale + pad;
                double top = frame.minY() + y / scale - pad, bottom = frame.minY() + (y + 1) / scale + pad;
                std::array<gfx::Point, 4> corners { { { left, top }, { right, top }, { left, bottom },
                    { right, bottom } } };
                for (const auto& corner : corners)
                    if (!withinRounded(corner, outline, radius))
                        return false;
            }
        }
        return true;
    }

} // namespace

std::shared_ptr<CourseButton> CourseButton::make(const gfx::Rect& frame)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<CourseButton>(frame);
}

CourseButton::CourseButton(const gfx::Rect& frame)
    : ui::Button(frame)
{
    BASE_ASSERT_MAIN_THREAD();
    layer()->setCornerRadius(cornerRadius);
    titleLabel()->setFont(gfx::Font::system(titleFontSize));
    titleLabel()->setTextAlignment(gfx::TextAlignment::Center);
    titleLabel()->setLineBreakMode(gfx::LineBreakMode::CharWrap);
    titleLabel()->setNumberOfLines(0);
}

void CourseButton::setWeekCourse(std::shared_ptr<WeekCourse> course)
{
    BASE_ASSERT_MAIN_THREAD();
    m_weekCourse = std::move(course);
    setTitle(m_weekCourse ? describe(m_weekCourse->courseName) : std::string(), ui::ControlState::Normal);
}

void CourseButton::layoutSubviews()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::Button::layoutSubviews();
    gfx::Rect area = bounds();
    double height = std::min(titleLabel()->sizeThatFits(area.size).height, area.height());
    titleLabel()->setFrame({ area.minX(), area.midY() - height / 2, area.width(), height });
    layer()->setMasksToBounds(!titleClearOfCorners());
}

bool CourseButton::titleClearOfCorners()
{
    if (currentImage() || currentBackgroundImage())
        return false;
    auto label = titleLabel();
    if (label->isHidden())
        return true;
    label->layer()->displayIfNeeded();
    auto ink = label->layer()->contents();
    if (!ink)
        return true;
    // A pixel is drawn alike with and without the clip where the clip covers it whole: within the outline by
    // more than a pixel's antialiasing, with room for the smoothing that places the title between pixels.
    double pixel = 1 / ink->scale();
    double inset = pixel / 2;
    return inkWithin(*ink, label->frame(), 2 * pixel, bounds().insetBy(inset, inset), cornerRadius - inset);
}

} // namespace childcare
