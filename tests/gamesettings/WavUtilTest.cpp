#include "WavUtil.h"

#include "Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string dataFile(const char* name) { return std::string(ORMEL_TEST_DATA) + "/wav/" + name; }

std::vector<std::uint8_t> fileBytes(const char* name)
{
    std::ifstream in(dataFile(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(TIWave, ReadsEightBitMono)
{
    const TIWave wave(dataFile("pcm8_mono_11025.wav"));
    ASSERT_TRUE(wave.Format);
    EXPECT_EQ(wave.Format->wFormatTag, 1);
    EXPECT_EQ(wave.Channels(), 1u);
    EXPECT_EQ(wave.BitsPerSample(), 8u);
    EXPECT_EQ(wave.Format->nSamplesPerSec, 11025u);
    EXPECT_EQ(wave.Format->nAvgBytesPerSec, 11025u);
    EXPECT_EQ(wave.Format->nBlockAlign, 1);
    EXPECT_EQ(wave.Format->cbSize, 0);
    EXPECT_EQ(wave.FormatSize, 18u);
    EXPECT_EQ(wave.DataSize, 12u);
    EXPECT_EQ(wave.Data, (std::vector<std::uint8_t>{128, 160, 200, 255, 200, 160, 128, 96, 56, 0, 56, 96}));
    EXPECT_EQ(wave.FileName, dataFile("pcm8_mono_11025.wav"));
}

TEST(TIWave, ReadsSixteenBitStereo)
{
    const TIWave wave(dataFile("pcm16_stereo_44100.wav"));
    ASSERT_TRUE(wave.Format);
    TWaveFormatEx format;
    wave.GetFormat(format);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.wBitsPerSample, 16);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(format.nBlockAlign, 4);
    ASSERT_EQ(wave.DataSize, 16u);
    EXPECT_EQ(wave.Data[0], 0xE8); // 1000, little-endian
    EXPECT_EQ(wave.Data[1], 0x03);
    EXPECT_EQ(wave.Data[2], 0x18); // -1000
    EXPECT_EQ(wave.Data[3], 0xFC);
}

TEST(TIWave, ReadsChunksInAnyOrderAndSkipsOthers)
{
    const struct {
        const char* file;
        std::uint32_t dataSize;
        std::uint16_t extraSize;
    } cases[] = {
        {"data_before_fmt.wav", 12, 0},
        {"fmt18_pcm.wav", 12, 0},         // the two bytes after the PCM fields are skipped
        {"odd_chunk_before_fmt.wav", 5, 0}, // a pad byte follows an odd-sized chunk
        {"float_fmt16.wav", 12, 0},       // no room for an extra size: none is read
        {"float_extra2.wav", 8, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const TIWave wave(dataFile(c.file));
        ASSERT_TRUE(wave.Format);
        EXPECT_EQ(wave.DataSize, c.dataSize);
        EXPECT_EQ(wave.Data.size(), c.dataSize);
        EXPECT_EQ(wave.Format->cbSize, c.extraSize);
        EXPECT_EQ(wave.FormatExtra.size(), c.extraSize);
        EXPECT_EQ(wave.FormatSize, 18u + c.extraSize);
        EXPECT_TRUE(wave.DataError.empty());
    }
    EXPECT_EQ(TIWave(dataFile("float_extra2.wav")).FormatExtra, (std::vector<std::uint8_t>{0x11, 0x22}));
}

TEST(TIWave, BrokenFormatsThrowTheirMessage)
{
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"empty.wav", "mmioDescend Failed"},
        {"riff_without_form.wav", "mmioDescend Failed"},
        {"not_riff.wav", "Not a wave file"},
        {"riff_avi.wav", "Not a wave file"},
        {"no_fmt.wav", "Error reading wave file"},
        {"fmt14.wav", "Not a wave file"},
        {"fmt_truncated.wav", "Error reading wave file"},
        {"extra_beyond_chunk.wav", "Not a wave file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        try {
            const TIWave wave(dataFile(c.file));
            ADD_FAILURE() << "no error";
        } catch (const FormatError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    try {
        const TIWave wave(dataFile("missing.wav"));
        ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "mmioOpen Failed");
    }
    EXPECT_THROW(TIWave(ORMEL_TEST_DATA), IoError); // a folder
}

TEST(TIWave, UnreadableSamplesLeaveNeitherFormatNorData)
{
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"no_data.wav", "Error reading wave file"},
        {"data_too_long.wav", "Corrupt Wave File"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const TIWave wave(dataFile(c.file));
        EXPECT_FALSE(wave.Format);
        EXPECT_TRUE(wave.Data.empty());
        EXPECT_EQ(wave.DataSize, 0u);
        EXPECT_EQ(wave.Channels(), 0u);
        EXPECT_EQ(wave.BitsPerSample(), 0u);
        EXPECT_EQ(wave.DataError, c.reason);
    }
}

TEST(TIWave, EveryCutOfAValidFileFailsCleanly)
{
    for (const char* name : {"pcm16_stereo_44100.wav", "float_extra2.wav", "odd_chunk_before_fmt.wav"}) {
        const std::vector<std::uint8_t> bytes = fileBytes(name);
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(size));
            try {
                const TIWave wave("cut.wav", std::span(bytes).first(size));
                EXPECT_EQ(wave.Data.size(), wave.DataSize);
                EXPECT_EQ(wave.Format.has_value(), wave.DataError.empty());
            } catch (const FormatError&) {
                // A clear message is a fine answer too.
            }
        }
    }
}

} // namespace
