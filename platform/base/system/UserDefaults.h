// base::UserDefaults: typed values under text keys, kept in one file (DefaultsFile format) and written
// atomically by synchronize() (on a background queue when asked during a main-loop turn) and when the object
// goes, so that nothing synchronized is lost at a normal exit. A file that cannot be read as defaults (corrupt,
// cut short, foreign) is renamed aside to "<file>.corrupt" (or ".corrupt.1", ...) and the defaults start
// empty; a file that is there but cannot be read (nor moved aside) is left alone: nothing is written over
// it while it is there. Stray temporary files of an interrupted write are removed. A reader that asks for a kind gets
// nothing (or 0, false) when the stored value is of another kind. Registered defaults answer for keys that
// hold no value and are never written. The texts of secret keys (keepInSecretStore) live in a SecretStore
// instead of the file. Safe from any thread.
//
//   auto& defaults = base::UserDefaults::standard();
//   defaults.setObject("1", "notification_switch");
//   defaults.synchronize();
//   std::optional<std::string> cookie = defaults.stringForKey("kCookie");
#pragma once

#include "base/system/DefaultsWriter.h"
#include "base/system/SecretStore.h"
#include "base/values/Dictionary.h"
#include "base/values/Value.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class UserDefaults {
public:
    // The standard file name in Paths::preferences().
    static constexpr const char* FileName = "UserDefaults.ldef";
    // The registered key with the user's preferred languages (an array of texts) in the standard defaults.
    static constexpr const char* LanguagesKey = "AppleLanguages";

    // The application's defaults, read from Paths::preferences() on first use.
    static UserDefaults& standard();

    // The writes of main-loop turns go to `writeQueue` (a serial queue; null: one queue shared by all defaults).
    explicit UserDefaults(std::filesystem::path file, std::shared_ptr<DispatchQueue> writeQueue = nullptr);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    const std::filesystem::path& file() const { return m_file; }

    [[nodiscard]] std::optional<Value> objectForKey(std::string_view key) const;
    [[nodiscard]] std::optional<std::string> stringForKey(std::string_view key) const;
    // Numbers (booleans included) by the platform's conversions; 0 or false for anything else.
    long long integerForKey(std::string_view key) const;
    double doubleForKey(std::string_view key) const;
    bool boolForKey(std::string_view key) const;
    [[nodiscard]] std::optional<Data> dataForKey(std::string_view key) const;
    ArrayRef arrayForKey(std::string_view key) const;
    DictionaryRef dictionaryForKey(std::string_view key) const;

    // Stores an immutable copy of the value (containers copied all the way down).
    void setObject(const Value& value, std::string_view key);
    void setInteger(long long value, std::string_view key) { setObject(Value(value), key); }
    void setDouble(double value, std::string_view key) { setObject(Value(value), key); }
    void setBool(bool value, std::string_view key) { setObject(Value(value), key); }
    void removeObjectForKey(std::string_view key);

    // From now on the texts of `keys` are read from and written to `store`, never to the file. A text of one of
    // them that the file already holds moves to the store and leaves the file; it stays in the file (and is
    // still answered) only while the store cannot take it. A secret key takes texts only: any other value, or
    // a text the store cannot keep, is not stored anywhere (and logged).
    void keepInSecretStore(std::vector<std::string> keys, std::shared_ptr<SecretStore> store);

    // Values answered for keys that hold none; kept in memory only.
    void registerDefaults(const Dictionary& defaults);

    // Writes unsaved changes; true when the file holds every change, those of earlier background writes
    // included. On the main thread while a run-loop turn's tasks run, the changes are handed over at the end of
    // the turn to the write queue, so that the settings one turn stores (a sign-in stores about eight) cost
    // one atomic write, and the main thread does not wait for the disk; it answers true then. A failure of that
    // write is logged, and the write is made again by the next synchronize() outside a turn or when the
    // object goes.
    [[nodiscard]] bool synchronize();

    // The stored values (registered ones not included).
    DictionaryRef dictionaryRepresentation() const;

private:
    // The store of the key when it is a secret one.
    std::shared_ptr<SecretStore> secretStoreFor(std::string_view key) const;
    void moveSecretsToStore();
    void removeStoredValue(std::string_view key);
    void load();
    // Whether the write waits for the end of the current main-loop turn (see synchronize()).
    bool deferWriteToEndOfTurn();
    // The end-of-turn observer: the deferred changes go to their write queues.
    static void handOverTurnWrites();
    // Hands the unsaved changes to the writer; false when the file must not be written.
    [[nodiscard]] bool handOver(DefaultsWriter::When when);
    [[nodiscard]] bool save();
    void setAside();

    std::filesystem::path m_file;
    mutable std::mutex m_mutex;
    std::shared_ptr<MutableDictionary> m_values;
    std::shared_ptr<MutableDictionary> m_registered;
    const std::shared_ptr<DefaultsWriter> m_writer;
    // Changes not yet handed to the writer.
    bool m_dirty { false };
    // The file is there but could be neither read nor kept aside: writing would destroy what it holds.
    bool m_mustNotWrite { false };
    std::vector<std::string> m_secretKeys;
    std::shared_ptr<SecretStore> m_secretStore;
};

} // namespace base
