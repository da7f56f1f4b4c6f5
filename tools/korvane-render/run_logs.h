// The logs of one korvane-render run: "log.htm" in the working directory
// for the whole run, or with --log one file per body skin, each made the
// current log while its skin is applied and drawn (the start-up and the
// body's own load go into the first). With --strict their ERROR lines are
// read back afterwards.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "log/log.h"
#include "options.h"

namespace kr {

class RunLogs {
public:
    explicit RunLogs(const Options& options) : options_(options) {}
    ~RunLogs() { close(); }
    RunLogs(const RunLogs&) = delete;
    RunLogs& operator=(const RunLogs&) = delete;

    // Makes the log of body skin `skin` current, closing the one before
    // when it is another file; false with a reason when it cannot be made.
    bool open(std::size_t skin, std::string& error);
    // Closes the current log (its footer is written).
    void close();

    // Every ERROR line of the logs written, as plain text prefixed with the
    // log's name; empty when there were none.
    std::vector<std::string> errorLines() const;

private:
    const Options& options_;
    std::unique_ptr<Log> log_;
    std::string path_;
    std::vector<std::string> written_;
};

}  // namespace kr
