// The two forms of korvane-check's findings: one line per finding
// (`error FILE: WHERE @0xOFFSET: MESSAGE`) or a JSON array of objects.
#pragma once

#include <string>
#include <vector>

#include "check/report.h"

namespace check {

std::string asText(const std::vector<Finding>& findings);
std::string asJson(const std::vector<Finding>& findings);

// The JSON array written a part at a time: begin(), items() for each batch
// of findings, optionally summary() as its last element, end().
class JsonArray {
public:
    std::string begin() const { return "["; }
    std::string items(const std::vector<Finding>& findings);
    std::string summary(const Report::Counts& counts);
    std::string end() const;

private:
    long long items_ = 0;
};

// "N files, E errors, W warnings" and its JSON object
// {"summary": {"files": N, "errors": E, "warnings": W, "notes": K}}.
std::string summaryLine(const Report::Counts& counts);
std::string summaryObject(const Report::Counts& counts);

}  // namespace check
