// shell::Shell over the plain Win32 calls of win32_calls.h. The shell's HWND
// and HTREEITEM values are the system's handles.
#include "platform/win32/win32_shell.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/win32/win32_calls.h"

namespace win32shell {
namespace {

HWND toHwnd(w32::Handle p) { return reinterpret_cast<HWND>(p); }
w32::Handle toHandle(HWND h) { return reinterpret_cast<w32::Handle>(h); }
shell::HTREEITEM toItem(w32::Handle p) { return reinterpret_cast<shell::HTREEITEM>(p); }
w32::Handle fromItem(shell::HTREEITEM i) { return reinterpret_cast<w32::Handle>(i); }

// The shell's dialog template in the plain types of win32_calls.h.
class SystemTemplate {
public:
    explicit SystemTemplate(const shell::DialogTemplate& t)
        : controls_(new w32::Control[t.controlCount]),
          template_{t.resourceId, t.caption, t.style, t.fontName, t.pointSize, t.cx, t.cy, controls_.get(),
                    t.controlCount} {
        for (std::size_t i = 0; i < t.controlCount; ++i) {
            const shell::DialogControl& c = t.controls[i];
            controls_[i] = w32::Control{static_cast<w32::ControlKind>(static_cast<int>(c.cls)),
                                        c.id, c.text, c.x, c.y, c.cx, c.cy, c.style};
        }
    }
    const w32::Template& get() const { return template_; }

private:
    std::unique_ptr<w32::Control[]> controls_;
    w32::Template template_;
};

class Tree final : public shell::TreeControl {
public:
    explicit Tree(w32::Handle hwnd) : hwnd_(hwnd) {}
    shell::HTREEITEM insertItem(shell::HTREEITEM parent, shell::HTREEITEM after, const char* text, LPARAM param,
                                bool hasChildren) override {
        return toItem(w32::treeInsert(hwnd_, fromItem(parent), fromItem(after), text, param, hasChildren));
    }
    void deleteAllItems() override { w32::treeDeleteAll(hwnd_); }
    void expand(shell::HTREEITEM item, UINT action) override { w32::treeExpand(hwnd_, fromItem(item), action); }
    UINT itemState(shell::HTREEITEM item) override { return w32::treeItemState(hwnd_, fromItem(item)); }

private:
    w32::Handle hwnd_;
};

class Progress final : public shell::ProgressControl {
public:
    explicit Progress(w32::Handle hwnd) : hwnd_(hwnd) {}
    void setRange32(int low, int high) override { w32::progressSetRange32(hwnd_, low, high); }
    void setPos(int pos) override { w32::progressSetPos(hwnd_, pos); }

private:
    w32::Handle hwnd_;
};

struct DialogProcBox {
    shell::DLGPROC proc;
};

class Win32Shell;
Win32Shell* g_shell = nullptr;

class Win32Shell final : public shell::Shell {
public:
    Win32Shell() {
        g_shell = this;
        w32::setWindowCallback(&Win32Shell::windowMessage);
    }
    ~Win32Shell() override {
        w32::setWindowCallback(nullptr);
        g_shell = nullptr;
    }

    bool registerClass(const shell::WNDCLASS& wc) override {
        if (wc.lpszClassName == nullptr || !w32::registerClass(wc.style, wc.lpszClassName)) return false;
        classes_[wc.lpszClassName] = wc.lpfnWndProc;
        return true;
    }
    HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                      int height) override {
        const auto it = classes_.find(className != nullptr ? className : "");
        // Messages sent while the window is made go to the class's procedure.
        pending_ = it != classes_.end() ? it->second : nullptr;
        const w32::Handle h = w32::createWindow(exStyle, className, title, style, x, y, width, height);
        if (h != nullptr && pending_ != nullptr) procs_[h] = pending_;
        pending_ = nullptr;
        return toHwnd(h);
    }
    void showWindow(HWND hwnd, int cmdShow) override { w32::showWindow(toHandle(hwnd), cmdShow); }
    void setForegroundWindow(HWND hwnd) override { w32::setForegroundWindow(toHandle(hwnd)); }
    bool destroyWindow(HWND hwnd) override { return w32::destroyWindow(toHandle(hwnd)); }
    bool getClientRect(HWND hwnd, RECT* rect) override {
        std::int32_t r[4];
        if (rect == nullptr || !w32::getClientRect(toHandle(hwnd), r)) return false;
        *rect = RECT{r[0], r[1], r[2], r[3]};
        return true;
    }
    void setCapture(HWND hwnd) override { w32::setCapture(toHandle(hwnd)); }
    void releaseCapture() override { w32::releaseCapture(); }
    void validateRect(HWND hwnd, const RECT* rect) override {
        if (rect == nullptr) return w32::validateRect(toHandle(hwnd), nullptr);
        const std::int32_t r[4] = {rect->left, rect->top, rect->right, rect->bottom};
        w32::validateRect(toHandle(hwnd), r);
    }
    void redrawWindow(HWND hwnd) override { w32::redrawWindow(toHandle(hwnd)); }
    bool getCursorPos(POINT* point) override {
        std::int32_t p[2];
        if (point == nullptr || !w32::getCursorPos(p)) return false;
        *point = POINT{p[0], p[1]};
        return true;
    }

    bool peekMessage(shell::MSG* msg) override {
        w32::Message m{};
        if (!w32::peekMessage(&m)) return false;
        *msg = shell::MSG{toHwnd(m.hwnd), m.message, m.wParam, m.lParam};
        return true;
    }
    // The queue keeps the full message of the last peek; that one is
    // translated and dispatched.
    void translateMessage(const shell::MSG*) override { w32::translateLastMessage(); }
    LRESULT dispatchMessage(const shell::MSG*) override { return w32::dispatchLastMessage(); }
    void postQuitMessage(int exitCode) override { w32::postQuitMessage(exitCode); }
    LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        return w32::defWindowProc(toHandle(hwnd), msg, wParam, lParam);
    }

    INT_PTR dialogBox(const shell::DialogTemplate& t, HWND owner, shell::DLGPROC proc) override;
    bool endDialog(HWND dialog, INT_PTR result) override { return w32::endDialog(toHandle(dialog), result); }
    bool setDlgItemText(HWND dialog, int id, const char* text) override {
        return w32::setDlgItemText(toHandle(dialog), id, text);
    }
    UINT getDlgItemText(HWND dialog, int id, char* buffer, int maxCount) override {
        return w32::getDlgItemText(toHandle(dialog), id, buffer, maxCount);
    }
    shell::TreeControl* treeControl(HWND dialog, int id) override {
        const w32::Handle item = w32::dlgItem(toHandle(dialog), id);
        if (item == nullptr) return nullptr;
        auto& slot = trees_[item];
        if (!slot) slot = std::make_unique<Tree>(item);
        return slot.get();
    }
    shell::ProgressControl* progressControl(HWND dialog, int id) override {
        const w32::Handle item = w32::dlgItem(toHandle(dialog), id);
        if (item == nullptr) return nullptr;
        auto& slot = bars_[item];
        if (!slot) slot = std::make_unique<Progress>(item);
        return slot.get();
    }

    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override {
        return w32::messageBox(toHandle(owner), text, caption, type);
    }
    bool getOpenFileName(shell::OPENFILENAME* o) override {
        if (o == nullptr) return false;
        w32::OpenFile f{toHandle(o->hwndOwner), o->lpstrFilter, o->nFilterIndex, o->lpstrFile, o->nMaxFile,
                        o->lpstrInitialDir, o->lpstrTitle, o->Flags, o->lpstrDefExt};
        return w32::getOpenFileName(&f);
    }
    DWORD commDlgExtendedError() override { return w32::commDlgExtendedError(); }

private:
    static std::intptr_t windowMessage(w32::Handle h, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
        shell::WNDPROC proc = nullptr;
        if (g_shell != nullptr) {
            const auto it = g_shell->procs_.find(h);
            proc = it != g_shell->procs_.end() ? it->second : g_shell->pending_;
        }
        if (proc == nullptr) return w32::defWindowProc(h, msg, wParam, lParam);
        const LRESULT r = proc(toHwnd(h), msg, wParam, lParam);
        if (msg == shell::WM_DESTROY && g_shell != nullptr) g_shell->procs_.erase(h);
        return r;
    }
    static std::intptr_t dialogMessage(void* context, w32::Handle dialog, unsigned msg, std::uintptr_t wParam,
                                       std::intptr_t lParam);

    std::map<std::string, shell::WNDPROC> classes_;
    std::map<w32::Handle, shell::WNDPROC> procs_;
    shell::WNDPROC pending_ = nullptr;
    std::map<w32::Handle, std::unique_ptr<Tree>> trees_;
    std::map<w32::Handle, std::unique_ptr<Progress>> bars_;
};

std::intptr_t Win32Shell::dialogMessage(void* context, w32::Handle dialog, unsigned msg, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
    const shell::DLGPROC proc = static_cast<const DialogProcBox*>(context)->proc;
    if (msg != shell::WM_NOTIFY) return proc(toHwnd(dialog), msg, wParam, lParam);
    // The tree's expanding notification, in the shell's form.
    const auto* n = reinterpret_cast<const w32::TreeNotify*>(lParam);
    shell::NMTREEVIEW tv{n->code, n->idFrom, n->action, toItem(n->item), n->state, n->lParam};
    return proc(toHwnd(dialog), msg, wParam, reinterpret_cast<LPARAM>(&tv));
}

INT_PTR Win32Shell::dialogBox(const shell::DialogTemplate& t, HWND owner, shell::DLGPROC proc) {
    const SystemTemplate st(t);
    DialogProcBox box{proc};
    const INT_PTR r = w32::dialogBox(st.get(), toHandle(owner), &Win32Shell::dialogMessage, &box);
    // The dialog's controls are gone with it.
    trees_.clear();
    bars_.clear();
    return r;
}

}  // namespace

std::unique_ptr<shell::Shell> createWin32Shell() { return std::make_unique<Win32Shell>(); }

std::vector<std::uint16_t> dialogTemplateWords(const shell::DialogTemplate& tmpl) {
    return w32::dialogTemplateWords(SystemTemplate(tmpl).get());
}

std::vector<std::uint16_t> dialogResourceWords(int id) { return w32::dialogResourceWords(id); }

}  // namespace win32shell
