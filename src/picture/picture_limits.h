// The largest picture the player handles. The view cannot show more, so the
// decoder refuses to make more and the loader refuses to hold more.
#pragma once

#include <cstdint>

namespace vexa {

// 4096 x 4096 pixels, whatever the shape.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{4096} * 4096;

}  // namespace vexa
