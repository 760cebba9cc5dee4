// A flight recording: read, written and read again to the same bytes. The first byte
// chooses between the input as a whole file and the input as a payload under a header
// with the right size and checksum, so that the search gets past the checksum.
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "app/FSFlightRecording.h"

namespace {

std::vector<uint8_t> Sealed(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file = {'A', 'V', 'R', 'P', kReplayVersion & 0xFF, kReplayVersion >> 8, 0, 0};
    const uint32_t length = static_cast<uint32_t>(size);
    const uint32_t crc = ReplayCrc32(data, size);
    for (uint32_t word : {length, crc})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(word >> (8 * i)));
    file.insert(file.end(), data, data + size);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file =
        fuzz::TakeChoice(data, size, 2) == 0 ? std::vector<uint8_t>(data, data + size) : Sealed(data, size);
    FSFlightRecording recording;
    std::string error;
    if (!DecodeRecording(file.data(), file.size(), recording, error)) {
        if (error.empty() || !recording.passes.empty()) __builtin_trap();
        return 0;
    }
    const std::vector<uint8_t> written = EncodeRecording(recording);
    FSFlightRecording again;
    if (!DecodeRecording(written.data(), written.size(), again, error)) __builtin_trap();
    if (EncodeRecording(again) != written) __builtin_trap();
    return 0;
}
