#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pagora {

// The editor's own settings (not the comic's): named values under one key of
// the user's settings. Texts are UTF-8; numbers and flags are kept as decimal
// text, so every implementation only stores strings.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool contains(std::string_view name) const = 0;
    virtual std::optional<std::string> value(std::string_view name) const = 0;
    virtual void setValue(std::string_view name, const std::string& value) = 0;
    // Removes every value of the key, as the setup wizard's "erase settings" does.
    virtual void eraseAll() = 0;

    std::string readText(std::string_view name, const std::string& fallback) const;
    int readInt(std::string_view name, int fallback) const;
    bool readFlag(std::string_view name, bool fallback) const;
    void writeText(std::string_view name, const std::string& value) { setValue(name, value); }
    void writeInt(std::string_view name, int value) { setValue(name, std::to_string(value)); }
    void writeFlag(std::string_view name, bool value) { setValue(name, value ? "1" : "0"); }

    // Writes the value only when it is still there, so that settings erased
    // while the program runs are not recreated at exit.
    void writeTextIfPresent(std::string_view name, const std::string& value);
    void writeIntIfPresent(std::string_view name, int value);
    void writeFlagIfPresent(std::string_view name, bool value);
};

class MemorySettingsStore : public SettingsStore {
public:
    bool contains(std::string_view name) const override;
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, const std::string& value) override;
    void eraseAll() override { values_.clear(); }

private:
    std::map<std::string, std::string, std::less<>> values_;
};

} // namespace pagora
