// Where a path that is not on disk is found in the .pk3 archives.
//
// Two forms:
// - ARCHIVE.pk3:member/path names a member of one archive file directly.
// - Any other path is looked up in the archives of its nearest existing
//   ancestor directory that holds any *.pk3: the rest of the path below that
//   directory is the member name. So "<game>/main/models/players/x/body.mds"
//   finds "models/players/x/body.mds" in "<game>/main/*.pk3".
// In both, '\' and '/' separate, ASCII letter case is ignored and the rest
// may not climb out with "..".
#pragma once

#include <string>

#include "platform/sys/archive_index.h"

namespace sys::archive {

// The member `path` names under the rules above; false when none does.
// Callers try the disk first: this does not.
bool findMember(const std::string& path, MemberRef& out);

}  // namespace sys::archive
