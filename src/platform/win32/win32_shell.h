// The shell on Win32: real windows, the system's message queue, dialogs
// built from the shell's templates, the common controls SysTreeView32 and
// msctls_progress32, MessageBoxA and GetOpenFileNameA. Message, key and
// style codes are Win32's own, so they pass straight through.
#pragma once

#include <memory>

#include "platform/shell/shell.h"

namespace win32shell {

std::unique_ptr<shell::Shell> createWin32Shell();

}  // namespace win32shell
