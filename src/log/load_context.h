// What was being loaded, and for whom, when the log gets an error line.
//
// The log's texts are fixed ("CreateFile - Invalid Handle Value",
// "CreateTextureFromFile failed") and name no file. Loaders open a Scope
// around each load: the file they read and who asked for it (a surface, a
// skin key). A program that wants to say which file failed (korvane-render
// --strict) installs a listener and gets every error line with the scopes
// open at that moment. Without a listener a scope keeps nothing; the log's
// own lines never change.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace loadctx {

struct Load {
    std::string file;     // may be empty: the scope only says who asks
    std::string askedBy;  // may be empty
};

struct Failure {
    std::string message;     // the error line's text as formatted (markup of the format kept)
    std::vector<Load> loads; // innermost first; a file repeated by the next scope out is merged into it

    // "FILE (ASKER); FILE (ASKER)", innermost first, empty parts left out;
    // empty when no scope was open.
    std::string describe() const;
};

class Scope {
public:
    Scope(const std::string& file, const std::string& askedBy);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    bool pushed_ = false;
};

using Listener = std::function<void(const Failure&)>;

// Installs the listener of every error line; an empty function removes it.
void setListener(Listener listener);
bool listening();

// Called by the log for each error line it writes.
void errorLogged(const std::string& message);

}  // namespace loadctx
