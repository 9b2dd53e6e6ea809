// The hint shown in the status bar's message field for a command id.
#pragma once

#include <QString>

namespace vexa {

// The hint for `id`; an id without one gives an empty text.
QString HintText(int id);

}  // namespace vexa
