#include "model/model_file.h"

#include "log/load_context.h"
#include "log/log.h"
#include "platform/sys/sys.h"

namespace model_file {

Read readWhole(const char* path, std::uint32_t* size) {
    Read result;
    const loadctx::Scope scope(path ? path : "", "");
    sys::File file = sys::openForReading(path);
    if (!file.valid()) {
        pLog->printError("CreateFile - Invalid Handle Value");
        return result;
    }
    *size = sys::fileSize(file);
    if (*size == sys::kInvalidFileSize) {
        pLog->printError("GetFileSize - Invalid File Size");
        sys::closeFile(file);
        return result;
    }
    auto* block = static_cast<std::uint8_t*>(sys::allocateBlock(*size));
    if (!block) {
        pLog->printError("VirtualAlloc returned NULL");
        sys::closeFile(file);
        return result;
    }
    if (sys::readFile(file, block, *size) != *size) {
        pLog->printError("ReadFile didn't read requested Number of bytes");
        if (!sys::releaseBlock(block)) {
            pLog->printError("VirtualFree failed");
            result.unreleased = block;
        }
        sys::closeFile(file);
        return result;
    }
    sys::closeFile(file);
    result.block = block;
    return result;
}

}  // namespace model_file
