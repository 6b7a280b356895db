// Every reader of the service's replies over one reply text: none may crash, whatever the text holds; and a reply
// taken for plainly empty before it is written is empty to the message list reader and the JSON decoder too.
#include "base/values/Array.h"
#include "core/readers/MessageList.h"
#include "core/readers/Tool.h"
#include "core/service/ReplyFields.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view reply(reinterpret_cast<const char*>(data), size);
    // Only a crash counts: what each reader makes of the text is not checked, but for the one rule above.
    core::Tool::readDeviceDetailFromJson(reply);
    (void)core::Tool::getDeciveStyleFrom(reply);
    core::Tool::readUserMessageQueryFromJson(reply);
    core::Tool::readCheckingLumetInHistoryFromJson(reply);
    core::Tool::readAlarmClockFromJson(reply);
    (void)core::Tool::getPhoneBookNumber(reply);
    if (auto timetable = core::Tool::getClassInfoFromJson(reply)) {
        core::Tool::getClassInfoWeek(*timetable);
        core::Tool::getSubmitArr(timetable.get());
    }
    (void)core::Tool::getDateFromStringSince1970(reply);
    if (core::holdsEmptyMessageList(reply)) {
        auto list = core::readMessageList(reply);
        auto d = core::ReplyFields::payload(reply);
        if (!list.messages.empty() || !list.unreadable.empty() || list.withoutList || !d || !d->array()
            || d->array()->count() != 0)
            __builtin_trap();
    }
    return 0;
}
