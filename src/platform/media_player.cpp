#include "platform/media_player.h"

#include "platform/audio_file.h"
#include "platform/errors.h"

#include <cerrno>

namespace pagora {

std::string mediaErrorText(const MediaError& error) {
    switch (error.failure) {
    case MediaFailure::NoDevice:
        return "サウンドデバイスが見つかりません";
    case MediaFailure::NoInstruments:
        return "MIDIの再生に使う音色ファイル（General MIDI の SoundFont）が"
               "インストールされていません。";
    case MediaFailure::Unreadable:
        return ioErrorReason(error.errorNumber);
    case MediaFailure::Empty:
        return "ファイルに音のデータがありません。";
    case MediaFailure::Truncated:
        return "ファイルが途中で切れています。";
    case MediaFailure::NotAudio:
        return "WAVファイルでもMIDIファイルでもないか、ファイルが壊れています。";
    case MediaFailure::Unsupported:
        return "この形式のファイルは再生できません。";
    }
    return {};
}

std::optional<MediaError> SilentMediaPlayer::open(const std::filesystem::path& file) {
    stop();
    opened_ = false;
    try {
        readAudioFile(file);
    } catch (const MediaFileError& error) {
        return error.error();
    }
    opened_ = true;
    return std::nullopt;
}

std::optional<MediaError> SilentMediaPlayer::play() {
    if (!opened_)
        return MediaError{MediaFailure::Unreadable, ENOENT};
    playing_ = true;
    return std::nullopt;
}

} // namespace pagora
