#pragma once
// Whether a JPEG file is whole. The decoder fills the rest of a picture cut short with grey and
// calls that a success; the file's own structure tells: markers from the start (FF D8), each
// segment with its two-byte big-endian length, entropy-coded data after every start of scan
// (FF DA) up to the next marker that is neither a stuffed zero (FF 00) nor a restart (FF D0 to
// FF D7), until the end of image (FF D9).
#include <cstdint>
#include <span>

bool JpegIsComplete(std::span<const std::uint8_t> file);
