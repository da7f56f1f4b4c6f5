// Whether every reader of a model file agrees on which files are damaged:
// for MDS and MDC, the walk that stops at the first defect a reader cannot
// read past accepts the file exactly when the walk that collects every
// finding reports none that stops that reader, and the programs built on
// them (the viewer's loaders, the browser's resolve, the MDC structure
// printer) accept exactly what their walk accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace agreement {

// Empty when all agree on `data`; otherwise one line per disagreement.
// `path` names a file holding the same bytes (the viewer loads from files).
std::string disagreements(const std::uint8_t* data, std::size_t size, const std::string& path);

}  // namespace agreement
