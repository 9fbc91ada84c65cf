#pragma once
// Collada files place nodes within nodes by reference (instance_node), and the reader copies every
// placement while it reads: a few kilobytes of nodes each placing the one below three times ask
// for billions of copies before anything can be counted. This scan counts them from the text.
#include <cstdint>
#include <string_view>

// Whether the text is a Collada document (its root element is COLLADA).
bool LooksLikeCollada(std::string_view text);

// The most meshes any node of the document places, its own, its child nodes' and the nodes it
// places by reference, counted up to `limit` + 1 (the count stops there). FormatError (without a
// file name) for a node that places itself, or nodes placed more than 1,000 deep.
std::uint64_t ColladaPlacements(std::string_view text, std::uint64_t limit);
