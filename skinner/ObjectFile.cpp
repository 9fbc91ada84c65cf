#include "ObjectFile.h"

#include "Errors.h"
#include "K3xFiles.h"
#include "LittleEndian.h"
#include "SafeWrite.h"

namespace {

constexpr std::size_t HeaderSize = 4;
constexpr std::size_t PointSize = 12; // x, y and z, each in its own array
constexpr std::size_t FaceSize = sizeof(Face);

void encodeFace(std::uint8_t* p, const Face& face)
{
    WriteU16LE(p + 0, face.p1);
    WriteU16LE(p + 2, face.p2);
    WriteU16LE(p + 4, face.p3);
    WriteU16LE(p + 6, face.texture);
    WriteU16LE(p + 8, static_cast<std::uint16_t>(face.mapping));
    WriteU16LE(p + 10, static_cast<std::uint16_t>(face.doubleSided));
    WriteU16LE(p + 12, face.faceType);
    WriteU16LE(p + 14, face.transparency);
}

Face decodeFace(const std::uint8_t* p)
{
    Face face;
    face.p1 = ReadU16LE(p + 0);
    face.p2 = ReadU16LE(p + 2);
    face.p3 = ReadU16LE(p + 4);
    face.texture = ReadU16LE(p + 6);
    face.mapping = static_cast<std::int16_t>(ReadU16LE(p + 8));
    face.doubleSided = static_cast<std::int16_t>(ReadU16LE(p + 10));
    face.faceType = ReadU16LE(p + 12);
    face.transparency = ReadU16LE(p + 14);
    return face;
}

} // namespace

std::vector<std::uint8_t> EncodeObject(const Object3D& object)
{
    const std::size_t points = static_cast<std::size_t>(object.lastPoint) + 1;
    const std::size_t faces = static_cast<std::size_t>(object.lastFace) + 1;
    if (object.pointCount() < points || object.faceCount() < faces)
        throw OrmelError("The object holds fewer points or faces than its counts say");
    std::vector<std::uint8_t> bytes(HeaderSize + PointSize * points + FaceSize * faces);
    WriteU16LE(bytes.data(), object.lastPoint);
    WriteU16LE(bytes.data() + 2, object.lastFace);
    std::uint8_t* p = bytes.data() + HeaderSize;
    for (const std::vector<std::int32_t>* axis : {&object.x, &object.y, &object.z})
        for (std::size_t i = 0; i < points; ++i, p += 4)
            WriteU32LE(p, static_cast<std::uint32_t>((*axis)[i]));
    for (std::size_t i = 0; i < faces; ++i, p += FaceSize)
        encodeFace(p, object.faces[i]);
    return bytes;
}

void DecodeObject(std::span<const std::uint8_t> file, const std::string& name, Object3D& object)
{
    if (file.size() < HeaderSize)
        throw FormatError(name + " is not a 3D object: it holds " + std::to_string(file.size()) +
                          " bytes, fewer than the 4 of its counts");
    const std::size_t points = static_cast<std::size_t>(ReadU16LE(file.data())) + 1;
    const std::size_t faces = static_cast<std::size_t>(ReadU16LE(file.data() + 2)) + 1;
    const std::size_t need = HeaderSize + PointSize * points + FaceSize * faces; // at most 1,835,012
    if (file.size() < need)
        throw FormatError(name + " is cut short: " + std::to_string(points) + " points and " + std::to_string(faces) +
                          " faces need " + std::to_string(need) + " bytes, the file holds " +
                          std::to_string(file.size()));

    // Read into a new object, so that the current one stays whole whatever happens.
    Object3D loaded;
    AllocateObject(loaded, static_cast<std::int32_t>(points - 1), static_cast<std::int32_t>(faces - 1));
    const std::uint8_t* p = file.data() + HeaderSize;
    for (std::vector<std::int32_t>* axis : {&loaded.x, &loaded.y, &loaded.z})
        for (std::size_t i = 0; i < points; ++i, p += 4)
            (*axis)[i] = static_cast<std::int32_t>(ReadU32LE(p));
    for (std::size_t i = 0; i < faces; ++i, p += FaceSize)
        loaded.faces[i] = decodeFace(p);
    object = std::move(loaded);
}

void LoadObject(const std::string& name, Object3D& object)
{
    DecodeObject(ReadNamedFile(name), name, object);
}

void SaveObject(const std::string& name, const Object3D& object)
{
    WriteFileAtomically(name, EncodeObject(object));
}
