#pragma once
// The walk through a clip's AVI container, held whole in memory. Clips follow one fixed
// layout: RIFF "AVI " { LIST "hdrl" { "avih", LIST "strl" { "strh", "strf", "JUNK" } },
// LIST "odml" { "dmlh" }, "JUNK", LIST "movi" { "00dc" ... }, optional "idx1" }. An
// identifier that differs from the expected one is reported (once per walk) and the walk
// carries on as if it had matched; a chunk whose size runs past the block ends the walk.
// Every read stays inside the block.
#include <cstddef>
#include <cstdint>

class CFSAviReader {
public:
    static constexpr size_t kMainHeaderSize = 56;
    static constexpr size_t kStreamHeaderSize = 56;
    static constexpr size_t kStreamFormatSize = 40;

    // Walks the layout of block[0, size) up to the first "00dc" chunk of the "movi" list
    // (the cursor). False, with a line on stderr, when the block ends inside the layout or
    // the "movi" data does not start with "00dc". The block must outlive its use.
    bool Parse(const uint8_t* block, size_t size);

    // The next "00dc" chunk at the cursor: its data and its size made even by the pad
    // byte, the cursor moved past it. False (cursor unchanged) at anything else, at the end
    // of the block, or for a chunk that runs past the block.
    bool NextChunk(const uint8_t*& data, uint32_t& size);
    // Forgets the block (nothing to read until the next Parse).
    void Reset();
    // The cursor back to the first chunk of the "movi" data.
    void Rewind() { cursor_ = moviStart_; }

    const uint8_t* MainHeader() const { return mainHeader_; }
    const uint8_t* StreamHeader() const { return streamHeader_; }
    const uint8_t* StreamFormat() const { return streamFormat_; }
    // The main header's fifth word, the frame count it claims.
    uint32_t TotalFrames() const { return Word(mainHeader_, 4); }
    // The main header's first word, microseconds per frame.
    uint32_t FrameMicroseconds() const { return Word(mainHeader_, 0); }
    // The stream format's second and third words.
    int32_t Width() const { return static_cast<int32_t>(Word(streamFormat_, 1)); }
    int32_t Height() const { return static_cast<int32_t>(Word(streamFormat_, 2)); }
    // How many identifiers differed from the layout in the last walk.
    int Mismatches() const { return mismatches_; }
    size_t Cursor() const { return cursor_; }

    static uint32_t Word(const uint8_t* bytes, int index);

private:
    bool Expect(const char* id);
    bool ReadWord(uint32_t& value);
    // Reads a chunk's identifier (checked against id) and size; data gets its start. False
    // when the chunk (with its pad byte) runs past the block.
    bool Chunk(const char* id, size_t& dataAt, uint32_t& size);
    bool CopyChunk(const char* id, uint8_t* into, size_t capacity);
    bool SkipChunk(const char* id);
    bool List(const char* type);

    const uint8_t* block_ = nullptr;
    size_t size_ = 0;
    size_t at_ = 0;  // the walk's position
    size_t moviStart_ = 0;
    size_t cursor_ = 0;
    int mismatches_ = 0;
    uint8_t mainHeader_[kMainHeaderSize] = {};
    uint8_t streamHeader_[kStreamHeaderSize] = {};
    uint8_t streamFormat_[kStreamFormatSize] = {};
};
