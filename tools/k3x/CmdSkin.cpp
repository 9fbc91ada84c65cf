// k3x skin: gives the faces that meet every --where condition the --set values, as the skinning
// editor's face panel does for its selected faces, and saves the result.
#include "FaceEditing.h"
#include "K3xCommand.h"
#include "ObjectFile.h"

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A NAME=VALUE word split in two; `what` names the option in messages.
std::pair<std::string, std::string> split(const std::string& word, const char* what)
{
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0)
        throw std::runtime_error(std::string(what) + " " + word + " is not NAME=VALUE");
    return {word.substr(0, equals), word.substr(equals + 1)};
}

long long wholeNumber(const std::string& text, const std::string& name)
{
    // A failure of the command's values, not of its usage: exit 1.
    const std::optional<long long> value = ReadWholeNumber<long long>(text);
    if (!value)
        throw std::runtime_error(name + " takes a whole number, not '" + text + "'");
    return *value;
}

long long numberIn(const std::string& text, const std::string& name, long long lowest, long long highest)
{
    const long long value = wholeNumber(text, name);
    if (value < lowest || value > highest)
        throw std::runtime_error(name + "=" + text + " is out of range: " + name + " takes " + std::to_string(lowest) +
                                 " to " + std::to_string(highest));
    return value;
}

using Condition = std::function<bool(std::size_t index, const Face& face)>;
using Change = std::function<void(Face& face)>;

Condition condition(const std::string& word)
{
    const auto [name, value] = split(word, "--where");
    if (name == "type") {
        const auto type = numberIn(value, name, 0, 3);
        return [type](std::size_t, const Face& f) { return f.faceType == type; };
    }
    if (name == "texture") {
        const auto texture = numberIn(value, name, 0, 65535);
        return [texture](std::size_t, const Face& f) { return f.faceType != FacePlain && f.texture == texture; };
    }
    if (name == "colour") {
        const auto colour = numberIn(value, name, 0, 255);
        return [colour](std::size_t, const Face& f) { return f.faceType == FacePlain && f.texture == colour; };
    }
    if (name == "faces") {
        const std::size_t dash = value.find('-');
        const long long first = numberIn(value.substr(0, dash), name, 0, 65535);
        const long long last = dash == std::string::npos ? first : numberIn(value.substr(dash + 1), name, 0, 65535);
        if (last < first)
            throw std::runtime_error("faces=" + value + " ends before it starts");
        return [first, last](std::size_t i, const Face&) { return (long long)i >= first && (long long)i <= last; };
    }
    throw std::runtime_error("unknown condition " + name + " in --where " + word +
                             "; the conditions are type, texture, colour and faces");
}

Change change(const std::string& word, std::size_t points)
{
    const auto [name, value] = split(word, "--set");
    if (name == "type") {
        const auto type = static_cast<std::uint16_t>(numberIn(value, name, 0, 3));
        return [type, points](Face& f) { ChangeFaceType(f, type, points); };
    }
    if (name == "texture") {
        const auto texture = static_cast<std::int32_t>(numberIn(value, name, 0, 65535));
        return [texture, points](Face& f) { GiveFaceTexture(f, texture, points); };
    }
    if (name == "colour") {
        const auto colour = static_cast<std::int32_t>(numberIn(value, name, 0, 255));
        return [colour, points](Face& f) {
            ChangeFaceType(f, FacePlain, points);
            SetFaceTexture(f, colour);
        };
    }
    if (name == "mapping") {
        const auto mapping = static_cast<std::int16_t>(numberIn(value, name, 0, 3));
        return [mapping](Face& f) { f.mapping = mapping; };
    }
    if (name == "double-sided") {
        const bool both = numberIn(value, name, 0, 1) == 1;
        return [both](Face& f) { SetFaceDoubleSided(f, both); };
    }
    if (name == "transparency") {
        const auto level = static_cast<int>(numberIn(value, name, 0, 100));
        return [level](Face& f) { SetFaceTransparency(f, level); };
    }
    throw std::runtime_error("unknown field " + name + " in --set " + word +
                             "; the fields are type, texture, colour, mapping, double-sided and transparency");
}

} // namespace

std::string SkinDetails()
{
    return "Conditions (--where, all must hold): type=N (0 textured, 1 keyed, 2 virtual, 3 plain),\n"
           "texture=N (a face of types 0 to 2 with texture N), colour=N (a plain face of colour N),\n"
           "faces=A-B (face numbers A to B, or faces=N).\n"
           "Fields (--set): type=0..3, texture=0..65535 (plain faces become textured), colour=0..255\n"
           "(the face becomes plain), mapping=0..3, double-sided=0|1, transparency=0..100.\n"
           "Nothing is written when a condition or field is wrong or no face meets the conditions.\n";
}

int RunSkin(const std::vector<std::string>& words)
{
    std::vector<std::string> files, wheres, sets;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--where" || words[i] == "--set") {
            if (i + 1 >= words.size())
                throw UsageError(words[i] + " needs a value");
            std::vector<std::string>& list = words[i] == "--where" ? wheres : sets;
            list.push_back(words[i + 1]);
            ++i;
        } else if (words[i].rfind("--", 0) == 0) {
            throw UsageError("unknown option " + words[i]);
        } else {
            files.push_back(words[i]);
        }
    }
    if (files.size() != 2)
        throw UsageError("expected 2 file names, got " + std::to_string(files.size()));
    if (sets.empty())
        throw UsageError("nothing to set: give at least one --set FIELD=VALUE");

    Object3D object;
    LoadObject(files[0], object);
    std::vector<Condition> conditions;
    for (const std::string& word : wheres)
        conditions.push_back(condition(word));
    std::vector<Change> changes;
    for (const std::string& word : sets)
        changes.push_back(change(word, object.pointCount()));

    std::size_t changed = 0;
    for (std::size_t i = 0; i < object.faceCount(); ++i) {
        Face& face = object.faces[i];
        bool meets = true;
        for (const Condition& holds : conditions)
            meets = meets && holds(i, face);
        if (!meets)
            continue;
        for (const Change& apply : changes)
            apply(face);
        ++changed;
    }
    if (changed == 0)
        throw std::runtime_error("no face of " + files[0] + " meets the conditions; " + files[1] + " was not written");
    SaveObject(files[1], object);
    std::printf("%s: %zu of %zu faces changed\n", files[1].c_str(), changed, object.faceCount());
    return 0;
}
