#include "chat/ChatVC.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/loop/RunLoop.h"
#include "base/text/Localization.h"
#include "chat/HistoryScrolling.h"
#include "chat/MessageCell.h"
#include "chat/RecordButton.h"
#include "core/messages/IncomingMessages.h"
#include "core/state/NotificationNames.h"
#include "gfx/geometry/AffineTransform.h"
#include "gfx/images/Image.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/NavigationItem.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"
#include "ui/input/SwipeGestureRecognizer.h"
#include "ui/scroll/TableView.h"
#include "ui/view/Screen.h"

namespace chat {

namespace {

    constexpr double tallScreenHeight = 568;
    constexpr double toolBarCentreAboveBottom = 20;
    constexpr double fieldIndent = 10;

    std::shared_ptr<ui::Button> makeToggle(const gfx::Rect& frame)
    {
        auto button = std::make_shared<ui::Button>(frame);
        button->setImage(gfx::Image::named("chat_bottom_voice_nor"), ui::ControlState::Normal);
        button->setImage(gfx::Image::named("chat_bottom_voice_press"), ui::ControlState::Highlighted);
        return button;
    }

} // namespace

std::shared_ptr<ChatVC> ChatVC::make() { return std::make_shared<ChatVC>(); }

ChatVC::~ChatVC()
{
    base::RunLoop::main().cancelPerforms(this);
    base::NotificationCenter::defaultCenter().removeObservers(this);
}

const std::shared_ptr<ui::TableView>& ChatVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

const std::shared_ptr<ui::TextField>& ChatVC::messageField()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_messageField;
}

const std::shared_ptr<ui::View>& ChatVC::toolBarView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_toolBarView;
}

const std::shared_ptr<RecordButton>& ChatVC::speakBtn()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_speakBtn;
}

const std::shared_ptr<ui::Button>& ChatVC::voiceBtn()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_voiceBtn;
}

const std::shared_ptr<ui::ImageView>& ChatVC::backgroundView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_backgroundView;
}

void ChatVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    m_operationQueue = std::make_shared<base::OperationQueue>();
    buildBackground();
    buildTable();
    buildToolBar();
    buildNavigation();
}

void ChatVC::buildBackground()
{
    gfx::Rect screen = ui::Screen::main().bounds();
    bool tall = screen.height() == tallScreenHeight;
    m_backgroundView = std::make_shared<ui::ImageView>(gfx::Image::named(tall ? "chat_bg" : "chat_bg_4"));
    m_backgroundView->setFrame({ 0, topBarHeight, screen.width(), screen.height() - topBarHeight });
    view()->insertSubviewAtIndex(m_backgroundView, 0);
}

void ChatVC::buildTable()
{
    gfx::Rect screen = ui::Screen::main().bounds();
    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, topBarHeight, screen.width(), screen.height() - topBarHeight - toolBarHeight },
        ui::TableViewStyle::Grouped);
    auto self = ui::sharedFrom<ChatVC>(this);
    m_tableView->setDelegate(std::static_pointer_cast<ui::TableViewDelegate>(self));
    m_tableView->setDataSource(std::static_pointer_cast<ui::TableViewDataSource>(self));
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    m_tableView->setAllowsSelection(true);
    m_tableView->setBackgroundColor(gfx::Color::clear());
    view()->addSubview(m_tableView);
}

void ChatVC::buildToolBar()
{
    gfx::Rect screen = ui::Screen::main().bounds();
    double height = toolBarHeight + 1;
    m_toolBarView = std::make_shared<ui::View>(gfx::Rect { 0, 0, screen.width(), height });
    m_toolBarView->setCenter({ screen.width() / 2, screen.height() - toolBarCentreAboveBottom });
    m_toolBarView->setBackgroundColor(gfx::Color::rgb(0.94, 0.94, 0.94));

    m_voiceBtn = makeToggle({ 4, 4, 32, 32 });
    m_voiceBtn->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->voiceBtnClick();
        },
        ui::ControlEvent::TouchUpInside);
    m_toolBarView->addSubview(m_voiceBtn);

    gfx::Rect input { 44, 4, screen.width() - 52, 32 };
    auto fieldBox = std::make_shared<ui::View>(input);
    fieldBox->setBackgroundColor(gfx::Color::white());
    fieldBox->layer()->setCornerRadius(5);
    m_toolBarView->addSubview(fieldBox);
    m_messageField = std::make_shared<ui::TextField>(
        gfx::Rect { input.minX() + fieldIndent, input.minY(), input.width() - fieldIndent, input.height() });
    m_messageField->setReturnKeyType(ui::ReturnKeyType::Send);
    m_messageField->setDelegate(std::static_pointer_cast<ui::TextFieldDelegate>(ui::sharedFrom<ChatVC>(this)));
    m_toolBarView->addSubview(m_messageField);

    m_speakBtn = std::make_shared<RecordButton>(input);
    m_speakBtn->setBackgroundColor(gfx::Color::white());
    m_speakBtn->layer()->setCornerRadius(5);
    m_speakBtn->setTitle(base::localized("hold_to_talk"), ui::ControlState::Normal);
    m_speakBtn->setTitleColor(gfx::Color::darkGray(), ui::ControlState::Normal);
    m_speakBtn->setHidden(true);
    m_speakBtn->initRecord(std::static_pointer_cast<RecordButtonDelegate>(ui::sharedFrom<ChatVC>(this)),
        maxRecordSeconds, base::localized("cancel_record_slide"));
    m_toolBarView->addSubview(m_speakBtn);
    view()->addSubview(m_toolBarView);
}

void ChatVC::buildNavigation()
{
    auto back = std::make_shared<ui::BarButtonItem>(gfx::Image::named("detail_back_pressed"),
        ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->pushOld();
        });
    back->setTintColor(gfx::Color::white());
    navigationItem()->setLeftBarButtonItem(back);
    auto swipe = std::make_shared<ui::SwipeGestureRecognizer>([weak = ui::weakFrom(this)](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            self->pushOld();
    });
    swipe->setDirection(ui::SwipeGestureRecognizer::Right);
    view()->addGestureRecognizer(swipe);
}

void ChatVC::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_visible = true;
    if (!m_pollInFlight)
        loadQueryMessage();
    observeNotifications();
}

void ChatVC::observeNotifications()
{
    auto& center = base::NotificationCenter::defaultCenter();
    center.removeObservers(this);
    center.addObserver(
        core::NotificationNames::ReceiveRemoteNotification, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification&) {
            if (auto self = weak.lock())
                self->showNews();
        },
        this);
    center.addObserver(
        ui::Keyboard::willShowNotification, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification& note) {
            auto transition = note.objectAs<ui::KeyboardTransition>();
            if (auto self = weak.lock(); self && transition)
                self->keyboardMoved(transition->endFrame.height(), transition->duration);
        },
        this);
    center.addObserver(
        ui::Keyboard::willHideNotification, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification& note) {
            auto transition = note.objectAs<ui::KeyboardTransition>();
            if (auto self = weak.lock())
                self->keyboardMoved(0, transition ? transition->duration : ui::Keyboard::animationDuration);
        },
        this);
}

void ChatVC::viewDidAppear(bool) { showNewest(); }

void ChatVC::viewWillDisappear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    m_visible = false;
    base::RunLoop::main().cancelPerforms(this);
    base::NotificationCenter::defaultCenter().removeObservers(this);
}

void ChatVC::showNewest()
{
    m_history.loadNewest();
    m_tableView->reloadData();
    scrollToLastRow();
}

void ChatVC::showNews()
{
    m_history.refresh();
    m_tableView->reloadData();
    scrollToLastRow();
}

void ChatVC::scrollToLastRow()
{
    if (!m_history.frames().empty())
        scrollToNewestMessage(*m_tableView, true);
}

void ChatVC::loadQueryMessage()
{
    BASE_ASSERT_MAIN_THREAD();
    m_pollInFlight = true;
    core::IncomingMessages::pollForChat(
        [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock())
                self->showNews();
        },
        [weak = ui::weakFrom(this)](bool) {
            if (auto self = weak.lock())
                self->pollFinished();
        });
}

void ChatVC::pollFinished()
{
    m_pollInFlight = false;
    if (!m_visible)
        return;
    base::RunLoop::main().performAfter(
        pollInterval,
        [weak = ui::weakFrom(this)] {
            if (auto self = weak.lock(); self && self->m_visible)
                self->loadQueryMessage();
        },
        this);
}

void ChatVC::keyboardMoved(double lift, double duration)
{
    ui::View::animateWithDuration(duration, [weak = ui::weakFrom(this), lift] {
        if (auto self = weak.lock())
            self->view()->setTransform(gfx::AffineTransform::makeTranslation(0, -lift));
    });
}

void ChatVC::voiceBtnClick()
{
    BASE_ASSERT_MAIN_THREAD();
    bool showField = m_messageField->isHidden();
    m_messageField->setHidden(!showField);
    m_speakBtn->setHidden(showField);
    const char* normal = showField ? "chat_bottom_voice_nor" : "chat_bottom_keyboard_nor";
    const char* pressed = showField ? "chat_bottom_voice_press" : "chat_bottom_keyboard_press";
    m_voiceBtn->setImage(gfx::Image::named(normal), ui::ControlState::Normal);
    m_voiceBtn->setImage(gfx::Image::named(pressed), ui::ControlState::Highlighted);
    if (showField)
        m_messageField->becomeFirstResponder();
    else
        m_messageField->resignFirstResponder();
}

void ChatVC::pushOld()
{
    BASE_ASSERT_MAIN_THREAD();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

int ChatVC::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(m_history.frames().size()); }

std::shared_ptr<ui::TableViewCell> ChatVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell
        = std::dynamic_pointer_cast<MessageCell>(table.dequeueReusableCellWithIdentifier(MessageCell::ReuseIdentifier));
    if (!cell)
        cell = std::make_shared<MessageCell>();
    cell->setMessageFrame(m_history.frames().at(path.row));
    return cell;
}

std::optional<double> ChatVC::heightForRowAtIndexPath(ui::TableView&, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    return m_history.frames().at(path.row)->cellHeight();
}

void ChatVC::scrollViewDidScroll(ui::ScrollView&) { (void)showOlderMessagesNearTop(m_history, *m_tableView); }

void ChatVC::scrollViewWillBeginDragging(ui::ScrollView&) { ui::Keyboard::shared().endEditing(view().get()); }

} // namespace chat
