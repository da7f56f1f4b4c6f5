// fuzz_anim: animation configs of every form the reader takes (named rows,
// version 1's 130 rows by position, optional columns, comments, quotes, head
// rows) and a few broken ones.
#include <string>

#include "mkseeds/seeds.h"
#include "modelgen/bytes.h"

namespace seeds {

bool anim(const std::string& dir) {
    bool ok = true;
    auto write = [&](const std::string& name, const std::string& text) { ok &= mg::writeFile(dir + "/" + name, text); };
    write("full.cfg",
          "// soldier\nVERSION 2 /* two\nlines */ Skeletal footsteps \"boot\" headoffset 1.5 -2 0 sex male\n"
          "STARTANIMS\n\"Walk Slow\" 10 20 20 15.9 90\nidle 30 8 0 0.5 0 250\nrun 38 12 4 30 150.5 200 -3\n"
          "ENDANIMS\nHEADFRAMES\ntalk 0 4 0\n5 2 1 1.5\n");
    // Version 1 as the game reads it: 130 rows by position, then head rows.
    std::string v1 = "version 1\r\nskeletal\r\n";
    for (int i = 0; i < 130; ++i) v1 += std::to_string(i) + " 5 5 10 0\r\n";
    write("version1.cfg", v1 + "HEADFRAMES\r\nhead_idle 130 5\r\nblink 135 2 0\r\n");
    write("empty_list.cfg", "STARTANIMS ENDANIMS");
    write("long_loop.cfg", "version 2 startanims\nback 0 2 9 10 0\nbig 4000000000 2147483647 0 1e9 -0.0\nendanims");
    write("broken_row.cfg", "version 2\nstartanims\nwalk 0 20\n20 15 0\nendanims");
    write("open_comment.cfg", "version 2 /* never closed\nstartanims");
    write("open_quote.cfg", "sex \"male\nstartanims endanims");
    return ok;
}

}  // namespace seeds
