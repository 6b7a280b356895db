// core::Tool: the readers that turn the service's reply texts into records, and the date helpers. Every
// reader answers nothing (an empty handle, an empty list) for a blank text, and reads a text that is not JSON
// as a reply without "d"; fields of an unexpected kind are converted as ReplyFields says and logged. Stateless
// functions; the readers may run on any thread, the records they make then belong to the main thread.
//
//   auto device = core::Tool::readDeviceDetailFromJson(operation->responseString());
//   auto d = core::Tool::getDeciveStyleFrom(operation->responseString());
//   bool accepted = core::ServiceProtocol::isCommandAccepted(d);
#pragma once

#include "base/time/Date.h"
#include "base/values/Array.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "core/messages/UserMessageQuery.h"
#include "core/records/Device.h"
#include "core/records/EasyUIDataGrid.h"
#include "core/records/LumetAlarmClock.h"
#include "core/records/Lumet_ClassInfo.h"
#include "core/records/MobileDeviceAndLocation.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class Tool {
public:
    // The watch's phone book: numbers and names side by side.
    struct PhoneBook {
        std::vector<std::string> numbers;
        std::vector<std::string> names;
    };
    // One day of a timetable: "monday" to "sunday" and that day's lessons (the timetable's own records).
    struct ClassInfoDay {
        std::string weekDay;
        std::vector<std::shared_ptr<Lumet_ClassInfoWeek>> data;
    };

    // "Login": whether the service accepted the sign-in, its "d" being the number LoginSucceeded; another
    // number is a refusal. A reply with no number there (no "d", null, a text, an object, an array, not
    // JSON) holds no verdict: false, with a cannot-parse error in `error`.
    [[nodiscard]] static bool readLoginResultFromJson(std::string_view reply, base::Error* error = nullptr);
    // "GetDeviceList": the account's devices in reply order; rows without a serial number are passed over.
    // A reply whose "d" is not an array holds no list: none, with a cannot-parse error in `error`, so that
    // only a readable empty list means an account without devices.
    static std::vector<std::shared_ptr<MobileDeviceAndLocation>> readDeviceListFromJson(
        std::string_view reply, base::Error* error = nullptr);

    // "GetDeviceDetial": the device, or nothing when "d" is missing or is not an object.
    static std::shared_ptr<Device> readDeviceDetailFromJson(std::string_view reply);

    // The payload "d" as it is (a command's text, else a number, a text or null); nothing without "d".
    [[nodiscard]] static std::optional<base::Value> getDeciveStyleFrom(std::string_view reply);
    [[nodiscard]] static std::optional<base::Value> CheckDeciveISonlineFrom(std::string_view reply);
    [[nodiscard]] static std::optional<base::Value> readChangePwdResultFromJson(std::string_view reply);
    // "LumetGetStepCount": the current step count as sent (a number or a numeric text).
    [[nodiscard]] static std::optional<base::Value> readLumetPedometerCurFromJson(std::string_view reply);

    // "PopManyQueryMessage": the messages in reply order; empty when there are none. The reply is read as bytes,
    // element by element (readMessageList): ill-formed UTF-8 and escapes of no character become U+FFFD, and a
    // reply cut off or with a part that cannot be read still gives every message that can. `error` tells of the
    // first part that cannot be read, or of a reply without a message list (a text that is not JSON, a "d" that
    // is an object instead of a list); the messages that can be read are returned all the same.
    static std::vector<std::shared_ptr<UserMessageQuery>> readUserMessageQueryFromJson(
        std::string_view reply, base::Error* error = nullptr);
    // "LumetSearchCOW": the attendance rows in reply order (total not set); nothing when "d" is missing, null
    // or not an array.
    static std::shared_ptr<EasyUIDataGrid> readCheckingLumetInHistoryFromJson(std::string_view reply);
    // "LumetGetalarmclock": nothing when "d" is missing, null or not an object.
    static std::shared_ptr<LumetAlarmClock> readAlarmClockFromJson(std::string_view reply);
    // "LumetGetPhoneBook_V2": each list filled up with "" to ten entries (a longer list is kept whole).
    [[nodiscard]] static std::optional<PhoneBook> getPhoneBookNumber(std::string_view reply);

    // "LumetGetClassInfo": a timetable of 8 lessons a day. A lesson row goes to index Name - 1 when its Name
    // is 1 to 8, else to its position in the reply; a later row for the same index replaces the earlier one.
    // Minutes become two-digit texts; lessons and periods without a row are free ("", "0" hours, "00"
    // minutes). A reply without rows gives a timetable of free lessons.
    static std::shared_ptr<Lumet_ClassInfo> getClassInfoFromJson(std::string_view reply);
    // The seven days, Monday first.
    static std::vector<ClassInfoDay> getClassInfoWeek(const Lumet_ClassInfo& timetable);
    // The timetable's "Lumet_ClassInfoEntity" rows to send back, one per lesson; empty for no timetable.
    static base::ArrayRef getSubmitArr(const Lumet_ClassInfo* timetable);

    // The service's date text "/Date(<milliseconds>)/" as a date; nothing for a blank text or one without
    // digits.
    [[nodiscard]] static std::optional<base::Date> getDateFromStringSince1970(std::string_view text);
    // "MM/dd/yyyy HH:mm:ss" in the device's time zone: the form requests carry.
    static std::string stringFromDate(base::Date date);
    // "HH:mm".
    static std::string stringCNFromDate(base::Date date);
    // The localised weekday name (keys "sun", "mon", "tues", "web", "thur", "fri", "sat").
    static std::string getWeekdayFromDate(base::Date date);
};

} // namespace core
