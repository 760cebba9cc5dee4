#include "app/FSRunStats.h"

#include <cstdarg>
#include <ctime>

#include "platform/FSMemory.h"

namespace {

constexpr int kPassesPerSample = 60;

}  // namespace

CFSRunStats::CFSRunStats(const std::string& path)
    : file_(std::fopen(path.c_str(), "w"), &std::fclose), start_(std::chrono::steady_clock::now()) {}

CFSRunStats::~CFSRunStats() {
    Line("rss_peak_bytes=%zu", platform::PeakResidentBytes());
    Line("end_ms=%.1f", Elapsed());
}

double CFSRunStats::Elapsed() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
}

void CFSRunStats::NoteFirstMenuFrame() {
    if (menuFrameSeen_) return;
    menuFrameSeen_ = true;
    // The wall clock too: the benchmark adds the time before main (loading the libraries).
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    Line("first_menu_frame_ms=%.1f", Elapsed());
    Line("first_menu_frame_epoch_ns=%lld%09ld", static_cast<long long>(now.tv_sec), now.tv_nsec);
    Line("heap_menu_bytes=%zu", platform::HeapInUse());
}

void CFSRunStats::NoteFlightBuild(int route, double started) {
    Line("flight_build route=%d ms=%.1f heap_bytes=%zu", route + 1, Elapsed() - started,
         platform::HeapInUse());
}

void CFSRunStats::NotePass(bool flying) {
    if (!flying) return;
    lastFlyingPass_ = Elapsed();
    if (flyingPasses_++ == 0) firstFlyingPass_ = lastFlyingPass_;
    if (flyingPasses_ % kPassesPerSample != 0) return;
    // Written as they come: a window closed by a signal never reaches the destructor.
    const size_t heap = platform::HeapInUse();
    if (heap > heapFlyingPeak_) heapFlyingPeak_ = heap;
    Line("heap_flying_bytes=%zu", heap);
    Line("heap_flying_peak_bytes=%zu", heapFlyingPeak_);
    if (lastFlyingPass_ > firstFlyingPass_)
        Line("flying_passes_per_second=%.1f",
             (flyingPasses_ - 1) * 1000.0 / (lastFlyingPass_ - firstFlyingPass_));
    Line("rss_peak_bytes=%zu", platform::PeakResidentBytes());
}

void CFSRunStats::Line(const char* format, ...) {
    if (!file_) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(file_.get(), format, arguments);
    va_end(arguments);
    std::fputc('\n', file_.get());
    std::fflush(file_.get());
}
