// The comet scene's state and the rules that set it up and advance it.
// Portable: no platform headers, no display.
#ifndef COMET_SCENE_H
#define COMET_SCENE_H

#include "glide/glide.h"
#include <cstdint>

const std::int32_t PATH_STEPS = 1440;

struct StarRecord {
    std::int32_t x, y, z;
    std::int32_t r, g, b;
};

struct StarField {
    StarRecord *stars;
    std::int32_t count;
};

struct CometPath {
    std::int32_t freq[4];
    double x[PATH_STEPS];
    double y[PATH_STEPS];
};

struct SceneRandom {
    std::uint32_t state;
};

// The saver's settings as the scene reads them every frame; the display
// set-up overwrites them with the stored values.
extern std::int32_t NbStars;
extern std::int32_t Percent;

extern StarField starField;
extern CometPath cometPath;
extern std::int32_t pathCursor;
extern SceneRandom sceneRandom;

extern GrVertex PointVertex, TailMidVertex, TailBackVertex;
extern GrVertex BackgroundVertex0, BackgroundVertex1, BackgroundVertex2, BackgroundVertex3;
extern GrVertex SpriteVertex0, SpriteVertex1, SpriteVertex2, SpriteVertex3;

void seedSceneRandom(std::uint32_t seed);
std::int32_t drawSceneRandom();

// False when the field cannot be had (size overflow or no memory); the field
// is then empty. NbStars of 0 or below gives an empty field and true.
bool allocateStarField(std::int32_t nbStars);
void prepareVertexTemplates();
void populateScene();
void populateSceneWithSeed(std::uint32_t seed);

void projectStar(std::int32_t i, std::int32_t *sx, std::int32_t *sy);
bool onScreen(std::int32_t sx, std::int32_t sy);
bool advanceStar(std::int32_t i, std::int32_t *sx, std::int32_t *sy, std::int32_t *z);
void advancePathCursor();
std::int32_t pathIndex(std::int32_t k);

// NbStars x Percent / 100 without overflow, limited to 0..stars in the field.
std::int32_t bigStarCount();

void renderFrame();

#endif
