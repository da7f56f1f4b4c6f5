// The logs of one korvane-render run: "log.htm" in the working directory
// for the whole run, or with --log one file per body skin, each made the
// current log while its skin is applied and drawn (the start-up and the
// body's own load go into the first). Every ERROR line written is kept
// with what was being loaded and for whom (log/load_context.h), so that
// --strict can name the file that failed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "log/load_context.h"
#include "log/log.h"
#include "options.h"

namespace kr {

class RunLogs {
public:
    explicit RunLogs(const Options& options);
    ~RunLogs();
    RunLogs(const RunLogs&) = delete;
    RunLogs& operator=(const RunLogs&) = delete;

    // Makes the log of body skin `skin` current, closing the one before
    // when it is another file; false with a reason when it cannot be made.
    bool open(std::size_t skin, std::string& error);
    // Closes the current log (its footer is written).
    void close();

    // Every ERROR line of the logs written, in order, as
    // "LOG: ERROR: TEXT: FILE (ASKED BY); ..." (the file and who asked for
    // it when known); empty when there were none.
    std::vector<std::string> errorLines() const;

private:
    const Options& options_;
    std::unique_ptr<Log> log_;
    std::string path_;
    std::vector<std::string> errors_;
};

// One error line as --strict prints it: markup dropped, separators as '/'.
std::string strictLine(const std::string& logPath, const loadctx::Failure& failure);

}  // namespace kr
