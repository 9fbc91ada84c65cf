#include "SoundDevice.h"

#include "LittleEndian.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;
constexpr int MaxChannels = 8;
// Well above any recording's rate (384 kHz); SDL's resampler overflows on rates of millions.
constexpr std::uint32_t MaxSampleRate = 1000000;
constexpr std::size_t ConvertStep = 1 << 20; // bytes handed to the converter at a time
// A converted sound is held whole in memory; one that would pass this many frames (50 minutes,
// 512 MB) is not played: at a rate of 1 Hz a few kilobytes of samples would take gigabytes.
constexpr std::uint64_t MaxOutputFrames = std::uint64_t{1} << 27;
// Silence pushed behind a resampled sound, in blocks of source frames: the resampler holds
// back at most about a thousand frames.
constexpr int SilenceFrames = 4096;
constexpr int MaxSilenceBlocks = 8;

// The SDL sample format of a wave format, or 0 when it is not one we can play.
SDL_AudioFormat sampleFormat(const TWaveFormatEx& format, std::span<const std::uint8_t> extra)
{
    const std::uint16_t encoding = WaveEncoding(format, extra);
    if (encoding == WAVE_FORMAT_PCM) {
        switch (format.wBitsPerSample) {
        case 8: return AUDIO_U8;
        case 16: return AUDIO_S16LSB;
        case 24: // widened to 32 bits before conversion
        case 32: return AUDIO_S32LSB;
        default: return 0;
        }
    }
    if (encoding == WAVE_FORMAT_IEEE_FLOAT && format.wBitsPerSample == 32)
        return AUDIO_F32LSB;
    return 0;
}

// 24-bit samples as 32-bit ones, the low byte zero.
std::vector<std::uint8_t> widen24(std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> wide(data.size() / 3 * 4);
    for (std::size_t i = 0, o = 0; i + 3 <= data.size(); i += 3, o += 4) {
        wide[o] = 0;
        std::memcpy(&wide[o + 1], &data[i], 3);
    }
    return wide;
}

// The length of `frames` frames at `rate` once played at the output's rate, to the nearest frame.
std::size_t convertedFrames(std::size_t frames, std::uint32_t rate)
{
    return static_cast<std::size_t>((std::uint64_t{frames} * OutputFrequency + rate / 2) / rate);
}

bool drain(SDL_AudioStream* stream, std::vector<std::int16_t>& out)
{
    const int available = SDL_AudioStreamAvailable(stream);
    if (available <= 0)
        return available == 0;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(available) / sizeof(std::int16_t));
    const int got = SDL_AudioStreamGet(stream, out.data() + start, available);
    if (got < 0)
        return false;
    out.resize(start + static_cast<std::size_t>(got) / sizeof(std::int16_t));
    return true;
}

} // namespace

std::uint16_t WaveEncoding(const TWaveFormatEx& format, std::span<const std::uint8_t> extra)
{
    // An extensible format names its encoding in the first two bytes of its sub-format, 6
    // bytes into the extra.
    if (format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && extra.size() >= 8)
        return ReadU16LE(extra.data() + 6);
    return format.wFormatTag;
}

std::string_view EncodingName(std::uint16_t encoding)
{
    static constexpr struct {
        std::uint16_t tag;
        std::string_view name;
    } names[] = {
        {0x0002, "Microsoft ADPCM"}, {0x0006, "A-law"}, {0x0007, "\u00B5-law"}, {0x0011, "IMA ADPCM"},
        {0x0031, "GSM 6.10"},        {0x0050, "MPEG"},  {0x0055, "MP3"},        {0x0161, "WMA"},
    };
    for (const auto& known : names)
        if (known.tag == encoding)
            return known.name;
    return {};
}

PlayProblem CheckPlayable(const TWaveFormatEx& format, std::span<const std::uint8_t> extra, std::size_t dataSize)
{
    if (sampleFormat(format, extra) == 0)
        return PlayProblem::Encoding;
    if (format.nChannels < 1 || format.nChannels > MaxChannels)
        return PlayProblem::Channels;
    if (format.nSamplesPerSec == 0 || format.nSamplesPerSec > MaxSampleRate)
        return PlayProblem::Rate;
    if (format.nBlockAlign != format.nChannels * (format.wBitsPerSample / 8))
        return PlayProblem::Header;
    const std::size_t frames = dataSize / format.nBlockAlign;
    if (frames == 0)
        return PlayProblem::NoSamples;
    if (std::uint64_t{frames} * OutputFrequency / format.nSamplesPerSec > MaxOutputFrames)
        return PlayProblem::TooLong;
    return PlayProblem::None;
}

std::optional<std::vector<std::int16_t>> ConvertToOutput(const TWaveFormatEx& format,
                                                         std::span<const std::uint8_t> extra,
                                                         std::span<const std::uint8_t> data)
{
    if (CheckPlayable(format, extra, data.size()) != PlayProblem::None)
        return std::nullopt;
    const SDL_AudioFormat from = sampleFormat(format, extra);
    const int channels = format.nChannels;
    const std::size_t frames = data.size() / format.nBlockAlign;
    data = data.first(frames * format.nBlockAlign);

    SDL_AudioStream* stream = SDL_NewAudioStream(from, static_cast<Uint8>(channels), static_cast<int>(format.nSamplesPerSec),
                                                 AUDIO_S16SYS, OutputChannels, OutputFrequency);
    if (!stream)
        return std::nullopt;
    const std::size_t wanted = convertedFrames(frames, format.nSamplesPerSec) * OutputChannels;
    std::vector<std::int16_t> out;
    out.reserve(wanted);
    bool ok = true;
    // Whole frames at a time; 24-bit samples are widened a step at a time, never all at once.
    const std::size_t step = std::max<std::size_t>(ConvertStep / format.nBlockAlign, 1) * format.nBlockAlign;
    std::vector<std::uint8_t> widened;
    for (std::size_t at = 0; ok && at < data.size(); at += step) {
        std::span<const std::uint8_t> part = data.subspan(at, std::min(step, data.size() - at));
        if (format.wBitsPerSample == 24) {
            widened = widen24(part);
            part = widened;
        }
        ok = SDL_AudioStreamPut(stream, part.data(), static_cast<int>(part.size())) == 0 && drain(stream, out);
    }
    // The resampler holds back the sound's last milliseconds, and SDL 2.26's flush gives none
    // of them back: silence pushed behind the sound brings them out, then the sound is cut at
    // its own length.
    const std::size_t streamFrameBytes = static_cast<std::size_t>(SDL_AUDIO_BITSIZE(from)) / 8 * static_cast<std::size_t>(channels);
    const std::vector<std::uint8_t> silence(SilenceFrames * streamFrameBytes, from == AUDIO_U8 ? 0x80 : 0);
    for (int block = 0; ok && out.size() < wanted && block < MaxSilenceBlocks; ++block)
        ok = SDL_AudioStreamPut(stream, silence.data(), static_cast<int>(silence.size())) == 0 && drain(stream, out);
    SDL_FreeAudioStream(stream);
    out.resize(std::min(out.size(), wanted));
    if (!ok || out.empty())
        return std::nullopt;
    return out;
}

void MixVoices(std::span<SoundVoice* const> voices, std::span<std::int16_t> out)
{
    std::fill(out.begin(), out.end(), std::int16_t{0});
    const std::size_t frames = out.size() / OutputChannels;
    for (SoundVoice* voice : voices) {
        std::size_t done = 0;
        while (voice->Playing && done < frames) {
            if (voice->Frame >= voice->Frames()) {
                voice->Frame = 0;
                if (!voice->Looping || voice->Frames() == 0) {
                    voice->Playing = false;
                    break;
                }
            }
            const std::size_t run = std::min(frames - done, voice->Frames() - voice->Frame);
            const std::int16_t* from = voice->Samples.data() + voice->Frame * OutputChannels;
            std::int16_t* to = out.data() + done * OutputChannels;
            for (std::size_t i = 0; i < run * OutputChannels; ++i) {
                const int sum = to[i] + from[i];
                to[i] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
            }
            voice->Frame += run;
            done += run;
        }
    }
}

std::shared_ptr<SoundDevice> SoundDevice::Open()
{
    // SDL would catch SIGINT and SIGTERM to post a quit event no Qt program reads: the program
    // would ignore Ctrl+C and a polite kill.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    std::shared_ptr<SoundDevice> device(new SoundDevice);
    SDL_AudioSpec wanted{};
    wanted.freq = OutputFrequency;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = OutputChannels;
    wanted.samples = 1024;
    wanted.callback = &SoundDevice::mixCallback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    device->id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device->id_ == 0)
        return nullptr; // the destructor leaves the audio subsystem again
    SDL_PauseAudioDevice(device->id_, 0);
    return device;
}

SoundDevice::~SoundDevice()
{
    if (id_ != 0)
        SDL_CloseAudioDevice(id_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundDevice::mixCallback(void* device, std::uint8_t* stream, int length)
{
    auto* self = static_cast<SoundDevice*>(device);
    // SDL hands a byte buffer aligned for its sample format.
    MixVoices(self->voices_, std::span(reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / sizeof(std::int16_t)));
}

void SoundDevice::Add(SoundVoice* voice)
{
    Locked([&] { voices_.push_back(voice); });
}

void SoundDevice::Remove(SoundVoice* voice)
{
    Locked([&] { std::erase(voices_, voice); });
}

void SoundDevice::Locked(const std::function<void()>& change)
{
    SDL_LockAudioDevice(id_);
    change();
    SDL_UnlockAudioDevice(id_);
}
