// An OpenGL 3.3 core context on the device context of a window that is
// never shown (WGL). Only wgl_context.cpp includes <windows.h>, whose types
// and our stand-ins' (src/platform/wintypes.h) cannot meet in one file;
// handles travel as void*.
#pragma once

#include <memory>
#include <string>

namespace wglcontext {

class Context {
public:
    // Null with a one-line reason in `why` when the hidden window, a pixel
    // format or an OpenGL 3.3 core context cannot be had.
    static std::unique_ptr<Context> create(std::string& why);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    bool makeCurrent();
    // Lets go of the context on this thread.
    void release();
    // An entry point of the context: past OpenGL 1.1 from
    // wglGetProcAddress, the 1.1 ones from opengl32.dll; null when none.
    void* procAddress(const char* name);

private:
    Context() = default;
    bool open(std::string& why);

    void* window_ = nullptr;   // HWND
    void* dc_ = nullptr;       // HDC
    void* context_ = nullptr;  // HGLRC
    void* library_ = nullptr;  // HMODULE of opengl32.dll
};

}  // namespace wglcontext
