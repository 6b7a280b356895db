#include "shell/messages/MessageInfoVC.h"

#include "base/loop/MainThread.h"
#include "base/loop/NotificationCenter.h"
#include "base/text/Localization.h"
#include "chat/HistoryScrolling.h"
#include "chat/MessageCell.h"
#include "core/state/NotificationNames.h"
#include "shell/menu/MainMenuVC.h"
#include "ui/scroll/TableView.h"

namespace shell {

namespace {

    // The screen runs under the navigation bar; the list starts below it.
    constexpr double navigationBarBottom = 64;

    constexpr gfx::Color background = gfx::Color::rgb(0.94, 0.95, 0.93);

} // namespace

std::shared_ptr<MessageInfoVC> MessageInfoVC::make(std::weak_ptr<MainMenuVC> home)
{
    return std::make_shared<MessageInfoVC>(std::move(home));
}

MessageInfoVC::MessageInfoVC(std::weak_ptr<MainMenuVC> home)
    : m_home(std::move(home))
{
}

MessageInfoVC::~MessageInfoVC() { base::NotificationCenter::defaultCenter().removeObservers(this); }

const std::shared_ptr<ui::TableView>& MessageInfoVC::tableView()
{
    BASE_ASSERT_MAIN_THREAD();
    view();
    return m_tableView;
}

void MessageInfoVC::viewDidLoad()
{
    BASE_ASSERT_MAIN_THREAD();
    setTitle(base::localized("message_detail"));
    view()->setBackgroundColor(background);
    gfx::Rect bounds = view()->bounds();
    m_tableView = std::make_shared<ui::TableView>(
        gfx::Rect { 0, navigationBarBottom, bounds.width(), bounds.height() - navigationBarBottom });
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    auto self = ui::sharedFrom(this);
    m_tableView->setDataSource(self);
    m_tableView->setDelegate(self);
    view()->addSubview(m_tableView);
}

void MessageInfoVC::viewWillAppear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    showNewest();
    // The home screen under it has stopped asking for messages; what it stores is read here when announced.
    if (auto home = m_home.lock())
        home->startPolling();
    base::NotificationCenter::defaultCenter().addObserver(
        core::NotificationNames::ReceiveRemoteNotification, nullptr,
        [weak = ui::weakFrom(this)](const base::Notification&) {
            if (auto self = weak.lock())
                self->showNews();
        },
        this);
}

void MessageInfoVC::viewWillDisappear(bool)
{
    BASE_ASSERT_MAIN_THREAD();
    base::NotificationCenter::defaultCenter().removeObservers(this);
    if (auto home = m_home.lock()) {
        home->stopPlay();
        home->stopPolling();
    }
}

void MessageInfoVC::showNewest()
{
    m_history.loadNewest();
    m_tableView->reloadData();
    chat::scrollToNewestMessage(*m_tableView, false);
}

void MessageInfoVC::showNews()
{
    m_history.refresh();
    m_tableView->reloadData();
}

int MessageInfoVC::numberOfRowsInSection(ui::TableView&, int) { return static_cast<int>(m_history.frames().size()); }

std::shared_ptr<ui::TableViewCell> MessageInfoVC::cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path)
{
    BASE_ASSERT_MAIN_THREAD();
    auto cell = std::dynamic_pointer_cast<chat::MessageCell>(
        table.dequeueReusableCellWithIdentifier(chat::MessageCell::ReuseIdentifier));
    if (!cell)
        cell = std::make_shared<chat::MessageCell>();
    cell->setWatchVoicePlayer(
        [home = m_home](const std::string& fileName, std::weak_ptr<voice::RecordAudioDelegate> listener) {
            if (auto player = home.lock())
                player->playVoiceMessage(fileName, std::move(listener));
        });
    cell->setMessageFrame(m_history.frames().at(static_cast<size_t>(path.row)));
    return cell;
}

std::optional<double> MessageInfoVC::heightForRowAtIndexPath(ui::TableView&, ui::IndexPath path)
{
    return m_history.frames().at(static_cast<size_t>(path.row))->cellHeight();
}

void MessageInfoVC::scrollViewDidScroll(ui::ScrollView&)
{
    (void)chat::showOlderMessagesNearTop(m_history, *m_tableView);
}

} // namespace shell
