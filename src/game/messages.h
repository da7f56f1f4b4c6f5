// What the character files' readers report: one line per finding, in the
// game's own form "ERROR: FILE, line N: MESSAGE", and the same as data (an
// id of the one catalogue, src/formats/diagnostics.h, its severity, the
// file as the game names it, the line from 1, 0 when none). Tests assert
// ids, files and lines, not the wording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/diagnostics.h"

namespace game {

using formats::Id;
using formats::Severity;

struct Message {
    Id id;
    Severity severity;
    std::string file;
    std::uint32_t line = 0;
    std::string message;

    // "ERROR: characters/x.char, line 3: unknown key 'meshx'" (WARNING,
    // NOTE; no ", line N" part for line 0).
    std::string text() const;
};

using Messages = std::vector<Message>;

// Appends a finding with the id's own severity, or the one given.
void report(Messages& out, Id id, std::string file, std::uint32_t line, std::string message);
void report(Messages& out, Id id, Severity severity, std::string file, std::uint32_t line, std::string message);

// A name as messages quote it: 'name', bytes outside printable ASCII as
// \xNN, at most 80 characters shown.
std::string quote(const std::string& name);

}  // namespace game
