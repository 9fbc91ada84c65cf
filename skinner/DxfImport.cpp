#include "DxfImport.h"

#include "Errors.h"
#include "FatalError.h"
#include "FileResolver.h"
#include "K3xFiles.h"
#include "TextLine.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

constexpr std::size_t MaxCount = 65536; // indices are 16-bit

// The next line of `text` (without its end), or false at the end of the text.
bool nextLine(std::string_view text, std::size_t& at, std::string_view& line)
{
    if (at >= text.size())
        return false;
    const std::size_t end = text.find('\n', at);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    line = text.substr(at, stop - at);
    at = stop == text.size() ? stop : stop + 1;
    return true;
}

// The group code of a normalised code line, or -1 when it is not a whole number.
int groupCode(const std::string& line)
{
    int code = -1;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), code);
    return ec == std::errc() && end == line.data() + line.size() ? code : -1;
}

// A value line as the nearest integer of its single-precision value (halves to even); false
// when it is not a number or lies outside what a coordinate can hold.
bool integerValue(std::string_view line, std::int32_t& value)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    if (!line.empty() && line.front() == '+')
        line.remove_prefix(1);
    double number = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (ec != std::errc() || end != line.data() + line.size() || line.empty() || !(std::fabs(number) < 2147483648.0))
        return false;
    const double single = static_cast<float>(number);
    if (!(std::fabs(single) < 2147483648.0))
        return false;
    value = static_cast<std::int32_t>(std::nearbyint(single));
    return true;
}

} // namespace

void ImportDxfText(std::string_view text, const std::string& name, Object3D& object)
{
    // corner[c][axis]: the latest value read for each of the twelve coordinates.
    std::array<std::array<std::int32_t, 3>, 4> corner{};
    // The line of a value that was not a usable number, for each coordinate and the colour; such
    // values (header variables carry 1E+20 under these codes) matter only if a face takes them.
    std::array<std::array<long long, 3>, 4> badLine{};
    long long badColourLine = 0;
    int flags = 0; // bit c x 3 + axis
    std::int32_t colour = 0;
    int pairCounter = 0;
    std::vector<std::int32_t> x, y, z;
    std::vector<Face> faces;

    std::size_t at = 0;
    std::string_view codeLine, valueLine;
    long long lineNumber = 0;
    while (nextLine(text, at, codeLine)) {
        ++lineNumber;
        if (!nextLine(text, at, valueLine))
            break; // a code without its value ends the file
        ++lineNumber;
        pairCounter = (pairCounter + 1) % 256;
        const int code = groupCode(NormaliseLine(codeLine));
        const bool coordinate = code >= 10 && code <= 33 && code % 10 <= 3;
        if (!coordinate && code != 62)
            continue;
        std::int32_t value = 0;
        const long long bad = integerValue(valueLine, value) ? 0 : lineNumber;
        if (code == 62) {
            colour = value;
            badColourLine = bad;
            continue;
        }
        // DXF X, Y, Z become the object's x, z, y.
        const int cornerIndex = code % 10, axis = code / 10 - 1;
        const int objectAxis = axis == 0 ? 0 : axis == 1 ? 2 : 1;
        corner[cornerIndex][objectAxis] = value;
        badLine[cornerIndex][objectAxis] = bad;
        flags |= 1 << (cornerIndex * 3 + axis);
        if (flags != 0xfff)
            continue;

        flags = 0;
        long long badValue = badColourLine;
        for (const auto& lines : badLine)
            for (long long line : lines)
                badValue = badValue != 0 ? badValue : line;
        if (badValue != 0)
            throw FormatError(name + ", line " + std::to_string(badValue) +
                              ": a face takes a value that is not a whole-number coordinate or colour");
        const bool triangle = corner[2] == corner[3];
        const std::size_t p = x.size();
        const std::size_t newPoints = triangle ? 3 : 4;
        if (p + newPoints > MaxCount || faces.size() + (triangle ? 1 : 2) > MaxCount)
            throw FormatError(name + " holds more than 65536 points or faces, more than an object can keep");
        for (std::size_t c = 0; c < newPoints; ++c) {
            x.push_back(corner[c][0]);
            y.push_back(corner[c][1]);
            z.push_back(corner[c][2]);
        }
        Face face;
        face.texture = static_cast<std::uint16_t>(colour + 1);
        face.mapping = static_cast<std::int16_t>(pairCounter % 2);
        face.doubleSided = 1;
        face.faceType = FacePlain;
        face.transparency = 0;
        const auto index = [&](std::size_t i) { return static_cast<std::uint16_t>(p + i); };
        face.p1 = index(0), face.p2 = index(1), face.p3 = index(2);
        faces.push_back(face);
        if (!triangle) {
            face.p1 = index(2), face.p2 = index(3), face.p3 = index(0);
            faces.push_back(face);
        }
    }
    if (faces.empty())
        throw FormatError(name + " holds no complete 3D face (codes 10-13, 20-23 and 30-33 of all four corners)");

    Object3D imported;
    AllocateObject(imported, static_cast<std::int32_t>(x.size() - 1), static_cast<std::int32_t>(faces.size() - 1));
    imported.x = std::move(x);
    imported.y = std::move(y);
    imported.z = std::move(z);
    imported.faces = std::move(faces);
    object = std::move(imported);
}

void ImportDxf(const std::string& name, Object3D& object)
{
    const std::filesystem::path path = ResolvePath(name);
    if (!FileExists(path))
        throw FatalError(name);
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    ImportDxfText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), name, object);
}
