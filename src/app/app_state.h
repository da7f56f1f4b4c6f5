// The viewer's application-wide state: the four answers of the start-up
// dialog and the model directory composed from them, the activation flag
// that gates idle drawing, the shown frame, the reference point of mouse
// drags, and the objects the entry owns (the player's body and skins through
// the scene). One instance of each, zero or null at start; the entry, the
// start-up dialog and the window procedure share it.
#pragma once

#include <cstdint>

#include "app/answer_lengths.h"
#include "platform/wintypes.h"

class D3D;
class FreeCamera;
class ReferenceGrid;
class MDS;
class PlayerScene;
class Skin;

// BaseDir, one separator and ModelName, with one terminator.
constexpr int kModelDirLength = kBaseDirLength + kModelNameLength;

extern char BaseDir[kBaseDirLength];
extern char ModelName[kModelNameLength];
extern char BodySkin[kSkinNameLength];
extern char HeadSkin[kSkinNameLength];
extern char ModelDir[kModelDirLength];

extern int ShowCommand;   // the show command the program was started with
extern HWND hMainWindow;  // the main window

extern bool Active;                // set while the main window is active
extern std::uint32_t CurrentFrame;  // the body's shown frame
extern POINT LastCursor;           // screen position of the last drag step

// Owned by the entry (plain owning pointers, destroyed at shutdown).
extern D3D* pRenderer;
extern FreeCamera* pCamera;
extern ReferenceGrid* pGrid;
extern PlayerScene* pScene;  // null until the dialog is confirmed
// The scene's parts: null until created, destroyed with the scene.
extern MDS* pBody;
extern Skin* pBodySkin;
extern Skin* pHeadSkin;

// Puts every item back to its start value (zero or null) without
// destroying anything; the owning pointers must have been released first.
void resetAppState();
