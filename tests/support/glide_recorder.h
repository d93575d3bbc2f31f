// A Glide device for tests that draws nothing and records every call: its
// name, its numeric arguments, the pointers passed, copies of the vertices a
// draw saw and of the data a download or palette table carried.
#ifndef COMET_GLIDE_RECORDER_H
#define COMET_GLIDE_RECORDER_H

#include "glide/glide.h"
#include <cstdint>
#include <string>
#include <vector>

struct GlideCall {
    std::string name;
    std::vector<double> args;
    std::vector<const void *> pointers;
    std::vector<GrVertex> vertices;
    std::vector<std::uint8_t> data;
};

extern std::vector<GlideCall> glideCalls;

// Answers of the recording device; reset by resetGlideRecorder.
extern bool recorderHardwarePresent;
extern bool recorderOpenSucceeds;
extern FxU32 recorderTexMinAddress;

void resetGlideRecorder();

// "name(arg, arg, ...)" with integral arguments in decimal, for readable
// comparisons of call sequences.
std::string describeGlideCall(const GlideCall &call);
std::vector<std::string> describeGlideCalls();

#endif
