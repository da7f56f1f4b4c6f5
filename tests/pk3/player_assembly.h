// The demo player for the .pk3 test and benchmark: written loose into one
// folder and packed into pak0.pk3 of another, then assembled by the
// viewer's own entry steps (start-up dialog defaults) in either folder.
#pragma once

#include <string>

namespace pk3_fixture {

// Writes the demo player below `looseDir` and the same files, and only
// them, into `packedDir`/pak0.pk3. False (with a reason) when that fails.
bool writePlayerBothWays(const std::string& looseDir, const std::string& packedDir, std::string* error);

struct Assembly {
    std::string report;     // log.htm's body without the renderer's address line
    int liveResources = -1; // device resources still alive after shutdown
};

// Starts the viewer in `dir` on the fake shell and the recording device,
// assembles the model with the dialog's defaults and shuts down.
Assembly assembleIn(const std::string& dir);

}  // namespace pk3_fixture
