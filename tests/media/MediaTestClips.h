#pragma once
// Hand-made clip containers for the tests of the clip player: the layout the player walks,
// with any identifier or size replaced, and the offsets of the frame chunks.
#include <cstdint>
#include <string>
#include <vector>

namespace media_testing {

struct AviParts {
    std::vector<std::vector<uint8_t>> frames;
    uint32_t totalFrames = 0xFFFFFFFFu;  // the main header's frame count; all frames when left so
    int32_t width = 156;
    int32_t height = 116;
    uint32_t avihSize = 56;
    std::string strlJunkId = "JUNK";
    std::string firstFrameId = "00dc";
    std::vector<size_t> frameOffsets;  // filled by AviBytes: where each "00dc" starts
};

inline void Put32At(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    out.resize(out.size() + 4);
    Put32At(out, out.size() - 4, v);
}

inline void PutId(std::vector<uint8_t>& out, const std::string& id) {
    out.insert(out.end(), id.begin(), id.begin() + 4);
}

inline void PutChunk(std::vector<uint8_t>& out, const std::string& id, const std::vector<uint8_t>& data,
                     uint32_t size) {
    PutId(out, id);
    Put32(out, size);
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
}

inline std::vector<uint8_t> AviBytes(AviParts& p) {
    std::vector<uint8_t> avih(56, 0), strf(40, 0);
    Put32At(avih, 0, 83333);
    Put32At(avih, 16, p.totalFrames == 0xFFFFFFFFu ? static_cast<uint32_t>(p.frames.size()) : p.totalFrames);
    Put32At(strf, 0, 40);
    Put32At(strf, 4, static_cast<uint32_t>(p.width));
    Put32At(strf, 8, static_cast<uint32_t>(p.height));
    std::vector<uint8_t> out;
    PutId(out, "RIFF");
    Put32(out, 0);
    PutId(out, "AVI ");
    PutId(out, "LIST");
    Put32(out, 0);
    PutId(out, "hdrl");
    PutChunk(out, "avih", avih, p.avihSize);
    PutId(out, "LIST");
    Put32(out, 0);
    PutId(out, "strl");
    PutChunk(out, "strh", std::vector<uint8_t>(56, 0), 56);
    PutChunk(out, "strf", strf, 40);
    PutChunk(out, p.strlJunkId, std::vector<uint8_t>(5, 0), 5);
    PutId(out, "LIST");
    Put32(out, 0);
    PutId(out, "odml");
    PutChunk(out, "dmlh", std::vector<uint8_t>(248, 0), 248);
    PutChunk(out, "JUNK", std::vector<uint8_t>(12, 0), 12);
    PutId(out, "LIST");
    Put32(out, 0);
    PutId(out, "movi");
    p.frameOffsets.clear();
    for (size_t i = 0; i < p.frames.size(); ++i) {
        p.frameOffsets.push_back(out.size());
        PutChunk(out, i == 0 ? p.firstFrameId : "00dc", p.frames[i],
                 static_cast<uint32_t>(p.frames[i].size()));
    }
    PutChunk(out, "idx1", std::vector<uint8_t>(16 * p.frames.size(), 0),
             static_cast<uint32_t>(16 * p.frames.size()));
    Put32At(out, 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

}  // namespace media_testing
