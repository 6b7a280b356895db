// The keys and values of the keychain item store's attribute dictionaries: what a query, an added item or
// a change may hold, and what a fetch returns. The texts are the store's external names; an application
// reads, for instance, each returned dictionary's account under AttrAccount ("acct").
//
//   auto query = base::MutableDictionary::make({{security::Class, security::ClassGenericPassword}});
//   query->setObject(base::Value("com.example"), security::AttrService);
#pragma once

#include <string_view>

namespace security {

// The item class; the store keeps generic passwords only.
inline constexpr const char* Class = "class";
inline constexpr const char* ClassGenericPassword = "genp";

// Item attributes.
inline constexpr const char* AttrService = "svce";
inline constexpr const char* AttrAccount = "acct";
inline constexpr const char* AttrLabel = "labl";
inline constexpr const char* AttrAccessGroup = "agrp";
inline constexpr const char* AttrAccessible = "pdmn";
// A bool; in a query it may also be AttrSynchronizableAny, which matches both kinds of item.
inline constexpr const char* AttrSynchronizable = "sync";
inline constexpr const char* AttrSynchronizableAny = "syna";

// The secret itself (data).
inline constexpr const char* ValueData = "v_Data";

// What a copy returns: the data, the attributes, or both (a dictionary with ValueData).
inline constexpr const char* ReturnData = "r_Data";
inline constexpr const char* ReturnAttributes = "r_Attributes";

// How many items a copy returns: one (the default) or all of them, as an array.
inline constexpr const char* MatchLimit = "m_Limit";
inline constexpr const char* MatchLimitOne = "m_LimitOne";
inline constexpr const char* MatchLimitAll = "m_LimitAll";

// When an item may be read. An item added without one is AccessibleWhenUnlocked.
inline constexpr const char* AccessibleWhenUnlocked = "ak";
inline constexpr const char* AccessibleAfterFirstUnlock = "ck";
inline constexpr const char* AccessibleAlways = "dk";
inline constexpr const char* AccessibleWhenPasscodeSetThisDeviceOnly = "akpu";
inline constexpr const char* AccessibleWhenUnlockedThisDeviceOnly = "aku";
inline constexpr const char* AccessibleAfterFirstUnlockThisDeviceOnly = "cku";
inline constexpr const char* AccessibleAlwaysThisDeviceOnly = "dku";

// Whether the text is one of the Accessible... values above.
bool isAccessibilityValue(std::string_view text);

} // namespace security
