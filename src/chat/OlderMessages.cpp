#include "chat/OlderMessages.h"

#include "base/loop/MainThread.h"
#include "chat/MessageHistory.h"
#include "ui/scroll/TableView.h"

namespace chat {

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
