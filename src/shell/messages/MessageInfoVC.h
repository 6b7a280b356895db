// shell::MessageInfoVC: the message detail: the current device's messages kept in the local message store's
// message tables, oldest first, one speech bubble a row (chat::MessageFrame and chat::MessageCell), with a
// time line over a message whose minute differs from the one before. It reads the store a page at a time
// (chat::MessageHistory): the newest page each time it is about to appear, scrolled to its newest message,
// older ones as the user scrolls back, and what is new when a message is announced
// ("ReceiveRemoteNotification"). Pushed from the home screen, which keeps asking for messages while this
// screen shows and whose player plays a watch voice message tapped here, the row animating its sound-wave
// symbol while it plays; leaving the screen stops that playback and that asking. Main thread; made with make().
//
//   auto detail = shell::MessageInfoVC::make(home);
//   home->navigationController()->pushViewController(detail, true);
#pragma once

#include "chat/MessageFrame.h"
#include "chat/MessageHistory.h"
#include "ui/controllers/ViewController.h"
#include "ui/scroll/TableViewDataSource.h"

#include <memory>
#include <vector>

namespace ui {
class TableView;
}

namespace shell {

class MainMenuVC;

class MessageInfoVC : public ui::ViewController, public ui::TableViewDataSource, public ui::TableViewDelegate {
public:
    static std::shared_ptr<MessageInfoVC> make(std::weak_ptr<MainMenuVC> home);
    explicit MessageInfoVC(std::weak_ptr<MainMenuVC> home);
    ~MessageInfoVC() override;

    // The loaded messages' frames, oldest first.
    const std::vector<std::shared_ptr<chat::MessageFrame>>& messageFrames() const { return m_history.frames(); }
    const std::shared_ptr<ui::TableView>& tableView();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    int numberOfRowsInSection(ui::TableView& table, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    void scrollViewDidScroll(ui::ScrollView&) override;

private:
    void showNewest();
    void showNews();

    std::weak_ptr<MainMenuVC> m_home;
    chat::MessageHistory m_history { core::PendingMessage::Place::MessageCentre };
    std::shared_ptr<ui::TableView> m_tableView;
};

} // namespace shell
