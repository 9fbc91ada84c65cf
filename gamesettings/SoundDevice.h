#pragma once
// The sound output under TAudio and TSoundBuffer: SDL's default audio device, opened once at
// 44100 Hz, 16-bit, stereo. Every sound is converted to that format when it is loaded; the
// device's own thread mixes the voices that are playing. Voices are changed only under the
// device's lock (Locked), which the mixing thread holds while it reads them.
#include "WavUtil.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

constexpr int OutputFrequency = 44100;
constexpr int OutputChannels = 2;

// One sound in the output format (interleaved 16-bit stereo) and where its playing stands.
struct SoundVoice {
    std::vector<std::int16_t> Samples;
    std::size_t Frame = 0; // next frame to play
    bool Playing = false;
    bool Looping = false;

    std::size_t Frames() const { return Samples.size() / OutputChannels; }
};

class SoundDevice {
public:
    // The default output device, running; nothing when there is no device.
    static std::shared_ptr<SoundDevice> Open();
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // The voice is mixed from now on while it plays; it must stay alive until Remove.
    void Add(SoundVoice* voice);
    void Remove(SoundVoice* voice);
    // Runs `change` while the mixing thread is kept out.
    void Locked(const std::function<void()>& change);

private:
    SoundDevice() = default;
    static void mixCallback(void* device, std::uint8_t* stream, int length);

    std::uint32_t id_ = 0;
    std::vector<SoundVoice*> voices_;
};

// Why a wave cannot be played; None when it can.
enum class PlayProblem {
    None,
    Encoding,  // neither PCM of 8, 16, 24 or 32 bits nor 32-bit float
    Channels,  // none, or more than 8
    Rate,      // none, or above 1 MHz
    Header,    // a block alignment that does not match the channels and bits
    NoSamples, // not one whole frame
    TooLong,   // more than 50 minutes once converted
};
PlayProblem CheckPlayable(const TWaveFormatEx& format, std::span<const std::uint8_t> extra, std::size_t dataSize);

// The wave's encoding: its format tag, or the sub-format of an extensible format.
std::uint16_t WaveEncoding(const TWaveFormatEx& format, std::span<const std::uint8_t> extra);
// The usual name of a compressed encoding ("µ-law", "IMA ADPCM"); empty for one without a
// name here, PCM and float included.
std::string_view EncodingName(std::uint16_t encoding);

// The wave's samples in the output format; nothing when CheckPlayable finds a problem.
std::optional<std::vector<std::int16_t>> ConvertToOutput(const TWaveFormatEx& format,
                                                         std::span<const std::uint8_t> extra,
                                                         std::span<const std::uint8_t> data);

// Mixes the playing voices into `out` (interleaved stereo, whole frames), clipping the sum:
// each voice advances; one that reaches its end starts again when looping, else stops and
// rewinds.
void MixVoices(std::span<SoundVoice* const> voices, std::span<std::int16_t> out);
