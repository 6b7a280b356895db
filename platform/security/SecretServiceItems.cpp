#include "security/SecretServiceItems.h"

#include "base/system/Log.h"

#include <libsecret/secret.h>

#include <algorithm>
#include <optional>

namespace security {

namespace {

    constexpr const char* ServiceKey = "service";
    constexpr const char* AccountKey = "account";
    constexpr const char* AccessGroupKey = "access-group";
    constexpr const char* SynchronizableKey = "synchronizable";
    constexpr const char* AccessibleKey = "accessible";
    // Present when the keychain item has a label of its own; a secret item always has one.
    constexpr const char* LabelledKey = "labelled";
    constexpr const char* UnlabelledText = "Lumet Companion password";
    constexpr const char* SecretContentType = "application/octet-stream";

    const SecretSchema* schema()
    {
        static const SecretSchema itemSchema = {
            "lumet.companion.KeychainItem",
            SECRET_SCHEMA_NONE,
            {
                { ServiceKey, SECRET_SCHEMA_ATTRIBUTE_STRING },
                { AccountKey, SECRET_SCHEMA_ATTRIBUTE_STRING },
                { AccessGroupKey, SECRET_SCHEMA_ATTRIBUTE_STRING },
                { SynchronizableKey, SECRET_SCHEMA_ATTRIBUTE_STRING },
                { AccessibleKey, SECRET_SCHEMA_ATTRIBUTE_STRING },
                { LabelledKey, SECRET_SCHEMA_ATTRIBUTE_STRING },
                { nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING },
            },
            0,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
        };
        return &itemSchema;
    }

    // Owners of GLib objects, released on every path.
    struct ErrorSlot {
        GError* error { nullptr };
        ~ErrorSlot()
        {
            if (error)
                g_error_free(error);
        }
        std::string message() const { return error && error->message ? error->message : "no answer"; }
    };
    struct Attributes {
        GHashTable* table;
        Attributes()
            : table(g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free))
        {
        }
        explicit Attributes(GHashTable* taken)
            : table(taken)
        {
        }
        ~Attributes() { g_hash_table_unref(table); }
        Attributes(const Attributes&) = delete;
        Attributes& operator=(const Attributes&) = delete;
        void set(const char* key, const std::string& value)
        {
            g_hash_table_insert(table, g_strdup(key), g_strdup(value.c_str()));
        }
        std::optional<std::string> get(const char* key) const
        {
            auto* value = static_cast<const char*>(g_hash_table_lookup(table, key));
            return value ? std::optional<std::string>(value) : std::nullopt;
        }
    };
    struct SecretText {
        SecretValue* value;
        ~SecretText()
        {
            if (value)
                secret_value_unref(value);
        }
    };
    struct Found {
        SecretItem* handle;
        KeychainItem item;
    };
    struct FoundList {
        GList* list { nullptr };
        std::vector<Found> items;
        ~FoundList() { g_list_free_full(list, g_object_unref); }
    };

    void describe(const KeychainItem& item, Attributes& attributes)
    {
        attributes.set(ServiceKey, item.service);
        attributes.set(AccountKey, item.account);
        if (item.accessGroup)
            attributes.set(AccessGroupKey, *item.accessGroup);
        attributes.set(SynchronizableKey, item.synchronizable ? "true" : "false");
        attributes.set(AccessibleKey, item.accessible);
        if (item.label)
            attributes.set(LabelledKey, "true");
    }

    // The keychain item a secret item holds; nothing for one whose attributes are not this store's.
    std::optional<KeychainItem> itemOf(SecretItem* handle)
    {
        Attributes attributes(secret_item_get_attributes(handle));
        auto service = attributes.get(ServiceKey);
        auto account = attributes.get(AccountKey);
        auto synchronizable = attributes.get(SynchronizableKey);
        auto accessible = attributes.get(AccessibleKey);
        if (!service || !account || !synchronizable || !accessible || !isAccessibilityValue(*accessible))
            return std::nullopt;
        KeychainItem item;
        item.service = *service;
        item.account = *account;
        item.accessGroup = attributes.get(AccessGroupKey);
        item.synchronizable = *synchronizable == "true";
        item.accessible = *accessible;
        if (attributes.get(LabelledKey)) {
            gchar* label = secret_item_get_label(handle);
            item.label = label ? label : "";
            g_free(label);
        }
        SecretText secret { secret_item_get_secret(handle) };
        if (!secret.value)
            return std::nullopt;
        gsize length = 0;
        const gchar* bytes = secret_value_get(secret.value, &length);
        item.data.assign(reinterpret_cast<const uint8_t*>(bytes), reinterpret_cast<const uint8_t*>(bytes) + length);
        return item;
    }

    const Found* withIdentityOf(const std::vector<Found>& found, const KeychainItem& item)
    {
        auto match = std::ranges::find_if(found, [&](const Found& one) { return one.item.hasSameIdentity(item); });
        return match == found.end() ? nullptr : &*match;
    }

    bool holdsIdentityOf(const std::vector<KeychainItem>& items, const KeychainItem& item)
    {
        return std::ranges::any_of(items, [&](const KeychainItem& one) { return one.hasSameIdentity(item); });
    }

} // namespace

struct SecretServiceItems::Handles {
    SecretService* service { nullptr };
    SecretCollection* collection { nullptr };
    ~Handles()
    {
        if (collection)
            g_object_unref(collection);
        if (service)
            g_object_unref(service);
    }

    // Every secret item of the schema, with the keychain item it holds; false when the search failed.
    bool search(FoundList& found, std::string* reason)
    {
        Attributes none;
        ErrorSlot error;
        found.list = secret_service_search_sync(service, schema(), none.table,
            static_cast<SecretSearchFlags>(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS),
            nullptr, &error.error);
        if (error.error) {
            *reason = error.message();
            return false;
        }
        for (GList* entry = found.list; entry; entry = entry->next) {
            auto* handle = static_cast<SecretItem*>(entry->data);
            auto item = itemOf(handle);
            if (item && !withIdentityOf(found.items, *item))
                found.items.push_back({ handle, std::move(*item) });
        }
        return true;
    }

    bool create(const KeychainItem& item, std::string* reason)
    {
        Attributes attributes;
        describe(item, attributes);
        SecretText secret { secret_value_new(reinterpret_cast<const gchar*>(item.data.data()),
            static_cast<gssize>(item.data.size()), SecretContentType) };
        ErrorSlot error;
        SecretItem* made = secret_item_create_sync(collection, schema(), attributes.table,
            item.label.value_or(UnlabelledText).c_str(), secret.value, SECRET_ITEM_CREATE_NONE, nullptr, &error.error);
        if (!made) {
            *reason = error.message();
            return false;
        }
        g_object_unref(made);
        return true;
    }

    bool change(SecretItem* handle, const KeychainItem& item, std::string* reason)
    {
        Attributes attributes;
        describe(item, attributes);
        SecretText secret { secret_value_new(reinterpret_cast<const gchar*>(item.data.data()),
            static_cast<gssize>(item.data.size()), SecretContentType) };
        ErrorSlot error;
        bool changed = secret_item_set_secret_sync(handle, secret.value, nullptr, &error.error)
            && secret_item_set_attributes_sync(handle, schema(), attributes.table, nullptr, &error.error)
            && secret_item_set_label_sync(handle, item.label.value_or(UnlabelledText).c_str(), nullptr, &error.error);
        if (!changed)
            *reason = error.message();
        return changed;
    }

    bool remove(SecretItem* handle, std::string* reason)
    {
        ErrorSlot error;
        if (secret_item_delete_sync(handle, nullptr, &error.error))
            return true;
        *reason = error.message();
        return false;
    }
};

SecretServiceItems::SecretServiceItems(std::unique_ptr<Handles> handles)
    : m_handles(std::move(handles))
{
}

SecretServiceItems::~SecretServiceItems() = default;

std::shared_ptr<SecretServiceItems> SecretServiceItems::connect(std::string* reason)
{
    auto handles = std::make_unique<Handles>();
    ErrorSlot error;
    handles->service = secret_service_get_sync(
        static_cast<SecretServiceFlags>(SECRET_SERVICE_OPEN_SESSION | SECRET_SERVICE_LOAD_COLLECTIONS), nullptr,
        &error.error);
    std::string why;
    if (!handles->service) {
        why = "no Secret Service answers (" + error.message() + ")";
    } else {
        handles->collection = secret_collection_for_alias_sync(
            handles->service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &error.error);
        if (!handles->collection)
            why = "the Secret Service has no default collection";
        else if (secret_collection_get_locked(handles->collection))
            why = "the Secret Service's default collection is locked";
    }
    if (!why.empty()) {
        if (reason)
            *reason = why;
        return nullptr;
    }
    return std::shared_ptr<SecretServiceItems>(new SecretServiceItems(std::move(handles)));
}

SecretServiceItems::Contents SecretServiceItems::read()
{
    FoundList found;
    std::string reason;
    if (!m_handles->search(found, &reason)) {
        base::log("keychain: the Secret Service cannot be searched: " + reason);
        return { status::NotAvailable, {} };
    }
    Contents contents;
    for (Found& one : found.items)
        contents.items.push_back(std::move(one.item));
    return contents;
}

Status SecretServiceItems::write(const std::vector<KeychainItem>& before, const std::vector<KeychainItem>& after)
{
    FoundList found;
    std::string reason;
    bool written = m_handles->search(found, &reason);
    for (const KeychainItem& item : after) {
        if (!written)
            break;
        if (std::ranges::find(before, item) != before.end())
            continue;
        const Found* stored = withIdentityOf(found.items, item);
        written = stored ? m_handles->change(stored->handle, item, &reason) : m_handles->create(item, &reason);
    }
    for (const KeychainItem& item : before) {
        if (!written)
            break;
        if (holdsIdentityOf(after, item))
            continue;
        if (const Found* stored = withIdentityOf(found.items, item))
            written = m_handles->remove(stored->handle, &reason);
    }
    if (!written) {
        base::log("keychain: the Secret Service refused a change: " + reason);
        return status::NotAvailable;
    }
    return status::Success;
}

} // namespace security
