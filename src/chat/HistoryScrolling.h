// How a message screen's table moves over its MessageHistory: it opens at the newest message, at the bottom,
// and within a screen of the top of what is loaded it brings the page before (MessageHistory::loadOlder) and
// moves down by the height of the rows put above, so that the rows on screen stay where they are, under the
// finger or in a release motion as well. Main thread.
//
//   chat::scrollToNewestMessage(*m_tableView, true);
//   void scrollViewDidScroll(ui::ScrollView&) override { chat::showOlderMessagesNearTop(m_history, *m_tableView); }
#pragma once

namespace ui {
class TableView;
}

namespace chat {

class MessageHistory;

// Shows the bottom of the table's rows (nothing moves while they are shorter than the table).
void scrollToNewestMessage(ui::TableView& table, bool animated);
// Whether an older page was put above.
bool showOlderMessagesNearTop(MessageHistory& history, ui::TableView& table);

} // namespace chat
