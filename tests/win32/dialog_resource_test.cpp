// The programs' resource scripts against the templates the shell would build
// in memory: korvane.rc's dialog 102 and tessaly.rc's dialog 101 must come
// out as the same dialog, field by field, or one of the two has drifted.
// windres writes the class names of common controls in capitals; the system
// compares class names without case, so these are compared the same way.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup_dialog.h"
#include "browser/browser_dialog.h"
#include "platform/win32/win32_shell.h"

namespace {

// A DLGTEMPLATE read back into text, one line per field, so a difference
// shows as the field that differs.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<std::uint16_t>& words) : w_(words) {}

    std::string describe() {
        std::ostringstream out;
        out << "style " << std::hex << dword() << " exstyle " << dword() << std::dec << '\n';
        const unsigned count = word();
        out << "rect " << word() << ',' << word() << ',' << word() << ',' << word() << '\n';
        out << "menu " << nameOrOrdinal(false) << " class " << nameOrOrdinal(false) << '\n';
        out << "caption " << text() << '\n';
        out << "font " << word() << ' ' << text() << '\n';
        for (unsigned i = 0; i < count && ok_; ++i) {
            if (pos_ % 2 != 0) ++pos_;  // each item starts on a DWORD
            out << "control style " << std::hex << dword() << " exstyle " << dword() << std::dec;
            out << " rect " << word() << ',' << word() << ',' << word() << ',' << word();
            out << " id " << word() << " class " << nameOrOrdinal(true) << " text " << nameOrOrdinal(false);
            out << " data " << word() << '\n';
        }
        if (!ok_) out << "(template ends early)\n";
        return out.str();
    }

private:
    unsigned word() {
        if (pos_ >= w_.size()) {
            ok_ = false;
            return 0;
        }
        return w_[pos_++];
    }
    std::uint32_t dword() {
        const std::uint32_t low = word();
        return low | (static_cast<std::uint32_t>(word()) << 16);
    }
    std::string text(bool foldCase = false) {
        std::string s;
        for (unsigned c = word(); c != 0 && ok_; c = word()) {
            s += static_cast<char>(foldCase ? std::tolower(static_cast<int>(c)) : static_cast<int>(c));
        }
        return '"' + s + '"';
    }
    std::string nameOrOrdinal(bool foldCase) {
        if (pos_ < w_.size() && w_[pos_] == 0xFFFF) {
            ++pos_;
            return "#" + std::to_string(word());
        }
        return text(foldCase);
    }

    const std::vector<std::uint16_t>& w_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

std::string describe(const std::vector<std::uint16_t>& words) { return TemplateReader(words).describe(); }

TEST(DialogResources, EachResourceScriptDescribesTheDialogOfItsTemplate) {
    for (const shell::DialogTemplate* t : {&StartupDialogTemplate, &browser::browserDialogTemplate()}) {
        SCOPED_TRACE(t->caption);
        const std::vector<std::uint16_t> linked = win32shell::dialogResourceWords(t->resourceId);
        ASSERT_FALSE(linked.empty()) << "no DIALOG resource " << t->resourceId;
        EXPECT_EQ(describe(linked), describe(win32shell::dialogTemplateWords(*t)));
    }
}

TEST(DialogResources, AProgramWithoutTheResourceHasNone) {
    EXPECT_TRUE(win32shell::dialogResourceWords(4242).empty());
}

}  // namespace
