#include "core/readers/MessageList.h"
#include "core/readers/Tool.h"
#include "core/service/ReplyFields.h"

namespace core {

namespace {

    // The elements of a list payload that are objects; others are logged and passed over.
    template <typename Read> void forEachObject(const base::Array& list, std::string_view what, Read read)
    {
        for (const base::Value& element : list) {
            if (const auto& fields = element.dictionary())
                read(fields);
            else
                ReplyFields::noteConversion(what, element, "no row");
        }
    }

    std::shared_ptr<LumetDeviceConfig> readAttendanceRow(const base::DictionaryRef& fields)
    {
        auto row = std::make_shared<LumetDeviceConfig>();
        row->id_ = ReplyFields::text(fields, "_id");
        row->serialNumber = ReplyFields::text(fields, "Serialnumber");
        row->type = ReplyFields::integer(fields, "Type");
        row->dateTime = ReplyFields::date(fields, "Time");
        row->state = ReplyFields::text(fields, "State");
        row->code = ReplyFields::text(fields, "Code");
        return row;
    }

    constexpr size_t PhoneBookEntries = 10;

    std::vector<std::string> readPhoneBookList(const base::DictionaryRef& fields, std::string_view key)
    {
        std::vector<std::string> list;
        if (auto entries = ReplyFields::array(fields, key)) {
            for (const base::Value& entry : *entries)
                list.push_back(ReplyFields::textOf(entry, key).value_or(""));
        }
        if (list.size() < PhoneBookEntries)
            list.resize(PhoneBookEntries);
        return list;
    }

} // namespace

std::vector<std::shared_ptr<UserMessageQuery>> Tool::readUserMessageQueryFromJson(
    std::string_view reply, base::Error* error)
{
    MessageList list = readMessageList(reply);
    if (!list.unreadable.empty())
        base::setError(error, ReplyFields::unreadable(list.unreadable.front().why));
    else if (list.withoutList)
        base::setError(error, ReplyFields::unreadable(list.withoutList));
    return std::move(list.messages);
}

std::shared_ptr<EasyUIDataGrid> Tool::readCheckingLumetInHistoryFromJson(std::string_view reply)
{
    auto d = ReplyFields::payload(reply);
    if (!d || d->isNull())
        return nullptr;
    if (!d->array()) {
        ReplyFields::noteConversion("d", *d, "no attendance");
        return nullptr;
    }
    auto grid = std::make_shared<EasyUIDataGrid>();
    forEachObject(*d->array(), "attendance row",
        [&](const base::DictionaryRef& fields) { grid->rows.push_back(readAttendanceRow(fields)); });
    return grid;
}

std::shared_ptr<LumetAlarmClock> Tool::readAlarmClockFromJson(std::string_view reply)
{
    auto d = ReplyFields::payload(reply);
    if (!d || d->isNull())
        return nullptr;
    const auto& fields = d->dictionary();
    if (!fields) {
        ReplyFields::noteConversion("d", *d, "no alarm clocks");
        return nullptr;
    }
    auto clocks = std::make_shared<LumetAlarmClock>();
    clocks->id_ = ReplyFields::text(fields, "_id");
    if (auto alarms = ReplyFields::array(fields, "LumetAlarmClockEntity")) {
        forEachObject(*alarms, "LumetAlarmClockEntity", [&](const base::DictionaryRef& alarmFields) {
            auto alarm = std::make_shared<LumetAlarmClockEntity>();
            alarm->isOpen = ReplyFields::integer(alarmFields, "Mode").value_or(0);
            alarm->h = ReplyFields::asReceived(alarmFields, "H");
            alarm->m = ReplyFields::asReceived(alarmFields, "S");
            clocks->dataList.push_back(std::move(alarm));
        });
    }
    return clocks;
}

std::optional<Tool::PhoneBook> Tool::getPhoneBookNumber(std::string_view reply)
{
    if (ReplyFields::isBlank(reply))
        return std::nullopt;
    auto d = ReplyFields::payload(reply);
    const base::DictionaryRef& fields = d ? d->dictionary() : nullptr;
    if (d && !fields && !d->isNull())
        ReplyFields::noteConversion("d", *d, "an empty phone book");
    return PhoneBook { readPhoneBookList(fields, "PL"), readPhoneBookList(fields, "Name") };
}

} // namespace core
