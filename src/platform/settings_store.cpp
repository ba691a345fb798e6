#include "platform/settings_store.h"

#include "platform/numbers.h"

namespace pagora {

std::string SettingsStore::readText(std::string_view name, const std::string& fallback) const {
    return value(name).value_or(fallback);
}

int SettingsStore::readInt(std::string_view name, int fallback) const {
    const std::optional<std::string> text = value(name);
    if (!text)
        return fallback;
    return parseInt(*text).value_or(fallback);
}

bool SettingsStore::readFlag(std::string_view name, bool fallback) const {
    return readInt(name, fallback ? 1 : 0) != 0;
}

void SettingsStore::writeTextIfPresent(std::string_view name, const std::string& value) {
    if (contains(name))
        writeText(name, value);
}

void SettingsStore::writeIntIfPresent(std::string_view name, int value) {
    if (contains(name))
        writeInt(name, value);
}

void SettingsStore::writeFlagIfPresent(std::string_view name, bool value) {
    if (contains(name))
        writeFlag(name, value);
}

bool MemorySettingsStore::contains(std::string_view name) const {
    return values_.find(name) != values_.end();
}

std::optional<std::string> MemorySettingsStore::value(std::string_view name) const {
    const auto found = values_.find(name);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

void MemorySettingsStore::setValue(std::string_view name, const std::string& value) {
    values_.insert_or_assign(std::string(name), value);
}

} // namespace pagora
