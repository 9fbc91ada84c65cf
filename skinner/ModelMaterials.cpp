#include "ModelMaterials.h"

#include "Errors.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

std::vector<std::string_view> split(std::string_view line, char by)
{
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t next = line.find(by, at);
        parts.push_back(line.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
        if (next == std::string_view::npos)
            return parts;
        at = next + 1;
    }
}

// A field that may not hold a tab or a line end, written as "-" when empty.
std::string field(const std::string& text)
{
    std::string out = text.empty() ? "-" : text;
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return out;
}

template <typename Number>
Number number(std::string_view text, int base = 10)
{
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        throw FormatError("the model's materials: \"" + std::string(text) + "\" is not a number");
    return value;
}

} // namespace

std::string FormatModelMaterials(const ModelMaterials& list)
{
    std::string text;
    for (const ModelMaterial& m : list.materials) {
        char colour[8] = "-";
        if (m.colour)
            std::snprintf(colour, sizeof colour, "%06X", static_cast<unsigned>(*m.colour & 0xFFFFFF));
        text += "material\t" + field(m.name) + "\t" + colour + "\t" + field(m.textureFile) + "\t" +
                std::to_string(m.faces) + "\t" + (m.texture ? std::to_string(*m.texture) : "-") + "\t" +
                std::to_string(m.flatColour) + "\n";
    }
    text += "faces";
    for (const std::int32_t m : list.faceMaterial) {
        text += ' ';
        text += std::to_string(m);
    }
    return text + "\n";
}

ModelMaterials ParseModelMaterials(std::string_view text)
{
    ModelMaterials list;
    for (std::string_view line : split(text, '\n')) {
        if (line.empty())
            continue;
        if (line.starts_with("faces")) {
            for (std::string_view word : split(line.substr(5), ' '))
                if (!word.empty()) {
                    const auto m = number<std::int32_t>(word);
                    if (m < -1 || m >= static_cast<std::int32_t>(list.materials.size()))
                        throw FormatError("the model's materials: a face names material " + std::to_string(m));
                    list.faceMaterial.push_back(m);
                }
            continue;
        }
        const std::vector<std::string_view> parts = split(line, '\t');
        if (parts.size() != 7 || parts[0] != "material")
            throw FormatError("the model's materials: a line that is no material");
        ModelMaterial m;
        m.name = parts[1] == "-" ? "" : std::string(parts[1]);
        if (parts[2] != "-")
            m.colour = number<std::uint32_t>(parts[2], 16);
        m.textureFile = parts[3] == "-" ? "" : std::string(parts[3]);
        m.faces = number<std::size_t>(parts[4]);
        if (parts[5] != "-")
            m.texture = number<int>(parts[5]);
        m.flatColour = number<int>(parts[6]);
        list.materials.push_back(std::move(m));
    }
    return list;
}

void ApplyMaterialSkins(Object3D& object, const ModelMaterials& list, const std::vector<std::optional<int>>& skins)
{
    const std::size_t faces = std::min(object.faces.size(), list.faceMaterial.size());
    for (std::size_t f = 0; f < faces; ++f) {
        const std::int32_t m = list.faceMaterial[f];
        if (m < 0 || static_cast<std::size_t>(m) >= skins.size() || static_cast<std::size_t>(m) >= list.materials.size())
            continue;
        Face& face = object.faces[f];
        if (skins[m]) {
            face.faceType = FaceTextured;
            face.texture = static_cast<std::uint16_t>(*skins[m]);
        } else {
            face.faceType = FacePlain;
            face.texture = static_cast<std::uint16_t>(list.materials[m].flatColour);
        }
    }
}
