#include "scene/scene.h"

std::int32_t NbStars = 500;
std::int32_t Percent = 20;

StarField starField;
CometPath cometPath;
std::int32_t pathCursor;
// Start state 1: the point colour drawn before any seeding is the same on every run.
SceneRandom sceneRandom = {1};

GrVertex PointVertex, TailMidVertex, TailBackVertex;
GrVertex BackgroundVertex0, BackgroundVertex1, BackgroundVertex2, BackgroundVertex3;
GrVertex SpriteVertex0, SpriteVertex1, SpriteVertex2, SpriteVertex3;
