#pragma once
// A reader of RIFF files held in memory, with the chunk operations a WAV reader needs.
//
// Layout: a chunk is a four-character id, a 32-bit little-endian data size, the data, and one
// pad byte when the size is odd. A "RIFF" or "LIST" chunk's data starts with a four-character
// form type ("WAVE") followed by its sub-chunks. Sizes are taken as written: a chunk may claim
// more bytes than the file holds, and every read stops at the end of the bytes.
#include <cstdint>
#include <optional>
#include <span>

using FourCC = std::uint32_t;

// The code of a four-character id as it lies in the file ("fmt " -> 'f' in the low byte).
constexpr FourCC MakeFourCC(const char (&text)[5])
{
    return static_cast<FourCC>(static_cast<unsigned char>(text[0]))
        | static_cast<FourCC>(static_cast<unsigned char>(text[1])) << 8
        | static_cast<FourCC>(static_cast<unsigned char>(text[2])) << 16
        | static_cast<FourCC>(static_cast<unsigned char>(text[3])) << 24;
}

struct RiffChunk {
    FourCC Id = 0;
    std::uint32_t Size = 0;       // data bytes as the header claims them
    FourCC FormType = 0;          // RIFF and LIST chunks only
    std::uint64_t DataOffset = 0; // file offset of the data (of the form type for RIFF and LIST)
};

class RiffReader {
public:
    explicit RiffReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // Descends into the chunk at the read position: reads its header (and form type for RIFF
    // and LIST) and leaves the position at what follows. Nothing when the header is cut short.
    std::optional<RiffChunk> Descend();
    // Searches, from the read position, the chunks inside `parent` for the first one with id
    // `id`, skipping the others, and descends into it. Nothing when none is found.
    std::optional<RiffChunk> Descend(FourCC id, const RiffChunk& parent);
    // Moves the read position past the chunk's data and its pad byte.
    void Ascend(const RiffChunk& chunk);

    // Copies bytes from the read position into `out` and advances; the number copied, fewer
    // than asked at the end of the bytes.
    std::size_t Read(std::span<std::uint8_t> out);
    // Moves the read position; false (position unchanged) beyond the end of the bytes.
    bool Seek(std::uint64_t offset);

    std::uint64_t Position() const { return position_; }
    // The bytes from `offset` on, `count` long; empty when they do not all lie in the file.
    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t count) const;

private:
    std::optional<RiffChunk> headerAt(std::uint64_t offset) const;

    std::span<const std::uint8_t> bytes_;
    std::uint64_t position_ = 0;
};
