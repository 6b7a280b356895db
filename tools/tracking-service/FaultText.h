// tracking_service::FaultText: a fault written as text, "ENDPOINT=KIND[:ARG]", as the stand-alone service takes
// it on its command line (--fault) and on its fault control route, so that scripts order the same faults as
// the in-process tests. ENDPOINT is a FaultPlan endpoint ("*" for all). KIND is one of
//   status:CODE      an HTTP status (100-599)          drop           the connection closes after the head
//   non-json         a body that is not JSON           no-payload     JSON without "d"
//   null-payload     "d" is null                       refusal[:TEXT] a refusal text as "d"
//   delay:MS         held MS milliseconds first        payload:JSON   any JSON value as "d"
// Pure; any thread.
//
//   std::string error;
//   if (auto faultText = tracking_service::FaultText::parse("Login=status:500", &error))
//       service.faults().set(faultText->endpoint, faultText->fault);
#pragma once

#include "tracking-service/Fault.h"

#include <optional>
#include <string>
#include <string_view>

namespace tracking_service {

struct FaultText {
    std::string endpoint;
    Fault fault;

    // Nothing, with the reason in `error`, for text that does not name an endpoint and a known kind with
    // a valid argument.
    static std::optional<FaultText> parse(std::string_view text, std::string* error = nullptr);
    // One line per kind, for usage texts.
    static const char* kinds();
};

} // namespace tracking_service
