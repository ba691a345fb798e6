#include "platform/audio_file.h"

#include "platform/errors.h"
#include "platform/files.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace pagora {
namespace {

[[noreturn]] void fail(MediaFailure failure) {
    throw MediaFileError({failure});
}

unsigned byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | byteAt(bytes, at + static_cast<std::size_t>(i));
    return value;
}

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | byteAt(bytes, at + static_cast<std::size_t>(i));
    return value;
}

struct Chunk {
    std::string_view id;
    std::string_view body;
};

// The chunks of a RIFF form (little-endian sizes, bodies padded to even
// lengths) or of a MIDI file (big-endian sizes, no padding). A chunk cut
// short by the end of the bytes means the file was truncated.
class ChunkReader {
public:
    enum class Layout { Riff, Midi };

    ChunkReader(std::string_view bytes, Layout layout)
        : rest_(bytes)
        , layout_(layout) {}

    std::optional<Chunk> next() {
        if (rest_.empty())
            return std::nullopt;
        if (rest_.size() < 8)
            fail(MediaFailure::Truncated);
        const std::uint32_t size =
            layout_ == Layout::Riff ? littleEndian(rest_, 4, 4) : bigEndian(rest_, 4, 4);
        if (size > rest_.size() - 8)
            fail(MediaFailure::Truncated);
        const Chunk chunk{rest_.substr(0, 4), rest_.substr(8, size)};
        const std::size_t padding = layout_ == Layout::Riff ? size % 2 : 0;
        rest_.remove_prefix(std::min(rest_.size(), 8 + std::size_t{size} + padding));
        return chunk;
    }

private:
    std::string_view rest_;
    Layout layout_;
};

// --- WAV ---

constexpr std::uint32_t kPcm = 1;
constexpr std::uint32_t kFloat = 3;
constexpr std::uint32_t kExtensible = 0xFFFE;
constexpr std::uint32_t kMostChannels = 32;
constexpr std::uint32_t kHighestRate = 768000;

struct WaveFormat {
    SampleFormat format;
    int channels;
    int sampleRate;
    int bytesPerSample; // in the file
};

SampleFormat sampleFormatOf(std::uint32_t tag, std::uint32_t bits) {
    if (tag == kFloat && bits == 32)
        return SampleFormat::Float;
    if (tag != kPcm)
        fail(MediaFailure::Unsupported);
    switch (bits) {
    case 8:
        return SampleFormat::UInt8;
    case 16:
        return SampleFormat::Int16;
    case 24: // widened to 32 bits
    case 32:
        return SampleFormat::Int32;
    default:
        fail(MediaFailure::Unsupported);
    }
}

WaveFormat readWaveFormat(std::string_view body) {
    if (body.size() < 16)
        fail(MediaFailure::NotAudio);
    std::uint32_t tag = littleEndian(body, 0, 2);
    const std::uint32_t channels = littleEndian(body, 2, 2);
    const std::uint32_t rate = littleEndian(body, 4, 4);
    const std::uint32_t bits = littleEndian(body, 14, 2);
    // The extensible header names the real encoding by the first two bytes
    // of its sub-format.
    if (tag == kExtensible && body.size() >= 26)
        tag = littleEndian(body, 24, 2);
    if (channels == 0 || rate == 0)
        fail(MediaFailure::NotAudio);
    if (channels > kMostChannels || rate > kHighestRate)
        fail(MediaFailure::Unsupported);
    return {sampleFormatOf(tag, bits), static_cast<int>(channels), static_cast<int>(rate),
            static_cast<int>(bits / 8)};
}

// 24-bit samples become 32-bit ones with a zero low byte.
std::string widenTo32Bits(std::string_view samples) {
    std::string wide;
    wide.reserve(samples.size() / 3 * 4);
    for (std::size_t at = 0; at + 3 <= samples.size(); at += 3) {
        wide.push_back('\0');
        wide.append(samples.substr(at, 3));
    }
    return wide;
}

WaveSound parseWave(std::string_view form) {
    std::optional<WaveFormat> format;
    std::optional<std::string_view> data;
    ChunkReader chunks(form, ChunkReader::Layout::Riff);
    while (!(format && data)) {
        const std::optional<Chunk> chunk = chunks.next();
        if (!chunk)
            fail(MediaFailure::Truncated);
        if (chunk->id == "fmt ")
            format = readWaveFormat(chunk->body);
        else if (chunk->id == "data")
            data = chunk->body;
    }
    const std::size_t frameSize = static_cast<std::size_t>(format->bytesPerSample) *
                                  static_cast<std::size_t>(format->channels);
    const std::string_view frames = data->substr(0, data->size() - data->size() % frameSize);
    if (frames.empty())
        fail(MediaFailure::Empty);
    return {format->format, format->channels, format->sampleRate,
            format->bytesPerSample == 3 ? widenTo32Bits(frames) : std::string(frames)};
}

// --- MIDI ---

// Walks the events of a track, so that a damaged one is refused before it
// plays. Meta and system exclusive events end a running status.
class TrackChecker {
public:
    explicit TrackChecker(std::string_view track)
        : track_(track) {}

    void check() {
        unsigned running = 0;
        while (at_ < track_.size()) {
            variableLength(); // the delta time
            need(1);
            unsigned status = byteAt(track_, at_);
            if (status & 0x80)
                ++at_;
            else if (running == 0)
                fail(MediaFailure::NotAudio);
            else
                status = running;
            if (status == 0xFF) {
                need(1);
                const unsigned type = byteAt(track_, at_++);
                skip(variableLength());
                if (type == 0x2F) // end of track
                    return;
                running = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                skip(variableLength());
                running = 0;
            } else if (status >= 0xF0) {
                fail(MediaFailure::NotAudio);
            } else {
                channelData((status & 0xE0) == 0xC0 ? 1 : 2); // program, pressure: one byte
                running = status;
            }
        }
    }

private:
    void need(std::size_t count) const {
        if (track_.size() - at_ < count)
            fail(MediaFailure::NotAudio);
    }
    void skip(std::size_t count) {
        need(count);
        at_ += count;
    }
    std::size_t variableLength() {
        std::size_t value = 0;
        for (int i = 0; i < 4; ++i) {
            need(1);
            const unsigned byte = byteAt(track_, at_++);
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80))
                return value;
        }
        fail(MediaFailure::NotAudio);
    }
    void channelData(std::size_t count) {
        need(count);
        for (std::size_t i = 0; i < count; ++i)
            if (byteAt(track_, at_ + i) & 0x80)
                fail(MediaFailure::NotAudio);
        at_ += count;
    }

    std::string_view track_;
    std::size_t at_ = 0;
};

constexpr std::size_t kMidiHeaderSize = 14;

void checkMidi(std::string_view song) {
    if (song.size() < kMidiHeaderSize)
        fail(MediaFailure::Truncated);
    const std::uint32_t headerLength = bigEndian(song, 4, 4);
    const std::uint32_t format = bigEndian(song, 8, 2);
    const std::uint32_t tracks = bigEndian(song, 10, 2);
    const std::uint32_t division = bigEndian(song, 12, 2);
    if (headerLength < 6 || division == 0)
        fail(MediaFailure::NotAudio);
    if (format > 2 || (division & 0x8000)) // SMPTE time is not played
        fail(MediaFailure::Unsupported);
    if (tracks == 0)
        fail(MediaFailure::Empty);
    if (headerLength > song.size() - 8)
        fail(MediaFailure::Truncated);
    ChunkReader chunks(song.substr(8 + headerLength), ChunkReader::Layout::Midi);
    for (std::uint32_t found = 0; found < tracks;) {
        const std::optional<Chunk> chunk = chunks.next();
        if (!chunk)
            fail(MediaFailure::Truncated);
        if (chunk->id != "MTrk")
            continue;
        TrackChecker(chunk->body).check();
        ++found;
    }
}

// The standard MIDI file inside a RIFF "RMID" form.
std::string_view rmidSong(std::string_view form) {
    ChunkReader chunks(form, ChunkReader::Layout::Riff);
    while (const std::optional<Chunk> chunk = chunks.next())
        if (chunk->id == "data")
            return chunk->body;
    fail(MediaFailure::Truncated);
}

constexpr std::string_view kRiff = "RIFF";
constexpr std::string_view kMidiHeader = "MThd";
constexpr std::size_t kRiffHeaderSize = 12;

// The chunks of a RIFF file after its form type, as far as its size says
// (the rest of the file when that is larger).
std::string_view riffForm(std::string_view bytes) {
    const std::size_t size = littleEndian(bytes, 4, 4);
    return bytes.substr(kRiffHeaderSize, size < 4 ? 0 : size - 4);
}

} // namespace

AudioData parseAudio(std::string bytes) {
    const std::string_view view = bytes;
    if (view.empty())
        fail(MediaFailure::Empty);
    if (view.starts_with(kMidiHeader)) {
        checkMidi(view);
        return MidiSong{std::move(bytes)};
    }
    if (view.starts_with(kRiff)) {
        if (view.size() < kRiffHeaderSize)
            fail(MediaFailure::Truncated);
        const std::string_view type = view.substr(8, 4);
        if (type == "WAVE")
            return parseWave(riffForm(view));
        if (type == "RMID") {
            const std::string_view song = rmidSong(riffForm(view));
            if (!song.starts_with(kMidiHeader))
                fail(MediaFailure::NotAudio);
            checkMidi(song);
            return MidiSong{std::string(song)};
        }
        fail(MediaFailure::NotAudio);
    }
    // A file cut inside its very first bytes.
    if (view.size() < 4 && (kRiff.starts_with(view) || kMidiHeader.starts_with(view)))
        fail(MediaFailure::Truncated);
    fail(MediaFailure::NotAudio);
}

AudioData readAudioFile(const std::filesystem::path& path) {
    std::string bytes;
    try {
        bytes = readRegularFile(path, kLargestAudioFile);
    } catch (const IoError& error) {
        throw MediaFileError({MediaFailure::Unreadable, error.errorNumber()});
    }
    return parseAudio(std::move(bytes));
}

} // namespace pagora
