// The checker writes its findings with the catalogue of src/formats, so
// that the readers and the checker name one defect alike.
#pragma once

#include "formats/diagnostics.h"

namespace check {

using formats::defaultSeverity;
using formats::Finding;
using formats::hex;
using formats::Id;
using formats::idName;
using formats::quoted;
using formats::Report;
using formats::Severity;
using formats::severityName;
using formats::strf;

}  // namespace check
