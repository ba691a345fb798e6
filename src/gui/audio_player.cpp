#include "gui/audio_player.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <cerrno>
#include <variant>

namespace pagora {
namespace {

constexpr int kMidiSampleRate = 44100;

QAudioFormat::SampleFormat qtSampleFormat(SampleFormat format) {
    switch (format) {
    case SampleFormat::UInt8:
        return QAudioFormat::UInt8;
    case SampleFormat::Int16:
        return QAudioFormat::Int16;
    case SampleFormat::Int32:
        return QAudioFormat::Int32;
    case SampleFormat::Float:
        return QAudioFormat::Float;
    }
    return QAudioFormat::Unknown;
}

} // namespace

QAudioDevice defaultOutputDevice() {
    return QMediaDevices::defaultAudioOutput();
}

AudioPlayer::AudioPlayer(AudioPlayerSetup setup)
    : setup_(std::move(setup)) {
}

AudioPlayer::~AudioPlayer() {
    release();
}

std::optional<MediaError> AudioPlayer::open(const std::filesystem::path& file) {
    stop();
    opened_.reset();
    try {
        opened_ = readAudioFile(file);
    } catch (const MediaFileError& error) {
        return error.error();
    }
    if (std::holds_alternative<MidiSong>(*opened_) && !firstSoundFont(setup_.soundFonts)) {
        opened_.reset();
        return MediaError{MediaFailure::NoInstruments};
    }
    return std::nullopt;
}

std::unique_ptr<QIODevice> AudioPlayer::makeSource(const QAudioDevice& device,
                                                   QAudioFormat& format) {
    if (const auto* wave = std::get_if<WaveSound>(&*opened_)) {
        format.setSampleFormat(qtSampleFormat(wave->format));
        format.setChannelCount(wave->channels);
        format.setSampleRate(wave->sampleRate);
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(QByteArray::fromRawData(wave->samples.data(),
                                                static_cast<qsizetype>(wave->samples.size())));
        return buffer;
    }
    const int preferredRate = device.preferredFormat().sampleRate();
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(2);
    format.setSampleRate(preferredRate > 0 ? preferredRate : kMidiSampleRate);
    const std::optional<std::filesystem::path> font = firstSoundFont(setup_.soundFonts);
    if (!font)
        throw MediaFileError({MediaFailure::NoInstruments});
    return std::make_unique<MidiRenderer>(std::get<MidiSong>(*opened_), *font, format.sampleRate());
}

std::optional<MediaError> AudioPlayer::play() {
    stop();
    if (!opened_)
        return MediaError{MediaFailure::Unreadable, ENOENT};
    const QAudioDevice device = setup_.outputDevice();
    if (device.isNull())
        return MediaError{MediaFailure::NoDevice};
    QAudioFormat format;
    try {
        source_ = makeSource(device, format);
    } catch (const MediaFileError& error) {
        return error.error();
    }
    if (!device.isFormatSupported(format)) {
        release();
        return MediaError{MediaFailure::Unsupported};
    }
    source_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    sink_ = std::make_unique<QAudioSink>(device, format);
    // Queued: the output is stopped and deleted from here, never inside its
    // own signal.
    connect(
        sink_.get(), &QAudioSink::stateChanged, this,
        [this, sink = sink_.get()] {
            if (sink == sink_.get())
                outputStateChanged();
        },
        Qt::QueuedConnection);
    sink_->start(source_.get());
    if (sink_->error() != QAudio::NoError) {
        release();
        return MediaError{MediaFailure::NoDevice};
    }
    playing_ = true;
    return std::nullopt;
}

void AudioPlayer::outputStateChanged() {
    if (!playing_)
        return;
    const QAudio::State state = sink_->state();
    const bool tookEverything = state == QAudio::IdleState && source_->atEnd();
    const bool failed = state == QAudio::StoppedState && sink_->error() != QAudio::NoError;
    if (!tookEverything && !failed)
        return;
    // The output keeps what it was given until the next play or stop.
    playing_ = false;
    reportStopped();
}

void AudioPlayer::stop() {
    playing_ = false;
    release();
}

void AudioPlayer::release() {
    if (sink_)
        sink_->stop();
    sink_.reset();
    source_.reset();
}

} // namespace pagora
