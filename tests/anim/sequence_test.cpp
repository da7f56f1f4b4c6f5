// The game's loop rule as frame sequences: wrapping into the last
// loopFrames frames, holding the last frame, and how an animated file with
// only a whole-file loop count carries each case.
#include <gtest/gtest.h>

#include "anim/frame_sequence.h"

namespace {

anim::Animation make(std::uint32_t first, std::uint32_t count, std::uint32_t loop, std::uint32_t fps) {
    anim::Animation a;
    a.name = "a";
    a.firstFrame = first;
    a.numFrames = count;
    a.loopFrames = loop;
    a.fps = fps;
    return a;
}

using Frames = std::vector<std::int64_t>;

TEST(FrameSequence, StepsWrapIntoTheLoopPartOrHoldTheLastFrame) {
    const anim::Animation intro = make(100, 5, 2, 10);  // 100..104, then 103 104 103 ...
    Frames steps;
    for (std::uint64_t s = 0; s < 9; ++s) steps.push_back(anim::frameAtStep(intro, s));
    EXPECT_EQ(steps, (Frames{100, 101, 102, 103, 104, 103, 104, 103, 104}));
    EXPECT_EQ(anim::frameAtStep(make(7, 3, 0, 10), 50), 9);        // held
    EXPECT_EQ(anim::frameAtStep(make(7, 3, 3, 10), 4), 8);         // whole range loops
    EXPECT_EQ(anim::frameAtStep(make(0, 2, 4, 10), 2), -2);        // a loop longer than the range reaches back
    EXPECT_EQ(anim::spanOf(make(0, 2, 4, 10)).low, -2);
    EXPECT_EQ(anim::spanOf(intro).low, 100);
    EXPECT_EQ(anim::spanOf(intro).high, 104);
}

TEST(FrameSequence, ClipsForAWholeFileLoopCount) {
    const anim::Clip loop = anim::clipOf(make(0, 4, 4, 20));
    EXPECT_EQ(loop.frames, (Frames{0, 1, 2, 3}));
    EXPECT_EQ(loop.loopCount, 0);
    EXPECT_EQ(loop.frameMilliseconds, 50u);

    const anim::Clip once = anim::clipOf(make(10, 3, 0, 3));
    EXPECT_EQ(once.frames, (Frames{10, 11, 12}));
    EXPECT_EQ(once.loopCount, 1);
    EXPECT_EQ(once.frameMilliseconds, 333u);

    // Intro of two frames, loop part of two, 100 ms each: repeated loops up
    // to at least 1 s, whole loops only.
    const anim::Clip intro = anim::clipOf(make(0, 4, 2, 10), 1000);
    EXPECT_EQ(intro.frames, (Frames{0, 1, 2, 3, 2, 3, 2, 3, 2, 3}));
    EXPECT_EQ(intro.loopCount, 0);
    // A frame cap still ends on a whole loop.
    EXPECT_EQ(anim::clipOf(make(0, 3, 1, 1000), 5000, 6).frames.size(), 6u);
    EXPECT_TRUE(anim::clipOf(make(0, 0, 0, 10)).frames.empty());
    EXPECT_EQ(anim::clipOf(make(0, 2, 2, 2000)).frameMilliseconds, 1u) << "0 ms would stop the file's clock";
}

// The sibling game's rows: LOOPFRAMES -1 (the whole range), 0 and n, each
// also played backwards.
TEST(FrameSequence, PlaybackOfEveryLoopKindForwardsAndReversed) {
    const auto steps = [](const anim::Playback& p, int n) {
        Frames out;
        for (int s = 0; s < n; ++s) out.push_back(anim::frameAtStep(p, static_cast<std::uint64_t>(s)));
        return out;
    };
    EXPECT_EQ(steps({10, 3, 3, false, 50}, 7), (Frames{10, 11, 12, 10, 11, 12, 10}));
    EXPECT_EQ(steps({10, 3, 3, true, 50}, 7), (Frames{12, 11, 10, 12, 11, 10, 12}));
    EXPECT_EQ(steps({10, 3, 0, false, 50}, 5), (Frames{10, 11, 12, 12, 12}));
    EXPECT_EQ(steps({10, 3, 0, true, 50}, 5), (Frames{12, 11, 10, 10, 10}));
    EXPECT_EQ(steps({10, 4, 2, false, 50}, 8), (Frames{10, 11, 12, 13, 12, 13, 12, 13}));
    EXPECT_EQ(steps({10, 4, 2, true, 50}, 8), (Frames{13, 12, 11, 10, 11, 10, 11, 10}));
    // Backwards, a loop longer than the range reaches past its end.
    EXPECT_EQ(anim::spanOf(anim::Playback{0, 2, 4, true, 50}).high, 3);
    EXPECT_EQ(anim::clipOf(anim::Playback{5, 3, 0, true, 40}).frames, (Frames{7, 6, 5}));
}

}  // namespace
