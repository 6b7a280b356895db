// networking::ResponseObject: what a success block receives besides the operation: nothing, a value (the body
// as data for a plain HTTP operation, the JSON value or property list of the content-typed ones), the XML
// operation's parser over the body, or the image operation's image.
//
//   success = [](const auto& operation, const networking::ResponseObject& object) {
//       if (auto* value = std::get_if<base::Value>(&object)) show(value->description());
//   };
#pragma once

#include "base/values/Value.h"

#include <memory>
#include <variant>

namespace gfx {
class Image;
}

namespace networking {

class XMLParser;

using ResponseObject
    = std::variant<std::monostate, base::Value, std::shared_ptr<XMLParser>, std::shared_ptr<gfx::Image>>;

} // namespace networking
