#include "networking/forms/MultipartBodyStreamProvider.h"

#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "networking/http/NetworkingErrors.h"

namespace networking {

MultipartBodyStreamProvider::~MultipartBodyStreamProvider()
{
    if (m_outputStream)
        m_outputStream->setDelegate({});
}

void MultipartBodyStreamProvider::appendHTTPBodyPart(std::shared_ptr<HTTPBodyPart> part)
{
    m_parts.push_back(std::move(part));
}

void MultipartBodyStreamProvider::setInitialAndFinalBoundaries()
{
    for (auto& part : m_parts) {
        part->setHasInitialBoundary(false);
        part->setHasFinalBoundary(false);
    }
    if (!m_parts.empty()) {
        m_parts.front()->setHasInitialBoundary(true);
        m_parts.back()->setHasFinalBoundary(true);
    }
}

uint64_t MultipartBodyStreamProvider::contentLength() const
{
    uint64_t length = 0;
    for (auto& part : m_parts)
        length += part->contentLength();
    return length;
}

std::shared_ptr<net::InputStream> MultipartBodyStreamProvider::inputStream()
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_inputStream)
        return m_inputStream;
    auto pair = net::BoundStreamPair::make(m_bufferLength);
    m_inputStream = pair.input;
    m_outputStream = pair.output;
    m_outputStream->setDelegate(weak_from_this());
    m_outputStream->schedule([](net::Stream::Task task) { base::RunLoop::main().post(std::move(task)); });
    m_self = shared_from_this();
    m_outputStream->open();
    return m_inputStream;
}

void MultipartBodyStreamProvider::streamHandleEvent(net::Stream& stream, net::StreamEvent event)
{
    if (&stream != m_outputStream.get() || m_closed)
        return;
    if (event == net::StreamEvent::HasSpaceAvailable)
        handleOutputStreamSpaceAvailable();
    else if (event == net::StreamEvent::ErrorOccurred)
        close();
}

void MultipartBodyStreamProvider::handleOutputStreamSpaceAvailable()
{
    auto keep = shared_from_this();
    while (!m_closed && !m_waitingOutDelay && m_outputStream->hasSpaceAvailable()) {
        if (!m_buffer.empty()) {
            std::vector<uint8_t> packet(m_buffer.begin(), m_buffer.end());
            ptrdiff_t written = m_outputStream->write(packet.data(), packet.size());
            if (written < 0) {
                close();
                return;
            }
            m_buffer.erase(m_buffer.begin(), m_buffer.begin() + written);
            if (m_buffer.empty() && m_delay.count() > 0)
                waitOutDelay();
            continue;
        }
        if (!m_currentPart) {
            if (m_nextPart == m_parts.size()) {
                close();
                return;
            }
            m_currentPart = m_parts[m_nextPart++];
        }
        std::vector<uint8_t> packet(m_bufferLength);
        ptrdiff_t count = m_currentPart->read(packet.data(), packet.size());
        if (count < 0) {
            failPart(*m_currentPart);
            return;
        }
        m_buffer.assign(packet.begin(), packet.begin() + count);
        if (count == 0)
            m_currentPart = nullptr;
    }
}

// Throttling waits on the run loop after each packet; the main thread goes on with its other work meanwhile.
void MultipartBodyStreamProvider::waitOutDelay()
{
    m_waitingOutDelay = true;
    base::RunLoop::main().performAfter(m_delay, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->m_waitingOutDelay = false;
            self->handleOutputStreamSpaceAvailable();
        }
    });
}

void MultipartBodyStreamProvider::failPart(const HTTPBodyPart& part)
{
    auto underlying = part.streamError();
    base::Error error(NetworkingErrors::Domain, NetworkingErrors::MultipartPart,
        { { base::Error::LocalizedDescriptionKey, "The multipart part \"" + part.name() + "\" could not be sent." },
            { "PartName", part.name() } },
        underlying ? std::make_shared<const base::Error>(*underlying) : nullptr);
    m_closed = true;
    m_outputStream->closeWithError(std::move(error));
    m_outputStream->setDelegate({});
    auto released = std::move(m_self);
}

void MultipartBodyStreamProvider::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_outputStream->close();
    m_outputStream->setDelegate({});
    auto released = std::move(m_self);
}

} // namespace networking
