#include "security/CachedItems.h"

#include <fcntl.h>
#include <unistd.h>

namespace security {

CachedItems::CachedItems(std::chrono::nanoseconds settle)
    : m_settle(settle)
{
}

CachedItems::~CachedItems() { forget(); }

const std::vector<KeychainItem>* CachedItems::find(const std::filesystem::path& file) const
{
    if (m_pin < 0 || file != m_file)
        return nullptr;
    auto now = FileStamp::ofPath(file);
    return now && *now == m_stamp ? &m_items : nullptr;
}

void CachedItems::keep(const std::filesystem::path& file, const FileStamp& stamp,
    std::chrono::system_clock::time_point readStart, const std::vector<KeychainItem>& items)
{
    forget();
    if (!stamp.settledBefore(readStart, m_settle))
        return;
    int pin = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info { };
    // The file may have been replaced since it was read: then what was read is not what this descriptor holds.
    if (pin < 0 || ::fstat(pin, &info) != 0 || !(FileStamp::of(info) == stamp)) {
        if (pin >= 0)
            ::close(pin);
        return;
    }
    m_pin = pin;
    m_file = file;
    m_stamp = stamp;
    m_items = items;
}

void CachedItems::forget()
{
    if (m_pin >= 0)
        ::close(m_pin);
    m_pin = -1;
    m_items.clear();
}

} // namespace security
