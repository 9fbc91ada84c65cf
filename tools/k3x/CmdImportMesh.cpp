// k3x import-mesh IN OUT.3do [--size N] [--up y|z] [--bank BANK.def [--textures]] [--max-faces N]
// [--timeout S] [--materials LIST]: a mesh of another format (OBJ, STL, PLY, glTF, FBX, Collada,
// 3DS, DXF ...) becomes a 3D object; LIST tells what each material became (ModelMaterials.h). The
// skinning editor runs it as a child process, so that a reader's fault or a bomb of a file never
// reaches its window; the command keeps to a time and a memory limit of its own, so that no file
// can hang a script or eat the machine.
#include "K3xCommand.h"

#include "BankPictures.h"
#include "FileResolver.h"
#include "MeshImport.h"
#include "ModelMaterials.h"
#include "ObjectFile.h"
#include "SafeWrite.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sys/resource.h>
#include <unistd.h>

namespace {

UpAxis parseUp(const std::string& text)
{
    if (text == "y")
        return UpAxis::Y;
    if (text == "z")
        return UpAxis::Z;
    throw UsageError("--up takes y or z, not " + text);
}

// The message the limits end the command with, made before they can strike: a signal handler may
// only write it and end.
char limitMessage[1024];

extern "C" void outOfTime(int)
{
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, limitMessage, std::strlen(limitMessage));
    _exit(1);
}

// The memory the command may take: a quarter of the machine's, within 2 to 4 GB. The largest
// model the import takes (4,000,000 triangles, to be simplified) reads in about 1.3 GB.
rlim_t memoryLimit()
{
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    const rlim_t quarter = pages > 0 && pageSize > 0 ? static_cast<rlim_t>(pages) * static_cast<rlim_t>(pageSize) / 4 : 0;
    return std::clamp(quarter, rlim_t(2) << 30, rlim_t(4) << 30);
}

// A reader stuck in a broken file (a cut-short binary PLY) or working through a bomb is stopped
// after `seconds` of the clock or of the processor, and an allocation past the memory limit fails
// (the readers answer it as a failure). Address sanitizer builds reserve far more address space
// than they use: they keep to the time only.
void keepToLimits(const std::string& file, long long seconds)
{
    std::snprintf(limitMessage, sizeof limitMessage, "k3x import-mesh: %s: the import took longer than %lld s (--timeout)\n",
                  file.c_str(), seconds);
    std::signal(SIGALRM, outOfTime);
    std::signal(SIGXCPU, outOfTime);
    alarm(static_cast<unsigned>(seconds));
    const rlimit cpu{static_cast<rlim_t>(seconds), static_cast<rlim_t>(seconds) + 5};
    setrlimit(RLIMIT_CPU, &cpu);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    const rlimit memory{memoryLimit(), memoryLimit()};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

// Each material's texture picture not in the bank yet, brought in through the picture import: a
// picture inside the model, or a file found beside it. Warnings name every texture file that
// cannot be found or read.
void bringTextures(const MeshSoup& soup, const std::string& model, const std::string& bankPath, MeshSkin& skin)
{
    const std::filesystem::path beside = std::filesystem::path(model).parent_path();
    std::vector<PictureSource> sources;
    std::map<std::string, std::string> fileOfSource; // source name -> the material's texture file
    std::set<std::string> queued;                     // the texture files among the sources
    for (const MeshMaterial& material : soup.materials) {
        if (material.textureFile.empty() || TextureFor(skin, material.textureFile) || queued.count(material.textureFile))
            continue;
        if (!material.embeddedTexture.empty()) {
            sources.push_back({material.textureFile, material.embeddedTexture});
            fileOfSource[material.textureFile] = material.textureFile;
            queued.insert(material.textureFile);
            continue;
        }
        std::filesystem::path found = ResolvePath(material.textureFile, beside);
        if (!std::filesystem::is_regular_file(found)) // a path from the modeller's machine: the name alone
            found = ResolvePath(std::filesystem::path(material.textureFile).filename().string(), beside);
        if (!std::filesystem::is_regular_file(found)) {
            std::fprintf(stderr, "k3x import-mesh: warning: the texture %s of material %s was not found beside %s\n",
                         material.textureFile.c_str(), material.name.c_str(), model.c_str());
            continue;
        }
        sources.push_back({found.string(), std::nullopt});
        fileOfSource[found.string()] = material.textureFile;
        queued.insert(material.textureFile);
    }
    if (sources.empty())
        return;
    BankPictureResult result;
    try {
        result = AddPicturesToBank(bankPath, ReadTextureBank(bankPath), sources, {});
    } catch (const FormatError& error) {
        std::fprintf(stderr, "k3x import-mesh: warning: %s\n", error.what());
        return;
    }
    for (const std::string& failure : result.failures)
        std::fprintf(stderr, "k3x import-mesh: warning: %s\n", failure.c_str());
    for (const AddedPicture& added : result.added) {
        SetTextureFor(skin, fileOfSource[added.picture], added.texture);
        std::printf("%s: texture %d, image %d (%s) of %s\n", fileOfSource[added.picture].c_str(), added.texture,
                    added.slot, added.image.c_str(), bankPath.c_str());
    }
}

// Materials whose texture is not in the bank, when nothing brings it in: their faces keep their
// flat colour.
void warnUnmatched(const MeshSoup& soup, const MeshSkin& skin)
{
    for (const MeshMaterial& material : soup.materials)
        if (!material.textureFile.empty() && !TextureFor(skin, material.textureFile))
            std::fprintf(stderr,
                         "k3x import-mesh: warning: the bank has no image %s (material %s): its faces keep their flat "
                         "colour; --textures brings it in\n",
                         material.textureFile.c_str(), material.name.c_str());
}

// The listing of what each material became, for the skinning editor to offer again.
void writeMaterials(const std::string& path, const MeshSoup& soup, const ImportedMesh& mesh, const MeshSkin& skin)
{
    ModelMaterials list;
    for (const MeshMaterial& material : soup.materials) {
        ModelMaterial m;
        m.name = material.name;
        if (material.colour)
            m.colour = std::uint32_t(material.colour->red) << 16 | std::uint32_t(material.colour->green) << 8 |
                       material.colour->blue;
        m.textureFile = material.textureFile;
        m.faces = static_cast<std::size_t>(std::count(mesh.faceMaterial.begin(), mesh.faceMaterial.end(),
                                                      static_cast<std::int32_t>(list.materials.size())));
        m.texture = TextureFor(skin, material.textureFile);
        m.flatColour = FlatColourFor(skin, material.colour.value_or(MeshColour{200, 200, 200}));
        list.materials.push_back(std::move(m));
    }
    list.faceMaterial = mesh.faceMaterial;
    WriteFileAtomically(path, FormatModelMaterials(list));
}

} // namespace

int RunImportMesh(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {"size", "up", "bank", "max-faces", "timeout", "materials"}, {"textures"});
    args.expectPositional(2);
    const std::string& in = args.positional[0];
    const std::string& out = args.positional[1];
    if (!HasExtension(out, ".3do"))
        throw UsageError("the output must be a .3do file, not " + out);
    MeshImportOptions options;
    const long long size = args.number("size", options.size);
    if (size < 1 || size > 1000000)
        throw UsageError("--size takes a whole number from 1 to 1000000, not " + std::to_string(size));
    options.size = static_cast<int>(size);
    options.up = args.has("up") ? parseUp(args.option("up")) : UsualUpAxis(in);
    const long long maxFaces = args.number("max-faces", 0);
    if (args.has("max-faces") && (maxFaces < 1 || maxFaces > 65536))
        throw UsageError("--max-faces takes a whole number from 1 to 65536, not " + std::to_string(maxFaces));
    options.maxFaces = static_cast<std::size_t>(maxFaces);
    const long long timeout = args.number("timeout", 60);
    if (timeout < 1 || timeout > 86400)
        throw UsageError("--timeout takes a number of seconds from 1 to 86400, not " + std::to_string(timeout));
    if (args.has("textures") && !args.has("bank"))
        throw UsageError("--textures brings the model's pictures into the bank given with --bank");
    keepToLimits(in, timeout);

    MeshSkin skin = args.has("bank") ? LoadMeshSkin(args.option("bank")) : DemoMeshSkin();
    const MeshSoup soup = ReadMeshFile(in);
    if (args.has("textures"))
        bringTextures(soup, in, args.option("bank"), skin);
    else
        warnUnmatched(soup, skin);
    ImportedMesh mesh;
    try {
        mesh = ImportMeshSoup(soup, options, skin, in);
    } catch (const MeshTooLargeError& error) {
        std::fprintf(stderr, "k3x import-mesh: %s; --max-faces 65536 simplifies it to fit\n", error.what());
        return 3;
    }
    SaveObject(out, mesh.object);
    if (args.has("materials"))
        writeMaterials(args.option("materials"), soup, mesh, skin);
    std::printf("%s: %zu points, %zu faces", out.c_str(), mesh.object.pointCount(), mesh.object.faceCount());
    if (soup.triangles.size() > mesh.object.faceCount() + mesh.droppedTriangles)
        std::printf(" (simplified from %zu triangles)", soup.triangles.size());
    if (mesh.droppedTriangles > mesh.collapsedTriangles)
        std::printf(" (%zu triangles without area dropped)", mesh.droppedTriangles - mesh.collapsedTriangles);
    std::printf("\n");
    if (mesh.collapsedTriangles > 0) {
        std::fprintf(stderr, "k3x import-mesh: warning: %zu triangles collapse to nothing at size %d and are left out",
                     mesh.collapsedTriangles, options.size);
        if (mesh.keepingSize > 0)
            std::fprintf(stderr, "; --size %d keeps them", mesh.keepingSize);
        std::fprintf(stderr, "\n");
    }
    return 0;
}
