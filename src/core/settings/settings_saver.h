// Saves of the settings file may run on a worker thread of their own, one
// after another in the order they were asked for, so that copying a big file
// never holds up the window. Reads wait for the saves asked for before them.
#pragma once

#include <functional>

namespace vexa {

// Off (the default): every save runs at once on the caller's thread.
void SetSettingsSavesInBackground(bool on);

// Runs `save` now and returns its result, or queues it and returns true.
bool RunSettingsSave(std::function<bool()> save);

// Returns once every save queued so far has run.
void WaitForSettingsSaves();

}  // namespace vexa
