// The shell on Win32: real windows, the system's message queue, dialogs
// from the program's resources or built from the shell's templates, the
// common controls SysTreeView32 and msctls_progress32, MessageBoxA and
// GetOpenFileNameA. Message, key and
// style codes are Win32's own, so they pass straight through.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/shell/shell.h"

namespace win32shell {

std::unique_ptr<shell::Shell> createWin32Shell();

// The DLGTEMPLATE the shell builds in memory from `tmpl`, and the program's
// DIALOG resource `id` (empty where it has none): the programs' resource
// scripts are checked against their templates with these.
std::vector<std::uint16_t> dialogTemplateWords(const shell::DialogTemplate& tmpl);
std::vector<std::uint16_t> dialogResourceWords(int id);

}  // namespace win32shell
