// The three result screens of a puzzle made from a photo: the photo itself,
// dimmed or tinted by how well the player did, with a large caption.
#pragma once

#include <QImage>

#include <array>

namespace vexa::authoring {

// Fewer than half found, at least half, all found; at most `longSide` pixels
// on the longer side. Needs a QGuiApplication (fonts); any thread.
std::array<QImage, 3> ResultScreens(const QImage& photo, int longSide);

}  // namespace vexa::authoring
