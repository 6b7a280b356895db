#include "childcare/attendance/AttendanceVC.h"

#include "base/text/Localization.h"
#include "base/text/LocalizedFormat.h"
#include "base/loop/MainThread.h"
#include "childcare/attendance/AttendanceRowTexts.h"
#include "childcare/attendance/AttendanceSchoolTime.h"
#include "childcare/attendance/AttendanceSettingVC.h"
#include "core/helpers/Helper.h"
#include "gfx/drawing/Context.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerController.h"
#include "kit/drawer/DrawerLookup.h"
#include "kit/refresh/RefreshTableHeaderView.h"
#include "kit/widgets/LoadFailureLine.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/NavigationItem.h"
#include "ui/view/Screen.h"
#include "ui/scroll/TableView.h"
#include "ui/scroll/TableViewCell.h"

namespace childcare {

namespace {

    constexpr const char* cellIdentifier = "ExamListCell";
    constexpr const char* emptyImageName = "kq_no_new.png";
    constexpr gfx::Color subtitleColour = gfx::Color::rgb(0.58, 0.58, 0.57);
    constexpr gfx::Color refreshTextColour = gfx::Color::rgb(87 / 255.0, 108 / 255.0, 137 / 255.0);

    // The picture at half opacity, drawn once: a translucent view would be composited through a
    // transparency layer of its whole frame on every frame.
    std::shared_ptr<gfx::Image> faded(const std::shared_ptr<gfx::Image>& image)
    {
        if (!image)
            return nullptr;
        auto context = gfx::Context::makeBitmap(image->size(), image->scale());
        context->setAlpha(0.5);
        context->drawImage(*image, { { 0, 0 }, image->size() });
        return context->makeImage();
    }

    // A row over its background picture; the cell adds its own parts when it first enters the table, so the
    // picture is added at layout and sent to the back each time.
    class ExamListCell : public ui::TableViewCell {
    public:
        ExamListCell()
            : ui::TableViewCell(ui::TableViewCellStyle::Subtitle, cellIdentifier)
            , m_background(std::make_shared<ui::ImageView>(gfx::Image::named("kq_list.png")))
        {
            setSelectionStyle(ui::TableViewCellSelectionStyle::None);
            setBackgroundColor(gfx::Color::clear());
            detailTextLabel()->setTextColor(subtitleColour);
        }

        void layoutSubviews() override
        {
            ui::TableViewCell::layoutSubviews();
            if (!m_background->superview())
                addSubview(m_background);
            if (subviews().front() != m_background)
                sendSubviewToBack(m_background.get());
            if (m_background->frame() != bounds())
                m_background->setFrame(bounds());
        }

    private:
        std::shared_ptr<ui::ImageView> m_background;
    };

} // namespace

std::shared_ptr<AttendanceVC> AttendanceVC::make(std::shared_ptr<core::Device> deviceDetail, bool isShowRight)
{
    BASE_ASSERT_MAIN_THREAD();
    auto screen = std::make_shared<AttendanceVC>();
    screen->setDeviceDetail(std::move(deviceDetail));
    screen->setIsShowRight(isShowRight);
    return screen;
}

const std::shared_ptr<ui::TableView>& AttendanceVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

const std::shared_ptr<ui::ImageView>& AttendanceVC::emptyStateView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_emptyStateView;
}

const std::shared_ptr<AttendanceSettingVC>& AttendanceVC::attendanceSettingVC()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_attendanceSettingVC;
}

void AttendanceVC::loadView()
{
    BASE_ASSERT_MAIN_THREAD();
    ui::ViewController::loadView();
    gfx::Rect screen = ui::Screen::main().bounds();
    view()->setBackgroundColor(gfx::Color::fromWhite(0.95, 1));
    // The table's faint background picture lies under the table, which is clear.
    auto background = std::make_shared<ui::ImageView>(faded(gfx::Image::named(emptyImageName)));
    background->setFrame({ 0, 64, screen.width(), screen.height() - 64 });
    background->setContentMode(ui::ContentMode::Center);
    view()->addSubview(background);
    m_tableView = std::make_shared<ui::TableView>(gfx::Rect { 0, 64, screen.width(), screen.height() - 64 });
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    view()->addSubview(m_tableView);
    m_failureLine = kit::LoadFailureLine::make(m_tableView->bounds());
    m_failureLine->setBackgroundColor(view()->backgroundColor());
    m_tableView->addSubview(m_failureLine);
}

void AttendanceVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    createHeaderView();
    m_open = { true, true, true };
    setTitle(base::localized("attendance"));

    m_emptyStateView = std::make_shared<ui::ImageView>(gfx::Image::named(emptyImageName));
    m_emptyStateView->setFrame(view()->bounds());
    m_emptyStateView->setContentMode(ui::ContentMode::Center);
    view()->addSubview(m_emptyStateView);

    m_attendanceSettingVC = AttendanceSettingVC::make();
    m_attendanceSettingVC->setDelegate(ui::weakFrom(this));
    buildNavigationItems();
    readSchoolTimes();
    m_YMD = AttendanceDays::dayText(base::Date::now());
}

// The navigation controller may still be building its own view when this one loads: its background is set
// once it shows.
void AttendanceVC::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto navigation = navigationController())
        navigation->view()->setBackgroundColor(green);
}

void AttendanceVC::buildNavigationItems()
{
    auto settings = std::make_shared<ui::BarButtonItem>(gfx::Image::named("kq_setting.png"),
        ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->clickRigthbtn();
        });
    settings->setTintColor(gfx::Color::white());
    navigationItem()->setRightBarButtonItem(settings);
    if (m_isShowRight)
        setupLeftMenuButton();
}

void AttendanceVC::setupLeftMenuButton()
{
    auto toggle = kit::DrawerBarButtonItem::make([weak = ui::weakFrom(this)](ui::BarButtonItem&) {
        auto self = weak.lock();
        if (auto drawer = self ? kit::drawerControllerOf(*self) : nullptr)
            drawer->toggleDrawerSide(kit::DrawerSide::Left, true);
    });
    navigationItem()->setLeftBarButtonItem(toggle, true);
}

// The configuration's school times replace the stored ones at each load; a configuration without a usable
// time leaves that time unknown and removes the stored one, so the settings screen shows its default.
void AttendanceVC::readSchoolTimes()
{
    const auto* config = m_deviceDetail ? m_deviceDetail->lumetDeviceConfig.get() : nullptr;
    m_inTime = config ? AttendanceSchoolTime::fromConfig(config->enterCampusTime) : std::nullopt;
    m_outTime = config ? AttendanceSchoolTime::fromConfig(config->leaveCampusTime) : std::nullopt;
    auto stored = [](const std::optional<std::string>& time) {
        return time ? std::optional<base::Value>(base::Value(*time)) : std::nullopt;
    };
    core::Helper::saveSettingValue(stored(m_inTime), AttendanceSchoolTime::InTimeKey);
    core::Helper::saveSettingValue(stored(m_outTime), AttendanceSchoolTime::OutTimeKey);
}

void AttendanceVC::clickRigthbtn()
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation || navigation->topViewController() != ui::sharedFrom(this))
        return;
    m_attendanceSettingVC->setDeviceDetail(m_deviceDetail);
    m_attendanceSettingVC->setInTime(m_inTime);
    m_attendanceSettingVC->setOutTime(m_outTime);
    navigation->pushViewController(m_attendanceSettingVC, true);
}

void AttendanceVC::createHeaderView()
{
    if (m_refreshHeaderView && m_refreshHeaderView->superview())
        m_refreshHeaderView->removeFromSuperview();
    gfx::Rect bounds = view()->bounds();
    m_refreshHeaderView = kit::RefreshTableHeaderView::make(
        { 0, -bounds.height(), bounds.width(), bounds.height() }, "blueArrow.png", refreshTextColour, "AskForLeave");
    m_refreshHeaderView->setDelegate(ui::weakFrom(this));
    m_tableView->addSubview(m_refreshHeaderView);
    beginToReloadData(kit::RefreshTableDelegate::FromHeader);
    m_refreshHeaderView->refreshLastUpdatedDate();
}

int AttendanceVC::numberOfRowsInSection(ui::TableView&, int section)
{
    BASE_ASSERT_MAIN_THREAD();
    if (section < 0 || section >= static_cast<int>(AttendanceDays::count) || !isSectionOpen(section))
        return 0;
    return static_cast<int>(m_days[static_cast<size_t>(section)].rows.size());
}

std::shared_ptr<ui::TableViewCell> AttendanceVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = table.dequeueReusableCellWithIdentifier(cellIdentifier);
    if (!cell)
        cell = std::make_shared<ExamListCell>();
    const auto& row = m_days.at(static_cast<size_t>(path.section)).rows.at(static_cast<size_t>(path.row));
    auto texts = AttendanceRowTexts::of(*row);
    cell->imageView()->setImage(texts ? gfx::Image::named(texts->iconName) : nullptr);
    cell->textLabel()->setText(texts ? texts->title : std::string());
    cell->detailTextLabel()->setText(texts ? texts->subtitle : std::string());
    return cell;
}

std::shared_ptr<ui::View> AttendanceVC::viewForHeaderInSection(ui::TableView& table, int section)
{
    BASE_ASSERT_MAIN_THREAD();
    double width = table.bounds().width();
    auto header = std::make_shared<ui::View>(gfx::Rect { 0, 0, width, headerHeight });
    header->setBackgroundColor(green);
    auto button = std::make_shared<ui::Button>(gfx::Rect { 0, 0, width, headerHeight });
    button->setTag(section + headerButtonTagBase);
    button->addAction(
        [weak = ui::weakFrom(this)](ui::Control& sender) {
            if (auto self = weak.lock())
                self->tapHeader(sender.tag());
        },
        ui::ControlEvent::TouchUpInside);
    header->addSubview(button);
    auto arrow = std::make_shared<ui::ImageView>(gfx::Image::named("xdt3_an_fx.png"));
    arrow->setFrame({ 14, 20, 10, 8 });
    button->addSubview(arrow);
    auto label = std::make_shared<ui::Label>(gfx::Rect { 35, 10, 250, 30 });
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::white());
    const AttendanceDay& day = m_days.at(static_cast<size_t>(section));
    // Before the first reply with rows there is no day to name.
    if (!day.dateText.empty())
        label->setText(
            base::LocalizedFormat::format(base::localized("attendance_time"), { day.dateText, day.weekday }));
    button->addSubview(label);
    return header;
}

void AttendanceVC::tapHeader(int buttonTag)
{
    BASE_ASSERT_MAIN_THREAD();
    int section = buttonTag - headerButtonTagBase;
    if (section < 0 || section >= static_cast<int>(AttendanceDays::count))
        return;
    m_open[static_cast<size_t>(section)] = !m_open[static_cast<size_t>(section)];
    m_tableView->reloadData();
}

void AttendanceVC::scrollViewDidScroll(ui::ScrollView& scrollView)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_refreshHeaderView)
        m_refreshHeaderView->refreshScrollViewDidScroll(scrollView);
}

void AttendanceVC::scrollViewDidEndDragging(ui::ScrollView& scrollView, bool)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_refreshHeaderView)
        m_refreshHeaderView->refreshScrollViewDidEndDragging(scrollView);
}

std::optional<base::Date> AttendanceVC::refreshTableDataSourceLastUpdated(ui::View&) { return base::Date::now(); }

} // namespace childcare
