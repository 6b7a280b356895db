#include "networking/forms/HTTPBodyPart.h"

#include "networking/http/NetworkingErrors.h"

#include <algorithm>
#include <cstring>

namespace networking {

namespace {

    std::optional<std::string> encoded(const std::string& text, base::TextEncoding::Code encoding)
    {
        auto bytes = base::TextEncoding::encode(text, encoding);
        if (!bytes)
            return std::nullopt;
        return std::string(bytes->begin(), bytes->end());
    }

} // namespace

std::shared_ptr<HTTPBodyPart> HTTPBodyPart::make(base::TextEncoding::Code encoding,
    const net::HTTPHeaderFields& headers, Body body, uint64_t bodyContentLength, std::string name, base::Error* error)
{
    const std::string boundary = Boundary;
    std::string headerText;
    for (auto& [field, value] : headers)
        headerText += field + ": " + value + "\r\n";
    headerText += "\r\n";
    auto initial = encoded("--" + boundary + "\r\n", encoding);
    auto other = encoded("\r\n--" + boundary + "\r\n", encoding);
    auto closing = encoded("\r\n--" + boundary + "--\r\n", encoding);
    auto headerBytes = encoded(headerText, encoding);
    if (!initial || !other || !closing || !headerBytes) {
        base::setError(error,
            base::Error(NetworkingErrors::Domain, NetworkingErrors::InapplicableStringEncoding,
                { { base::Error::LocalizedDescriptionKey,
                    "The headers of the multipart part \"" + name
                        + "\" cannot be written in the chosen text encoding." } }));
        return nullptr;
    }
    return std::make_shared<HTTPBodyPart>(std::move(name), std::move(*initial), std::move(*other),
        std::move(*headerBytes), std::move(*closing), std::move(body), bodyContentLength);
}

HTTPBodyPart::HTTPBodyPart(std::string name, std::string initialBoundary, std::string boundary, std::string headers,
    std::string closingBoundary, Body body, uint64_t bodyContentLength)
    : m_name(std::move(name))
    , m_initialBoundaryText(std::move(initialBoundary))
    , m_boundaryText(std::move(boundary))
    , m_headerText(std::move(headers))
    , m_closingBoundaryText(std::move(closingBoundary))
    , m_body(std::move(body))
    , m_bodyContentLength(bodyContentLength)
{
}

HTTPBodyPart::~HTTPBodyPart()
{
    if (m_inputStream)
        m_inputStream->close();
}

uint64_t HTTPBodyPart::contentLength() const
{
    uint64_t length = (m_hasInitialBoundary ? m_initialBoundaryText : m_boundaryText).size();
    length += m_headerText.size() + m_bodyContentLength;
    if (m_hasFinalBoundary)
        length += m_closingBoundaryText.size();
    return length;
}

std::shared_ptr<net::InputStream> HTTPBodyPart::inputStream()
{
    if (!m_inputStream) {
        if (auto* data = std::get_if<base::Data>(&m_body))
            m_inputStream = net::InputStream::withData(*data);
        else if (auto* url = std::get_if<base::URL>(&m_body))
            m_inputStream = net::InputStream::withFile(url->filePath());
        else
            m_inputStream = std::get<std::shared_ptr<net::InputStream>>(m_body);
    }
    return m_inputStream;
}

bool HTTPBodyPart::hasBytesAvailable() const
{
    if (m_phase == Phase::ClosingBoundary)
        return true;
    if (!m_inputStream)
        return true;
    auto status = m_inputStream->status();
    return status != net::StreamStatus::AtEnd && status != net::StreamStatus::Closed
        && status != net::StreamStatus::Error;
}

std::optional<base::Error> HTTPBodyPart::streamError() const
{
    if (m_lengthError)
        return m_lengthError;
    return m_inputStream ? m_inputStream->streamError() : std::nullopt;
}

size_t HTTPBodyPart::readText(const std::string& text, uint8_t* buffer, size_t capacity)
{
    size_t count = std::min(text.size() - m_phaseReadOffset, capacity);
    std::memcpy(buffer, text.data() + m_phaseReadOffset, count);
    m_phaseReadOffset += count;
    if (m_phaseReadOffset >= text.size())
        transitionToNextPhase();
    return count;
}

ptrdiff_t HTTPBodyPart::read(uint8_t* buffer, size_t capacity)
{
    size_t total = 0;
    if (m_phase == Phase::Boundary)
        total += readText(m_hasInitialBoundary ? m_initialBoundaryText : m_boundaryText, buffer, capacity);
    if (m_phase == Phase::Headers)
        total += readText(m_headerText, buffer + total, capacity - total);
    if (m_phase == Phase::Body && total < capacity) {
        auto stream = inputStream();
        if (stream->status() == net::StreamStatus::Error)
            return -1;
        ptrdiff_t count = stream->read(buffer + total, capacity - total);
        if (count < 0)
            return -1;
        m_bodyBytesRead += static_cast<uint64_t>(count);
        // A body that is longer or shorter than announced (a file changed since it was added) would break the
        // framing of the whole form.
        if (m_bodyBytesRead > m_bodyContentLength || (count == 0 && m_bodyBytesRead != m_bodyContentLength)) {
            m_lengthError = base::Error(NetworkingErrors::Domain, NetworkingErrors::MultipartPart,
                { { base::Error::LocalizedDescriptionKey,
                    "The body of the multipart part \"" + m_name + "\" is not the announced length." } });
            return -1;
        }
        total += static_cast<size_t>(count);
        if (count == 0)
            transitionToNextPhase();
    }
    if (m_phase == Phase::ClosingBoundary)
        total += readText(m_hasFinalBoundary ? m_closingBoundaryText : std::string(), buffer + total, capacity - total);
    return static_cast<ptrdiff_t>(total);
}

void HTTPBodyPart::transitionToNextPhase()
{
    switch (m_phase) {
    case Phase::Boundary:
        m_phase = Phase::Headers;
        break;
    case Phase::Headers:
        m_phase = Phase::Body;
        inputStream()->open();
        break;
    case Phase::Body:
        m_phase = Phase::ClosingBoundary;
        inputStream()->close();
        break;
    default:
        m_phase = Phase::Completed;
        break;
    }
    m_phaseReadOffset = 0;
}

} // namespace networking
