// childcare::ClassScheduleVC: the watch's weekly class timetable: a grid of Monday to Friday by 8 lessons
// under a header of the week's dates, each named lesson drawn as a coloured course button (neighbouring
// lessons of one day with the same name as one button). A free cell is marked by a first tap and opens the
// course entry on a second; a course button opens the entry at once. A tap on a lesson number shows the
// lesson's period time in a pop tip, and a tap on the tip opens the class-period screen. The switch in the
// bar locks the timetable on the watch. Every change sends the whole timetable ("LumetSetClassInfo"); an
// accepted save reloads it ("LumetGetClassInfo"), as does the end of each drag of the grid.
//
// A read that fails or cannot be read is said (the network notice, or "load_failed") and keeps the grid, the
// switch and the timetable as they were; before any timetable has been read, the failure stays said in place
// of the grid. Without a timetable (none read yet) nothing is sent: the switch goes back and no entry opens.
// A refused or failed save shows "setting_failed", keeps the edit in the timetable for the next save and puts
// the switch back where the timetable has it. Main thread; made with make().
//
//   auto schedule = childcare::ClassScheduleVC::make(true);
//   auto navigation = shell::NavViewController::withRootViewController(schedule);
#pragma once

#include "base/time/DateComponents.h"
#include "childcare/schedule/ClassTimeSetVCDelegate.h"
#include "childcare/schedule/WeekCourse.h"
#include "core/records/Lumet_ClassInfo.h"
#include "gfx/drawing/Color.h"
#include "ui/scroll/ScrollViewDelegate.h"
#include "ui/controllers/ViewController.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kit {
class LoadFailureLine;
class PopTip;
class ProgressOverlay;
}
namespace ui {
class Button;
class ImageView;
class ScrollView;
class Switch;
}

namespace childcare {

class ClassTimeSetVC;
class CourseButton;
class InputView;

class ClassScheduleVC : public ui::ViewController, public ClassTimeSetVCDelegate, public ui::ScrollViewDelegate {
public:
    using Courses = std::vector<std::shared_ptr<WeekCourse>>;

    static constexpr int lessons = 8;
    static constexpr int shownDays = 5;
    static constexpr int lockTag = 900;
    static constexpr int dayHeaderTag = 9000;
    static constexpr double barBottom = 64;
    static constexpr double headerHeight = 30;
    static constexpr double rowHeight = 50;
    static constexpr double contentHeight = 600;
    static constexpr double tipMaximumWidth = 120;
    static constexpr std::array<const char*, 15> colorTable
        = { "174,222,57", "253,96,166", "0,122,199", "187,74,226", "242,68,68", "9,155,43", "251,136,71", "163,77,140",
              "32,81,148", "255,170,0", "4,155,151", "38,101,252", "234,51,36", "107,177,39", "245,51,119" };

    static std::shared_ptr<ClassScheduleVC> make(bool showsDrawerButton);
    explicit ClassScheduleVC(bool showsDrawerButton);
    ~ClassScheduleVC() override;

    // The timetable's courses, Monday's lessons first, each taking its lesson number from its place.
    static Courses handleWeek(core::Lumet_ClassInfo& timetable);
    // Neighbouring lessons of one day with the same non-empty name become one course.
    static Courses getNewWeekCourses(const Courses& courses);
    // "r,g,b" in 0 to 255 as a colour; light grey for fewer than three parts.
    static gfx::Color handleRandomColorStr(std::string_view text);
    // The day cell's tag for a day (1 Monday) and lesson (1 to 8).
    static int cellTag(int day, int lesson) { return day * 10 + lesson; }

    const std::shared_ptr<ui::ScrollView>& weekScrollView() const { return m_weekScrollView; }
    const std::shared_ptr<ui::View>& weekView() const { return m_weekView; }
    const std::vector<std::string>& horTitles() const { return m_horTitles; }
    int clickTag() const { return m_clickTag; }
    const std::shared_ptr<ui::Switch>& classLock() const { return m_classLock; }
    const std::shared_ptr<core::Lumet_ClassInfo>& classInfo() const { return m_classInfo; }
    const std::vector<std::string>& arrClassTime() const { return m_arrClassTime; }
    const std::shared_ptr<ClassTimeSetVC>& classTimeSetVC() const { return m_classTimeSetVC; }
    const std::shared_ptr<InputView>& inputView() const { return m_inputView; }
    const std::shared_ptr<kit::PopTip>& popTip() const { return m_popTip; }
    std::shared_ptr<ui::Button> dayCell(int day, int lesson) const;
    std::vector<std::shared_ptr<CourseButton>> courseButtons() const;
    // The tappable cover of a lesson number (row 0 to 7); empty before the first layout.
    std::shared_ptr<ui::Button> lessonNumberButton(int row) const;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // The dismissing action (a desktop's Escape) closes an open course entry as its close button does.
    bool performEscape() override;

    // Actions.
    void addClickOne(ui::Button& cell);
    void courseClick(CourseButton& button);
    void clickNumClass(ui::Button& cover);
    void switchStateChange();
    void submitChange();
    void cancelChange();
    void pushSetTimeVC();
    void loadNetData();
    // Takes in a "LumetGetClassInfo" reply text, as each load does.
    void loadReply(const std::string& reply);

    void setTime(
        const Periods& startHour, const Periods& startMin, const Periods& endHour, const Periods& endMin) override;
    void scrollViewDidEndDragging(ui::ScrollView&, bool willDecelerate) override;

private:
    void getData();
    void initNavigationBar();
    void initPopTip();
    void initWeekView();
    void initHeader(const std::shared_ptr<ui::View>& header, double unit);
    void initRows(double unit);
    void loadLoacalData();
    void handleData(const Courses& courses);
    void addCourseButton(const std::shared_ptr<WeekCourse>& course, size_t nameNumber, double unit);
    void addLessonNumberCovers(double unit);
    void openInputView(std::shared_ptr<WeekCourse> course);
    void removeInputViews();
    void save();
    void setClassInfo(base::ArrayRef lessons);
    void saveFinished(bool accepted);
    void showSpinner();
    void hideSpinner();
    bool holdsTimetable() const { return m_classInfo != nullptr; }
    void showLockFromTimetable();
    static size_t randomColourIndex();

    bool m_showsDrawerButton;
    std::shared_ptr<ui::ScrollView> m_weekScrollView;
    std::shared_ptr<kit::LoadFailureLine> m_failureLine;
    std::shared_ptr<ui::View> m_weekView;
    std::shared_ptr<ui::ImageView> m_bgImageView;
    std::shared_ptr<ui::ImageView> m_navBackground;
    std::vector<std::string> m_horTitles;
    base::DateComponents m_todayComp;
    int m_clickTag { 0 };
    std::shared_ptr<ui::Switch> m_classLock;
    std::shared_ptr<core::Lumet_ClassInfo> m_classInfo;
    std::vector<std::string> m_arrClassTime;
    std::shared_ptr<ClassTimeSetVC> m_classTimeSetVC;
    std::shared_ptr<InputView> m_inputView;
    std::shared_ptr<std::vector<base::Value>> m_arrStartHour;
    std::shared_ptr<std::vector<base::Value>> m_arrStartMin;
    std::shared_ptr<std::vector<base::Value>> m_arrEndHour;
    std::shared_ptr<std::vector<base::Value>> m_arrEndMin;
    std::vector<std::string> m_colors;
    std::shared_ptr<kit::PopTip> m_popTip;
    std::vector<std::shared_ptr<ui::Button>> m_lessonNumberCovers;
    std::vector<std::shared_ptr<kit::ProgressOverlay>> m_spinners;
};

} // namespace childcare
