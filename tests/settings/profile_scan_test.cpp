// The scan sees a file in pieces of whatever size a read returns: every
// piece size gives what the file in one piece gives.
#include "settings/profile_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace vexa {
namespace {

struct TOutcome {
    bool headerFound = false;
    bool keyFound = false;
    std::string headerName;
    std::string value;
    std::uint64_t begin = 0, end = 0;
    std::string insert;
    bool operator==(const TOutcome&) const = default;
};

TOutcome ScanInPieces(const std::string& text, std::size_t piece, bool zerosAsHoles) {
    TProfileScan scan("abc", "DStrs");
    bool going = true;
    for (std::size_t pos = 0; going && pos < text.size(); pos += piece) {
        const std::string_view part = std::string_view(text).substr(pos, piece);
        // A piece of zero bytes may come as a hole of a sparse file.
        going = zerosAsHoles && part.find_first_not_of('\0') == std::string_view::npos ? scan.FeedZeros(part.size())
                                                                                       : scan.Feed(part);
    }
    if (going) scan.Finish();
    const TProfileScan::TEdit edit = scan.EditFor("v");
    return {scan.HeaderFound(), scan.KeyFound(), scan.HeaderName(), scan.Value(), edit.Begin, edit.End, edit.Insert};
}

TEST(ProfileScan, EveryPieceSizeGivesTheSameOutcome) {
    const std::string zeros(40, '\0');
    const std::string texts[] = {
        "[abc]\r\nDStrs=v1\r\n",
        "[abc]\r\nDStrs= 'v1' \r\n[x]\r\n",
        "[abc]\r\nDStrs=v1\r",
        "[abc]\r\nDStrs=a\rb\r\r\nX=1",
        "[ABC ]  \r\n  dstrs  =  \"q\"\r\n",
        "[a]bc]\r\n[abc]x]\r\n[abc]\rK=1\r\n",
        "[abc\r\nDStrs=no\r\n[abc]\nK=1\nL=2\n[d]\nDStrs=no\n",
        "; [abc]\r\n[abc]\r\n;DStrs=no\r\nDStrs=\r\n",
        "[ab" + zeros + "c]\r\n[abc]\r\n" + zeros + "=1\r\nDStrs=" + zeros + "\r\n",
        zeros + "\r\n[abc]\r\nDStrs=v" + zeros,
        "[abc]\r\nK=1\r\n[abc]\r\nDStrs=second\r\n",
        "[abc]" + std::string(30, ' ') + "\r\n" + std::string(30, ' ') + "DStrs" + std::string(30, '\t') + "=v\r\n",
        "",
        "\r",
        "[abc]",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const TOutcome whole = ScanInPieces(text, text.size() + 1, false);
        for (const std::size_t piece : {1u, 2u, 3u, 5u, 8u, 13u}) {
            SCOPED_TRACE(piece);
            EXPECT_EQ(ScanInPieces(text, piece, false), whole);
            EXPECT_EQ(ScanInPieces(text, piece, true), whole);
        }
    }
}

}  // namespace
}  // namespace vexa
