// tracking_service::Fault: one way the local tracking service can be told to fail, so that tests can drive
// every failure path of a caller: an HTTP status, a connection dropped after the reply's head, a body that is
// not JSON, a JSON reply without the payload key or with a null payload, a refusal text as the payload, or an
// answer held back for a while (past the caller's time-out) and then given normally.
//
//   service.faults().set("GetDeviceDetial", tracking_service::Fault::status(500));
//   service.faults().set(tracking_service::FaultPlan::AllEndpoints, tracking_service::Fault::delay(2s));
#pragma once

#include <chrono>
#include <string>

namespace tracking_service {

struct Fault {
    enum class Kind { Status, DropConnection, NonJsonBody, NoPayload, NullPayload, Refusal, Delay };

    // A refusal that no caller mistakes for the accepted-command text.
    static constexpr const char* DefaultRefusal = "命令提交失败";

    static Fault status(int code) { return { Kind::Status, code, {}, {} }; }
    static Fault dropConnection() { return { Kind::DropConnection, 0, {}, {} }; }
    static Fault nonJsonBody() { return { Kind::NonJsonBody, 0, {}, {} }; }
    static Fault noPayload() { return { Kind::NoPayload, 0, {}, {} }; }
    static Fault nullPayload() { return { Kind::NullPayload, 0, {}, {} }; }
    static Fault refusal(std::string text = DefaultRefusal) { return { Kind::Refusal, 0, std::move(text), {} }; }
    static Fault delay(std::chrono::milliseconds duration) { return { Kind::Delay, 0, {}, duration }; }

    Kind kind;
    int statusCode;
    std::string refusalText;
    std::chrono::milliseconds duration;
};

} // namespace tracking_service
