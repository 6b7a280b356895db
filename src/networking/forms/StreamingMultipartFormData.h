// networking::StreamingMultipartFormData: the builder a caller fills with the parts of a multipart form
// (fields, data, files, streams); finalising sets the request's "Content-Type" (with the fixed boundary),
// "Content-Length" and a body stream that produces the form part by part. A part that cannot be added (a
// header the string encoding cannot write, bytes that contain the boundary) is not silently skipped: the
// first such error fails the finalising. Main thread.
//
//   networking::StreamingMultipartFormData form(request, base::TextEncoding::UTF8);
//   form.appendPartWithFileData(jpeg, "photo", "me.jpg", "image/jpeg");
//   net::URLRequest upload = form.requestByFinalizingMultipartFormData(&error);
#pragma once

#include "base/text/TextEncoding.h"
#include "base/text/URL.h"
#include "base/values/Error.h"
#include "net/http/URLRequest.h"
#include "networking/forms/MultipartBodyStreamProvider.h"

#include <memory>
#include <optional>
#include <string>

namespace networking {

class StreamingMultipartFormData {
public:
    StreamingMultipartFormData(net::URLRequest request, base::TextEncoding::Code stringEncoding);

    // The file's last path component as file name, "application/octet-stream" as type.
    [[nodiscard]] bool appendPartWithFileURL(
        const base::URL& fileURL, const std::string& name, base::Error* error = nullptr);
    // False, adding nothing, for a URL that is not a file URL or a file that cannot be reached.
    [[nodiscard]] bool appendPartWithFileURL(const base::URL& fileURL, const std::string& name,
        const std::string& fileName, const std::string& mimeType, base::Error* error = nullptr);
    void appendPartWithInputStream(std::shared_ptr<net::InputStream> stream, const std::string& name,
        const std::string& fileName, uint64_t length, const std::string& mimeType);
    void appendPartWithFileData(
        const base::Data& data, const std::string& name, const std::string& fileName, const std::string& mimeType);
    void appendPartWithFormData(const base::Data& data, const std::string& name);
    void appendPartWithHeaders(const net::HTTPHeaderFields& headers, const base::Data& body);
    void throttleBandwidthWithPacketSize(size_t bytes, base::Duration delay);

    // The request with the form as its body; without parts, the request as given. With an error recorded
    // while parts were added, the request as given and that error.
    net::URLRequest requestByFinalizingMultipartFormData(base::Error* error = nullptr);

    const net::URLRequest& request() const { return m_request; }
    const std::shared_ptr<MultipartBodyStreamProvider>& bodyStream() const { return m_bodyStream; }
    base::TextEncoding::Code stringEncoding() const { return m_stringEncoding; }

private:
    void appendPart(const net::HTTPHeaderFields& headers, HTTPBodyPart::Body body, uint64_t length, std::string name);
    [[nodiscard]] bool checkForBoundary(const base::Data& data, const std::string& name);
    void record(base::Error error);

    net::URLRequest m_request;
    base::TextEncoding::Code m_stringEncoding;
    std::shared_ptr<MultipartBodyStreamProvider> m_bodyStream;
    std::optional<base::Error> m_error;
};

} // namespace networking
