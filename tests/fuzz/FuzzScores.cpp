// "scores.dat": read, written and read again to the same table.
#include <cstring>

#include "FuzzSupport.h"
#include "app/FSScoreTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FSScoreTable table;
    if (!LoadScores(table, fuzz::MemoryFile(data, size))) return 0;
    const std::vector<uint8_t> written = EncodeScores(table);
    FSScoreTable again;
    if (!LoadScores(again, fuzz::MemoryFile(written.data(), written.size()))) __builtin_trap();
    if (EncodeScores(again) != written) __builtin_trap();
    InsertScoreRecord(again, "River Run",
                      MakeScoreRecord(std::string(fuzz::Text(data, size).substr(0, 40)), 7, 9));
    return 0;
}
