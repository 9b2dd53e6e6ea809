#include "make_puzzle.h"

#include "authoring/jpeg_encode.h"
#include "authoring/photo_edits.h"
#include "authoring/result_screens.h"
#include "authoring/shift_jis.h"
#include "puzzle/puzzle_writer.h"

#include <opencv2/imgproc.hpp>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace vexa::authoring {

namespace {

constexpr std::int64_t kMaxPixels = std::int64_t{4096} * 4096;  // the player's limit for one picture
constexpr int kMinSide = 160;
constexpr double kMinDetail = 6.0;   // brightness spread below which nothing fair can change
constexpr int kResultSide = 800;     // result screens need not be as large as the photo
constexpr int kAttempts = 80;
constexpr int kAttemptsPerLevel = 25;  // each relaxed level gets at least this many of them

std::uint64_t Fnv(std::uint64_t h, const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001B3ULL;
    return h;
}

MakeResult Failed(MakeFailure failure, std::string detail) {
    MakeResult r;
    r.failure = failure;
    r.detail = std::move(detail);
    return r;
}

// A text as the puzzle stores it: Shift-JIS, at most `room - 1` bytes. Given
// texts must fit as they are; derived ones lose what does not fit.
std::optional<std::string> Stored(const QString& text, std::size_t room, bool derived) {
    if (!derived) {
        const auto bytes = ToShiftJis(text);
        if (!bytes || bytes->size() > room - 1 || bytes->find('\0') != std::string::npos ||
            bytes->find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
        return bytes;
    }
    std::string out;
    for (const QChar c : text) {
        const auto bytes = ToShiftJis(QString(c));
        if (!bytes || bytes->empty() || (*bytes)[0] == '\0' || (*bytes)[0] == '\r' || (*bytes)[0] == '\n') continue;
        if (out.size() + bytes->size() > room - 1) break;
        out += *bytes;
    }
    return out;
}

QByteArray Jpeg(const QImage& image) {
    QByteArray stream;
    std::string error;
    EncodeSettings settings;
    settings.quality = kStoredQuality;
    EncodeBaselineJpeg(image, settings, stream, error);
    return stream;
}

QImage ToImage(const cv::Mat& rgb) {
    return QImage(rgb.data, rgb.cols, rgb.rows, static_cast<qsizetype>(rgb.step), QImage::Format_RGB888).copy();
}

// The order regions are tried in: the prominent first for easy puzzles, the
// inconspicuous first for hard ones, with a little chance mixed in.
void Rank(std::vector<Region>& regions, Difficulty difficulty, SeededDraws& draws) {
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const double p = regions[i].prominence;
        const double score = difficulty == Difficulty::Easy ? p : difficulty == Difficulty::Hard ? 1 - p
                                                                                                : 1 - std::abs(p - 0.45);
        order.push_back({score + 0.25 * draws.Unit(), i});
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Region> ranked;
    for (const auto& o : order) ranked.push_back(std::move(regions[o.second]));
    regions = std::move(ranked);
}

// Among kinds used equally often, the order they are tried in: taking away
// and resizing look like the photo, a new colour most easily does not.
constexpr EditKind kKindPreference[] = {EditKind::Remove, EditKind::Detail, EditKind::Resize,
                                        EditKind::Mirror, EditKind::Add,    EditKind::Recolour};
static_assert(std::size(kKindPreference) == kEditKinds);

}  // namespace

int KindShare(int differences) { return std::max(1, (differences + 2) / 3); }

const char* FailureName(MakeFailure failure) {
    switch (failure) {
        case MakeFailure::None: return "made";
        case MakeFailure::Unreadable: return "unreadable";
        case MakeFailure::TooSmall: return "too small";
        case MakeFailure::TooFlat: return "too flat";
        case MakeFailure::BadOption: return "bad option";
        case MakeFailure::Cancelled: return "cancelled";
    }
    return "?";
}

MakeResult MakePuzzle(const std::string& photoPath, const MakeOptions& options, const MakeProgress& progress) {
    auto going = [&](int percent) { return !progress || progress(percent); };
    if (!going(0)) return Failed(MakeFailure::Cancelled, "cancelled");
    if (options.differences < kMinMadeDifferences || options.differences > kMaxMadeDifferences)
        return Failed(MakeFailure::BadOption, "the number of differences must be from " +
                                                  std::to_string(kMinMadeDifferences) + " to " +
                                                  std::to_string(kMaxMadeDifferences));
    const QString path = QString::fromStdString(photoPath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Failed(MakeFailure::Unreadable, "cannot be read");
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);  // EXIF orientation
    QImage photo = reader.read();
    if (photo.isNull()) return Failed(MakeFailure::Unreadable, "not a picture this program can read");

    MakeResult result;
    const QFileInfo info(path);
    const auto title = Stored(options.title.empty() ? info.completeBaseName() : QString::fromStdString(options.title),
                              sizeof TPuzzleData::Title, options.title.empty());
    if (!title) return Failed(MakeFailure::BadOption, "the title must fit in 51 bytes of Shift-JIS");
    std::uint64_t hash = Fnv(0xCBF29CE484222325ULL, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::uint64_t salt[3] = {options.seed, static_cast<std::uint64_t>(options.difficulty),
                                   static_cast<std::uint64_t>(options.differences)};
    hash = Fnv(hash, salt, sizeof salt);
    char derived[32];
    std::snprintf(derived, sizeof derived, "photo-%016llx", static_cast<unsigned long long>(hash));
    const auto section = Stored(QString::fromStdString(options.section.empty() ? derived : options.section),
                                sizeof TPuzzleData::SectionName, false);
    if (!section) return Failed(MakeFailure::BadOption, "the section must fit in 51 bytes of Shift-JIS, on one line");
    result.title = (options.title.empty() ? FromShiftJis(title->c_str(), title->size()).toStdString() : options.title);
    if (result.title.empty()) result.title = "写真";
    result.section = options.section.empty() ? derived : options.section;

    // Within the player's picture limit; then the whole puzzle stays well
    // inside its picture budget too.
    if (std::int64_t{photo.width()} * photo.height() > kMaxPixels) {
        const double f = std::sqrt(static_cast<double>(kMaxPixels) / (double(photo.width()) * photo.height()));
        photo = photo.scaled(std::max(1, int(photo.width() * f)), std::max(1, int(photo.height() * f)),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (photo.width() < kMinSide || photo.height() < kMinSide)
        return Failed(MakeFailure::TooSmall, "is " + std::to_string(photo.width()) + "x" +
                                                 std::to_string(photo.height()) + " pixels; at least " +
                                                 std::to_string(kMinSide) + " on each side are needed");
    photo = photo.convertToFormat(QImage::Format_RGB888);
    cv::Mat scene(photo.height(), photo.width(), CV_8UC3);
    for (int y = 0; y < photo.height(); ++y) std::memcpy(scene.ptr(y), photo.constScanLine(y), scene.cols * 3);
    if (Detail(scene) < kMinDetail) return Failed(MakeFailure::TooFlat, "has too little detail or contrast");

    SeededDraws draws(options.seed);
    const Fairness fairness = FairnessFor(options.difficulty);
    const double pictureArea = double(scene.cols) * scene.rows;
    std::vector<Region> regions = FindRegions(scene);
    std::erase_if(regions, [&](const Region& r) {
        return r.area < fairness.minAreaShare * pictureArea || r.area > fairness.maxAreaShare * pictureArea;
    });
    if (regions.empty()) return Failed(MakeFailure::TooFlat, "has no region that could change fairly");
    Rank(regions, options.difficulty, draws);
    if (!going(15)) return Failed(MakeFailure::Cancelled, "cancelled");

    const int gap = std::max(12, std::min(scene.cols, scene.rows) / 40);
    const int spread = std::min(scene.cols, scene.rows) / 8;  // centres of two differences at least this far apart
    const PhotoColours colours = ColoursOf(scene);
    cv::Mat edited = scene.clone(), kept = scene.clone();
    std::vector<Box> taken;
    std::vector<bool> done(regions.size(), false);
    int used[kEditKinds] = {};
    int attempts = 0;
    // First no kind takes more than its share, so a puzzle mixes its edits;
    // then, if differences are still missing, any kind that is fair; then,
    // level by level, the kinds a region suits only when less strictly
    // judged (the fairness checks stay as they are).
    const int share = KindShare(options.differences);
    for (int pass = 0; pass < 1 + kSuitLevels && int(taken.size()) < options.differences; ++pass) {
        const int level = std::max(0, pass - 1);
        if (level > 0) attempts = std::min(attempts, kAttempts - kAttemptsPerLevel);
        for (std::size_t i = 0; i < regions.size() && int(taken.size()) < options.differences && attempts < kAttempts;
             ++i) {
            if (level == 0 && done[i]) continue;
            const Region& region = regions[i];
            const Box near = Grown(region.box, gap, scene.cols, scene.rows);
            const int cx = (region.box.left + region.box.right) / 2, cy = (region.box.top + region.box.bottom) / 2;
            const bool crowded = std::any_of(taken.begin(), taken.end(), [&](const Box& t) {
                return Overlap(t, near) ||
                       std::hypot((t.left + t.right) / 2 - cx, (t.top + t.bottom) / 2 - cy) < spread;
            });
            if (crowded) continue;
            bool capped = false;  // a kind was left out for its share: try the region again later
            std::vector<int> kinds;
            for (const EditKind kind : kKindPreference) {
                // A relaxed level tries only what the stricter ones did not.
                if (!Suits(kind, region, pictureArea, level) ||
                    (level > 0 && Suits(kind, region, pictureArea, level - 1)))
                    continue;
                if (pass == 0 && used[static_cast<int>(kind)] >= share) {
                    capped = true;
                    continue;
                }
                kinds.push_back(static_cast<int>(kind));
            }
            done[i] = !capped;
            // The least used kinds first, the more natural first among equals.
            std::stable_sort(kinds.begin(), kinds.end(), [&](int a, int b) { return used[a] < used[b]; });
            if (kinds.size() > 1 && draws.Unit() < 0.5) std::swap(kinds[0], kinds[1]);
            for (std::size_t t = 0; t < kinds.size() && t < 3; ++t) {
                ++attempts;
                const auto kind = static_cast<EditKind>(kinds[t]);
                // The edit goes straight into `edited`; `kept` holds the kept state,
                // and only the part an edit touched is copied back either way.
                EditArea area;
                const bool applied = ApplyEdit(kind, region, scene, colours, edited, taken, gap, draws, area);
                const Verdict verdict = applied ? VerifyEdit(scene, edited, area, taken, fairness, gap) : Verdict{};
                const cv::Rect touched(area.touched.left, area.touched.top, area.touched.right - area.touched.left,
                                       area.touched.bottom - area.touched.top);
                if (!verdict.kept) {
                    if (touched.area() > 0) kept(touched).copyTo(edited(touched));
                    continue;
                }
                edited(touched).copyTo(kept(touched));
                taken.push_back(verdict.rect);
                result.edits.push_back(
                    {verdict.rect.left, verdict.rect.top, verdict.rect.right, verdict.rect.bottom, EditKindName(kind)});
                ++used[kinds[t]];
                break;
            }
            if (!going(15 + 70 * int(taken.size()) / options.differences))
                return Failed(MakeFailure::Cancelled, "cancelled");
        }
    }
    if (taken.empty()) return Failed(MakeFailure::TooFlat, "has no region where a fair difference could be made");
    std::stable_sort(result.edits.begin(), result.edits.end(),
                     [](const MadeEdit& a, const MadeEdit& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    result.differences = int(result.edits.size());
    if (result.differences < options.differences)
        result.detail = "made " + std::to_string(result.differences) + " of the " +
                        std::to_string(options.differences) + " differences asked for: no more fair ones were found";

    // The puzzle: the scene is the photo as it was, the photo pair holds the edits.
    static thread_local TPuzzleData record;
    record.Reset();
    TPuzzleSideValues side;
    TPictureSources sources;
    std::memcpy(record.Title, title->c_str(), title->size() + 1);
    std::memset(record.SectionName, 0, sizeof record.SectionName);
    std::memcpy(record.SectionName, section->c_str(), section->size() + 1);
    record.DiffCount = static_cast<std::int16_t>(result.edits.size());
    for (std::size_t i = 0; i < result.edits.size(); ++i) {
        const MadeEdit& e = result.edits[i];
        record.DiffRects[i] = {e.left, e.top, e.right, e.bottom};
    }
    auto store = [&](int pair, const QImage& image) {
        const QByteArray stream = Jpeg(image);
        sources[2 * pair] = {true, static_cast<std::int32_t>(stream.size()), Block(stream.begin(), stream.end())};
        record.PairSizes[pair] = {std::int16_t(image.width()), std::int16_t(image.height())};
    };
    const QImage scenePicture = ToImage(scene);
    store(0, scenePicture);
    store(kPairCount - 1, ToImage(edited));
    if (!going(90)) return Failed(MakeFailure::Cancelled, "cancelled");
    const std::array<QImage, 3> screens = ResultScreens(scenePicture, kResultSide);
    for (int k = 0; k < 3; ++k) store(k + 1, screens[k]);
    result.puzzle = SerializePuzzle(record, side, sources);
    going(100);
    return result;
}

}  // namespace vexa::authoring
