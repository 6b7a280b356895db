// core::FileText: the bytes of a file from a given offset to its end, read through a window of WindowBytes, so
// that a reader can walk a reply of many megabytes as it walks a text in memory (the same members as
// std::string_view's that the message list reader uses) while only the window is held. A part asked for outside
// the window is read for it alone; a byte outside it moves the window there. A read that fails makes every byte
// after it read as NUL and failed() true: the caller must not take what it read for the file's bytes. One thread
// at a time.
//
//   auto text = core::FileText::open(path, firstLineBytes);
//   if (text && text->starts_with("{")) read(*text);
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace core {

class FileText {
public:
    static constexpr size_t npos = std::string_view::npos;
    static constexpr size_t WindowBytes = size_t(1) << 20;

    // The file's bytes from `offset` on, as long as it is when opened, read `windowBytes` at a time; nothing when
    // it cannot be opened.
    static std::optional<FileText> open(
        const std::filesystem::path& file, uintmax_t offset = 0, size_t windowBytes = WindowBytes);

    FileText(FileText&& other) noexcept;
    FileText& operator=(FileText&&) = delete;
    FileText(const FileText&) = delete;
    ~FileText();

    size_t size() const { return m_size; }
    char operator[](size_t at) const
    {
        if (at - m_windowStart >= m_window.size())
            moveWindow(at);
        return m_window[at - m_windowStart];
    }
    bool starts_with(std::string_view prefix) const { return substr(0, prefix.size()) == prefix; }
    // As std::string_view's, the part copied.
    size_t find_first_of(const char* bytes, size_t from) const;
    std::string substr(size_t from, size_t count = npos) const;
    // Whether a read of the file failed.
    bool failed() const { return m_failed; }

private:
    FileText(int fd, uintmax_t offset, size_t size, size_t windowBytes);
    void moveWindow(size_t at) const;
    // Reads `count` bytes from `from` into `into`; NUL bytes where a read fails.
    void read(size_t from, size_t count, char* into) const;

    int m_fd;
    uintmax_t m_offset;
    size_t m_size;
    size_t m_windowBytes;
    mutable std::string m_window;
    mutable size_t m_windowStart { 0 };
    mutable bool m_failed { false };
};

} // namespace core
