#include "feedback/FeedbackVC.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/system/Log.h"
#include "base/text/Localization.h"
#include "feedback/FeedbackBubbleView.h"
#include "feedback/FeedbackPoster.h"
#include "gfx/text/TextAttributes.h"
#include "ui/controllers/NavigationController.h"
#include "ui/controls/BarButtonItem.h"
#include "ui/controls/Button.h"
#include "ui/controls/NavigationBar.h"
#include "ui/controls/NavigationItem.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"
#include "ui/scroll/ScrollView.h"

#include <algorithm>

namespace feedback {

namespace {

    constexpr gfx::Color green { 0.52, 0.8, 0.05, 1.0 };
    constexpr gfx::Color background = gfx::Color::rgb(0.94, 0.95, 0.93);
    constexpr double barHeight = 64;

} // namespace

FeedbackVC::FeedbackVC(std::filesystem::path threadFile, FeedbackService service)
    : m_service(std::move(service))
    , m_thread(std::make_shared<FeedbackThread>(FeedbackThread::load(std::move(threadFile))))
    , m_sending(std::make_shared<int>(0))
{
    BASE_ASSERT_MAIN_THREAD();
}

std::shared_ptr<FeedbackVC> FeedbackVC::make(std::filesystem::path threadFile, FeedbackService service)
{
    BASE_ASSERT_MAIN_THREAD();
    return std::make_shared<FeedbackVC>(std::move(threadFile), std::move(service));
}

std::shared_ptr<ui::NavigationController> FeedbackVC::inNavigation(const std::shared_ptr<FeedbackVC>& screen)
{
    BASE_ASSERT_MAIN_THREAD();
    auto navigation = ui::NavigationController::withRootViewController(screen);
    const auto& bar = navigation->navigationBar();
    bar->setBarTintColor(green);
    bar->setTintColor(gfx::Color::white());
    gfx::TextAttributes title;
    title.font = gfx::Font::boldSystem(18);
    title.color = gfx::Color::white();
    bar->setTitleTextAttributes(title);
    return navigation;
}

FeedbackVC::~FeedbackVC() { base::NotificationCenter::defaultCenter().removeObservers(this); }

const std::shared_ptr<ui::TextField>& FeedbackVC::inputField()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_inputField;
}

const std::shared_ptr<ui::Button>& FeedbackVC::sendButton()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_sendButton;
}

void FeedbackVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    view()->setBackgroundColor(background);
    setTitle(base::localized("feedback_title"));
    navigationItem()->setLeftBarButtonItem(std::make_shared<ui::BarButtonItem>(base::localized("feedback_close"),
        ui::BarButtonItemStyle::Plain, [weak = ui::weakFrom(this)](ui::BarButtonItem&) {
            if (auto self = weak.lock())
                self->close();
        }));
    gfx::Rect bounds = view()->bounds();
    m_scrollView = std::make_shared<ui::ScrollView>(
        gfx::Rect { 0, barHeight, bounds.width(), bounds.height() - barHeight - inputBarHeight });
    m_scrollView->setAlwaysBounceVertical(true);
    view()->addSubview(m_scrollView);
    buildInputBar();
    observeKeyboard();
    reloadBubbles();
}

void FeedbackVC::buildInputBar()
{
    gfx::Rect bounds = view()->bounds();
    m_inputBar
        = std::make_shared<ui::View>(gfx::Rect { 0, bounds.height() - inputBarHeight, bounds.width(), inputBarHeight });
    m_inputBar->setBackgroundColor(gfx::Color::white());
    m_inputField = std::make_shared<ui::TextField>(gfx::Rect { 8, 8, bounds.width() - 88, 34 });
    m_inputField->setBorderStyle(ui::TextBorderStyle::RoundedRect);
    m_inputField->setPlaceholder(base::localized("feedback_placeholder"));
    m_inputField->setReturnKeyType(ui::ReturnKeyType::Send);
    m_inputField->setDelegate(ui::weakFrom(this));
    m_inputBar->addSubview(m_inputField);
    m_sendButton = std::make_shared<ui::Button>(gfx::Rect { bounds.width() - 72, 8, 64, 34 });
    m_sendButton->setTitle(base::localized("feedback_send"), ui::ControlState::Normal);
    m_sendButton->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    m_sendButton->setBackgroundColor(green);
    m_sendButton->layer()->setCornerRadius(6);
    m_sendButton->addAction(
        [weak = ui::weakFrom(this)](ui::Control&) {
            if (auto self = weak.lock())
                self->sendTyped();
        },
        ui::ControlEvent::TouchUpInside);
    m_inputBar->addSubview(m_sendButton);
    view()->addSubview(m_inputBar);
}

void FeedbackVC::observeKeyboard()
{
    auto& centre = base::NotificationCenter::defaultCenter();
    auto move = [weak = ui::weakFrom(this)](const base::Notification& notification) {
        auto transition = notification.objectAs<ui::KeyboardTransition>();
        if (auto self = weak.lock(); self && transition)
            self->moveInputBar(transition->endFrame.minY());
    };
    centre.addObserver(ui::Keyboard::willShowNotification, nullptr, move, this);
    centre.addObserver(ui::Keyboard::willHideNotification, nullptr, move, this);
}

void FeedbackVC::moveInputBar(double keyboardTop)
{
    gfx::Rect frame = m_inputBar->frame();
    double bottom = std::min(keyboardTop, view()->bounds().height());
    m_inputBar->setFrame({ frame.minX(), bottom - inputBarHeight, frame.width(), frame.height() });
    gfx::Rect scroll = m_scrollView->frame();
    m_scrollView->setFrame({ scroll.minX(), scroll.minY(), scroll.width(), bottom - inputBarHeight - scroll.minY() });
}

void FeedbackVC::viewWillDisappear(bool) { m_inputField->resignFirstResponder(); }

bool FeedbackVC::textFieldShouldReturn(ui::TextField&)
{
    BASE_ASSERT_MAIN_THREAD();
    sendTyped();
    return false;
}

void FeedbackVC::reloadBubbles()
{
    for (const auto& bubble : m_bubbles)
        bubble->removeFromSuperview();
    m_bubbles.clear();
    double width = m_scrollView->bounds().width();
    double y = 8;
    for (const auto& message : m_thread->messages()) {
        auto bubble = FeedbackBubbleView::make(message, width, [weak = ui::weakFrom(this)](int64_t id) {
            if (auto self = weak.lock())
                self->resend(id);
        });
        gfx::Rect frame = bubble->frame();
        bubble->setFrame({ frame.minX(), y, frame.width(), frame.height() });
        y += bubble->frame().height();
        m_scrollView->addSubview(bubble);
        m_bubbles.push_back(bubble);
    }
    m_scrollView->setContentSize({ width, y });
    double overflow = y - m_scrollView->bounds().height();
    m_scrollView->setContentOffset({ 0, std::max(0.0, overflow) });
}

void FeedbackVC::sendTyped()
{
    BASE_ASSERT_MAIN_THREAD();
    std::string text = m_inputField->text();
    if (text.find_first_not_of(" \t\n") == std::string::npos)
        return;
    const FeedbackMessage& message = m_thread->append(std::move(text), base::Date::now());
    m_inputField->setText("");
    reloadBubbles();
    post(message);
}

void FeedbackVC::resend(int64_t id)
{
    BASE_ASSERT_MAIN_THREAD();
    if (const FeedbackMessage* message = m_thread->find(id); message && !message->sent)
        post(*message);
}

void FeedbackVC::post(const FeedbackMessage& message)
{
    if (m_service.isSignedIn && !m_service.isSignedIn())
        return; // another account's session must not carry this account's words
    ++*m_sending;
    int64_t id = message.id;
    FeedbackPoster::post(
        m_service, message, [thread = m_thread, sending = m_sending, weak = ui::weakFrom(this), id](bool delivered) {
            --*sending;
            if (delivered && !thread->markSent(id, true))
                base::log("feedback: a delivered message could not be marked as sent");
            if (auto self = weak.lock())
                self->reloadBubbles();
        });
}

void FeedbackVC::close()
{
    BASE_ASSERT_MAIN_THREAD();
    m_inputField->resignFirstResponder();
    dismissViewController(true);
}

} // namespace feedback
