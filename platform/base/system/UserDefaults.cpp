#include "base/system/UserDefaults.h"

#include "base/loop/DispatchQueue.h"
#include "base/loop/MainThread.h"
#include "base/loop/RunLoop.h"
#include "base/loop/RunLoopTasks.h"
#include "base/system/DefaultsFile.h"
#include "base/system/Facts.h"
#include "base/system/Files.h"
#include "base/system/Log.h"
#include "base/system/Paths.h"
#include "base/values/Array.h"

#include <algorithm>
#include <mutex>
#include <system_error>
#include <utility>

namespace base {

namespace {

    // Callers may keep changing the containers they stored; the defaults keep what was there at the time.
    Value immutableCopy(const Value& value)
    {
        if (const ArrayRef& array = value.array()) {
            std::vector<Value> elements;
            elements.reserve(array->count());
            for (const Value& element : *array)
                elements.push_back(immutableCopy(element));
            return Value(Array::make(std::move(elements)));
        }
        if (const DictionaryRef& dictionary = value.dictionary()) {
            Dictionary::Pairs pairs;
            pairs.reserve(dictionary->count());
            for (auto [key, element] : *dictionary)
                pairs.emplace_back(immutableCopy(*key), immutableCopy(*element));
            return Value(Dictionary::make(std::move(pairs)));
        }
        return value;
    }

    // Equal and of the same kinds all the way down, so that the file would hold the same bytes: Value's own
    // equality takes true for 1 and 1 for 1.0, which the file keeps apart.
    bool sameStoredValue(const Value& a, const Value& b)
    {
        if (a.kind() != b.kind())
            return false;
        if (const ArrayRef& array = a.array()) {
            const ArrayRef& other = b.array();
            if (array->count() != other->count())
                return false;
            for (size_t i = 0; i < array->count(); ++i) {
                if (!sameStoredValue(array->objectAtIndex(i), other->objectAtIndex(i)))
                    return false;
            }
            return true;
        }
        if (const DictionaryRef& dictionary = a.dictionary()) {
            const DictionaryRef& other = b.dictionary();
            if (dictionary->count() != other->count())
                return false;
            for (auto [key, element] : *dictionary) {
                const Value* match = other->objectForKey(*key);
                if (!match || !sameStoredValue(*element, *match))
                    return false;
            }
            return true;
        }
        return a == b;
    }

    bool isPresent(const std::filesystem::path& path)
    {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
    }

    // Defaults whose changes wait for the end of the current main-loop turn (see synchronize()).
    std::mutex turnWritesMutex;
    std::vector<UserDefaults*> turnWrites;

    std::shared_ptr<DispatchQueue> sharedWriteQueue()
    {
        static const std::shared_ptr<DispatchQueue> queue = DispatchQueue::makeSerial("base.user-defaults.writes");
        return queue;
    }

} // namespace

UserDefaults& UserDefaults::standard()
{
    static UserDefaults defaults(Paths::preferences() / FileName);
    static std::once_flag registered;
    std::call_once(registered, [] {
        std::vector<Value> languages;
        for (const auto& language : Facts::current().preferredLanguages())
            languages.emplace_back(language);
        defaults.registerDefaults(
            *Dictionary::make({ { Value(LanguagesKey), Value(Array::make(std::move(languages))) } }));
    });
    return defaults;
}

UserDefaults::UserDefaults(std::filesystem::path file, std::shared_ptr<DispatchQueue> writeQueue)
    : m_file(std::move(file))
    , m_values(MutableDictionary::make())
    , m_registered(MutableDictionary::make())
    , m_writer(std::make_shared<DefaultsWriter>(m_file, 0600, writeQueue ? std::move(writeQueue) : sharedWriteQueue()))
{
    load();
}

// Saves without logging: the standard defaults go at process exit, possibly after the log itself, so a failed
// save has nobody left to tell. A write still queued is made here, not left to the queue.
UserDefaults::~UserDefaults()
{
    {
        std::lock_guard lock(turnWritesMutex);
        std::erase(turnWrites, this);
    }
    (void)save();
}

void UserDefaults::load()
{
    Files::removeStaleTemporaries(m_file);
    if (!isPresent(m_file))
        return;
    auto bytes = Files::read(m_file);
    if (!bytes) {
        log("user defaults: cannot read " + m_file.string() + ", starting empty and leaving the file as it is");
        m_mustNotWrite = true;
        return;
    }
    DictionaryRef stored = DefaultsFile::read(*bytes);
    if (!stored) {
        setAside();
        return;
    }
    m_values->addEntriesFromDictionary(*stored);
}

// Keeps an unreadable file for inspection instead of overwriting it at the next save.
void UserDefaults::setAside()
{
    std::filesystem::path aside = m_file;
    aside += ".corrupt";
    for (int n = 1; isPresent(aside) && n < 1000; ++n) {
        aside = m_file;
        aside += ".corrupt." + std::to_string(n);
    }
    std::error_code error;
    std::filesystem::rename(m_file, aside, error);
    m_mustNotWrite = static_cast<bool>(error);
    log("user defaults: " + m_file.string() + " is not a defaults file; "
        + (error ? "it cannot be moved aside and is left as it is" : "kept as " + aside.string()) + ", starting empty");
}

std::shared_ptr<SecretStore> UserDefaults::secretStoreFor(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& secret : m_secretKeys) {
        if (secret == key)
            return m_secretStore;
    }
    return nullptr;
}

void UserDefaults::keepInSecretStore(std::vector<std::string> keys, std::shared_ptr<SecretStore> store)
{
    {
        std::lock_guard lock(m_mutex);
        m_secretKeys = std::move(keys);
        m_secretStore = std::move(store);
    }
    moveSecretsToStore();
}

void UserDefaults::moveSecretsToStore()
{
    std::vector<std::pair<std::string, Value>> found;
    std::shared_ptr<SecretStore> store;
    {
        std::lock_guard lock(m_mutex);
        store = m_secretStore;
        for (const auto& key : m_secretKeys) {
            if (const Value* stored = m_values->objectForKey(key))
                found.emplace_back(key, *stored);
        }
    }
    bool moved = false;
    for (const auto& [key, value] : found) {
        if (value.isString() && !store->write(key, *value.string())) {
            log("user defaults: the secret " + key + " cannot be moved out of " + m_file.string() + " yet");
            continue;
        }
        removeStoredValue(key);
        moved = true;
    }
    // synchronize() logs a failed write, and the secrets are in the store either way.
    if (moved)
        (void)synchronize();
}

void UserDefaults::removeStoredValue(std::string_view key)
{
    std::lock_guard lock(m_mutex);
    if (!m_values->objectForKey(key))
        return;
    m_values->removeObjectForKey(key);
    m_dirty = true;
}

std::optional<Value> UserDefaults::objectForKey(std::string_view key) const
{
    if (auto store = secretStoreFor(key)) {
        if (auto text = store->read(key))
            return Value(*text);
    }
    std::lock_guard lock(m_mutex);
    if (const Value* value = m_values->objectForKey(key))
        return *value;
    if (const Value* value = m_registered->objectForKey(key))
        return *value;
    return std::nullopt;
}

std::optional<std::string> UserDefaults::stringForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    if (!value || !value->isString())
        return std::nullopt;
    return *value->string();
}

long long UserDefaults::integerForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value && value->isNumber() ? value->longLongValue() : 0;
}

double UserDefaults::doubleForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value && value->isNumber() ? value->doubleValue() : 0;
}

bool UserDefaults::boolForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value && value->isNumber() && value->boolValue();
}

std::optional<Data> UserDefaults::dataForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    if (!value || !value->isData())
        return std::nullopt;
    return *value->data();
}

ArrayRef UserDefaults::arrayForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value ? value->array() : nullptr;
}

DictionaryRef UserDefaults::dictionaryForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value ? value->dictionary() : nullptr;
}

void UserDefaults::setObject(const Value& value, std::string_view key)
{
    if (auto store = secretStoreFor(key)) {
        if (!value.isString() || !store->write(key, *value.string()))
            log("user defaults: the secret " + std::string(key) + " cannot be kept");
        return removeStoredValue(key);
    }
    Value stored = immutableCopy(value);
    std::lock_guard lock(m_mutex);
    // Storing what the key already holds changes nothing on disk: no write for it.
    if (const Value* held = m_values->objectForKey(key); held && sameStoredValue(*held, stored))
        return;
    m_values->setObject(std::move(stored), key);
    m_dirty = true;
}

void UserDefaults::removeObjectForKey(std::string_view key)
{
    if (auto store = secretStoreFor(key); store && !store->remove(key))
        log("user defaults: the secret " + std::string(key) + " cannot be removed");
    removeStoredValue(key);
}

void UserDefaults::registerDefaults(const Dictionary& defaults)
{
    std::lock_guard lock(m_mutex);
    for (auto [key, value] : defaults)
        m_registered->setObject(immutableCopy(*value), immutableCopy(*key));
}

bool UserDefaults::synchronize()
{
    if (deferWriteToEndOfTurn())
        return true;
    if (save())
        return true;
    log("user defaults: cannot write " + m_file.string());
    return false;
}

bool UserDefaults::deferWriteToEndOfTurn()
{
    if (!isMainThread() || !isRunningMainLoopTasks())
        return false;
    static bool observed = false;
    if (!std::exchange(observed, true))
        RunLoop::main().addEndOfTurnObserver(&UserDefaults::handOverTurnWrites);
    std::lock_guard lock(turnWritesMutex);
    if (std::find(turnWrites.begin(), turnWrites.end(), this) == turnWrites.end())
        turnWrites.push_back(this);
    return true;
}

void UserDefaults::handOverTurnWrites()
{
    std::lock_guard lock(turnWritesMutex);
    for (UserDefaults* defaults : std::exchange(turnWrites, {})) {
        // Nobody waits on the answer of a turn's synchronize(): a refusal is logged here.
        if (!defaults->handOver(DefaultsWriter::When::InBackground))
            log("user defaults: cannot write " + defaults->m_file.string());
    }
}

bool UserDefaults::handOver(DefaultsWriter::When when)
{
    std::lock_guard lock(m_mutex);
    if (!m_dirty)
        return true;
    if (m_mustNotWrite && isPresent(m_file))
        return false;
    m_writer->submit(DefaultsFile::write(*m_values), when);
    m_dirty = false;
    return true;
}

bool UserDefaults::save() { return handOver(DefaultsWriter::When::AtNextFlush) && m_writer->flush(); }

DictionaryRef UserDefaults::dictionaryRepresentation() const
{
    std::lock_guard lock(m_mutex);
    return m_values->copy();
}

} // namespace base
