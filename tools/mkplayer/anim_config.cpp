#include "mkplayer/anim_config.h"

#include "mkplayer/animation.h"

namespace mp {

std::string animConfig() {
    const std::string walk = std::to_string(kWalkFrames);
    const std::string turn = std::to_string(kTurnFrames);
    return "// Animations of the demo soldier \"infantryss\", frames of body.mds.\n"
           "version 2\n"
           "skeletal\n"
           "sex male\n"
           "footsteps boot\n"
           "\n"
           "STARTANIMS\n"
           "/* name  first  frames  loop  fps  moveSpeed  [animBlend  priority]\n"
           "   loop: the last frames that repeat; 0 holds the last frame */\n"
           "walk     0      " + walk + "      " + walk + "    20   90\n"
           "idle     " + walk + "     " + turn + "      " + turn + "    10   0          250         1\n"
           "ENDANIMS\n";
}

}  // namespace mp
