#include "app/app_state.h"

#include <cstring>

char BaseDir[kBaseDirLength];
char ModelName[kModelNameLength];
char BodySkin[kSkinNameLength];
char HeadSkin[kSkinNameLength];
char ModelDir[kModelDirLength];

int ShowCommand = 0;
HWND hMainWindow = nullptr;

bool Active = false;
std::uint32_t CurrentFrame = 0;
POINT LastCursor = {0, 0};

D3D* pRenderer = nullptr;
FreeCamera* pCamera = nullptr;
ReferenceGrid* pGrid = nullptr;
PlayerScene* pScene = nullptr;
MDS* pBody = nullptr;
Skin* pBodySkin = nullptr;
Skin* pHeadSkin = nullptr;

void resetAppState() {
    std::memset(BaseDir, 0, sizeof BaseDir);
    std::memset(ModelName, 0, sizeof ModelName);
    std::memset(BodySkin, 0, sizeof BodySkin);
    std::memset(HeadSkin, 0, sizeof HeadSkin);
    std::memset(ModelDir, 0, sizeof ModelDir);
    ShowCommand = 0;
    hMainWindow = nullptr;
    Active = false;
    CurrentFrame = 0;
    LastCursor = {0, 0};
    pRenderer = nullptr;
    pCamera = nullptr;
    pGrid = nullptr;
    pScene = nullptr;
    pBody = nullptr;
    pBodySkin = nullptr;
    pHeadSkin = nullptr;
}
