#include "ui/controllers/KeyedCoder.h"

#include "base/loop/MainThread.h"

namespace ui {

void KeyedCoder::encodeObject(std::shared_ptr<ViewController> object, const std::string& key)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!object) {
        m_entries.erase(key);
        return;
    }
    m_entries[key] = std::move(object);
}

void KeyedCoder::encodeInteger(int64_t value, const std::string& key) { m_entries[key] = value; }

std::shared_ptr<ViewController> KeyedCoder::decodeObject(const std::string& key) const
{
    auto it = m_entries.find(key);
    if (it == m_entries.end())
        return nullptr;
    auto* object = std::get_if<std::shared_ptr<ViewController>>(&it->second);
    return object ? *object : nullptr;
}

int64_t KeyedCoder::decodeInteger(const std::string& key) const
{
    auto it = m_entries.find(key);
    if (it == m_entries.end())
        return 0;
    auto* value = std::get_if<int64_t>(&it->second);
    return value ? *value : 0;
}

} // namespace ui
