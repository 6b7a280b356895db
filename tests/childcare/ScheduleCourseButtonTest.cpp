// A course button drops its rounded clip only where the clip changes no pixel: drawn between pixels, as the
// grid places it, each title comes out exactly as under the clip, and a title that reaches into the corners
// keeps the clip.
#include "base/ClockFixture.h"
#include "childcare/schedule/CourseButton.h"
#include "gfx/drawing/Context.h"
#include "ui/controls/Label.h"
#include "ui/layer/Layer.h"
#include "ui/view/Screen.h"

#include <gtest/gtest.h>

namespace {

class ScheduleCourseButton : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setScale(2);
    }

    // The grid's cell of `height` points at a fractional place, with `title`, laid out.
    static std::shared_ptr<childcare::CourseButton> button(const std::string& title, double height)
    {
        auto course = childcare::CourseButton::make({ 60.18, 51.3, 320 / 5.5 - 4, height });
        course->setTitle(title, ui::ControlState::Normal);
        course->setBackgroundColor(gfx::Color::rgb(0.2, 0.5, 0.8));
        course->layoutIfNeeded();
        return course;
    }

    // The button drawn over white in its parent's space.
    static std::shared_ptr<gfx::Image> picture(const std::shared_ptr<childcare::CourseButton>& course)
    {
        auto parent = std::make_shared<ui::View>(gfx::Rect { 0, 0, 130, 160 });
        parent->setBackgroundColor(gfx::Color::white());
        parent->addSubview(course);
        auto context = gfx::Context::makeBitmap(parent->bounds().size, 2, true);
        parent->layer()->renderInContext(*context);
        course->removeFromSuperview();
        return context->makeImage();
    }

    static bool samePixels(const gfx::Image& a, const gfx::Image& b)
    {
        for (int y = 0; y < a.pixelHeight(); ++y)
            for (int x = 0; x < a.pixelWidth(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    return false;
        return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight();
    }
};

TEST_F(ScheduleCourseButton, AButtonWithoutTheClipIsDrawnAsUnderIt)
{
    struct Case {
        const char* title;
        double height;
        bool dropsClip;
    };
    for (auto [title, height, dropsClip] : { Case { "Art", 48, true }, { "Chinese", 48, true }, { "Sport", 48, true },
             { "Reading", 98, true }, { "", 48, true }, { "数学课", 48, false } }) {
        auto course = button(title, height);
        EXPECT_EQ(course->layer()->masksToBounds(), !dropsClip) << title;
        auto asChosen = picture(course);
        course->layer()->setMasksToBounds(true);
        EXPECT_TRUE(samePixels(*asChosen, *picture(course))) << title;
    }
}

TEST_F(ScheduleCourseButton, ATitleReachingIntoTheCornersKeepsTheClip)
{
    auto course = button("████████████████", 48);
    EXPECT_TRUE(course->layer()->masksToBounds());
    course->setTitle("Art", ui::ControlState::Normal);
    course->layoutIfNeeded();
    EXPECT_FALSE(course->layer()->masksToBounds());
}

} // namespace
