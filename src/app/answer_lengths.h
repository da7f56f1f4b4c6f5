// How much of each start-up dialog answer the application state keeps,
// the terminator included. korvane-render refuses longer options, so what
// it draws is what the viewer would load.
#pragma once

constexpr int kBaseDirLength = 500;
constexpr int kModelNameLength = 30;
constexpr int kSkinNameLength = 30;
