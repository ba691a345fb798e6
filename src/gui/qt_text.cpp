#include "gui/qt_text.h"

#include "platform/encoding.h"
#include "platform/errors.h"

#include <QVariant>

namespace pagora {

QString qtText(std::string_view cp932) {
    const std::string utf8 = toUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string cp932Text(const QString& text) {
    return toCp932(utf8Of(text));
}

QByteArray nameData(std::string_view cp932) {
    return QByteArray(cp932.data(), static_cast<qsizetype>(cp932.size()));
}

std::string nameOfData(const QVariant& data) {
    return data.toByteArray().toStdString();
}

QString pathText(const std::filesystem::path& path) {
    const std::string utf8 = path.string();
    return utf8Text(utf8);
}

std::filesystem::path pathFromText(const QString& text) {
    return std::filesystem::path(utf8Of(text));
}

QString utf8Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8Of(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString errorText(const std::exception& error) {
    if (dynamic_cast<const ConversionError*>(&error) != nullptr)
        return qtText(error.what());
    if (const auto* ioError = dynamic_cast<const IoError*>(&error))
        return utf8Text(ioErrorText(*ioError));
    return utf8Text(error.what());
}

} // namespace pagora
