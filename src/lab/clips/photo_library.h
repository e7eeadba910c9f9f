// Real photographs for the sweep's real-footage scene classes: four small crops (a street of
// brick houses, a concrete facade, a bowl of fruit, a circuit board) that ship with the source
// in res/photos (SOURCE.txt there records where they come from and their licence) and are
// built into the program, so the sweep needs no file at run time.
#pragma once

#include "lab/clips/float_plane.h"

namespace velmire::lab {

enum class Photo { kStreet, kFacade, kFruit, kCircuit };

inline constexpr int kPhotoWidth = 368;
inline constexpr int kPhotoHeight = 288;

// The photograph decoded into Y (16..235), U and V (centred on zero), BT.601.
// Throws std::runtime_error if the built-in bytes do not decode (a broken build).
YuvImage DecodePhoto(Photo photo);

// The four photographs as a 2x2 mosaic, 736x576: street, facade over fruit, circuit; with
// `second_shot` the quadrants are swapped diagonally and each is mirrored, so that every
// place shows other content (the shot after a cut).
YuvImage PhotoMosaic(bool second_shot = false);

}  // namespace velmire::lab
