#pragma once

#include "platform/settings_store.h"

#include <QSettings>
#include <memory>

namespace pagora {

// The editor's settings in QSettings: organisation "Hanvel", application
// "Pagora" (~/.config/Hanvel/Pagora.conf on Linux, the registry key
// HKEY_CURRENT_USER\Software\Hanvel\Pagora on Windows). Values are kept as
// strings, as the interface keeps them.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // A store over a file of its own, for runs that must not touch the user's settings.
    explicit QtSettingsStore(const QString& iniFile);

    bool contains(std::string_view name) const override;
    std::optional<std::string> value(std::string_view name) const override;
    void setValue(std::string_view name, const std::string& value) override;
    void eraseAll() override;

    // Writes pending changes to storage.
    void sync() { settings_->sync(); }

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace pagora
