// The command line and standard streams on Windows: the arguments come from
// the wide-character command line as UTF-8, output is written in binary
// mode, and the console's output code page is UTF-8.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sys/command_line.h"
#include "platform/sys/win32_text.h"

namespace sys {

void useUtf8CommandLine(int& argc, char**& argv) {
    // Kept for the life of the process, as the runtime keeps its own argv.
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    int n = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n)) {
        texts.clear();
        for (int i = 0; i < n; ++i) texts.push_back(win32::utf8(wide[i]));
        ::LocalFree(wide);
        pointers.clear();
        for (std::string& text : texts) pointers.push_back(text.data());
        pointers.push_back(nullptr);
        argc = n;
        argv = pointers.data();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    // The console's own code page comes back when the program ends.
    static UINT before = ::GetConsoleOutputCP();
    if (before != 0 && before != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { ::SetConsoleOutputCP(before); });
}

bool isTerminal(std::FILE* stream) { return stream != nullptr && ::_isatty(::_fileno(stream)) != 0; }

}  // namespace sys
