// childcare::UploadInterval: the upload-interval commands of the tracker families: which web method a device
// type takes (and, for the types 13 and 18, the segment "GPS" or "OBD"), the request body, and the entry
// check: only a positive decimal whole number that fits 32 bits is sent. Pure functions, any thread.
//
//   auto command = childcare::UploadInterval::commandFor(13, childcare::UploadInterval::Segment::OBD);
//   if (auto value = childcare::UploadInterval::parse(field->text())) send(command->method, body(...));
#pragma once

#include "base/values/Dictionary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace childcare {

class UploadInterval {
public:
    enum class Segment { GPS = 0, OBD = 1 };

    static constexpr const char* ParvoMethod = "ParvoSetTZENTARIntervalforContinuousTracking";
    static constexpr const char* MorvikMethod = "MorvikSetinterval";
    static constexpr const char* TolvaMethod = "TolvaSetUploadTime";
    // The Morvik request's "count": as many uploads as the device allows.
    static constexpr int64_t MorvikCount = 65535;

    struct Command {
        const char* method;
        // Whether an accepted reply is written back to the device's Parvo configuration.
        bool storesInterval;
    };

    // The command for a device type; nothing for a type outside the tracker families.
    [[nodiscard]] static std::optional<Command> commandFor(std::optional<int64_t> deviceType, Segment segment);
    // Whether the type shows the "GPS"/"OBD" segment.
    static bool hasSegment(std::optional<int64_t> deviceType);
    // The entry as a positive 32-bit whole number (blanks around it allowed); nothing for anything else.
    [[nodiscard]] static std::optional<int32_t> parse(std::string_view entry);
    // The request body: the serial number and the interval under the method's keys.
    static base::DictionaryRef body(const Command& command, const std::string& serialNumber, int32_t interval);
};

} // namespace childcare
