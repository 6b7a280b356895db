// chat::ChatVC: the conversation with the current watch. The list comes from the local chat tables (oldest
// first, a time line above each message whose "HH:mm" differs from the one before), a page at a time
// (MessageHistory): the newest page each time the screen appears, older ones as the user scrolls back, and
// what is new whenever a message is stored. While on screen it asks "PopManyQueryMessage" 10 s
// after each reply or failure and stores what comes by the chat's message rule; leaving the screen stops
// the asking. Returning in the text field stores the text, shows it and sends it ("LumetSendTextMsg"); a
// text the service does not take gives the alert "failure" and goes back into the field if that is still
// empty. Holding the talk button records a voice message: it is stored, kept in the message folder as
// "message<UUID>" and uploaded as one multipart request on the screen's own operation queue; a recording
// that yields no voice, or an upload that fails, gives the alert "failure". The view moves up with the
// keyboard while the screen is on top. Main thread; made with make().
//
//   navigation->pushViewController(chat::ChatVC::make(), true);
#pragma once

#include "base/loop/OperationQueue.h"
#include "base/time/Clock.h"
#include "chat/MessageFrame.h"
#include "chat/MessageHistory.h"
#include "chat/RecordButtonDelegate.h"
#include "ui/controllers/ViewController.h"
#include "ui/controls/TextFieldDelegate.h"
#include "ui/scroll/TableViewDataSource.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Button;
class ImageView;
class TableView;
class TextField;
}

namespace chat {

class RecordButton;

class ChatVC : public ui::ViewController,
               public ui::TableViewDataSource,
               public ui::TableViewDelegate,
               public ui::TextFieldDelegate,
               public RecordButtonDelegate {
public:
    static constexpr base::Duration pollInterval { 10.0 };
    static constexpr int maxRecordSeconds = 20;
    static constexpr double topBarHeight = 64;
    static constexpr double toolBarHeight = 39;
    // Voice data of no more than the AMR magic holds no speech.
    static constexpr size_t amrMagicSize = 6;

    static std::shared_ptr<ChatVC> make();
    ~ChatVC() override;

    // The loaded messages' frames, oldest first.
    const std::vector<std::shared_ptr<MessageFrame>>& allMessagesFrame() const { return m_history.frames(); }
    const std::shared_ptr<ui::TableView>& tableView();
    const std::shared_ptr<ui::TextField>& messageField();
    const std::shared_ptr<ui::View>& toolBarView();
    const std::shared_ptr<RecordButton>& speakBtn();
    const std::shared_ptr<ui::Button>& voiceBtn();
    const std::shared_ptr<ui::ImageView>& backgroundView();
    const std::shared_ptr<base::OperationQueue>& operationQueue() const { return m_operationQueue; }
    bool isPolling() const { return m_visible; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void loadQueryMessage();
    void sendTxtMsg(const std::string& text, base::Date time);
    void uploadFile(const core::UserMessageQuery& message, const std::optional<base::Data>& file);
    void voiceBtnClick();
    void pushOld();

    void endRecord(const std::optional<base::Data>& amr, const base::URL& recordedFile) override;

    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& table, ui::IndexPath path) override;
    std::optional<double> heightForRowAtIndexPath(ui::TableView&, ui::IndexPath path) override;
    void scrollViewDidScroll(ui::ScrollView&) override;
    void scrollViewWillBeginDragging(ui::ScrollView&) override;
    bool textFieldShouldReturn(ui::TextField& field) override;

private:
    void buildBackground();
    void buildTable();
    void buildToolBar();
    void buildNavigation();
    void observeNotifications();
    void pollFinished();
    void showNewest();
    void showNews();
    void scrollToLastRow();
    void keyboardMoved(double lift, double duration);
    std::shared_ptr<core::UserMessageQuery> newMessage(int64_t type) const;
    void appendAndStore(const std::shared_ptr<core::UserMessageQuery>& message);
    void textRefused(const std::string& text);

    std::shared_ptr<base::OperationQueue> m_operationQueue;
    MessageHistory m_history { core::PendingMessage::Place::Chat };
    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::TextField> m_messageField;
    std::shared_ptr<ui::View> m_toolBarView;
    std::shared_ptr<RecordButton> m_speakBtn;
    std::shared_ptr<ui::Button> m_voiceBtn;
    std::shared_ptr<ui::ImageView> m_backgroundView;
    bool m_visible { false };
    bool m_pollInFlight { false };
};

} // namespace chat
