#include "JpegCheck.h"

#include <cstddef>

bool JpegIsComplete(std::span<const std::uint8_t> file)
{
    const std::size_t n = file.size();
    if (n < 4 || file[0] != 0xFF || file[1] != 0xD8)
        return false;
    std::size_t i = 2;
    while (i + 1 < n) {
        if (file[i] != 0xFF)
            return false; // a segment ended somewhere no marker starts
        const std::uint8_t marker = file[i + 1];
        if (marker == 0xFF) { // fill byte before a marker
            ++i;
            continue;
        }
        if (marker == 0xD9)
            return true;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            i += 2; // markers without a segment
            continue;
        }
        if (i + 3 >= n)
            return false;
        const std::size_t length = static_cast<std::size_t>(file[i + 2]) << 8 | file[i + 3];
        if (length < 2)
            return false;
        i += 2 + length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data up to the next real marker.
        while (i + 1 < n && !(file[i] == 0xFF && file[i + 1] != 0x00 && (file[i + 1] < 0xD0 || file[i + 1] > 0xD7)))
            ++i;
    }
    return false;
}
