#pragma once

#include <QByteArray>
#include <QString>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

class QVariant;

namespace pagora {

// The one passage between the comic's CP932 bytes and Qt's strings: every
// text of the document that the editor shows, and every text the user types
// for it, goes through these two functions.
//
// Bytes that are not CP932 are shown as U+FFFD, one per byte.
QString qtText(std::string_view cp932);
// Throws EncodingError naming the first character that CP932 cannot hold, so
// typed text is refused rather than stored with a replacement character.
std::string cp932Text(const QString& text);

// A CP932 name kept whole as an item's data beside the text it shows, so that
// a name shown with replacement characters is written back byte for byte.
QByteArray nameData(std::string_view cp932);
std::string nameOfData(const QVariant& data);

// File system paths and the editor's own settings are UTF-8.
QString pathText(const std::filesystem::path& path);
std::filesystem::path pathFromText(const QString& text);
QString utf8Text(std::string_view utf8);
std::string utf8Of(const QString& text);

// The text of an exception for an error box. The conversion error quotes the
// offending token as it stood in the comic (CP932); a file error is told in
// Japanese; every other error of the program is written in UTF-8.
QString errorText(const std::exception& error);

} // namespace pagora
