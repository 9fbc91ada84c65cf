#include "PcxFormat.h"

#include "LittleEndian.h"

#include <algorithm>

PcxHeader ReadPcxHeader(const std::uint8_t* bytes)
{
    PcxHeader h;
    h.manufacturer = bytes[0];
    h.version = bytes[1];
    h.encoding = bytes[2];
    h.bitsPerPixel = bytes[3];
    h.xmin = ReadU16LE(bytes + 4);
    h.ymin = ReadU16LE(bytes + 6);
    h.xmax = ReadU16LE(bytes + 8);
    h.ymax = ReadU16LE(bytes + 10);
    h.horizontalDpi = ReadU16LE(bytes + 12);
    h.verticalDpi = ReadU16LE(bytes + 14);
    std::copy_n(bytes + 16, 48, h.egaPalette.begin());
    h.reserved = bytes[64];
    h.planes = bytes[65];
    h.bytesPerLine = ReadU16LE(bytes + 66);
    h.paletteKind = ReadU16LE(bytes + 68);
    h.screenWidth = ReadU16LE(bytes + 70);
    h.screenHeight = ReadU16LE(bytes + 72);
    std::copy_n(bytes + 74, 54, h.filler.begin());
    return h;
}

void WritePcxHeader(const PcxHeader& h, std::uint8_t* bytes)
{
    bytes[0] = h.manufacturer;
    bytes[1] = h.version;
    bytes[2] = h.encoding;
    bytes[3] = h.bitsPerPixel;
    WriteU16LE(bytes + 4, h.xmin);
    WriteU16LE(bytes + 6, h.ymin);
    WriteU16LE(bytes + 8, h.xmax);
    WriteU16LE(bytes + 10, h.ymax);
    WriteU16LE(bytes + 12, h.horizontalDpi);
    WriteU16LE(bytes + 14, h.verticalDpi);
    std::copy(h.egaPalette.begin(), h.egaPalette.end(), bytes + 16);
    bytes[64] = h.reserved;
    bytes[65] = h.planes;
    WriteU16LE(bytes + 66, h.bytesPerLine);
    WriteU16LE(bytes + 68, h.paletteKind);
    WriteU16LE(bytes + 70, h.screenWidth);
    WriteU16LE(bytes + 72, h.screenHeight);
    std::copy(h.filler.begin(), h.filler.end(), bytes + 74);
}
