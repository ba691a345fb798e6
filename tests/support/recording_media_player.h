#pragma once

#include "platform/media_player.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pagora::test {

// A player for tests: it plays nothing, records what it is asked in a log
// that outlives it, and fails as the log tells it to.
class RecordingMediaPlayer : public MediaPlayer {
public:
    struct Log {
        std::vector<std::filesystem::path> opened;
        std::vector<std::string> calls; // "open", "play", "stop", in order
        bool playing = false;
        bool destroyed = false;
        // The answers of the following opens and plays.
        std::optional<MediaError> openFailure;
        std::optional<MediaError> playFailure;

        // Ends the playing as the end of the file does.
        void finish();

    private:
        friend class RecordingMediaPlayer;
        RecordingMediaPlayer* player_ = nullptr;
    };

    explicit RecordingMediaPlayer(std::shared_ptr<Log> log);
    ~RecordingMediaPlayer() override;

    std::optional<MediaError> open(const std::filesystem::path& file) override;
    std::optional<MediaError> play() override;
    void stop() override;
    bool playing() const override { return log_->playing; }

private:
    std::shared_ptr<Log> log_;
};

// The recording players made for the windows of a test, in the order they
// were made.
class RecordingMediaPlayers {
public:
    MediaPlayerFactory factory();
    std::size_t count() const { return logs_.size(); }
    // The log of the player made last; throws when none was made.
    RecordingMediaPlayer::Log& last();

private:
    std::vector<std::shared_ptr<RecordingMediaPlayer::Log>> logs_;
};

} // namespace pagora::test
