#include "tracking-service/WebMethodRequests.h"

#include "base/text/TextEncoding.h"
#include "net/http/MediaType.h"

#include <algorithm>

namespace tracking_service {

using namespace wire;

namespace {

    // The key most device methods name their device by.
    WireField serial() { return text("Serialnumber"); }

    // A number the application copies from the device's record as it holds it: null when the record has none.
    WireField held(std::string key) { return text(std::move(key)).orNull(); }

    RequestForm serialOnly() { return RequestForm::object({ serial() }); }

    // A lesson row of the timetable: its times go back as the record holds them, a text or a number.
    std::vector<WireField> lessonRow()
    {
        std::vector<WireField> row { text("Name") };
        for (const char* time : { "Start_H", "Start_M", "End_H", "End_M" })
            row.push_back({ time, Text | Number | Null });
        for (const char* day : { "D1", "D2", "D3", "D4", "D5", "D6", "D7" })
            row.push_back(text(day));
        return row;
    }

    // The three keys of the family-number request, each with its number, state, name and icon as held.
    std::vector<WireField> familyKeys()
    {
        std::vector<WireField> fields { serial() };
        for (std::string key : { "ButtonNo1", "ButtonNo2", "SOSNo" }) {
            fields.push_back(held(key));
            fields.push_back(number(key + "_State").orNull());
            fields.push_back(held(key + "_Name"));
            fields.push_back(held(key + "_Icon"));
        }
        return fields;
    }

    std::map<std::string, RequestForm, std::less<>> makeTable()
    {
        return {
            // Account.
            { "Login", RequestForm::object({ text("LoginName"), text("Password"), text("Token") }) },
            { "GetServerList", RequestForm::none() },
            { "GetDeviceList", RequestForm::object({ text("LoginName") }) },
            { "SaveAppleToken", RequestForm::object({ text("Token") }) },
            { "UpdatePassword", RequestForm::object({ text("old_pwd"), text("new_pwd"), text("LoginName") }) },
            { "PopManyQueryMessage", RequestForm::none() },

            // The device and its documents.
            { "GetDeviceDetial", RequestForm::object({ text("SerialNumber") }) },
            { "LumetGetalarmclock", serialOnly() },
            { "LumetGetPhoneBook_V2", serialOnly() },
            { "LumetGetClassInfo", serialOnly() },
            { "LumetGetStepCount", serialOnly() },
            { "LumetSearchCOW",
                RequestForm::object({ object(
                    "opt", { serial(), number("PageSize").oneOf({ 45 }), number("PageIndex"), text("Date") }) }) },

            // The settings centre.
            { "UpdateDeviceName", RequestForm::object({ serial(), text("DeviceName") }) },
            { "LumetFactory", serialOnly() },
            { "LumetRemotePowerSet", RequestForm::object({ serial(), number("power").oneOf({ 0, 1 }) }) },
            { "LumetSetSleepTime",
                RequestForm::object({ serial(), number("flag").oneOf({ 0, 1 }), number("OpenHour"), number("OpenMin"),
                    number("CloseHour"), number("CloseMin") }) },
            { "LumetFireWallSetting", RequestForm::object({ serial(), text("Flag").oneOf({ "true", "false" }) }) },
            { "LumetKeylockSet", RequestForm::object({ serial(), number("klock").oneOf({ 0, 1 }) }) },

            // Voice messaging.
            { "LumetSendTextMsg", RequestForm::object({ serial(), text("text").typedText() }) },
            { "ParvoSendSoundCommand", RequestForm::object({ serial(), text("CommandText").typedText() }) },

            // Numbers, by device model.
            { "ParvoSetAuthorizedPhoneNumber",
                RequestForm::object({ serial(), number("ButtonNum").oneOf({ 1, 2, 3, 4 }),
                    text("phonenumberforreceivingSMS"), text("phonenumberforreceivingcall") }) },
            { "ParvoSetTelephoneNumberforWiretapping", RequestForm::object({ serial(), text("TelNumber") }) },
            { "QuennSetPhoneNumber",
                RequestForm::object({ serial(), text("Password").oneOf({ "580317" }), text("Opt").oneOf({ "A" }),
                    held("Tel1"), held("Tel2"), held("Tel3"), held("Tel4") }) },
            { "QuennSetCenter", RequestForm::object({ serial(), text("CenterNum") }) },
            { "LumetSetManyPhoneConfig",
                RequestForm::object(
                    { serial(), held("ButtonNo1"), held("ButtonNo2"), held("SOSNo"), held("ListenNo") }) },
            { "LumetSetManyPhoneConfig_V2", RequestForm::object(familyKeys()) },
            { "LumetSetListenNo", RequestForm::object({ serial(), text("ListenNo") }) },
            { "MorvikSetListen", RequestForm::object({ text("Serialumber"), text("PhoneNum") }) },
            { "MorvikSetCenterNo", RequestForm::object({ serial(), text("PhoneNum") }) },
            { "LumetSetPhoneBook_V2",
                RequestForm::object(
                    { object("entity", { text("_id"), arrayOf("PL", Text), arrayOf("Name", Text), null("Icon") }) }) },

            // Attendance and alarm clocks.
            { "LumetUpdateEnterCampusTime", RequestForm::object({ serial(), text("EnterTime") }) },
            { "LumetUpdateLeaveCampusTime", RequestForm::object({ serial(), text("LeaveTime") }) },
            { "LumetCowNotiControl", RequestForm::object({ serial(), text("type").oneOf({ "01", "00" }) }) },
            { "LumetRFIDControl", RequestForm::object({ serial(), text("Flag").oneOf({ "true", "false" }) }) },
            { "Lumet0SetAlarmclock",
                RequestForm::object({ object("LumetAlarmClock",
                    { text("_id"),
                        arrayOfObjects("LumetAlarmClockEntity",
                            { number("Index"), number("Mode").oneOf({ 0, 1 }), number("H"), number("S") }) }) }) },

            // Schedules and upload intervals.
            { "LumetSetClassInfo",
                RequestForm::object({ object("entity",
                    { text("_id"), text("Data").oneOf({ "" }), arrayOfObjects("Lumet_ClassInfoEntity", lessonRow()),
                        number("State").oneOf({ 0, 1 }) }) }) },
            { "ParvoSetTZENTARIntervalforContinuousTracking",
                RequestForm::object({ serial(), number("ConTimeSpan") }) },
            { "MorvikSetinterval",
                RequestForm::object({ serial(), number("interval"), number("count").oneOf({ 65535 }) }) },
            { "TolvaSetUploadTime", RequestForm::object({ serial(), number("time") }) },

            // The step challenge.
            { "LumetParentChildInteraction",
                RequestForm::object({ serial(), text("reward"), number("Value").oneOf({ 3000, 6000, 12000 }) }) },
            { "LumetCancelParentChildInteraction", serialOnly() },

            // The permanent-service purchase.
            { "Apple_Device_Pay",
                RequestForm::object({ text("SerialNumber"), number("Money").oneOf({ 60 }), null("OrdId"),
                    boolean("IsDebug"), text("Data") }) },
        };
    }

} // namespace

const std::map<std::string, RequestForm, std::less<>>& webMethodRequests()
{
    static const auto table = makeTable();
    return table;
}

const RequestForm* requestFormOf(std::string_view method)
{
    const auto& table = webMethodRequests();
    auto found = table.find(method);
    return found == table.end() ? nullptr : &found->second;
}

std::optional<std::string> contentTypeMismatch(std::string_view contentType)
{
    auto declared = net::MediaType::parse(contentType);
    if (!declared || declared->mimeType != "application/json")
        return "The request's content type must be application/json.";
    bool utf8
        = declared->charset && base::TextEncoding::fromIANACharsetName(*declared->charset) == base::TextEncoding::UTF8;
    if (declared->namesCharsetParameter && !utf8)
        return "The request's charset must be UTF-8.";
    return std::nullopt;
}

std::optional<std::string> voiceUploadMismatch(const std::multimap<std::string, std::string>& parts)
{
    constexpr const char* required[] = { "To", "From", "MsgType", "Context", "IsTODevice" };
    for (const char* name : required) {
        if (parts.count(name) != 1)
            return "The upload needs one part \"" + std::string(name) + "\".";
    }
    if (parts.count("File") > 1)
        return "The upload takes at most one part \"File\".";
    for (const auto& [name, text] : parts) {
        if (name != "File" && std::ranges::find(required, name) == std::end(required))
            return "The upload takes no part of that name.";
    }
    const std::string& type = parts.find("MsgType")->second;
    if (type.empty() || !std::ranges::all_of(type, [](char c) { return c >= '0' && c <= '9'; }))
        return "The upload's part \"MsgType\" must be a decimal number.";
    if (parts.find("IsTODevice")->second != "true")
        return "The upload's part \"IsTODevice\" holds a value it does not take.";
    return std::nullopt;
}

} // namespace tracking_service
