#include "gui/midi_renderer.h"

#include <algorithm>
#include <fluidsynth.h>
#include <mutex>

namespace pagora {
namespace {

constexpr int kBytesPerFrame = 2 * sizeof(qint16); // stereo, 16 bits
// The fading notes after the song's last event are rendered for at most this long.
constexpr int kLongestTailSeconds = 2;

// FluidSynth reports to standard error by default; what goes wrong with a
// song is told to the user through the player's failures instead.
void quietFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

} // namespace

std::vector<std::filesystem::path> generalMidiSoundFonts() {
    const std::filesystem::path sf2 = "/usr/share/sounds/sf2";
    const std::filesystem::path sf3 = "/usr/share/sounds/sf3";
    return {sf2 / "default-GM.sf2",
            sf3 / "default-GM.sf3",
            sf2 / "FluidR3_GM.sf2",
            sf3 / "FluidR3_GM.sf3",
            sf2 / "TimGM6mb.sf2",
            "/usr/share/soundfonts/default.sf2",
            "/usr/share/soundfonts/FluidR3_GM.sf2"};
}

std::optional<std::filesystem::path>
firstSoundFont(const std::vector<std::filesystem::path>& fonts) {
    std::error_code ignored;
    for (const std::filesystem::path& font : fonts)
        if (std::filesystem::is_regular_file(font, ignored))
            return font;
    return std::nullopt;
}

// FluidSynth's settings, synthesiser and MIDI file player, freed in reverse.
struct MidiRenderer::Synthesiser {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;

    ~Synthesiser() {
        if (player != nullptr)
            delete_fluid_player(player);
        if (synth != nullptr)
            delete_fluid_synth(synth);
        delete_fluid_settings(settings);
    }
};

MidiRenderer::MidiRenderer(const MidiSong& song, const std::filesystem::path& soundFont,
                           int sampleRate)
    : synth_(std::make_unique<Synthesiser>())
    , sampleRate_(sampleRate) {
    quietFluidSynth();
    fluid_settings_setnum(synth_->settings, "synth.sample-rate", sampleRate);
    // The song advances with the samples rendered, not with the clock.
    fluid_settings_setstr(synth_->settings, "player.timing-source", "sample");
    fluid_settings_setint(synth_->settings, "synth.lock-memory", 0);
    // Only the instruments the song uses are loaded, so a large font opens at once.
    fluid_settings_setint(synth_->settings, "synth.dynamic-sample-loading", 1);
    synth_->synth = new_fluid_synth(synth_->settings);
    if (synth_->synth == nullptr ||
        fluid_synth_sfload(synth_->synth, soundFont.c_str(), 1) == FLUID_FAILED)
        throw MediaFileError({MediaFailure::NoInstruments});
    synth_->player = new_fluid_player(synth_->synth);
    if (synth_->player == nullptr ||
        fluid_player_add_mem(synth_->player, song.bytes.data(), song.bytes.size()) != FLUID_OK ||
        fluid_player_play(synth_->player) != FLUID_OK)
        throw MediaFileError({MediaFailure::NotAudio});
}

MidiRenderer::~MidiRenderer() = default;

qint64 MidiRenderer::bytesAvailable() const {
    return finished_ ? QIODevice::bytesAvailable()
                     : QIODevice::bytesAvailable() + qint64{sampleRate_} * kBytesPerFrame;
}

// The player itself reports its end only some seconds after the last event;
// the song is over once it has reached its last tick.
bool MidiRenderer::songOver() const {
    const int lastTick = fluid_player_get_total_ticks(synth_->player);
    return fluid_player_get_status(synth_->player) == FLUID_PLAYER_DONE ||
           (lastTick > 0 && fluid_player_get_current_tick(synth_->player) >= lastTick);
}

int MidiRenderer::framesToRender(int wanted) {
    if (!songOver())
        return wanted;
    const int tailLeft = kLongestTailSeconds * sampleRate_ - tailFrames_;
    if (tailLeft <= 0 || fluid_synth_get_active_voice_count(synth_->synth) == 0)
        return 0;
    const int frames = std::min(wanted, tailLeft);
    tailFrames_ += frames;
    return frames;
}

qint64 MidiRenderer::readData(char* data, qint64 maxSize) {
    const int wanted = static_cast<int>(std::min<qint64>(maxSize / kBytesPerFrame, sampleRate_));
    if (finished_ || wanted == 0)
        return 0;
    const int frames = framesToRender(wanted);
    if (frames == 0) {
        finished_ = true;
        return 0;
    }
    fluid_synth_write_s16(synth_->synth, frames, data, 0, 2, data, 1, 2);
    return qint64{frames} * kBytesPerFrame;
}

qint64 MidiRenderer::writeData(const char*, qint64) {
    return -1;
}

} // namespace pagora
