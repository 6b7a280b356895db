// networking::NetworkingErrors: the error domain and user-info keys of the HTTP stack: replies outside the
// accepted status codes (-1011) or content types (-1016), multipart parts that cannot be used (-1000), and
// request bodies that cannot be built.
#pragma once

namespace networking {

struct NetworkingErrors {
    static constexpr const char* Domain = "NetworkingErrorDomain";
    static constexpr const char* FailingURLRequestKey = "NetworkingOperationFailingURLRequestErrorKey";
    static constexpr const char* FailingURLResponseKey = "NetworkingOperationFailingURLResponseErrorKey";

    static constexpr long BadServerResponse = -1011;
    static constexpr long CannotDecodeContentData = -1016;
    static constexpr long MultipartPart = -1000;
    // A parameter or form field that cannot be written in the client's string encoding.
    static constexpr long InapplicableStringEncoding = 517;
};

} // namespace networking
