// chat::showOlderMessagesNearTop: what a message screen does as its table scrolls: within a screen of the top
// of what is loaded, the page before it comes (MessageHistory::loadOlder) and the table moves down by the
// height of the rows put above, so that the rows on screen stay where they are, under the finger or in a
// release motion as well. Main thread.
//
//   void scrollViewDidScroll(ui::ScrollView&) override { chat::showOlderMessagesNearTop(m_history, *m_tableView); }
#pragma once

namespace ui {
class TableView;
}

namespace chat {

class MessageHistory;

// Whether an older page was put above.
bool showOlderMessagesNearTop(MessageHistory& history, ui::TableView& table);

} // namespace chat
