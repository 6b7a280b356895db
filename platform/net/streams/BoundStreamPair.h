// net::BoundStreamPair: two streams joined by a buffer of fixed size: what is written to the output end is
// read from the input end. It carries a body produced piece by piece (a multipart form) to the connection
// that sends it: the writer is told of free space through HasSpaceAvailable events, the reader of new bytes
// through HasBytesAvailable. The writer may end the body with an error, which the reader then reports
// instead of a normal end, so a body that could not be produced is never taken for a complete one. The two
// ends may live on different threads.
//
//   auto pair = net::BoundStreamPair::make(4096);
//   request.setHTTPBodyStream(pair.input);
//   pair.output->schedule(mainLoop); pair.output->open(); ... pair.output->write(bytes, n);
#pragma once

#include "net/streams/InputStream.h"
#include "net/streams/OutputStream.h"

#include <memory>

namespace net {

class BoundStreamBuffer;

class BoundInputStream final : public InputStream {
public:
    explicit BoundInputStream(std::shared_ptr<BoundStreamBuffer> buffer)
        : m_buffer(std::move(buffer))
    {
    }
    ~BoundInputStream() override;

    void open() override;
    void close() override;
    // Waits while the buffer is empty and the writer has not closed; see hasBytesAvailable.
    [[nodiscard]] ptrdiff_t read(uint8_t* buffer, size_t capacity) override;
    bool hasBytesAvailable() const override;

private:
    friend class BoundStreamBuffer;
    std::shared_ptr<BoundStreamBuffer> m_buffer;
    // Lets the buffer send events through this stream.
    void notify(StreamEvent event);
};

class BoundOutputStream final : public OutputStream {
public:
    explicit BoundOutputStream(std::shared_ptr<BoundStreamBuffer> buffer)
        : m_buffer(std::move(buffer))
    {
    }
    ~BoundOutputStream() override;

    void open() override;
    // Ends the body normally: the reader reads what is left, then the end.
    void close() override;
    // Ends the body with an error: the reader fails with it once the buffered bytes are read.
    void closeWithError(base::Error error);
    // Takes as much as fits (possibly 0); -1 when the reading end has closed.
    [[nodiscard]] ptrdiff_t write(const uint8_t* bytes, size_t length) override;
    bool hasSpaceAvailable() const override;

private:
    friend class BoundStreamBuffer;
    std::shared_ptr<BoundStreamBuffer> m_buffer;
    void notify(StreamEvent event);
};

struct BoundStreamPair {
    std::shared_ptr<BoundInputStream> input;
    std::shared_ptr<BoundOutputStream> output;

    static BoundStreamPair make(size_t bufferSize);
};

} // namespace net
