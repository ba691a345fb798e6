#include "support/recording_media_player.h"

#include <stdexcept>

namespace pagora::test {

void RecordingMediaPlayer::Log::finish() {
    if (!playing)
        return;
    playing = false;
    if (player_ != nullptr)
        player_->reportStopped();
}

RecordingMediaPlayer::RecordingMediaPlayer(std::shared_ptr<Log> log)
    : log_(std::move(log)) {
    log_->player_ = this;
}

RecordingMediaPlayer::~RecordingMediaPlayer() {
    log_->player_ = nullptr;
    log_->playing = false;
    log_->destroyed = true;
}

std::optional<MediaError> RecordingMediaPlayer::open(const std::filesystem::path& file) {
    log_->playing = false;
    log_->opened.push_back(file);
    log_->calls.emplace_back("open");
    return log_->openFailure;
}

std::optional<MediaError> RecordingMediaPlayer::play() {
    log_->calls.emplace_back("play");
    log_->playing = !log_->playFailure;
    return log_->playFailure;
}

void RecordingMediaPlayer::stop() {
    log_->calls.emplace_back("stop");
    log_->playing = false;
}

MediaPlayerFactory RecordingMediaPlayers::factory() {
    return [this] {
        logs_.push_back(std::make_shared<RecordingMediaPlayer::Log>());
        return std::make_unique<RecordingMediaPlayer>(logs_.back());
    };
}

RecordingMediaPlayer::Log& RecordingMediaPlayers::last() {
    if (logs_.empty())
        throw std::runtime_error("no media player was made");
    return *logs_.back();
}

} // namespace pagora::test
