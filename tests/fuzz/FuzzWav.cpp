// WAV files: any bytes either give a wave (with or without samples) or a FormatError; the samples
// of a wave convert to the output format or are refused, without reading outside them.
#include "Errors.h"
#include "FuzzSupport.h"
#include "SoundDevice.h"
#include "WavUtil.h"

#include <cstdint>
#include <optional>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::optional<TIWave> wave;
    try {
        wave.emplace("fuzz.wav", std::span<const std::uint8_t>(data, size));
    } catch (const FormatError&) {
        return 0;
    }
    FuzzCheck(wave->DataSize == wave->Data.size() && (wave->Format || wave->Data.empty()));
    if (wave->Format)
        ConvertToOutput(*wave->Format, wave->FormatExtra, wave->Data);
    return 0;
}
