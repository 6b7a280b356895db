#include "networking/forms/StreamingMultipartFormData.h"

#include "base/text/Localization.h"
#include "base/loop/MainThread.h"
#include "networking/http/NetworkingErrors.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace networking {

namespace {

    base::Error fileError(const char* reason)
    {
        std::string text = base::Localization::main().localizedString(reason, "", "Networking");
        return base::Error(NetworkingErrors::Domain, NetworkingErrors::MultipartPart,
            { { base::Error::LocalizedFailureReasonKey, text.empty() ? std::string(reason) : text } });
    }

    net::HTTPHeaderFields fileHeaders(const std::string& name, const std::string& fileName, const std::string& mimeType)
    {
        net::HTTPHeaderFields headers;
        headers.set("Content-Disposition", "form-data; name=\"" + name + "\"; filename=\"" + fileName + "\"");
        headers.set("Content-Type", mimeType);
        return headers;
    }

    // The field name a part's Content-Disposition gives, for error messages.
    std::string partName(const net::HTTPHeaderFields& headers)
    {
        const std::string* disposition = headers.value("Content-Disposition");
        if (!disposition)
            return "(unnamed)";
        size_t start = disposition->find("name=\"");
        if (start == std::string::npos)
            return *disposition;
        start += 6;
        size_t end = disposition->find('"', start);
        return disposition->substr(start, end == std::string::npos ? std::string::npos : end - start);
    }

} // namespace

StreamingMultipartFormData::StreamingMultipartFormData(net::URLRequest request, base::TextEncoding::Code stringEncoding)
    : m_request(std::move(request))
    , m_stringEncoding(stringEncoding)
    , m_bodyStream(std::make_shared<MultipartBodyStreamProvider>(stringEncoding))
{
    BASE_ASSERT_MAIN_THREAD();
}

void StreamingMultipartFormData::record(base::Error error)
{
    if (!m_error)
        m_error = std::move(error);
}

void StreamingMultipartFormData::appendPart(
    const net::HTTPHeaderFields& headers, HTTPBodyPart::Body body, uint64_t length, std::string name)
{
    base::Error error;
    if (auto part = HTTPBodyPart::make(m_stringEncoding, headers, std::move(body), length, std::move(name), &error))
        m_bodyStream->appendHTTPBodyPart(std::move(part));
    else
        record(error);
}

// The boundary is fixed for every request, so bytes that contain it would end the part early on the wire.
bool StreamingMultipartFormData::checkForBoundary(const base::Data& data, const std::string& name)
{
    const std::string_view boundary(HTTPBodyPart::Boundary);
    if (std::search(data.begin(), data.end(), boundary.begin(), boundary.end()) == data.end())
        return true;
    record(base::Error(NetworkingErrors::Domain, NetworkingErrors::MultipartPart,
        { { base::Error::LocalizedDescriptionKey,
              "The multipart part \"" + name + "\" contains the form's boundary and cannot be sent." },
            { "PartName", name } }));
    return false;
}

bool StreamingMultipartFormData::appendPartWithFileURL(
    const base::URL& fileURL, const std::string& name, base::Error* error)
{
    BASE_ASSERT_MAIN_THREAD();
    return appendPartWithFileURL(fileURL, name, fileURL.lastPathComponent(), "application/octet-stream", error);
}

bool StreamingMultipartFormData::appendPartWithFileURL(const base::URL& fileURL, const std::string& name,
    const std::string& fileName, const std::string& mimeType, base::Error* error)
{
    if (!fileURL.isFileURL()) {
        base::setError(error, fileError("Expected URL to be a file URL"));
        return false;
    }
    std::error_code failure;
    auto path = fileURL.filePath();
    auto size = std::filesystem::is_regular_file(path, failure) ? std::filesystem::file_size(path, failure) : 0;
    if (failure || !std::filesystem::is_regular_file(path, failure)) {
        base::setError(error, fileError("File URL not reachable."));
        return false;
    }
    appendPart(fileHeaders(name, fileName, mimeType), fileURL, size, name);
    return true;
}

void StreamingMultipartFormData::appendPartWithInputStream(std::shared_ptr<net::InputStream> stream,
    const std::string& name, const std::string& fileName, uint64_t length, const std::string& mimeType)
{
    appendPart(fileHeaders(name, fileName, mimeType), std::move(stream), length, name);
}

void StreamingMultipartFormData::appendPartWithFileData(
    const base::Data& data, const std::string& name, const std::string& fileName, const std::string& mimeType)
{
    if (checkForBoundary(data, name))
        appendPart(fileHeaders(name, fileName, mimeType), data, data.size(), name);
}

void StreamingMultipartFormData::appendPartWithFormData(const base::Data& data, const std::string& name)
{
    net::HTTPHeaderFields headers;
    headers.set("Content-Disposition", "form-data; name=\"" + name + "\"");
    if (checkForBoundary(data, name))
        appendPart(headers, data, data.size(), name);
}

void StreamingMultipartFormData::appendPartWithHeaders(const net::HTTPHeaderFields& headers, const base::Data& body)
{
    std::string name = partName(headers);
    if (checkForBoundary(body, name))
        appendPart(headers, body, body.size(), name);
}

void StreamingMultipartFormData::throttleBandwidthWithPacketSize(size_t bytes, base::Duration delay)
{
    m_bodyStream->setBufferLength(bytes);
    m_bodyStream->setDelay(delay);
}

net::URLRequest StreamingMultipartFormData::requestByFinalizingMultipartFormData(base::Error* error)
{
    if (m_error) {
        base::setError(error, *m_error);
        return m_request;
    }
    if (m_bodyStream->isEmpty())
        return m_request;
    m_bodyStream->setInitialAndFinalBoundaries();
    net::URLRequest request = m_request;
    request.setValue(std::string("multipart/form-data; boundary=") + HTTPBodyPart::Boundary, "Content-Type");
    request.setValue(std::to_string(m_bodyStream->contentLength()), "Content-Length");
    request.setHTTPBodyStream(m_bodyStream->inputStream());
    return request;
}

} // namespace networking
