#include "tree_insert_probe.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>

namespace probe {
namespace {

WNDPROC g_previous = nullptr;
std::vector<TreeInsert> g_inserts;

LRESULT CALLBACK watch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TVM_INSERTITEMA) {
        const auto* ins = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
        g_inserts.push_back({ins->item.lParam, (ins->item.mask & TVIF_CHILDREN) != 0 ? ins->item.cChildren : -1});
    }
    return ::CallWindowProcA(g_previous, hwnd, msg, wParam, lParam);
}

}  // namespace

void watchTreeInserts(void* tree) {
    g_inserts.clear();
    g_previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(static_cast<HWND>(tree), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watch)));
}

const std::vector<TreeInsert>& treeInserts() { return g_inserts; }

}  // namespace probe
