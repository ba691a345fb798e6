#include "editor/qt_settings_store.h"

#include "gui/qt_text.h"

namespace pagora {

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Hanvel"), QStringLiteral("Pagora"))) {
}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
}

bool QtSettingsStore::contains(std::string_view name) const {
    return settings_->contains(utf8Text(name));
}

std::optional<std::string> QtSettingsStore::value(std::string_view name) const {
    const QVariant stored = settings_->value(utf8Text(name));
    if (!stored.isValid())
        return std::nullopt;
    return utf8Of(stored.toString());
}

void QtSettingsStore::setValue(std::string_view name, const std::string& value) {
    settings_->setValue(utf8Text(name), utf8Text(value));
}

void QtSettingsStore::eraseAll() {
    settings_->clear();
    settings_->sync();
}

} // namespace pagora
