// The two forms of korvane-check's findings: one line per finding
// (`error FILE: WHERE @0xOFFSET: MESSAGE`) or a JSON array of objects.
#pragma once

#include <string>
#include <vector>

#include "check/report.h"

namespace check {

std::string asText(const std::vector<Finding>& findings);
std::string asJson(const std::vector<Finding>& findings);

}  // namespace check
