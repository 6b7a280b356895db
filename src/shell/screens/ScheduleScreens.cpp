// The class schedule: opened by the drawer menu's "class_schedule" row, and its tour steps: the grid, a
// lesson's period tip, the course entry, the class-period screen and its picker panel.
#include "shell/screens/FeatureScreens.h"

#include "childcare/schedule/ClassScheduleVC.h"
#include "childcare/schedule/ClassTimeSetVC.h"
#include "childcare/schedule/CourseButton.h"
#include "childcare/schedule/InputView.h"
#include "kit/popover/PopTip.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"
#include "ui/view/Screen.h"
#include "ui/scroll/TableView.h"

namespace shell {

namespace {

    std::shared_ptr<childcare::ClassScheduleVC> schedule()
    {
        return std::dynamic_pointer_cast<childcare::ClassScheduleVC>(TourContext::centreRoot());
    }

    std::shared_ptr<childcare::ClassTimeSetVC> periodScreen()
    {
        return std::dynamic_pointer_cast<childcare::ClassTimeSetVC>(TourContext::topOfCentre());
    }

    bool scheduleShown()
    {
        auto screen = schedule();
        return screen && screen->classInfo() && TourContext::topOfCentre() == screen && TourContext::networkIdle()
            && TourContext::drawerAtRest(kit::DrawerSide::None);
    }

    void showTip()
    {
        auto screen = schedule();
        if (auto cover = screen ? screen->lessonNumberButton(2) : nullptr)
            screen->clickNumClass(*cover);
    }

    void openCourseEntry()
    {
        auto screen = schedule();
        auto buttons = screen ? screen->courseButtons() : std::vector<std::shared_ptr<childcare::CourseButton>> {};
        if (!buttons.empty())
            screen->courseClick(*buttons.front());
    }

    void openPeriodTimes()
    {
        if (auto screen = schedule())
            screen->pushSetTimeVC();
    }

    void openPeriodPicker()
    {
        if (auto periods = periodScreen())
            periods->didSelectRowAtIndexPath(*periods->tableView(), { 0, 1 });
    }

    bool pickerRaised()
    {
        auto periods = periodScreen();
        return periods && periods->pickerBgView()->superview()
            && periods->pickerBgView()->frame().minY() == ui::Screen::main().bounds().height() / 2;
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        steps.add(
            { "class-schedule", [] { TourContext::openMenuRow(ScreenDirectory::ClassSchedule); }, scheduleShown, {} });
        steps.add({ "class-schedule-tip", showTip,
            [] {
                auto screen = schedule();
                return screen && screen->popTip()->isVisible();
            },
            [] {
                if (auto screen = schedule())
                    screen->popTip()->hide();
            } });
        steps.add({ "course-entry", openCourseEntry,
            [] {
                auto screen = schedule();
                return screen && screen->inputView();
            },
            [] {
                if (auto screen = schedule())
                    screen->cancelChange();
            } });
        steps.add({ "class-period-times", openPeriodTimes, [] { return periodScreen() != nullptr; }, {} });
        steps.add({ "class-period-picker", openPeriodPicker, pickerRaised, [] {
                       if (auto periods = periodScreen())
                           periods->hideMyPicker();
                       TourContext::popToCentreRoot();
                   } });
    }

} // namespace

void registerScheduleScreens()
{
    ScreenDirectory::shared().add(
        ScreenDirectory::ClassSchedule, [](const std::shared_ptr<core::Device>&, ScreenDirectory::Opening opening) {
            return childcare::ClassScheduleVC::make(opening == ScreenDirectory::Opening::DrawerCentre);
        });
    addTourSteps();
}

} // namespace shell
