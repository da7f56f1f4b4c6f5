// Watches the insertions a tree view control receives, as the control sees
// them (plain types: the shell's names and <windows.h> never meet).
#pragma once

#include <cstdint>
#include <vector>

namespace probe {

struct TreeInsert {
    std::intptr_t param;
    int children;  // cChildren when the mask carries TVIF_CHILDREN, else -1
};

// Starts recording every TVM_INSERTITEMA sent to the tree window.
void watchTreeInserts(void* tree);
const std::vector<TreeInsert>& treeInserts();

}  // namespace probe
