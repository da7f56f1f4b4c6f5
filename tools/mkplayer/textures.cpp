#include "mkplayer/textures.h"

namespace mp {

namespace {

constexpr Rgb kFieldGrey{96, 104, 84};
constexpr Rgb kCollar{50, 66, 50};
constexpr Rgb kBelt{30, 27, 24};
constexpr Rgb kMetal{190, 178, 140};
constexpr Rgb kButton{62, 62, 58};
constexpr Rgb kBoot{32, 30, 28};
constexpr Rgb kSkin{222, 178, 146};
constexpr Rgb kHair{72, 52, 34};
constexpr Rgb kLeather{112, 74, 42};
constexpr Rgb kCanvas{142, 122, 86};

void button(Image& im, float u, float v) {
    im.ellipse(u, v, 0.014f, 0.014f, shade(kButton, 30));
    im.ellipse(u, v, 0.009f, 0.009f, kButton);
}

void pocket(Image& im, float u0, float v0, float u1, float v1) {
    im.rect(u0, v0, u1, v1, shade(kFieldGrey, -10));
    im.rect(u0, v0, u1, v0 + 0.035f, shade(kFieldGrey, -24));  // flap
    button(im, 0.5f * (u0 + u1), v0 + 0.03f);
}

}  // namespace

// u runs around the body (0 at the back, 0.5 at the front); v runs from the
// neck (0) down to the hips (1).
Image torsoTexture() {
    Image im(128, 128, kFieldGrey);
    im.rect(0.0f, 0.0f, 1.0f, 0.06f, kSkin);                  // neck
    im.rect(0.0f, 0.06f, 1.0f, 0.14f, kCollar);               // collar
    im.rect(0.42f, 0.08f, 0.47f, 0.13f, shade(kCollar, 60));  // collar tabs
    im.rect(0.53f, 0.08f, 0.58f, 0.13f, shade(kCollar, 60));
    im.rect(0.245f, 0.14f, 0.255f, 1.0f, shade(kFieldGrey, -22));  // side seams
    im.rect(0.745f, 0.14f, 0.755f, 1.0f, shade(kFieldGrey, -22));
    im.rect(0.493f, 0.14f, 0.507f, 0.75f, shade(kFieldGrey, -28));  // placket
    for (float v : {0.22f, 0.34f, 0.46f, 0.58f, 0.68f}) button(im, 0.5f, v);
    pocket(im, 0.39f, 0.27f, 0.46f, 0.40f);
    pocket(im, 0.54f, 0.27f, 0.61f, 0.40f);
    pocket(im, 0.35f, 0.55f, 0.45f, 0.70f);
    pocket(im, 0.55f, 0.55f, 0.65f, 0.70f);
    im.rect(0.0f, 0.75f, 1.0f, 0.81f, kBelt);  // belt with its buckle
    im.rect(0.465f, 0.74f, 0.535f, 0.82f, kMetal);
    im.rect(0.48f, 0.76f, 0.52f, 0.80f, shade(kMetal, -70));
    im.rect(0.0f, 0.93f, 1.0f, 1.0f, shade(kFieldGrey, -18));
    im.grain(6, 1);
    return im;
}

// v from the hip (0) to the sole (1); trousers, then boots from 0.72.
Image legsTexture() {
    Image im(128, 128, shade(kFieldGrey, -8));
    im.rect(0.495f, 0.0f, 0.505f, 0.72f, shade(kFieldGrey, -26));  // crease
    im.rect(0.40f, 0.44f, 0.60f, 0.56f, shade(kFieldGrey, -16));   // knee
    im.rect(0.0f, 0.72f, 1.0f, 1.0f, kBoot);
    im.rect(0.0f, 0.72f, 1.0f, 0.745f, shade(kBoot, 16));  // boot top
    im.rect(0.44f, 0.75f, 0.56f, 0.97f, shade(kBoot, 26));  // shine
    im.rect(0.0f, 0.98f, 1.0f, 1.0f, shade(kBoot, -12));   // sole
    im.grain(5, 2);
    return im;
}

// v from the shoulder (0) to the wrist (1): shoulder strap, rank chevron,
// cuff with two buttons.
Image armsTexture() {
    Image im(128, 128, kFieldGrey);
    im.rect(0.0f, 0.0f, 1.0f, 0.06f, kCollar);
    for (int i = 0; i < 3; ++i) {
        const float v = 0.18f + 0.03f * static_cast<float>(i);
        for (int k = 0; k < 10; ++k) {
            const float t = 0.012f * static_cast<float>(k);
            im.rect(0.5f - 0.12f + t, v + t, 0.5f - 0.10f + t, v + t + 0.02f, Rgb{200, 200, 190});
            im.rect(0.5f + 0.10f - t, v + t, 0.5f + 0.12f - t, v + t + 0.02f, Rgb{200, 200, 190});
        }
    }
    im.rect(0.0f, 0.84f, 1.0f, 0.93f, shade(kFieldGrey, -20));
    button(im, 0.46f, 0.885f);
    button(im, 0.54f, 0.885f);
    im.rect(0.0f, 0.93f, 1.0f, 1.0f, shade(kSkin, -20));
    im.grain(6, 3);
    return im;
}

// u 0..0.5 the palm, 0.5..1 the five fingers; nails at the tips.
Image handsTexture() {
    Image im(64, 64, kSkin);
    im.rect(0.0f, 0.5f, 0.5f, 0.55f, shade(kSkin, -25));  // knuckles
    for (int f = 0; f < 5; ++f) {
        const float u = 0.5f + 0.1f * static_cast<float>(f);
        im.rect(u, 0.55f, u + 0.012f, 1.0f, shade(kSkin, -30));  // finger gaps
        im.rect(u + 0.03f, 0.93f, u + 0.07f, 1.0f, shade(kSkin, 25));
    }
    im.grain(4, 4);
    return im;
}

// Wrapped around the head: u 0 at the back, 0.5 at the front; v from the
// crown (0) to the neck (1). Eyes at v 0.4, mouth at 0.6.
Image faceTexture() {
    Image im(128, 128, kSkin);
    im.rect(0.0f, 0.0f, 1.0f, 0.22f, kHair);
    im.rect(0.0f, 0.0f, 0.3f, 0.5f, kHair);
    im.rect(0.7f, 0.0f, 1.0f, 0.5f, kHair);
    im.ellipse(0.27f, 0.44f, 0.03f, 0.07f, shade(kSkin, -22));  // ears
    im.ellipse(0.73f, 0.44f, 0.03f, 0.07f, shade(kSkin, -22));
    for (float u : {0.445f, 0.555f}) {
        im.rect(u - 0.03f, 0.35f, u + 0.03f, 0.367f, kHair);  // eyebrows
        im.ellipse(u, 0.40f, 0.026f, 0.022f, Rgb{240, 240, 235});
        im.ellipse(u, 0.40f, 0.012f, 0.018f, Rgb{70, 92, 112});
        im.ellipse(u, 0.40f, 0.005f, 0.009f, Rgb{15, 15, 20});
    }
    im.rect(0.49f, 0.42f, 0.51f, 0.50f, shade(kSkin, -18));  // nose
    im.ellipse(0.488f, 0.505f, 0.006f, 0.006f, shade(kSkin, -70));
    im.ellipse(0.512f, 0.505f, 0.006f, 0.006f, shade(kSkin, -70));
    im.ellipse(0.5f, 0.6f, 0.038f, 0.011f, Rgb{160, 84, 78});  // mouth
    im.rect(0.0f, 0.74f, 1.0f, 0.77f, shade(kSkin, -16));     // jaw shadow
    im.grain(3, 5);
    return im;
}

// Leather with stitching; a square buckle in the middle. The top-left corner
// (u, v < 0.2) is plain leather for the pouch's sides.
Image beltTexture() {
    Image im(64, 64, kLeather);
    for (int i = 2; i < 62; i += 4) {
        im.rect(static_cast<float>(i) / 64.0f, 0.22f, static_cast<float>(i + 2) / 64.0f, 0.24f, shade(kLeather, 50));
        im.rect(static_cast<float>(i) / 64.0f, 0.92f, static_cast<float>(i + 2) / 64.0f, 0.94f, shade(kLeather, 50));
    }
    im.rect(0.0f, 0.0f, 1.0f, 0.2f, shade(kLeather, -18));  // flap
    im.rect(0.28f, 0.34f, 0.72f, 0.78f, Rgb{206, 172, 86});   // buckle
    im.rect(0.36f, 0.42f, 0.64f, 0.70f, shade(kLeather, -40));
    im.rect(0.47f, 0.38f, 0.53f, 0.74f, Rgb{222, 190, 104});  // prong
    im.rect(0.0f, 0.0f, 0.2f, 0.2f, kLeather);
    im.grain(5, 6);
    return im;
}

// Left half: the flap with two straps and buckles (the back face). Right
// top: plain canvas (the other faces). Right bottom: the rolled blanket.
Image packTexture() {
    Image im(128, 128, kCanvas);
    im.rect(0.03f, 0.03f, 0.47f, 0.55f, shade(kCanvas, -20));
    for (float u : {0.12f, 0.38f}) {
        im.rect(u - 0.03f, 0.0f, u + 0.03f, 1.0f, Rgb{90, 60, 34});
        im.rect(u - 0.04f, 0.58f, u + 0.04f, 0.66f, kMetal);
        im.rect(u - 0.02f, 0.60f, u + 0.02f, 0.64f, shade(kMetal, -60));
    }
    im.rect(0.5f, 0.5f, 1.0f, 1.0f, Rgb{104, 94, 80});
    for (int i = 0; i < 4; ++i) {
        const float v = 0.56f + 0.12f * static_cast<float>(i);
        im.rect(0.5f, v, 1.0f, v + 0.025f, Rgb{70, 60, 50});
    }
    im.grain(6, 7);
    return im;
}

// u around the helmet (0 at the back), v from the top (0) to the rim (1):
// a shield decal on the left side, rivets, a darker rim.
Image helmetTexture() {
    Image im(128, 128, Rgb{88, 98, 80});
    im.rect(0.0f, 0.0f, 1.0f, 0.18f, Rgb{104, 114, 96});
    im.rect(0.0f, 0.88f, 1.0f, 1.0f, Rgb{58, 64, 54});
    im.ellipse(0.3f, 0.62f, 0.012f, 0.02f, Rgb{40, 40, 38});
    im.ellipse(0.7f, 0.62f, 0.012f, 0.02f, Rgb{40, 40, 38});
    im.rect(0.2f, 0.40f, 0.3f, 0.62f, Rgb{235, 235, 230});  // decal
    im.rect(0.215f, 0.43f, 0.285f, 0.59f, Rgb{20, 20, 20});
    im.rect(0.23f, 0.46f, 0.27f, 0.56f, Rgb{200, 30, 30});
    im.grain(4, 8);
    return im;
}

}  // namespace mp
