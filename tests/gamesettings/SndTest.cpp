#include "Snd.h"

#include "Errors.h"
#include "TempFolder.h"
#include "WaveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

std::string dataFile(const char* name) { return std::string(ORMEL_TEST_DATA) + "/wav/" + name; }

SoundVoice voice(std::vector<std::int16_t> samples, bool playing = true, bool looping = false)
{
    SoundVoice v;
    v.Samples = std::move(samples);
    v.Playing = playing;
    v.Looping = looping;
    return v;
}

TEST(MixVoices, PlaysEachVoiceIntoTheOutputAndClipsTheSum)
{
    SoundVoice a = voice({100, -100, 30000, -30000});
    SoundVoice b = voice({1, 2, 30000, -30000});
    SoundVoice silent = voice({5, 5}, false);
    std::vector<SoundVoice*> voices{&a, &b, &silent};
    std::vector<std::int16_t> out(6, 77);
    MixVoices(voices, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{101, -98, 32767, -32768, 0, 0}));
    // Both reached their end: they stop and rewind, so a new Play starts from the beginning.
    EXPECT_FALSE(a.Playing);
    EXPECT_EQ(a.Frame, 0u);
    EXPECT_FALSE(silent.Playing);
    EXPECT_EQ(silent.Frame, 0u);
}

TEST(MixVoices, ALoopingVoiceStartsAgainAndAPartPlayedOneGoesOn)
{
    SoundVoice loop = voice({1, 1, 2, 2}, true, true);
    SoundVoice once = voice({10, 10, 20, 20, 30, 30});
    std::vector<SoundVoice*> voices{&loop, &once};
    std::vector<std::int16_t> out(4);
    MixVoices(voices, out);
    EXPECT_EQ(out, (std::vector<std::int16_t>{11, 11, 22, 22}));
    EXPECT_TRUE(once.Playing);
    EXPECT_EQ(once.Frame, 2u);
    std::vector<std::int16_t> more(6);
    MixVoices(voices, more);
    EXPECT_EQ(more, (std::vector<std::int16_t>{31, 31, 2, 2, 1, 1}));
    EXPECT_TRUE(loop.Playing);
    EXPECT_FALSE(once.Playing);
}

TEST(ConvertToOutput, KeepsTheOutputFormatAndResamplesOthers)
{
    const TIWave stereo(dataFile("pcm16_stereo_44100.wav"));
    TWaveFormatEx format;
    stereo.GetFormat(format);
    const auto same = ConvertToOutput(format, {}, stereo.Data);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, (std::vector<std::int16_t>{1000, -1000, 2000, -2000, 3000, -3000, 4000, -4000}));

    // 8-bit mono at a quarter of the rate: about four stereo frames for each sample.
    const TIWave mono(dataFile("pcm8_mono_11025.wav"));
    mono.GetFormat(format);
    const auto resampled = ConvertToOutput(format, {}, mono.Data);
    ASSERT_TRUE(resampled);
    EXPECT_NEAR(static_cast<double>(resampled->size()), 12 * 4 * 2, 16);
    EXPECT_EQ(resampled->size() % 2, 0u);
}

// A sound at one level throughout, `milliseconds` long, in the file's own format.
std::string levelSamples(int rate, int channels, int bits, int milliseconds)
{
    const std::size_t samples = static_cast<std::size_t>(rate) * milliseconds / 1000 * channels;
    if (bits == 8)
        return std::string(samples, '\xC0'); // half way up from the silence of 0x80
    return Samples16(std::vector<std::int16_t>(samples, 16384));
}

TEST(ConvertToOutput, EverySoundLastsItsOwnLengthToItsLastSample)
{
    // 80 ms, loud for one half and silent for the other, in either order: left half way up,
    // right a quarter way down (0xC0 and 0x60 around the 8-bit silence of 0x80); mono on both
    // sides. 80 ms is 3,528 frames at 44,100 Hz, the step at frame 1,764. The resampler rings for
    // a few source samples around a step: away from the steps every frame is at its level within
    // 1 %, and silence is exactly 0. The loud end plays to the last frame's ringing; an end held
    // back or cut, or silence that is not 0, shows.
    for (const int rate : {8000, 11025, 22050, 48000, 96000}) {
        for (const int channels : {1, 2}) {
            for (const int bits : {8, 16}) {
                for (const bool loudFirst : {true, false}) {
                    const int frames = rate * 80 / 1000;
                    std::string samples;
                    for (int i = 0; i < frames; ++i)
                        for (int c = 0; c < channels; ++c) {
                            const bool loud = (i < frames / 2) == loudFirst;
                            samples += bits == 8 ? std::string(1, loud ? (c ? '\x60' : '\xC0') : '\x80')
                                                 : Samples16({static_cast<std::int16_t>(loud ? (c ? -8192 : 16384) : 0)});
                        }
                    const std::string file = PcmWave(rate, channels, bits, samples);
                    const TIWave wave("click.wav", std::vector<std::uint8_t>(file.begin(), file.end()));
                    TWaveFormatEx format;
                    wave.GetFormat(format);
                    const auto out = ConvertToOutput(format, {}, wave.Data);
                    ASSERT_TRUE(out);
                    const std::string where = std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels, " +
                                              std::to_string(bits) + " bits, " + (loudFirst ? "loud first" : "loud last");
                    ASSERT_EQ(out->size(), 3528u * OutputChannels) << where;
                    const int ringing = 6 * OutputFrequency / rate + 4;
                    for (int f = 0; f < 3528; ++f) {
                        const bool loud = (f < 1764) == loudFirst;
                        if (std::abs(f - 1764) < ringing || (loud && (f < ringing || f >= 3528 - ringing)))
                            continue;
                        const int left = (*out)[f * 2], right = (*out)[f * 2 + 1];
                        if (!loud) {
                            ASSERT_TRUE(left == 0 && right == 0) << where << ": frame " << f << " " << left << "/" << right;
                            continue;
                        }
                        ASSERT_NEAR(left, 16384, 164) << where << ": frame " << f;
                        ASSERT_NEAR(right, channels == 2 ? -8192 : 16384, 164) << where << ": frame " << f;
                    }
                }
            }
        }
    }
}

TEST(ConvertToOutput, WidensLong24BitSoundsPieceByPiece)
{
    // Four seconds of 24-bit stereo: more than one piece handed to the converter, each
    // widened on its own; the level holds across the joins and to the end.
    const int rate = 44100;
    std::string samples;
    for (int i = 0; i < rate * 4 * 2; ++i)
        samples += std::string("\x00\x00\x40", 3); // 0x400000: half of full scale
    const std::string file = PcmWave(rate, 2, 24, samples);
    const TIWave wave("long.wav", std::vector<std::uint8_t>(file.begin(), file.end()));
    TWaveFormatEx format;
    wave.GetFormat(format);
    ASSERT_GT(wave.Data.size(), std::size_t{1} << 20);
    const auto out = ConvertToOutput(format, {}, wave.Data);
    ASSERT_TRUE(out);
    ASSERT_EQ(out->size(), std::size_t(rate) * 4 * OutputChannels);
    // SDL's own conversion may round the level either way by one.
    const auto odd = std::ranges::find_if(*out, [](std::int16_t v) { return v < 16383 || v > 16384; });
    EXPECT_EQ(odd - out->begin(), out->end() - out->begin()) << (odd != out->end() ? *odd : 0);
}

TEST(ConvertToOutput, RefusesWhatCannotBePlayed)
{
    const std::vector<std::uint8_t> data(64, 0x40);
    TWaveFormatEx pcm;
    pcm.wFormatTag = 1;
    pcm.nChannels = 1;
    pcm.nSamplesPerSec = 22050;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = 2;
    ASSERT_TRUE(ConvertToOutput(pcm, {}, data));

    const struct {
        const char* what;
        void (*change)(TWaveFormatEx&);
    } cases[] = {
        {"ADPCM", [](TWaveFormatEx& f) { f.wFormatTag = 2; }},
        {"12 bits", [](TWaveFormatEx& f) { f.wBitsPerSample = 12; }},
        {"no channels", [](TWaveFormatEx& f) { f.nChannels = 0; }},
        {"nine channels", [](TWaveFormatEx& f) { f.nChannels = 9; f.nBlockAlign = 18; }},
        {"no rate", [](TWaveFormatEx& f) { f.nSamplesPerSec = 0; }},
        {"wrong block alignment", [](TWaveFormatEx& f) { f.nBlockAlign = 3; }},
        {"extensible without its sub-format", [](TWaveFormatEx& f) { f.wFormatTag = 0xFFFE; }},
    };
    for (const auto& c : cases) {
        TWaveFormatEx format = pcm;
        c.change(format);
        EXPECT_FALSE(ConvertToOutput(format, {}, data)) << c.what;
    }
    EXPECT_FALSE(ConvertToOutput(pcm, {}, std::span(data).first(1))) << "less than one frame";
}

TEST(ConvertToOutput, RefusesRatesAbove1MHz)
{
    // A rate of 15,478,016 Hz made SDL's resampler ask for a negative amount of memory.
    const TIWave fast(dataFile("rate_15mhz.wav"));
    TWaveFormatEx format;
    fast.GetFormat(format);
    ASSERT_EQ(format.nSamplesPerSec, 15478016u);
    EXPECT_FALSE(ConvertToOutput(format, fast.FormatExtra, fast.Data));
    const std::vector<std::uint8_t> samples(20000, 0x80);
    format.nSamplesPerSec = 1000001;
    EXPECT_FALSE(ConvertToOutput(format, {}, samples));
    format.nSamplesPerSec = 1000000;
    EXPECT_TRUE(ConvertToOutput(format, {}, samples));
}

TEST(ConvertToOutput, RefusesASoundTooLongOnceConverted)
{
    // 4,000 samples at 1 Hz: more than 50 minutes at the output's rate, gigabytes of memory.
    const TIWave slow(dataFile("rate_1hz.wav"));
    TWaveFormatEx format;
    slow.GetFormat(format);
    ASSERT_EQ(slow.DataSize, 4000u);
    EXPECT_FALSE(ConvertToOutput(format, slow.FormatExtra, slow.Data));
    format.nSamplesPerSec = 2000; // the same samples at 2 kHz are two seconds
    EXPECT_TRUE(ConvertToOutput(format, slow.FormatExtra, slow.Data));
}

// Sound through SDL's drivers: "disk" writes what it plays to a file, a made-up name gives no
// device at all.
class SoundOutput : public ::testing::Test {
protected:
    void TearDown() override
    {
        slot.reset();
        CloseAudio();
    }
    void start(const char* driver)
    {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", (folder.path() / "played.raw").c_str(), 1);
        StartAudio();
    }

    TempFolder folder;
    SoundSlot slot;
};

TEST_F(SoundOutput, WithoutADeviceEverythingIsSilent)
{
    start("no-such-driver");
    EXPECT_FALSE(AudioReady);
    folder.write("tick.wav", PcmWave(44100, 2, 16, Samples16({1, 2})));
    LoadSound("tick.wav", slot);
    EXPECT_FALSE(slot);
    StartSound(slot, false);
    LoadSound("not-a-wave.wav", slot); // nothing is even read
}

TEST_F(SoundOutput, PlaySendsTheSamplesOut)
{
    start("disk");
    ASSERT_TRUE(AudioReady);
    ASSERT_TRUE(Audio->PrimaryBuffer);
    EXPECT_EQ(Audio->PrimaryBuffer->Frequency, 44100);

    // A ramp no silence or noise could imitate, in the output's own format.
    std::vector<std::int16_t> ramp;
    for (int i = 0; i < 4000; ++i)
        ramp.push_back(static_cast<std::int16_t>(i * 7 + 1));
    const std::string samples = Samples16(ramp);
    folder.write("Sound/Ramp.wav", PcmWave(44100, 2, 16, samples));
    LoadSound("SOUND\\RAMP.WAV", slot);
    ASSERT_TRUE(slot && slot->Buffer);
    EXPECT_EQ(slot->Size, samples.size());
    StartSound(slot, false);

    // The driver's thread writes at the pace of real playing: wait for the ramp's first frames.
    const std::string start = samples.substr(0, 256);
    bool heard = false;
    for (int tries = 0; tries < 200 && !heard; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        heard = folder.read("played.raw").find(start) != std::string::npos;
    }
    EXPECT_TRUE(heard);
}

TEST_F(SoundOutput, AnOpenDeviceLeavesSigtermAndSigintToTheProgram)
{
    // SDL's own handlers turned both into a quit event no one reads: the program went on.
    start("dummy");
    ASSERT_TRUE(AudioReady);
    for (const int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(SoundOutput, AResampledSoundIsPlayedWhole)
{
    start("disk");
    ASSERT_TRUE(AudioReady);
    // 80 ms at 11,025 Hz played 34 ms: what reaches the device lasts the converted length.
    folder.write("click.wav", PcmWave(11025, 1, 16, levelSamples(11025, 1, 16, 80)));
    LoadSound("click.wav", slot);
    ASSERT_TRUE(slot && slot->Buffer);
    const std::size_t converted = slot->Buffer->Frames();
    StartSound(slot, false);
    bool playing = true;
    for (int tries = 0; tries < 200 && playing; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        Audio->DirectSound->Locked([&] { playing = slot->Buffer->Playing; });
    }
    ASSERT_FALSE(playing);
    CloseAudio(); // the driver writes out what it has
    slot.reset();
    const std::string played = folder.read("played.raw");
    std::size_t loud = 0;
    for (std::size_t at = 0; at + 2 <= played.size(); at += 2 * OutputChannels)
        loud += static_cast<std::int16_t>(static_cast<std::uint8_t>(played[at]) | static_cast<std::uint8_t>(played[at + 1]) << 8) > 12000;
    EXPECT_NEAR(static_cast<double>(loud), static_cast<double>(converted), 3);
    EXPECT_EQ(converted, 3528u);
}

TEST_F(SoundOutput, SlotsHoldAnEmptySoundWhenNothingCanBePlayed)
{
    start("dummy");
    ASSERT_TRUE(AudioReady);

    LoadSound("", slot);
    ASSERT_TRUE(slot);
    EXPECT_FALSE(slot->Buffer);
    LoadSound("missing.wav", slot);
    ASSERT_TRUE(slot);
    EXPECT_FALSE(slot->Buffer);
    StartSound(slot, false);

    LoadSound(dataFile("no_data.wav"), slot);
    ASSERT_TRUE(slot);
    EXPECT_FALSE(slot->Buffer);
    EXPECT_EQ(slot->DataError, "Error reading wave file");

    LoadSound(dataFile("float_extra2.wav"), slot); // plays
    EXPECT_TRUE(slot->Buffer);
    folder.write("adpcm.wav", [] {
        std::string wave = PcmWave(22050, 1, 16, std::string(8, '\0'));
        wave[20] = 2; // format tag: a compressed format
        return wave;
    }());
    LoadSound("adpcm.wav", slot);
    ASSERT_TRUE(slot);
    EXPECT_FALSE(slot->Buffer);
    EXPECT_EQ(slot->BitsPerSample, 16u);
}

TEST_F(SoundOutput, AFileThatIsNoWaveLeavesTheSlotEmpty)
{
    start("dummy");
    LoadSound(dataFile("pcm8_mono_11025.wav"), slot);
    ASSERT_TRUE(slot);
    try {
        LoadSound(dataFile("not_riff.wav"), slot);
        FAIL() << "no error";
    } catch (const FormatError& error) {
        EXPECT_STREQ(error.what(), "Not a wave file");
    }
    EXPECT_FALSE(slot);
}

TEST_F(SoundOutput, PlayingAgainStartsAFreshSoundFromItsStart)
{
    start("dummy");
    LoadSound(dataFile("pcm8_mono_11025.wav"), slot);
    ASSERT_TRUE(slot && slot->Buffer);
    EXPECT_EQ(slot->Channels, 1u);
    EXPECT_EQ(slot->BitsPerSample, 8u);
    EXPECT_EQ(slot->Size, 12u);
    // Kept at its own rate: 12 samples at 11025 Hz last about 48 frames at 44100 Hz.
    EXPECT_NEAR(static_cast<double>(slot->Buffer->Frames()), 48, 8);

    slot->SetPosition(6); // byte 6 of the file: sample 6, a quarter of the output rate
    EXPECT_EQ(slot->Buffer->Frame, 24u);
    slot->Loop();
    EXPECT_TRUE(slot->Buffer->Looping);
    LoadSound(dataFile("pcm8_mono_11025.wav"), slot); // the looping sound is released
    EXPECT_FALSE(slot->Buffer->Playing);
    EXPECT_EQ(slot->Buffer->Frame, 0u);
    StartSound(slot, false);
    EXPECT_FALSE(slot->Buffer->Looping);
    slot->Stop();
    EXPECT_FALSE(slot->Buffer->Playing);
}

} // namespace
