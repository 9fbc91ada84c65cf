#include "Riff.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t HeaderSize = 8;
constexpr std::uint64_t FormTypeSize = 4;

bool hasFormType(FourCC id) { return id == MakeFourCC("RIFF") || id == MakeFourCC("LIST"); }

} // namespace

std::span<const std::uint8_t> RiffReader::Bytes(std::uint64_t offset, std::uint64_t count) const
{
    if (offset > bytes_.size() || count > bytes_.size() - offset)
        return {};
    return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

std::optional<RiffChunk> RiffReader::headerAt(std::uint64_t offset) const
{
    const auto header = Bytes(offset, HeaderSize);
    if (header.empty())
        return std::nullopt;
    RiffChunk chunk;
    chunk.Id = ReadU32LE(header.data());
    chunk.Size = ReadU32LE(header.data() + 4);
    chunk.DataOffset = offset + HeaderSize;
    if (hasFormType(chunk.Id)) {
        const auto form = Bytes(chunk.DataOffset, FormTypeSize);
        if (form.empty())
            return std::nullopt;
        chunk.FormType = ReadU32LE(form.data());
    }
    return chunk;
}

std::optional<RiffChunk> RiffReader::Descend()
{
    const auto chunk = headerAt(position_);
    if (chunk)
        position_ = chunk->DataOffset + (hasFormType(chunk->Id) ? FormTypeSize : 0);
    return chunk;
}

std::optional<RiffChunk> RiffReader::Descend(FourCC id, const RiffChunk& parent)
{
    // 64-bit offsets: a 32-bit size added to an offset inside the file cannot overflow.
    const std::uint64_t parentEnd = parent.DataOffset + parent.Size;
    std::uint64_t offset = position_;
    while (offset + HeaderSize <= parentEnd) {
        const auto chunk = headerAt(offset);
        if (!chunk)
            return std::nullopt;
        if (chunk->Id == id) {
            position_ = chunk->DataOffset + (hasFormType(chunk->Id) ? FormTypeSize : 0);
            return chunk;
        }
        offset = chunk->DataOffset + chunk->Size + (chunk->Size & 1);
    }
    return std::nullopt;
}

void RiffReader::Ascend(const RiffChunk& chunk)
{
    position_ = chunk.DataOffset + chunk.Size + (chunk.Size & 1);
}

std::size_t RiffReader::Read(std::span<std::uint8_t> out)
{
    const std::uint64_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), left));
    if (count > 0)
        std::memcpy(out.data(), bytes_.data() + position_, count);
    position_ += count;
    return count;
}

bool RiffReader::Seek(std::uint64_t offset)
{
    if (offset > bytes_.size())
        return false;
    position_ = offset;
    return true;
}
