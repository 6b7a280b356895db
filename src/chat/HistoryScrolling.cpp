#include "chat/HistoryScrolling.h"

#include "base/loop/MainThread.h"
#include "chat/MessageHistory.h"
#include "ui/scroll/TableView.h"

namespace chat {

void scrollToNewestMessage(ui::TableView& table, bool animated)
{
    BASE_ASSERT_MAIN_THREAD();
    table.layoutIfNeeded();
    double bottom = table.contentSize().height - table.bounds().height();
    if (bottom > 0)
        table.setContentOffset({ 0, bottom }, animated);
}

bool showOlderMessagesNearTop(MessageHistory& history, ui::TableView& table)
{
    BASE_ASSERT_MAIN_THREAD();
    if (history.reachedOldest() || table.contentOffset().y > table.bounds().height())
        return false;
    size_t added = history.loadOlder();
    if (added == 0)
        return false;
    double height = 0;
    for (size_t row = 0; row < added; ++row)
        height += history.frames()[row]->cellHeight();
    table.reloadData();
    table.shiftContentOffset({ 0, height });
    return true;
}

} // namespace chat
