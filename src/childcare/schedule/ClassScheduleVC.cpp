#include "childcare/schedule/ClassScheduleVC.h"

#include "base/time/Calendar.h"
#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/loop/MainThread.h"
#include "childcare/schedule/ClassTimeSetVC.h"
#include "childcare/schedule/CourseButton.h"
#include "childcare/schedule/DateUtils.h"
#include "childcare/schedule/InputView.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "kit/popover/PopTip.h"
#include "kit/widgets/LoadFailureLine.h"
#include "kit/widgets/TwoTitleButton.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/scroll/ScrollView.h"
#include "ui/controls/Switch.h"

namespace childcare {

namespace {

    constexpr gfx::Color titleColour = gfx::Color::rgb(0.6, 0.02, 0.46);
    constexpr gfx::Color ruleColour = gfx::Color::rgb(0.56, 0.56, 0.74);
    constexpr gfx::Color lockOnTint = gfx::Color::rgb(0.36, 0.8, 1.0);
    constexpr double ruleWidth = 0.4;
    constexpr const char* dayKeys[] = { "mon", "tues", "web", "thur", "fri" };

    std::shared_ptr<ui::Button> makeRuledCell(const gfx::Rect& frame, const std::string& title)
    {
        auto cell = std::make_shared<ui::Button>(frame);
        cell->setTitle(title, ui::ControlState::Normal);
        cell->setTitleColor(titleColour, ui::ControlState::Normal);
        cell->layer()->setBorderColor(ruleColour);
        cell->layer()->setBorderWidth(ruleWidth);
        return cell;
    }

} // namespace

std::shared_ptr<ClassScheduleVC> ClassScheduleVC::make(bool showsDrawerButton)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<ClassScheduleVC>(showsDrawerButton);
}

ClassScheduleVC::ClassScheduleVC(bool showsDrawerButton)
    : m_showsDrawerButton(showsDrawerButton)
{
    BASE_ASSERT_MAIN_THREAD();
}

ClassScheduleVC::~ClassScheduleVC()
{
    if (m_navBackground)
        m_navBackground->removeFromSuperview();
}

void ClassScheduleVC::viewDidLoad()
{
    setTitle(base::localized("class_schedule"));
    if (m_showsDrawerButton) {
        auto toggle = kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            auto self = weak.lock();
            if (auto drawer = self ? kit::drawerControllerOf(*self) : nullptr)
                drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
        });
        toggle->setTintColor(gfx::Color::blue());
        navigationItem()->setLeftBarButtonItem(toggle);
    }
    m_classLock = std::make_shared<ui::Switch>();
    m_classLock->setBackgroundColor(gfx::Color::white());
    m_classLock->setOnTintColor(lockOnTint);
    m_classLock->layer()->setCornerRadius(16);
    m_classLock->setTag(lockTag);
    m_classLock->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->switchStateChange();
        },
        ui::ControlEvent::ValueChanged);
    navigationItem()->setRightBarButtonItem(std::make_shared<ui::BarButtonItem>(m_classLock));

    initPopTip();
    getData();
    initNavigationBar();
    initWeekView();
    m_classTimeSetVC = ClassTimeSetVC::make();
    m_classTimeSetVC->setDelegate(ui::weakFrom(this));
    loadNetData();
}

void ClassScheduleVC::viewWillAppear(bool)
{
    auto navigation = navigationController();
    if (!navigation || m_navBackground->superview())
        return;
    m_navBackground->setFrame(navigation->navigationBar()->bounds());
    navigation->navigationBar()->insertSubviewAtIndex(m_navBackground, 0);
}

void ClassScheduleVC::initPopTip()
{
    kit::PopTip::setAppearanceFont(gfx::Font::named("Avenir-Medium", 12));
    m_popTip = kit::PopTip::popTip();
    m_popTip->setShouldDismissOnTap(true);
    m_popTip->setEdgeMargin(5);
    m_popTip->setOffset(2);
    m_popTip->setEdgeInsets({ 0, 10, 0, 10 });
    m_popTip->setTapHandler([weak = ui::weakFrom(this)] {
        if (auto self = weak.lock())
            self->pushSetTimeVC();
    });
}

void ClassScheduleVC::getData()
{
    m_colors.assign(colorTable.begin(), colorTable.end());
    m_horTitles = DateUtils::getDatesOfCurrence();
    m_todayComp = base::Calendar::current().components(base::Date::now());
}

void ClassScheduleVC::initNavigationBar()
{
    // The bar's background picture, laid into the navigation bar behind its items when the screen shows.
    m_navBackground = std::make_shared<ui::ImageView>(gfx::Image::named("nav_bg"));
    m_navBackground->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    m_navBackground->setUserInteractionEnabled(false);

    gfx::Rect screen = ui::Screen::main().bounds();
    m_bgImageView = std::make_shared<ui::ImageView>(gfx::Image::named("class_bg"));
    m_bgImageView->setFrame({ 0, barBottom, screen.width(), screen.height() - barBottom });
    m_bgImageView->setContentMode(ui::ContentMode::ScaleAspectFill);
    m_bgImageView->setClipsToBounds(true);
    view()->addSubview(m_bgImageView);
}

void ClassScheduleVC::initWeekView()
{
    gfx::Rect screen = ui::Screen::main().bounds();
    double width = screen.width();
    double unit = width / 5.5;
    m_weekView = std::make_shared<ui::View>(gfx::Rect { 0, barBottom, width, screen.height() - barBottom });
    view()->addSubview(m_weekView);
    auto header = std::make_shared<ui::View>(gfx::Rect { 0, 0, width, headerHeight });
    m_weekView->addSubview(header);
    initHeader(header, unit);

    m_weekScrollView = std::make_shared<ui::ScrollView>(
        gfx::Rect { 0, headerHeight, width, m_weekView->bounds().height() - headerHeight });
    m_weekScrollView->setContentSize({ width, contentHeight });
    m_weekScrollView->setBounces(true);
    m_weekScrollView->setDelegate(ui::weakFrom(this));
    m_weekView->addSubview(m_weekScrollView);
    initRows(unit);
    m_failureLine = kit::LoadFailureLine::make({ 0, 0, width, contentHeight });
    m_failureLine->setBackgroundColor(gfx::Color::white());
    m_weekScrollView->addSubview(m_failureLine);
}

void ClassScheduleVC::initHeader(const std::shared_ptr<ui::View>& header, double unit)
{
    auto month = makeRuledCell({ 0, 0, unit / 2, headerHeight }, m_horTitles[0]);
    month->titleLabel()->setFont(gfx::Font::system(12));
    month->layer()->setMasksToBounds(true);
    header->addSubview(month);

    std::string todayNumber = std::to_string(m_todayComp.day);
    bool thisMonth = m_horTitles[0] == base::LocalizedFormat::format(base::localized("month"), { m_todayComp.month });
    for (int i = 0; i < shownDays; ++i) {
        auto day = kit::TwoTitleButton::make({ (i + 0.5) * unit, 0, unit, headerHeight });
        day->setTag(dayHeaderTag + i);
        std::string number = m_horTitles[static_cast<size_t>(i + 1)];
        day->setTitle(base::LocalizedFormat::format(base::localized("day"), { number }));
        day->setSubtitle(base::localized(dayKeys[i]));
        day->setTextColor(titleColour);
        if (thisMonth && number == todayNumber)
            day->setBackgroundColor(ruleColour);
        header->addSubview(day);
    }
}

void ClassScheduleVC::initRows(double unit)
{
    for (int row = 0; row < lessons; ++row) {
        double y = rowHeight * row;
        auto number = makeRuledCell({ 0, y, unit / 2, rowHeight }, std::to_string(row + 1));
        number->setBackgroundColor(gfx::Color::clear());
        m_weekScrollView->addSubview(number);
        for (int day = 1; day <= shownDays; ++day) {
            auto cell = std::make_shared<ui::Button>(gfx::Rect { (day - 0.5) * unit - 1, y, unit, rowHeight + 1 });
            cell->setImage(gfx::Image::named("default_add"), ui::ControlState::Normal);
            cell->setTag(cellTag(day, row + 1));
            cell->addAction(
                [weak = ui::weakFrom(this)](ui::Control& sender) {
                    if (auto self = weak.lock())
                        self->addClickOne(static_cast<ui::Button&>(sender));
                },
                ui::ControlEvent::TouchUpInside);
            m_weekScrollView->addSubview(cell);
        }
    }
}

std::shared_ptr<ui::Button> ClassScheduleVC::dayCell(int day, int lesson) const
{
    return m_weekScrollView ? std::dynamic_pointer_cast<ui::Button>(m_weekScrollView->viewWithTag(cellTag(day, lesson)))
                            : nullptr;
}

std::shared_ptr<ui::Button> ClassScheduleVC::lessonNumberButton(int row) const
{
    return row >= 0 && static_cast<size_t>(row) < m_lessonNumberCovers.size()
        ? m_lessonNumberCovers[static_cast<size_t>(row)]
        : nullptr;
}

} // namespace childcare
