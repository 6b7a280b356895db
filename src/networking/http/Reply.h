// networking::Reply: the one value a finished call hands to its success or failure block: the response (status
// and header fields), the body kept in memory, the error that decided the outcome (the transfer's, the reply's
// status or content type, or the parse), and the object made from the body. It is made once, on the thread
// that finishes the operation (or on the processing queue that parses the body), and never changes after:
// the main thread reads it without any lock of the operation.
//
// Made on the main thread or a processing queue; read on any thread.
//
//   auto reply = operation->reply();
//   if (reply && !reply->error) show(reply->text().value_or(""), reply->headers());
#pragma once

#include "base/text/TextEncoding.h"
#include "base/values/Error.h"
#include "net/http/HTTPHeaderFields.h"
#include "net/http/HTTPResponse.h"
#include "networking/http/ResponseObject.h"

#include <memory>
#include <optional>
#include <string>

namespace networking {

struct Reply {
    std::shared_ptr<const net::HTTPResponse> response;
    std::shared_ptr<const base::Data> body;
    std::optional<base::Error> error;
    ResponseObject object;
    // The charset the body's text is read in (the operation's responseStringEncoding).
    base::TextEncoding::Code textEncoding { base::TextEncoding::UTF8 };

    // The body as text in textEncoding; nothing without a response and a body, or when the body is not valid
    // in that encoding.
    [[nodiscard]] std::optional<std::string> text() const;
    // The response's header fields (none without a response).
    const net::HTTPHeaderFields& headers() const;
};

} // namespace networking
