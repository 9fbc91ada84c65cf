#pragma once
// The .3do object file. Little-endian, no signature, no padding; with P = lastPoint + 1 and
// F = lastFace + 1:
//
//   offset 0        u16  lastPoint
//   offset 2        u16  lastFace
//   offset 4        P x i32  x
//   offset 4 + 4P   P x i32  y
//   offset 4 + 8P   P x i32  z
//   offset 4 + 12P  F x 16-byte Face: u16 p1, u16 p2, u16 p3, u16 texture, i16 mapping,
//                   i16 doubleSided, u16 faceType, u16 transparency
//
// The file is exactly 4 + 12P + 16F bytes; readers ignore anything after that.
#include "Object3D.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads `name` (resolved without regard to case) and replaces `object` by an object of exactly the
// file's size. A missing file throws FatalError; a file shorter than its counts require throws
// FormatError naming it; in both cases `object` is left as it was.
void LoadObject(const std::string& name, Object3D& object);
// Writes the object (its first lastPoint + 1 points and lastFace + 1 faces) through a temporary
// file and a rename, at its exact size. IoError naming the file when it cannot be written.
void SaveObject(const std::string& name, const Object3D& object);

// The same layouts in memory, for the file functions above and for tools.
std::vector<std::uint8_t> EncodeObject(const Object3D& object);
void DecodeObject(std::span<const std::uint8_t> file, const std::string& name, Object3D& object);
