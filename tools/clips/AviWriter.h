#pragma once
// Writes an AVI file of one MPEG-4 video stream (four-character code "XVID") in the one
// layout the game's clip player walks: RIFF "AVI " { LIST "hdrl" { "avih", LIST "strl"
// { "strh", "strf", "JUNK" } }, LIST "odml" { "dmlh" }, "JUNK", LIST "movi" { "00dc" ... },
// "idx1" }. Byte for byte the same output for the same frames.
#include <cstdint>
#include <vector>

struct AviClip {
    int32_t width = 0;
    int32_t height = 0;
    int32_t framesPerSecond = 12;
    std::vector<std::vector<uint8_t>> frames;  // compressed frames, one "00dc" chunk each
    std::vector<bool> keyFrames;               // per frame, for the index
};

std::vector<uint8_t> WriteAvi(const AviClip& clip);
