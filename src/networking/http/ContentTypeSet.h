// networking::contentTypeSetFromHeader: the media types named by an "Accept" or "Content-Type" value: split
// at ",", parameters (from ";") cut off, white space trimmed, empty pieces dropped. Compared exactly, as
// written. Pure; any thread.
//
//   auto types = networking::contentTypeSetFromHeader("text/html, application/xhtml+xml;q=0.9, */*;q=0.8");
//   // { "text/html", "application/xhtml+xml", "*/*" }
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace networking {

using ContentTypeSet = std::set<std::string>;

// Nothing for no header.
[[nodiscard]] std::optional<ContentTypeSet> contentTypeSetFromHeader(const std::string* header);

} // namespace networking
