#include "core/service/ReplyFields.h"
#include "core/readers/Tool.h"

namespace core {

std::optional<base::Value> Tool::getDeciveStyleFrom(std::string_view reply) { return ReplyFields::payload(reply); }

std::optional<base::Value> Tool::CheckDeciveISonlineFrom(std::string_view reply) { return ReplyFields::payload(reply); }

std::optional<base::Value> Tool::readChangePwdResultFromJson(std::string_view reply)
{
    return ReplyFields::payload(reply);
}

std::optional<base::Value> Tool::readLumetPedometerCurFromJson(std::string_view reply)
{
    return ReplyFields::payload(reply);
}

} // namespace core
