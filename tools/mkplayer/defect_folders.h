// Player folders with one defect each (and layouts the checker once
// misread), for the tests of korvane-check and korvane-render and for
// trying them by hand: the demo player written below BASE/NAME, then
// changed in one way.
//
// The player is BASE/NAME/models/players/infantryss; the game folder of a
// row that needs one is BASE/NAME/game. Each row names what korvane-check
// gives for the folder (its one finding above a note: id, file relative to
// the model's folder, where) and whether korvane-render --strict fails on
// it, with a text its line then holds (the file that failed).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace mp {

struct FolderDefect {
    std::string name;
    std::string what;  // one line: the change
    std::function<bool(const std::string& model, const std::string& game)> change;
    bool gameDir = false;  // both programs are run with --game-dir BASE/NAME/game
    std::string id;        // korvane-check's finding above a note; empty: none
    std::string severity;  // "error" or "warning"
    std::string file;      // its file, relative to the model's folder
    std::string where;     // the start of its where
    bool strictFails = false;
    std::string strictNames;  // a text the --strict line holds
};

std::vector<FolderDefect> folderDefects();

// Writes the demo player below base/d.name and changes it; false with the
// reason when a file cannot be written.
bool writeFolderDefect(const std::string& base, const FolderDefect& d, std::string& error);

}  // namespace mp
