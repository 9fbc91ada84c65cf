#include "FaceEditing.h"

#include "NumberText.h"

void SetFaceTexture(Face& face, std::int32_t texture)
{
    face.texture = static_cast<std::uint16_t>(static_cast<std::uint32_t>(texture) & 0xFFFF);
}

void GiveFaceTexture(Face& face, std::int32_t texture, std::size_t points)
{
    SetFaceTexture(face, texture);
    if (face.faceType == FacePlain)
        ChangeFaceType(face, FaceTextured, points);
}

void SetFaceDoubleSided(Face& face, bool doubleSided) { face.doubleSided = doubleSided ? 1 : 0; }

void SetFaceTransparency(Face& face, int transparency) { face.transparency = static_cast<std::uint16_t>(transparency); }

void SetVirtualFaceSize(Face& face, VirtualSide side, std::uint16_t size)
{
    (side == VirtualSide::Width ? face.p2 : face.p3) = size;
}

void ChangeFaceType(Face& face, std::uint16_t faceType, std::size_t points)
{
    const bool wasVirtual = face.faceType == FaceVirtual;
    face.faceType = faceType;
    if (!wasVirtual || faceType == FaceVirtual)
        return;
    if (face.p2 >= points)
        face.p2 = face.p1;
    if (face.p3 >= points)
        face.p3 = face.p1;
}

void NextMapping(Face& face)
{
    const int next = face.mapping + 1;
    face.mapping = static_cast<std::int16_t>(next >= 0 && next <= 3 ? next : 0);
}

void RotateFacePoints(Face& face)
{
    const std::uint16_t first = face.p1;
    face.p1 = face.p2;
    face.p2 = face.p3;
    face.p3 = first;
}

std::optional<std::uint16_t> FaceSizeFromText(std::string_view text)
{
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(*value) & 0xFFFF);
}
