// ui::KeyedCoder: the keyed store a view controller writes its restorable state into and reads it back from
// (encodeRestorableState / decodeRestorableState): view controllers and integers under string keys. The
// application never restores state; tests use a coder to carry state from one controller to another.
// Main thread.
//
//   ui::KeyedCoder coder;
//   drawer->encodeRestorableState(coder);            // "DrawerCenter", "DrawerOpenSide", ...
//   restored->decodeRestorableState(coder);
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>

namespace ui {

class ViewController;

class KeyedCoder {
public:
    // A null controller removes what the key held, so decodeObject answers nullptr for it.
    void encodeObject(std::shared_ptr<ViewController> object, const std::string& key);
    void encodeInteger(int64_t value, const std::string& key);

    // nullptr when the key holds no controller.
    std::shared_ptr<ViewController> decodeObject(const std::string& key) const;
    // 0 when the key holds no integer.
    int64_t decodeInteger(const std::string& key) const;
    bool containsValue(const std::string& key) const { return m_entries.contains(key); }

private:
    std::map<std::string, std::variant<std::shared_ptr<ViewController>, int64_t>> m_entries;
};

} // namespace ui
