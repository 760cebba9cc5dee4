#include "media/FSAviReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

uint32_t CFSAviReader::Word(const uint8_t* bytes, int index) {
    const uint8_t* p = bytes + 4 * index;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool CFSAviReader::Expect(const char* id) {
    if (size_ - at_ < 4) return false;
    if (std::memcmp(block_ + at_, id, 4) != 0) {
        // The layout is fixed: a different identifier is reported and read as the expected one.
        if (mismatches_ == 0) std::fprintf(stderr, "AVI reading error: Error (\"%s\" expected)\n", id);
        ++mismatches_;
    }
    at_ += 4;
    return true;
}

bool CFSAviReader::ReadWord(uint32_t& value) {
    if (size_ - at_ < 4) return false;
    value = Word(block_ + at_, 0);
    at_ += 4;
    return true;
}

bool CFSAviReader::Chunk(const char* id, size_t& dataAt, uint32_t& size) {
    if (!Expect(id) || !ReadWord(size)) return false;
    const uint64_t padded = static_cast<uint64_t>(size) + (size & 1);
    if (padded > size_ - at_) return false;
    dataAt = at_;
    at_ += static_cast<size_t>(padded);
    return true;
}

bool CFSAviReader::CopyChunk(const char* id, uint8_t* into, size_t capacity) {
    size_t dataAt = 0;
    uint32_t size = 0;
    if (!Chunk(id, dataAt, size)) return false;
    std::memset(into, 0, capacity);
    std::memcpy(into, block_ + dataAt, std::min<size_t>(size, capacity));
    return true;
}

bool CFSAviReader::SkipChunk(const char* id) {
    size_t dataAt = 0;
    uint32_t size = 0;
    return Chunk(id, dataAt, size);
}

bool CFSAviReader::List(const char* type) {
    uint32_t size = 0;
    return Expect("LIST") && ReadWord(size) && Expect(type);
}

void CFSAviReader::Reset() {
    block_ = nullptr;
    size_ = at_ = moviStart_ = cursor_ = 0;
    mismatches_ = 0;
    std::memset(mainHeader_, 0, sizeof mainHeader_);
    std::memset(streamHeader_, 0, sizeof streamHeader_);
    std::memset(streamFormat_, 0, sizeof streamFormat_);
}

bool CFSAviReader::Parse(const uint8_t* block, size_t size) {
    Reset();
    block_ = block;
    size_ = block ? size : 0;
    uint32_t riffSize = 0;
    const bool walked = Expect("RIFF") && ReadWord(riffSize) && Expect("AVI ") && List("hdrl") &&
                        CopyChunk("avih", mainHeader_, sizeof mainHeader_) && List("strl") &&
                        CopyChunk("strh", streamHeader_, sizeof streamHeader_) &&
                        CopyChunk("strf", streamFormat_, sizeof streamFormat_) && SkipChunk("JUNK") &&
                        List("odml") && SkipChunk("dmlh") && SkipChunk("JUNK") && List("movi");
    if (!walked) {
        std::fprintf(stderr, "AVI reading error: the clip ends inside its headers\n");
        return false;
    }
    moviStart_ = cursor_ = at_;
    if (size_ - at_ < 4 || std::memcmp(block_ + at_, "00dc", 4) != 0) {
        std::fprintf(stderr, "AVI reading error: the clip has no \"00dc\" frame after \"movi\"\n");
        return false;
    }
    return true;
}

bool CFSAviReader::NextChunk(const uint8_t*& data, uint32_t& size) {
    if (!block_ || cursor_ > size_ || size_ - cursor_ < 8 || std::memcmp(block_ + cursor_, "00dc", 4) != 0)
        return false;
    const uint32_t length = Word(block_ + cursor_ + 4, 0);
    const uint64_t padded = static_cast<uint64_t>(length) + (length & 1);
    if (padded > size_ - cursor_ - 8 || padded > 0x7FFFFFFF) return false;
    data = block_ + cursor_ + 8;
    size = static_cast<uint32_t>(padded);
    cursor_ += 8 + static_cast<size_t>(padded);
    return true;
}
