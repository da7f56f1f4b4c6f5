#include "platform/wgl/wgl_context.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <GL/gl.h>
#include <GL/wglext.h>

#include <cstdint>

namespace wglcontext {
namespace {

constexpr const wchar_t* kClassName = L"KorvaneOffscreenGL";

HWND windowOf(void* w) { return static_cast<HWND>(w); }
HDC dcOf(void* dc) { return static_cast<HDC>(dc); }
HGLRC contextOf(void* c) { return static_cast<HGLRC>(c); }

bool registerClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<Context> Context::create(std::string& why) {
    std::unique_ptr<Context> context(new Context);
    if (!context->open(why)) return nullptr;
    return context;
}

bool Context::open(std::string& why) {
    // The window only lends its device context; drawing goes into a
    // framebuffer object.
    if (!registerClass()) {
        why = "the hidden window's class cannot be registered";
        return false;
    }
    HWND hwnd = ::CreateWindowExW(0, kClassName, L"korvane-render", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        why = "the hidden window cannot be created";
        return false;
    }
    window_ = hwnd;
    HDC dc = ::GetDC(hwnd);
    dc_ = dc;
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    pfd.cStencilBits = 8;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = dc != nullptr ? ::ChoosePixelFormat(dc, &pfd) : 0;
    if (format == 0 || !::SetPixelFormat(dc, format, &pfd)) {
        why = "the system's OpenGL offers no pixel format";
        return false;
    }
    // A first, plain context is what lends wglCreateContextAttribsARB.
    HGLRC plain = ::wglCreateContext(dc);
    if (plain == nullptr || !::wglMakeCurrent(dc, plain)) {
        if (plain != nullptr) ::wglDeleteContext(plain);
        why = "the system's OpenGL cannot make a context";
        return false;
    }
    auto createContext =
        reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(::wglGetProcAddress("wglCreateContextAttribsARB"));
    const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 3, WGL_CONTEXT_MINOR_VERSION_ARB, 3,
                              WGL_CONTEXT_PROFILE_MASK_ARB, WGL_CONTEXT_CORE_PROFILE_BIT_ARB, 0};
    HGLRC core = createContext != nullptr ? createContext(dc, nullptr, attributes) : nullptr;
    ::wglMakeCurrent(nullptr, nullptr);
    ::wglDeleteContext(plain);
    if (core == nullptr) {
        why = "the system's OpenGL cannot make an OpenGL 3.3 core context (a graphics driver with OpenGL 3.3 is needed)";
        return false;
    }
    context_ = core;
    library_ = ::GetModuleHandleW(L"opengl32.dll");
    if (!makeCurrent()) {
        why = "the OpenGL context cannot be made current";
        return false;
    }
    return true;
}

Context::~Context() {
    if (context_ != nullptr) {
        if (::wglGetCurrentContext() == contextOf(context_)) ::wglMakeCurrent(nullptr, nullptr);
        ::wglDeleteContext(contextOf(context_));
    }
    if (dc_ != nullptr) ::ReleaseDC(windowOf(window_), dcOf(dc_));
    if (window_ != nullptr) ::DestroyWindow(windowOf(window_));
}

bool Context::makeCurrent() {
    if (context_ == nullptr) return false;
    if (::wglGetCurrentContext() == contextOf(context_)) return true;
    return ::wglMakeCurrent(dcOf(dc_), contextOf(context_)) != FALSE;
}

void Context::release() { ::wglMakeCurrent(nullptr, nullptr); }

void* Context::procAddress(const char* name) {
    // Some drivers answer 1, 2, 3 or -1 for "none".
    const PROC proc = ::wglGetProcAddress(name);
    const auto value = reinterpret_cast<std::intptr_t>(proc);
    if (proc != nullptr && value != 1 && value != 2 && value != 3 && value != -1) return reinterpret_cast<void*>(proc);
    if (library_ == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library_), name));
}

}  // namespace wglcontext
