// tracking_service::Fault: one way the local tracking service can be told to fail, so that tests can drive
// every failure path of a caller: an HTTP status, a connection dropped after the reply's head, a body that is
// not JSON, a JSON reply without the payload key or with a null payload, a refusal text as the payload, or an
// answer held back for a while (past the caller's time-out) and then given normally, or any JSON value as the
// payload (a number, a boolean, an object, an array), so that readers meet every kind they must survive.
//
//   service.faults().set("GetDeviceDetial", tracking_service::Fault::status(500));
//   service.faults().set(tracking_service::FaultPlan::AllEndpoints, tracking_service::Fault::delay(2s));
//   service.faults().set("UpdateDeviceName", tracking_service::Fault::held());
//   service.faults().set("LumetGetStepCount", tracking_service::Fault::payload(base::Value(true)));
#pragma once

#include "base/values/Value.h"

#include <chrono>
#include <string>

namespace tracking_service {

struct Fault {
    enum class Kind { Status, DropConnection, NonJsonBody, NoPayload, NullPayload, Refusal, Delay, Payload };

    // A refusal that no caller mistakes for the accepted-command text.
    static constexpr const char* DefaultRefusal = "命令提交失败";

    static Fault status(int code) { return { Kind::Status, code, {}, {}, {} }; }
    static Fault dropConnection() { return { Kind::DropConnection, 0, {}, {}, {} }; }
    static Fault nonJsonBody() { return { Kind::NonJsonBody, 0, {}, {}, {} }; }
    static Fault noPayload() { return { Kind::NoPayload, 0, {}, {}, {} }; }
    static Fault nullPayload() { return { Kind::NullPayload, 0, {}, {}, {} }; }
    static Fault refusal(std::string text = DefaultRefusal) { return { Kind::Refusal, 0, std::move(text), {}, {} }; }
    static Fault delay(std::chrono::milliseconds duration) { return { Kind::Delay, 0, {}, duration, {} }; }
    // An answer held until the fault is lifted or replaced, or the request is let go (FaultPlan::letGo), however
    // long that takes: a test that holds a reply decides when it comes, never the clock.
    static constexpr std::chrono::hours HeldFor { 24 };
    static Fault held() { return delay(HeldFor); }
    static Fault payload(base::Value value) { return { Kind::Payload, 0, {}, {}, std::move(value) }; }

    Kind kind;
    int statusCode;
    std::string refusalText;
    std::chrono::milliseconds duration;
    // The payload of a Payload fault.
    base::Value value;
};

} // namespace tracking_service
