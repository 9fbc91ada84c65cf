#pragma once
// Making outside faces face out. Faces that share an edge belong to one piece; within a piece
// every face is turned to agree with its neighbours (a shared edge is walked one way by one face
// and the other way by the other). A closed piece (every edge shared by exactly two faces) is then
// turned so that its faces look outwards: front faces wind so that (p2 - p1) x (p3 - p1) points
// out of the object, which is the side the renderer draws. An open piece keeps the winding most of
// its faces came with.
#include "Object3D.h"

#include <vector>

// Turns faces over (p1 and p3 exchanged) as needed; answers, for each face, whether its piece is
// closed. Every face must name points of the object.
std::vector<bool> OrientFacesOutward(Object3D& object);
