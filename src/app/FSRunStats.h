#pragma once
// What a run of the game costs, written for the window benchmark (bench/window-flight.sh)
// when AEROVANT_STATS names a file: the time from the start of the program to its first
// menu frame, the time each flight took to build, the most heap in use while flying and
// the peak resident memory. Each figure goes out as a "key=value" line the moment it is
// known, so a run that is stopped early still leaves what it measured.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

class CFSRunStats {
public:
    // Counts from now: make it first thing in main.
    explicit CFSRunStats(const std::string& path);
    ~CFSRunStats();
    CFSRunStats(const CFSRunStats&) = delete;
    CFSRunStats& operator=(const CFSRunStats&) = delete;

    // The first menu frame has gone to the display (only the first call counts).
    void NoteFirstMenuFrame();
    // A flight of route (0 for "Route1.txt") has been built; its build began at started
    // (an Elapsed() reading).
    void NoteFlightBuild(int route, double started);
    // Called each pass: once a second while flying, writes the heap in use, its peak, the
    // passes per second so far and the peak resident memory.
    void NotePass(bool flying);
    // Milliseconds since the program started.
    double Elapsed() const;

private:
    void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::unique_ptr<FILE, int (*)(FILE*)> file_;
    std::chrono::steady_clock::time_point start_;
    bool menuFrameSeen_ = false;
    int flyingPasses_ = 0;
    double firstFlyingPass_ = 0.0;
    double lastFlyingPass_ = 0.0;
    size_t heapFlyingPeak_ = 0;
};
