// The rules the checker adds to the structure walk of src/formats: values
// that refer to other records, and the game's limits.
#pragma once

#include <cstdint>
#include <string>

#include "check/limits.h"
#include "check/report.h"

namespace check {

// Vertex and triangle counts of one surface against the game's limits.
void surfaceLimits(Report& report, const Limits& limits, std::int64_t vertices, std::int64_t triangles,
                   const std::string& label, std::int64_t vertexField, std::int64_t triangleField);
// A model-wide count against one limit of both games.
void modelLimit(Report& report, std::int64_t value, std::int64_t limit, const char* what, const std::string& where,
                std::int64_t fieldOffset);
// A bone index that must name one of the model's bones.
void boneIndex(Report& report, std::int32_t value, std::int32_t numBones, const std::string& where, std::int64_t at,
               const std::string& list);

}  // namespace check
