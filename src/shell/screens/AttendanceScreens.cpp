// The attendance screens in the screen directory (the menu's "attendance" row and the home screen's
// right-hand button) and their tour steps: the list opened from the menu, its settings, the time picker,
// the alarm clocks opened as a folder and the alarm-clock editor.
#include "shell/screens/FeatureScreens.h"

#include "childcare/alarms/AlarmClockDetailViewController.h"
#include "childcare/attendance/AttendanceSettingVC.h"
#include "childcare/attendance/AttendanceVC.h"
#include "kit/folder/FolderTableView.h"
#include "kit/modal/ModalPresenter.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"
#include "ui/controllers/NavigationController.h"

namespace shell {

namespace {

    std::shared_ptr<childcare::AttendanceVC> attendanceScreen()
    {
        return std::dynamic_pointer_cast<childcare::AttendanceVC>(TourContext::centreRoot());
    }

    std::shared_ptr<childcare::AttendanceSettingVC> settingsScreen()
    {
        return std::dynamic_pointer_cast<childcare::AttendanceSettingVC>(TourContext::topOfCentre());
    }

    void addTourSteps()
    {
        auto& steps = TourSteps::shared();
        auto previous = std::make_shared<std::weak_ptr<ui::ViewController>>();
        steps.add({ "attendance",
            [previous] {
                *previous = TourContext::centreRoot();
                TourContext::openMenuRow(ScreenDirectory::Attendance);
            },
            [previous] {
                auto screen = attendanceScreen();
                return screen && screen != previous->lock() && !screen->isReloading() && TourContext::networkIdle()
                    && TourContext::drawerAtRest(kit::DrawerSide::None);
            },
            {} });
        steps.add({ "attendance-settings",
            [] {
                if (auto screen = attendanceScreen())
                    screen->clickRigthbtn();
            },
            [] { return settingsScreen() && TourContext::networkIdle(); }, {} });
        steps.add({ "attendance-time-picker",
            [] {
                if (auto settings = settingsScreen())
                    settings->didSelectRowAtIndexPath(
                        *settings->tableView(), { childcare::AttendanceSettingVC::EnterTime, 0 });
            },
            [] { return kit::ModalPresenter::sharedInstance()->window() != nullptr; },
            [] { kit::ModalPresenter::sharedInstance()->hideAnimated(false); } });
        steps.add({ "alarm-clocks",
            [] {
                if (auto settings = settingsScreen())
                    settings->didSelectRowAtIndexPath(
                        *settings->tableView(), { childcare::AttendanceSettingVC::AlarmClocks, 0 });
            },
            [] {
                auto settings = settingsScreen();
                return settings && settings->tableView()->subClassContentView();
            },
            {} });
        steps.add({ "alarm-clock-editor",
            [] {
                auto settings = settingsScreen();
                if (settings && settings->clockView()->numberOfRowsInSection(0) > 0)
                    settings->didSelectRowAtIndexPath(*settings->clockView(), { 0, 0 });
            },
            [] {
                return std::dynamic_pointer_cast<childcare::AlarmClockDetailViewController>(TourContext::topOfCentre())
                    != nullptr;
            },
            [] { TourContext::popToCentreRoot(); } });
    }

} // namespace

void registerAttendanceScreens()
{
    ScreenDirectory::shared().add(
        ScreenDirectory::Attendance, [](const std::shared_ptr<core::Device>& device, ScreenDirectory::Opening opening) {
            return childcare::AttendanceVC::make(device, opening == ScreenDirectory::Opening::DrawerCentre);
        });
    addTourSteps();
}

} // namespace shell
