#pragma once
// A PCM WAV file built in memory, for tests that need a sound of a given shape.
#include <cstdint>
#include <string>
#include <vector>

inline void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// RIFF/WAVE with a 16-byte "fmt " chunk and a "data" chunk holding `samples` as written.
inline std::string PcmWave(int rate, int channels, int bits, const std::string& samples)
{
    const int align = channels * bits / 8;
    std::string file = "RIFF";
    PutLE(file, static_cast<std::uint32_t>(4 + 24 + 8 + samples.size()), 4);
    file += "WAVEfmt ";
    PutLE(file, 16, 4);
    PutLE(file, 1, 2);
    PutLE(file, static_cast<std::uint32_t>(channels), 2);
    PutLE(file, static_cast<std::uint32_t>(rate), 4);
    PutLE(file, static_cast<std::uint32_t>(rate * align), 4);
    PutLE(file, static_cast<std::uint32_t>(align), 2);
    PutLE(file, static_cast<std::uint32_t>(bits), 2);
    file += "data";
    PutLE(file, static_cast<std::uint32_t>(samples.size()), 4);
    return file + samples;
}

// 16-bit samples as a WAV file holds them.
inline std::string Samples16(const std::vector<std::int16_t>& values)
{
    std::string bytes;
    for (std::int16_t v : values)
        PutLE(bytes, static_cast<std::uint16_t>(v), 2);
    return bytes;
}
