#include "model/model_file.h"

#include "log/load_context.h"
#include "log/log.h"
#include "platform/sys/whole_file.h"

namespace model_file {

Read readWhole(const char* path, std::uint32_t* size) {
    Read result;
    const loadctx::Scope scope(path ? path : "", "");
    sys::WholeFile file = sys::readWholeFile(path);
    if (file.failed != sys::ReadStep::Open) *size = file.size;
    switch (file.failed) {
    case sys::ReadStep::Done: result.block = file.bytes.release(); break;
    case sys::ReadStep::Open: pLog->printError("CreateFile - Invalid Handle Value"); break;
    case sys::ReadStep::Size:
    case sys::ReadStep::TooLarge: pLog->printError("GetFileSize - Invalid File Size"); break;
    case sys::ReadStep::Memory: pLog->printError("VirtualAlloc returned NULL"); break;
    case sys::ReadStep::Read:
        pLog->printError("ReadFile didn't read requested Number of bytes");
        if (file.releaseFailed) {
            pLog->printError("VirtualFree failed");
            result.unreleased = file.bytes.release();
        }
        break;
    }
    return result;
}

}  // namespace model_file
