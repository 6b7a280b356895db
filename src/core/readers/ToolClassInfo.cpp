#include "base/values/Array.h"
#include "base/values/Dictionary.h"
#include "base/system/Log.h"
#include "core/service/ReplyFields.h"
#include "core/readers/Tool.h"

#include <algorithm>
#include <array>

namespace core {

namespace {

    constexpr size_t Lessons = static_cast<size_t>(Lumet_ClassInfo::LessonsPerDay);
    constexpr const char* DayKeys[7] = { "D1", "D2", "D3", "D4", "D5", "D6", "D7" };
    constexpr const char* DayNames[7]
        = { "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday" };

    const base::Value FreeHour("0");
    const base::Value FreeMinute("00");

    // Minutes are kept as two-digit texts made from their integer value, so "05" and 5 both give "05".
    base::Value minuteText(const std::optional<base::Value>& minute)
    {
        if (!minute || minute->isNull())
            return FreeMinute;
        long long value = minute->longLongValue();
        return base::Value((value >= 0 && value <= 9 ? "0" : "") + std::to_string(value));
    }

    base::Value hourValue(const std::optional<base::Value>& hour) { return hour && !hour->isNull() ? *hour : FreeHour; }

    struct LessonRow {
        base::Value startHour, startMinute, endHour, endMinute;
        std::string lesson;
        std::array<std::optional<std::string>, 7> courses;
    };

    // The lesson number "Name" comes as a number or as a numeric text; both are expected.
    const base::Value* lessonName(const base::DictionaryRef& fields)
    {
        const base::Value* name = fields->objectForKey("Name");
        return name && (name->isNumber() || name->isString()) ? name : nullptr;
    }

    LessonRow readLessonRow(const base::DictionaryRef& fields, size_t position)
    {
        const base::Value* name = lessonName(fields);
        LessonRow row { hourValue(ReplyFields::asReceived(fields, "Start_H")),
            minuteText(ReplyFields::asReceived(fields, "Start_M")), hourValue(ReplyFields::asReceived(fields, "End_H")),
            minuteText(ReplyFields::asReceived(fields, "End_M")),
            name ? name->stringValue() : std::to_string(position + 1), {} };
        for (size_t day = 0; day < 7; ++day) {
            if (const base::Value* course = fields->objectForKey(DayKeys[day]))
                row.courses[day] = ReplyFields::textOf(*course, DayKeys[day]).value_or("");
        }
        return row;
    }

    // Where a lesson row goes: its lesson number when that is 1 to 8, else its position in the reply.
    size_t lessonIndex(const base::DictionaryRef& fields, size_t position)
    {
        const base::Value* name = lessonName(fields);
        long long number = name ? name->longLongValue() : 0;
        if (number >= 1 && number <= Lumet_ClassInfo::LessonsPerDay)
            return static_cast<size_t>(number - 1);
        return position;
    }

    std::array<std::optional<LessonRow>, Lessons> placeLessonRows(const base::ArrayRef& rows)
    {
        std::array<std::optional<LessonRow>, Lessons> slots;
        if (!rows)
            return slots;
        for (size_t position = 0; position < rows->count(); ++position) {
            const auto& fields = rows->objectAtIndex(position).dictionary();
            if (!fields) {
                ReplyFields::noteConversion("Lumet_ClassInfoEntity", rows->objectAtIndex(position), "no lesson");
                continue;
            }
            size_t index = lessonIndex(fields, position);
            if (index >= Lessons) {
                base::log("timetable: lesson row " + std::to_string(position + 1) + " lies past lesson 8, dropped");
                continue;
            }
            if (slots[index])
                base::log("timetable: lesson " + std::to_string(index + 1) + " given twice, the later row kept");
            slots[index] = readLessonRow(fields, position);
        }
        return slots;
    }

    std::shared_ptr<Lumet_ClassInfoWeek> lesson(int day, const LessonRow* row)
    {
        auto week = std::make_shared<Lumet_ClassInfoWeek>();
        week->weekDay = day + 1;
        if (row && row->courses[static_cast<size_t>(day)]) {
            week->courseName = *row->courses[static_cast<size_t>(day)];
            week->lesson = row->lesson;
            week->lessonNum = "1";
            week->start_H = row->startHour;
            week->start_M = row->startMinute;
            week->end_H = row->endHour;
            week->end_M = row->endMinute;
        } else {
            week->start_H = week->start_M = week->end_H = week->end_M = FreeMinute;
        }
        return week;
    }

    const base::Value& entryOr(const std::vector<base::Value>& list, size_t index, const base::Value& fallback)
    {
        return index < list.size() ? list[index] : fallback;
    }

} // namespace

std::shared_ptr<Lumet_ClassInfo> Tool::getClassInfoFromJson(std::string_view reply)
{
    if (ReplyFields::isBlank(reply))
        return nullptr;
    auto d = ReplyFields::payload(reply);
    base::DictionaryRef fields = d ? d->dictionary() : nullptr;
    if (d && !fields && !d->isNull())
        ReplyFields::noteConversion("d", *d, "an empty timetable");

    auto timetable = std::make_shared<Lumet_ClassInfo>();
    timetable->total = Lumet_ClassInfo::LessonsPerDay;
    timetable->state = ReplyFields::integer(fields, "State").value_or(0);
    auto slots = placeLessonRows(ReplyFields::array(fields, "Lumet_ClassInfoEntity"));
    for (size_t index = 0; index < Lessons; ++index) {
        const LessonRow* row = slots[index] ? &*slots[index] : nullptr;
        timetable->start_H.push_back(row ? row->startHour : FreeHour);
        timetable->start_M.push_back(row ? row->startMinute : FreeMinute);
        timetable->end_H.push_back(row ? row->endHour : FreeHour);
        timetable->end_M.push_back(row ? row->endMinute : FreeMinute);
        for (int day = 0; day < 7; ++day)
            timetable->arr[static_cast<size_t>(day)].push_back(lesson(day, row));
    }
    return timetable;
}

std::vector<Tool::ClassInfoDay> Tool::getClassInfoWeek(const Lumet_ClassInfo& timetable)
{
    std::vector<ClassInfoDay> week;
    for (size_t day = 0; day < 7; ++day)
        week.push_back({ DayNames[day], timetable.arr[day] });
    return week;
}

base::ArrayRef Tool::getSubmitArr(const Lumet_ClassInfo* timetable)
{
    if (!timetable)
        return base::Array::make();
    std::vector<base::Value> rows;
    // Entries a timetable lacks (arrays shorter than its total) are sent as free ones.
    for (size_t index = 0; index < static_cast<size_t>(std::max<int64_t>(timetable->total, 0)); ++index) {
        auto row = base::MutableDictionary::make({
            { "Name", std::to_string(index + 1) },
            { "Start_H", entryOr(timetable->start_H, index, FreeHour) },
            { "Start_M", entryOr(timetable->start_M, index, FreeMinute) },
            { "End_H", entryOr(timetable->end_H, index, FreeHour) },
            { "End_M", entryOr(timetable->end_M, index, FreeMinute) },
        });
        for (size_t day = 0; day < 7; ++day) {
            const auto& lessons = timetable->arr[day];
            bool present = index < lessons.size() && lessons[index];
            row->setObject(base::Value(present ? lessons[index]->courseName : std::string()), DayKeys[day]);
        }
        rows.emplace_back(row->copy());
    }
    return base::Array::make(std::move(rows));
}

} // namespace core
