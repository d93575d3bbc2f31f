// An open device with helpers to draw simple shapes and read pixels back.
#ifndef COMET_TESTS_GLIDE_DEVICE_FIXTURE_H
#define COMET_TESTS_GLIDE_DEVICE_FIXTURE_H

#include "glide/glide.h"

#include <gtest/gtest.h>

#include <cstdint>

struct Rgb {
    int r, g, b;
};

bool openDevice();

GrVertex makeVertex(float x, float y, float r = 0, float g = 0, float b = 0, float a = 255);
// Two triangles covering [x0, x1) x [y0, y1), texture s, t from 0 to 256.
void drawRect(float x0, float y0, float x1, float y1, Rgb colour, float alpha = 255, float oow = 1);
// Opaque Gouraud with the given flat colour over the whole screen.
void fillScreen(Rgb colour);
void useFlatOpaque();

std::uint16_t readPixel(GrBuffer_t buffer, int x, int y);
Rgb widen(std::uint16_t pixel);
inline Rgb readRgb(int x, int y) {
    return widen(readPixel(GR_BUFFER_BACKBUFFER, x, y));
}

// A widened 565 colour survives a write unchanged at every dither level.
int exact5(int v);
int exact6(int v);

// An 8 x 8 single-level texture; texels are AP_88 or P_8 bytes.
GrTexInfo smallTexture(GrTextureFormat_t format, void *data);
const GrLOD_t LOD_8 = 5;

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(openDevice()); }
    void TearDown() override { grGlideShutdown(); }
};

#define EXPECT_NEAR_RGB(actual, er, eg, eb)                                                                  \
    do {                                                                                                     \
        Rgb got_ = (actual);                                                                                 \
        EXPECT_NEAR(got_.r, (er), 8) << "red";                                                               \
        EXPECT_NEAR(got_.g, (eg), 4) << "green";                                                             \
        EXPECT_NEAR(got_.b, (eb), 8) << "blue";                                                              \
    } while (0)

#endif
