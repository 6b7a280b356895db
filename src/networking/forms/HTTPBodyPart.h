// networking::HTTPBodyPart: one part of a multipart form body. Read in order it gives its boundary line (the
// first part's without a leading line end), its header lines and an empty line, its body (bytes, a file or a
// stream), and for the last part the closing boundary. Its texts are encoded in the form's string encoding
// when the part is made. A part is read once, on the main thread.
//
//   auto part = networking::HTTPBodyPart::make(encoding, headers, base::Data { '1' }, 1, "a", &error);
//   part->setHasInitialBoundary(true); part->setHasFinalBoundary(true);
//   ptrdiff_t n = part->read(buffer, sizeof buffer);
#pragma once

#include "base/text/TextEncoding.h"
#include "base/text/URL.h"
#include "base/values/Error.h"
#include "base/values/Value.h"
#include "net/http/HTTPHeaderFields.h"
#include "net/streams/InputStream.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace networking {

class HTTPBodyPart {
public:
    // Every multipart body of the application uses this boundary.
    static constexpr const char* Boundary = "Boundary+5F1C9A7E3B6D2048";

    using Body = std::variant<base::Data, base::URL, std::shared_ptr<net::InputStream>>;

    // Nothing, with an error, when a header cannot be written in `encoding`. `name` identifies the part in
    // error messages (the form field's name).
    static std::shared_ptr<HTTPBodyPart> make(base::TextEncoding::Code encoding, const net::HTTPHeaderFields& headers,
        Body body, uint64_t bodyContentLength, std::string name, base::Error* error);

    const std::string& name() const { return m_name; }
    uint64_t contentLength() const;
    bool hasInitialBoundary() const { return m_hasInitialBoundary; }
    void setHasInitialBoundary(bool value) { m_hasInitialBoundary = value; }
    bool hasFinalBoundary() const { return m_hasFinalBoundary; }
    void setHasFinalBoundary(bool value) { m_hasFinalBoundary = value; }

    bool hasBytesAvailable() const;
    // Fills the buffer as far as the part's phases allow; 0 once the part is used up, -1 when its body cannot
    // be read or is not the announced length (streamError() then tells why).
    [[nodiscard]] ptrdiff_t read(uint8_t* buffer, size_t capacity);
    [[nodiscard]] std::optional<base::Error> streamError() const;

    HTTPBodyPart(std::string name, std::string initialBoundary, std::string boundary, std::string headers,
        std::string closingBoundary, Body body, uint64_t bodyContentLength);
    ~HTTPBodyPart();

private:
    enum class Phase { Boundary = 1, Headers = 2, Body = 3, ClosingBoundary = 4, Completed = 5 };

    size_t readText(const std::string& text, uint8_t* buffer, size_t capacity);
    void transitionToNextPhase();
    std::shared_ptr<net::InputStream> inputStream();

    std::string m_name;
    std::string m_initialBoundaryText;
    std::string m_boundaryText;
    std::string m_headerText;
    std::string m_closingBoundaryText;
    Body m_body;
    uint64_t m_bodyContentLength;
    uint64_t m_bodyBytesRead { 0 };
    std::optional<base::Error> m_lengthError;
    std::shared_ptr<net::InputStream> m_inputStream;
    Phase m_phase { Phase::Boundary };
    size_t m_phaseReadOffset { 0 };
    bool m_hasInitialBoundary { false };
    bool m_hasFinalBoundary { false };
};

} // namespace networking
