// Every reader of the service's replies over one reply text: none may crash, whatever the text holds.
#include "core/readers/Tool.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view reply(reinterpret_cast<const char*>(data), size);
    // Only a crash counts: what each reader makes of the text is not checked.
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
    return 0;
}
