// k3x tool: runs one whole-object tool of the skinning editor on an object file and saves the
// result, for batch work on many objects.
#include "K3xCommand.h"
#include "ObjectFile.h"
#include "ObjectTools.h"
#include "PointMerge.h"
#include "QuadFit.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace {

// What a tool is given besides the object.
struct ToolInput {
    std::uint8_t colour = 0;
    std::uint16_t texture = 0;
    std::uint16_t transparency = 0;
    std::int32_t face = 0;
    std::string from;
};

struct Tool {
    const char* name;
    const char* menu;   // the item of Tessaro3D's Tools menu, in English
    const char* option; // the option it needs, or null
    std::function<std::string(Object3D&, const ToolInput&)> run; // answers a note for the summary
};

std::string none() { return {}; }

const std::vector<Tool>& tools()
{
    static const std::vector<Tool> list{
        {"colour-all", "Make all coloured", "colour", [](Object3D& o, const ToolInput& in) { return ColourAllFaces(o, in.colour), none(); }},
        {"texture-all", "Make all textured", "texture",
         [](Object3D& o, const ToolInput& in) { return TextureAllFaces(o, in.texture), none(); }},
        {"transparent-all", "Make all transparent", "transparency",
         [](Object3D& o, const ToolInput& in) { return SetAllTransparency(o, in.transparency), none(); }},
        {"replace-colour", "Replace the colour", "colour",
         [](Object3D& o, const ToolInput& in) { return ReplaceColour(o, in.face, in.colour), none(); }},
        {"merge-points", "Merge double points", nullptr,
         [](Object3D& o, const ToolInput&) { return ", " + std::to_string(MergeCoincidentPoints(o)) + " merged"; }},
        {"single-sided", "Make all single-sided", nullptr, [](Object3D& o, const ToolInput&) { return SetAllDoubleSided(o, 0), none(); }},
        {"double-sided", "Make all double-sided", nullptr, [](Object3D& o, const ToolInput&) { return SetAllDoubleSided(o, 1), none(); }},
        {"flip-normals", "Turn all faces over", nullptr, [](Object3D& o, const ToolInput&) { return TurnFacesOver(o), none(); }},
        {"mirror-x", "Mirror, X", nullptr, [](Object3D& o, const ToolInput&) { return MirrorObject(o, Axis::X), none(); }},
        {"mirror-y", "Mirror, Y", nullptr, [](Object3D& o, const ToolInput&) { return MirrorObject(o, Axis::Y), none(); }},
        {"mirror-z", "Mirror, Z", nullptr, [](Object3D& o, const ToolInput&) { return MirrorObject(o, Axis::Z), none(); }},
        {"turn-x", "Rotation, 90° X", nullptr, [](Object3D& o, const ToolInput&) { return QuarterTurn(o, Axis::X), none(); }},
        {"turn-y", "Rotation, 90° Y", nullptr, [](Object3D& o, const ToolInput&) { return QuarterTurn(o, Axis::Y), none(); }},
        {"turn-z", "Rotation, 90° Z", nullptr, [](Object3D& o, const ToolInput&) { return QuarterTurn(o, Axis::Z), none(); }},
        {"fit-quads", "Fit textures to quads", nullptr,
         [](Object3D& o, const ToolInput&) {
             return ", " + std::to_string(FitTexturesToQuads(o, AllFaces(o.faceCount()))) + " quads fitted";
         }},
        {"take-skin", "Reuse the skin of object ...", "from",
         [](Object3D& o, const ToolInput& in) {
             Object3D other;
             LoadObject(in.from, other);
             const SkinTakeOver result = TakeOverSkin(o, other);
             return ", " + std::to_string(result.taken) + " faces skinned from " + in.from + ", " +
                    std::to_string(result.skipped) + " skipped (they name points this object does not have)";
         }},
    };
    return list;
}

std::int32_t numberIn(const K3xArgs& args, const std::string& name, long long lowest, long long highest)
{
    const long long value = args.number(name, lowest);
    if (value < lowest || value > highest)
        throw UsageError("--" + name + " takes " + std::to_string(lowest) + " to " + std::to_string(highest));
    return static_cast<std::int32_t>(value);
}

} // namespace

std::string ToolDetails()
{
    std::string text = "Tools (Tessaro3D's Tools menu item, and the option each needs):\n";
    for (const Tool& t : tools()) {
        std::string line = std::string("  ") + t.name;
        line.resize(std::max<std::size_t>(line.size() + 1, 19), ' ');
        line += t.menu;
        if (t.option != nullptr)
            line += std::string(" (--") + t.option + (std::string(t.name) == "replace-colour" ? ", --face" : "") + ")";
        text += line + "\n";
    }
    return text + "replace-colour takes the colour of face --face (0 when not given) and gives --colour to every\n"
                  "plain face of that colour.\n";
}

int RunTool(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"colour", "texture", "transparency", "face", "from"});
    args.expectPositional(3);
    const std::string& name = args.positional[0];
    const Tool* tool = nullptr;
    for (const Tool& t : tools())
        if (name == t.name)
            tool = &t;
    if (tool == nullptr) {
        std::string names;
        for (const Tool& t : tools())
            names += std::string(names.empty() ? "" : ", ") + t.name;
        throw UsageError("unknown tool " + name + "; the tools are " + names);
    }
    // Each tool takes its own option (replace-colour also --face), and no other.
    for (const auto& [option, value] : args.options) {
        const bool wanted = (tool->option != nullptr && option == tool->option) ||
                            (option == "face" && name == "replace-colour");
        if (!wanted)
            throw UsageError(name + " takes no --" + option);
    }
    if (tool->option != nullptr && !args.has(tool->option))
        throw UsageError(name + " needs --" + tool->option);

    Object3D object;
    LoadObject(args.positional[1], object);
    ToolInput input;
    input.colour = static_cast<std::uint8_t>(numberIn(args, "colour", 0, 255));
    input.texture = static_cast<std::uint16_t>(numberIn(args, "texture", 0, 65535));
    input.transparency = static_cast<std::uint16_t>(numberIn(args, "transparency", 0, 100));
    input.face = numberIn(args, "face", 0, 65535);
    if (input.face > object.lastFace)
        throw UsageError("--face " + std::to_string(input.face) + " is beyond the last face, " +
                         std::to_string(object.lastFace));
    input.from = args.option("from");
    const std::string note = tool->run(object, input);
    SaveObject(args.positional[2], object);
    std::printf("%s: %d points, %d faces%s\n", args.positional[2].c_str(), object.lastPoint + 1, object.lastFace + 1,
                note.c_str());
    return 0;
}
