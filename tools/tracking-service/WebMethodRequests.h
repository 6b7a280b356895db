// tracking_service::webMethodRequests: the request of every web method the local tracking service answers,
// in one table: each method's keys in the order the application sends them, their JSON kinds and the values
// a method fixes. The service refuses a request that does not fit its method's form (TrackingService.h), so
// this table is the one place to look up a method's wire form. Spellings are the service's own, odd ones
// included ("GetDeviceDetial", "Serialumber"). The voice upload, a multipart form rather than a web method, has
// its form here too. Built once; any thread.
//
//   const RequestForm* form = requestFormOf("LumetKeylockSet");
//   if (auto reason = form->mismatch(parameters)) ...
#pragma once

#include "tracking-service/RequestForm.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tracking_service {

const std::map<std::string, RequestForm, std::less<>>& webMethodRequests();
// The form of one method's request; null for a method the table does not hold.
const RequestForm* requestFormOf(std::string_view method);

// The first difference of the "Content-Type" of a web method request, with a body or without, from what
// every such request declares: "application/json", in UTF-8 when it names a charset ("utf-8" or "utf8", in
// any case, quoted or not; other parameters may follow; an empty one names none and does not fit). A
// one-line reason; nothing when it fits.
std::optional<std::string> contentTypeMismatch(std::string_view contentType);

// The voice upload's multipart form, given as each part's name and text: "To", "From", "MsgType" (decimal),
// "Context" and "IsTODevice" ("true"), each once, and "File" at most once. The first difference, as a
// one-line reason; nothing when the form fits.
std::optional<std::string> voiceUploadMismatch(const std::multimap<std::string, std::string>& parts);

} // namespace tracking_service
