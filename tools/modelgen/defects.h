// Model files with exactly one defect each, and their clean twins, for the
// checker's tests and for trying korvane-check and mdstree by hand.
//
// Each defect names the finding a checker should give for it: the id (as
// korvane-check prints it in --json), the record and field path and the
// byte offset of that field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/identify.h"
#include "modelgen/bytes.h"

namespace mg {

struct Defect {
    std::string name;     // short, usable as a file name
    bool mdc = false;     // an MDC file
    formats::Format format = formats::Format::Mds;
    Bytes bytes;
    std::string id;       // the expected finding
    std::string where;
    std::int64_t offset;  // -1 when the finding has none
};

// The clean twins: every value in range, weights adding up to 1, lists
// apart, the header's end offset at the file's end.
Bytes cleanMds();
Bytes cleanMdc();

std::vector<Defect> mdsDefects();
std::vector<Defect> mdcDefects();
// The clean MD3, MDM and MDX twins (a nodding head, a small skinned body
// and its skeleton) and their one-defect files.
std::vector<Defect> familyCleanTwins();
std::vector<Defect> familyDefects();

}  // namespace mg
