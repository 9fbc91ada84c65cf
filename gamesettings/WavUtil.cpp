#include "WavUtil.h"

#include "Errors.h"
#include "LittleEndian.h"
#include "Riff.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

namespace {

constexpr std::uint32_t PcmFormatSize = 16; // the fmt fields before the extra size
constexpr std::uint32_t HeaderSize = sizeof(TWaveFormatEx);

const char* const NotAWave = "Not a wave file";
const char* const ReadError = "Error reading wave file";
const char* const Corrupt = "Corrupt Wave File";

// The samples could not be read: the reader then holds no format and no data.
struct DataStageError {
    const char* message;
};

std::vector<std::uint8_t> readWholeFile(const std::string& fileName)
{
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec))
        throw IoError("mmioOpen Failed");
    std::ifstream in(fileName, std::ios::binary);
    const auto size = std::filesystem::file_size(fileName, ec);
    if (!in || ec)
        throw IoError("mmioOpen Failed");
    // Read in one piece into memory of the file's size: a sound may be hundreds of megabytes.
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        throw FormatError("Failed to allocate memory");
    }
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw IoError("mmioOpen Failed");
    return bytes;
}

// Reads from the current position, but never past the end of `chunk`: the format fields of
// one chunk are never taken from the chunk that follows it.
std::size_t readInChunk(RiffReader& riff, const RiffChunk& chunk, std::span<std::uint8_t> out)
{
    const std::uint64_t end = chunk.DataOffset + chunk.Size;
    const std::uint64_t left = riff.Position() < end ? end - riff.Position() : 0;
    return riff.Read(out.first(static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), left))));
}

} // namespace

TIWave::TIWave(std::string fileName)
    : FileName(std::move(fileName))
{
    std::vector<std::uint8_t> bytes = readWholeFile(FileName);
    LoadWave(bytes, &bytes);
}

TIWave::TIWave(std::string fileName, std::span<const std::uint8_t> bytes)
    : FileName(std::move(fileName))
{
    LoadWave(bytes, nullptr);
}

void TIWave::LoadWave(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>* owner)
{
    DataSize = 0;
    RiffReader riff(bytes);

    // The format stage: its failures leave the constructor.
    const auto form = riff.Descend();
    if (!form)
        throw FormatError("mmioDescend Failed");
    if (form->Id != MakeFourCC("RIFF") || form->FormType != MakeFourCC("WAVE"))
        throw FormatError(NotAWave);
    const auto fmt = riff.Descend(MakeFourCC("fmt "), *form);
    if (!fmt)
        throw FormatError(ReadError);
    if (fmt->Size < PcmFormatSize)
        throw FormatError(NotAWave);

    std::uint8_t pcm[PcmFormatSize];
    if (readInChunk(riff, *fmt, pcm) != PcmFormatSize)
        throw FormatError(ReadError);
    TWaveFormatEx format;
    format.wFormatTag = ReadU16LE(pcm);
    format.nChannels = ReadU16LE(pcm + 2);
    format.nSamplesPerSec = ReadU32LE(pcm + 4);
    format.nAvgBytesPerSec = ReadU32LE(pcm + 8);
    format.nBlockAlign = ReadU16LE(pcm + 12);
    format.wBitsPerSample = ReadU16LE(pcm + 14);

    // A PCM format has no extra bytes; another one names them, when its chunk has room for it.
    if (format.wFormatTag != WAVE_FORMAT_PCM && fmt->Size >= HeaderSize) {
        std::uint8_t extraSize[2];
        if (readInChunk(riff, *fmt, extraSize) != sizeof extraSize)
            throw FormatError(ReadError);
        format.cbSize = ReadU16LE(extraSize);
    }
    std::vector<std::uint8_t> extra;
    try {
        extra.resize(format.cbSize);
    } catch (const std::bad_alloc&) {
        throw FormatError("Failed to allocate memory");
    }
    if (readInChunk(riff, *fmt, extra) != extra.size())
        throw FormatError(NotAWave);
    riff.Ascend(*fmt);

    // The data stage: its failures leave an object without format and data.
    try {
        if (!riff.Seek(form->DataOffset + 4))
            throw DataStageError{ReadError};
        const auto data = riff.Descend(MakeFourCC("data"), *form);
        if (!data)
            throw DataStageError{ReadError};
        // Checked against the file before anything is allocated: a chunk may claim 4 GB.
        const auto samples = riff.Bytes(riff.Position(), data->Size);
        if (samples.size() != data->Size)
            throw DataStageError{Corrupt};
        if (owner) {
            // The file's own memory becomes the samples: no second copy of a big sound.
            const auto start = static_cast<std::ptrdiff_t>(samples.data() - owner->data());
            owner->erase(owner->begin(), owner->begin() + start);
            owner->resize(samples.size());
            Data = std::move(*owner);
        } else {
            Data.assign(samples.begin(), samples.end());
        }
    } catch (const DataStageError& error) {
        Data.clear();
        DataError = error.message;
        return;
    } catch (const std::bad_alloc&) {
        Data.clear();
        DataError = "Failed to allocate memory";
        return;
    }
    Format = format;
    FormatExtra = std::move(extra);
    FormatSize = HeaderSize + format.cbSize;
    DataSize = static_cast<std::uint32_t>(Data.size());
}

std::uint32_t TIWave::Channels() const { return Format ? Format->nChannels : 0; }

std::uint32_t TIWave::BitsPerSample() const { return Format ? Format->wBitsPerSample : 0; }

void TIWave::GetFormat(TWaveFormatEx& format) const
{
    if (Format)
        format = *Format;
}
