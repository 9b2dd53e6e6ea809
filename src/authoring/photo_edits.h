// The pieces of making a puzzle from a photo: regions worth changing, the
// edits, and the check that an edit is fair as the player will see it.
#pragma once

#include "authoring/boxes.h"
#include "authoring/make_puzzle.h"
#include "authoring/photo_colours.h"

#include <opencv2/core.hpp>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vexa::authoring {

// Uniform draws written out here: the standard distributions differ from one
// library to the next, and the same seed must give the same puzzle anywhere.
class SeededDraws {
public:
    explicit SeededDraws(std::uint64_t seed) : engine_(seed) {}
    std::uint64_t Below(std::uint64_t n);  // 0..n-1, n > 0
    double Unit();                         // [0, 1)
    double Between(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::mt19937_64 engine_;
};

enum class EditKind { Remove, Recolour, Add, Mirror, Resize, Detail };
inline constexpr int kEditKinds = 6;
const char* EditKindName(EditKind kind);

// A region found by segmentation, in photo pixels.
struct Region {
    cv::Mat mask;      // CV_8U, 255 inside, the size of `box`
    Box box{0, 0, 0, 0};
    int area = 0;       // pixels inside
    double prominence = 0;  // saliency and contrast against its surroundings, 0..1
    double contrast = 0;    // delta E between its mean colour and its surroundings
    double texture = 0;     // mean delta E of its pixels from its mean colour: fur, grain, foliage
    double groundTexture = 0;  // the same for the ring of ground around it
    double outline = 0;     // share of the ring around it unlike its colour: 1 when the mask follows the object
};

// Whether `kind` suits `region` of a picture of `pictureArea` pixels: which
// edits look like the photo rather than like an edit. `level` 0 is the
// strictest; each later one also lets an edit go on a region with a softer
// outline or more grain, for puzzles the strict level leaves short.
inline constexpr int kSuitLevels = 3;
bool Suits(EditKind kind, const Region& region, double pictureArea, int level = 0);

// Segments of the photo (RGB, CV_8UC3) ranked by prominence, most prominent first.
std::vector<Region> FindRegions(const cv::Mat& photo);

// How much detail the photo has: the spread of its brightness (0..128).
double Detail(const cv::Mat& photo);

// What an edit must reach to be kept, by difficulty.
struct Fairness {
    double minPeak;      // strongest delta E of the change
    int minPixels;       // pixels the measure finds changed
    int minStrong;       // stored pixels changed by more than 40 in some channel (0: no rule)
    double minAreaShare; // smallest region, as a share of the picture
    double maxAreaShare; // largest region
};
Fairness FairnessFor(Difficulty difficulty);

// Applies `kind` to `region` of `edited` (RGB) in place; `source` is the
// untouched photo and `colours` its colours (what a recolour may choose). False when the edit does not apply to this region (no room
// to place a copy, say). `taken` holds the rectangles already used, which a
// copy must keep clear of (grown by `gap`).
struct EditArea {
    Box touched{0, 0, 0, 0};  // what the edit may have changed
    cv::Mat blend;            // CV_8U the size of `touched`: 255 where the edit was blended in
};
bool ApplyEdit(EditKind kind, const Region& region, const cv::Mat& source, const PhotoColours& colours, cv::Mat& edited,
               const std::vector<Box>& taken, int gap, SeededDraws& draws, EditArea& area);

// The verdict on an edit between `scene` and `edited` (RGB, same size) as they
// will be stored (baseline JPEG at `quality`) and measured by the player's
// decoder and the change measure. `taken` are the rectangles of kept edits,
// whose changes are already accounted for. On success `rect` is the edit's
// difference rectangle.
struct Verdict {
    bool kept = false;
    Box rect{0, 0, 0, 0};
    std::string why;  // when refused
};
// A seam is an edge along the border of the blend that the scene has not.
Verdict VerifyEdit(const cv::Mat& scene, const cv::Mat& edited, const EditArea& area, const std::vector<Box>& taken,
                   const Fairness& fairness, int gap);

// How many of a puzzle's `differences` one kind of edit may make while other
// kinds can still make the rest: about a third.
int KindShare(int differences);

// The JPEG quality and sampling the scene and the photo are stored with.
inline constexpr int kStoredQuality = 90;

}  // namespace vexa::authoring
