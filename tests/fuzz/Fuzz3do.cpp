// 3D objects (.3do): any bytes either give an object of the counts the file states, or a
// FormatError; the object writes back to the bytes it came from, and draws.
#include "Errors.h"
#include "FuzzRender.h"
#include "FuzzSupport.h"
#include "ObjectFile.h"

#include <algorithm>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Object3D object;
    try {
        DecodeObject(std::span<const std::uint8_t>(data, size), "fuzz.3do", object);
    } catch (const FormatError&) {
        return 0;
    }
    const std::vector<std::uint8_t> written = EncodeObject(object);
    FuzzCheck(written.size() <= size && std::equal(written.begin(), written.end(), data));
    RenderFuzzedObject(object);
    return 0;
}
