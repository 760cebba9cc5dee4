#include "clips/AviWriter.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "common/ImageFiles.h"

namespace {

void PutId(std::vector<uint8_t>& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

// Starts a chunk or list; returns where its size goes.
size_t Open(std::vector<uint8_t>& out, const char* id, const char* listType = nullptr) {
    PutId(out, id);
    const size_t sizeAt = out.size();
    Put32(out, 0);
    if (listType) PutId(out, listType);
    return sizeAt;
}

// Writes the size of what follows sizeAt and the pad byte of an odd chunk.
void Close(std::vector<uint8_t>& out, size_t sizeAt) {
    const uint32_t size = static_cast<uint32_t>(out.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i)
        out[sizeAt + i] = static_cast<uint8_t>(size >> (8 * i));
    if (size & 1) out.push_back(0);
}

void Junk(std::vector<uint8_t>& out, size_t bytes) {
    const size_t at = Open(out, "JUNK");
    out.insert(out.end(), bytes, 0);
    Close(out, at);
}

// The "hdrl" list: the main header, the stream's header and format.
void PutHeaders(std::vector<uint8_t>& out, const AviClip& clip) {
    const uint32_t count = static_cast<uint32_t>(clip.frames.size());
    size_t largest = 0, total = 0;
    for (const auto& frame : clip.frames) {
        largest = std::max(largest, frame.size());
        total += frame.size();
    }
    const uint32_t microseconds = static_cast<uint32_t>(1000000 / std::max(1, clip.framesPerSecond));
    const size_t hdrl = Open(out, "LIST", "hdrl");
    const size_t avih = Open(out, "avih");
    Put32(out, microseconds);
    Put32(out, static_cast<uint32_t>(count ? total * clip.framesPerSecond / count : 0));  // bytes per second
    Put32(out, 0);     // padding granularity
    Put32(out, 0x10);  // has an index
    Put32(out, count);
    Put32(out, 0);  // initial frames
    Put32(out, 1);  // streams
    Put32(out, static_cast<uint32_t>(largest));
    Put32(out, static_cast<uint32_t>(clip.width));
    Put32(out, static_cast<uint32_t>(clip.height));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    Close(out, avih);
    const size_t strl = Open(out, "LIST", "strl");
    const size_t strh = Open(out, "strh");
    PutId(out, "vids");
    PutId(out, "XVID");
    Put32(out, 0);  // flags
    Put32(out, 0);  // priority and language
    Put32(out, 0);  // initial frames
    Put32(out, 1);  // scale
    Put32(out, static_cast<uint32_t>(clip.framesPerSecond));
    Put32(out, 0);  // start
    Put32(out, count);
    Put32(out, static_cast<uint32_t>(largest));
    Put32(out, 0xFFFFFFFFu);  // quality
    Put32(out, 0);            // sample size
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(clip.width));
    Put16(out, static_cast<uint32_t>(clip.height));
    Close(out, strh);
    const size_t strf = Open(out, "strf");
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(clip.width));
    Put32(out, static_cast<uint32_t>(clip.height));
    Put16(out, 1);
    Put16(out, 24);
    PutId(out, "XVID");
    Put32(out, static_cast<uint32_t>(clip.width * clip.height * 3));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    Close(out, strf);
    Junk(out, 16);
    Close(out, strl);
    Close(out, hdrl);
}

}  // namespace

std::vector<uint8_t> WriteAvi(const AviClip& clip) {
    const uint32_t count = static_cast<uint32_t>(clip.frames.size());
    std::vector<uint8_t> out;
    const size_t riff = Open(out, "RIFF", "AVI ");
    PutHeaders(out, clip);
    const size_t odml = Open(out, "LIST", "odml");
    const size_t dmlh = Open(out, "dmlh");
    Put32(out, count);
    out.insert(out.end(), 244, 0);
    Close(out, dmlh);
    Close(out, odml);
    Junk(out, 12);
    const size_t movi = Open(out, "LIST", "movi");
    const size_t moviId = movi + 4;  // the index counts from the list's type
    std::vector<uint32_t> offsets;
    for (const auto& frame : clip.frames) {
        offsets.push_back(static_cast<uint32_t>(out.size() - moviId));
        const size_t chunk = Open(out, "00dc");
        out.insert(out.end(), frame.begin(), frame.end());
        Close(out, chunk);
    }
    Close(out, movi);
    const size_t idx1 = Open(out, "idx1");
    for (uint32_t i = 0; i < count; ++i) {
        PutId(out, "00dc");
        Put32(out, i < clip.keyFrames.size() && clip.keyFrames[i] ? 0x10 : 0);
        Put32(out, offsets[i]);
        Put32(out, static_cast<uint32_t>(clip.frames[i].size()));
    }
    Close(out, idx1);
    Close(out, riff);
    return out;
}
