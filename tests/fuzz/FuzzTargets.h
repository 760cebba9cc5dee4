#pragma once
// Every loader's fuzz target, by the name its corpus folder and program carry.
#define AEROVANT_FUZZ_TARGETS(X) \
    X(Archive)                   \
    X(KeywordTokens)             \
    X(KeywordWords)              \
    X(Png)                       \
    X(Bitmap)                    \
    X(Mesh)                      \
    X(Terrain)                   \
    X(Aircraft)                  \
    X(Route)                     \
    X(Cockpit)                   \
    X(Font)                      \
    X(Settings)                  \
    X(Scores)                    \
    X(Wave)                      \
    X(Avi)                       \
    X(Replay)
