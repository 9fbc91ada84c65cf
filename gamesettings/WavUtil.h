#pragma once
// TIWave: a whole WAV file read into memory, its format record and its sample bytes.
//
// Layout read: a "RIFF" chunk of form type "WAVE" holding, in any order, a "fmt " chunk and a
// "data" chunk (other chunks are skipped). "fmt " holds the 16 bytes of the PCM format (tag,
// channels, samples per second, average bytes per second, block alignment, bits per sample);
// formats other than PCM (tag 1) go on with a 16-bit extra size and that many extra bytes.
// "data" holds the samples.
//
// A file whose format cannot be read throws, with one of the messages "mmioOpen Failed" (the
// file cannot be opened; IoError), "mmioDescend Failed", "Not a wave file", "Error reading wave
// file" or "Failed to allocate memory" (FormatError). A file whose samples cannot be read (no
// "data" chunk, or one that claims more bytes than the file holds) gives an object with neither
// format nor data, and no error; DataError then says why ("Error reading wave file", "Corrupt
// Wave File").
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;
constexpr std::uint16_t WAVE_FORMAT_IEEE_FLOAT = 3;

// The wave format header as files hold it: 18 bytes, little-endian.
#pragma pack(push, 1)
struct TWaveFormatEx {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0; // extra bytes that follow the header
};
#pragma pack(pop)
static_assert(sizeof(TWaveFormatEx) == 18);

class TIWave {
public:
    // Create: reads the file whole, then its chunks. Throws OrmelError at the format stage.
    explicit TIWave(std::string fileName);
    // The same over bytes already in memory; `fileName` only names them.
    TIWave(std::string fileName, std::span<const std::uint8_t> bytes);

    // The channel count and bits per sample of the format; 0 when there is none.
    std::uint32_t Channels() const;
    std::uint32_t BitsPerSample() const;
    // The 18-byte header of the format; only called when there is one.
    void GetFormat(TWaveFormatEx& format) const;

    std::optional<TWaveFormatEx> Format;   // absent when the samples could not be read
    std::vector<std::uint8_t> FormatExtra; // the extra bytes after the header, cbSize long
    std::string FileName;
    std::uint32_t DataSize = 0;            // bytes in Data
    std::uint32_t FormatSize = 0;          // 18 + the extra bytes
    std::vector<std::uint8_t> Data;        // the samples of the "data" chunk
    std::string DataError;                 // why the samples could not be read, if so

private:
    // Reads `bytes`; when `owner` holds them, the samples take over its memory.
    void LoadWave(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>* owner);
};
