// networking::MultipartBodyStreamProvider: feeds the parts of a multipart form, packet by packet, into a bound
// stream pair whose reading end is the request's body stream. It runs on the main run loop, writing whenever
// the pair has room, so the whole body is never held in memory (data parts excepted). A part that cannot be
// read ends the body with an error naming the part, so the transfer fails instead of sending a cut-short
// form. Throttling waits between packets on a run-loop timer, never by sleeping. The provider keeps itself
// alive while it streams and lets go once the body is written or has failed.
//
//   provider->appendHTTPBodyPart(part);
//   provider->setInitialAndFinalBoundaries();
//   request.setHTTPBodyStream(provider->inputStream());
#pragma once

#include "base/time/Clock.h"
#include "base/text/TextEncoding.h"
#include "net/streams/BoundStreamPair.h"
#include "networking/forms/HTTPBodyPart.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace networking {

class MultipartBodyStreamProvider : public net::StreamDelegate,
                                    public std::enable_shared_from_this<MultipartBodyStreamProvider> {
public:
    static constexpr size_t DefaultPacketSize = 4096;

    explicit MultipartBodyStreamProvider(base::TextEncoding::Code encoding)
        : m_stringEncoding(encoding)
    {
    }
    ~MultipartBodyStreamProvider() override;

    void appendHTTPBodyPart(std::shared_ptr<HTTPBodyPart> part);
    // Marks the first part as opening the body and the last as closing it.
    void setInitialAndFinalBoundaries();
    bool isEmpty() const { return m_parts.empty(); }
    uint64_t contentLength() const;

    size_t bufferLength() const { return m_bufferLength; }
    void setBufferLength(size_t length) { m_bufferLength = length == 0 ? DefaultPacketSize : length; }
    base::Duration delay() const { return m_delay; }
    void setDelay(base::Duration delay) { m_delay = delay; }

    // The reading end, made (and the streaming begun) on first use. Main thread.
    std::shared_ptr<net::InputStream> inputStream();

    void streamHandleEvent(net::Stream& stream, net::StreamEvent event) override;

private:
    void handleOutputStreamSpaceAvailable();
    void waitOutDelay();
    void close();
    void failPart(const HTTPBodyPart& part);

    base::TextEncoding::Code m_stringEncoding;
    std::vector<std::shared_ptr<HTTPBodyPart>> m_parts;
    size_t m_nextPart { 0 };
    std::shared_ptr<HTTPBodyPart> m_currentPart;
    std::shared_ptr<net::BoundInputStream> m_inputStream;
    std::shared_ptr<net::BoundOutputStream> m_outputStream;
    std::deque<uint8_t> m_buffer;
    size_t m_bufferLength { DefaultPacketSize };
    base::Duration m_delay { 0 };
    bool m_waitingOutDelay { false };
    bool m_closed { false };
    std::shared_ptr<MultipartBodyStreamProvider> m_self;
};

} // namespace networking
