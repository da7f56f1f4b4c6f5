// Seeds of fuzz_check: the clean twins and every one-defect file.
#include "mkseeds/seeds.h"
#include "modelgen/defects.h"

namespace seeds {

bool check(const std::string& dir) {
    bool ok = mg::writeFile(dir + "/clean.mds", mg::cleanMds()) && mg::writeFile(dir + "/clean.mdc", mg::cleanMdc());
    for (const auto& twin : mg::familyCleanTwins()) ok = mg::writeFile(dir + "/" + twin.name, twin.bytes) && ok;
    for (const auto& list : {mg::mdsDefects(), mg::mdcDefects(), mg::familyDefects()})
        for (const auto& d : list) ok = mg::writeFile(dir + "/" + d.name, d.bytes) && ok;
    return ok;
}

}  // namespace seeds
