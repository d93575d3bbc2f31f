// Runs alone in its own program: it checks the state a process starts with,
// which any earlier test would disturb.
#include "scene/scene.h"
#include <gtest/gtest.h>

TEST(FreshProcess, StartStateGivesTheFixedPointColour) {
    EXPECT_EQ(sceneRandom.state, 1u);
    EXPECT_EQ(pathCursor, 0);
    EXPECT_EQ(NbStars, 500);
    EXPECT_EQ(Percent, 20);
    EXPECT_EQ(starField.count, 0);

    prepareVertexTemplates();
    EXPECT_EQ(PointVertex.r, 169.0f);
    EXPECT_EQ(PointVertex.g, 163.0f);
    EXPECT_EQ(PointVertex.b, 206.0f);
}
