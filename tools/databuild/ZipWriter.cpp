#include "databuild/ZipWriter.h"

// next_in of zlib's stream is const with this defined.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <optional>

#include "common/ImageFiles.h"

namespace {

constexpr uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr uint16_t kVersionNeeded = 20;             // 2.0: deflate and traditional encryption
constexpr uint16_t kVersionMadeBy = (3 << 8) | 20;  // Unix host, so the file mode below applies
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint32_t kExternalAttributes = 0100644u << 16;  // a regular file, rw-r--r--
constexpr size_t kEncryptionHeaderSize = 12;
constexpr uint32_t kMaxField = std::numeric_limits<uint32_t>::max();

// Raw deflate (no zlib header), as zip stores it.
std::optional<std::vector<uint8_t>> Deflate(const std::vector<uint8_t>& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return std::nullopt;
    }
    std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = data.data();
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) return std::nullopt;
    return out;
}

// The three keys of the traditional PKWARE stream cipher.
class PkwareCipher {
public:
    explicit PkwareCipher(const std::string& password) : crcTable_(get_crc_table()) {
        for (unsigned char c : password)
            Update(c);
    }

    uint8_t Encrypt(uint8_t plain) {
        const uint32_t temp = (keys_[2] & 0xFFFF) | 2;
        const uint8_t cipher = static_cast<uint8_t>(plain ^ ((temp * (temp ^ 1)) >> 8));
        Update(plain);
        return cipher;
    }

private:
    uint32_t Crc(uint32_t crc, uint8_t byte) const { return crcTable_[(crc ^ byte) & 0xFF] ^ (crc >> 8); }

    void Update(uint8_t plain) {
        keys_[0] = Crc(keys_[0], plain);
        keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
        keys_[2] = Crc(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
    }

    const z_crc_t* crcTable_;
    uint32_t keys_[3] = {0x12345678, 0x23456789, 0x34567890};
};

// The eleven filler bytes of the encryption header are meant to differ between members;
// a hash of the member stands in for the random source so the archive is reproducible.
// FNV-1a over name and data seeds a splitmix64 sequence.
std::vector<uint8_t> EncryptionHeader(const ZipMember& member, uint32_t crc) {
    uint64_t hash = 0xCBF29CE484222325ull;
    auto mix = [&hash](uint8_t byte) { hash = (hash ^ byte) * 0x100000001B3ull; };
    for (unsigned char c : member.name)
        mix(c);
    mix(0);
    for (uint8_t b : member.data)
        mix(b);

    std::vector<uint8_t> header;
    uint64_t state = hash;
    while (header.size() < kEncryptionHeaderSize - 1) {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        for (int i = 0; i < 8 && header.size() < kEncryptionHeaderSize - 1; ++i) {
            header.push_back(static_cast<uint8_t>(z >> (8 * i)));
        }
    }
    // Readers check the last byte against the high byte of the CRC to reject a wrong
    // password before inflating (no data descriptor is written, so the CRC is known).
    header.push_back(static_cast<uint8_t>(crc >> 24));
    return header;
}

struct CentralEntry {
    const ZipMember* member;
    uint32_t crc;
    uint32_t storedSize;  // encryption header + deflated data
    uint32_t offset;      // of the local header
};

void PutCommonFields(std::vector<uint8_t>& out, const CentralEntry& entry) {
    Put16(out, kFlagEncrypted);
    Put16(out, kMethodDeflate);
    Put16(out, kZipMemberTime);
    Put16(out, kZipMemberDate);
    Put32(out, entry.crc);
    Put32(out, entry.storedSize);
    Put32(out, static_cast<uint32_t>(entry.member->data.size()));
    Put16(out, static_cast<uint32_t>(entry.member->name.size()));
    Put16(out, 0);  // no extra field
}

}  // namespace

uint32_t ZipCrc32(const std::vector<uint8_t>& data) {
    uLong crc = crc32(0L, Z_NULL, 0);
    size_t done = 0;
    // crc32 takes a 32-bit length; go in pieces so any size works.
    while (done < data.size()) {
        const size_t piece = std::min<size_t>(data.size() - done, 1u << 30);
        crc = crc32(crc, data.data() + done, static_cast<uInt>(piece));
        done += piece;
    }
    return static_cast<uint32_t>(crc);
}

std::vector<uint8_t> WriteEncryptedZip(std::vector<ZipMember> members, const std::string& password) {
    if (members.size() > 0xFFFF) return {};
    std::sort(members.begin(), members.end(),
              [](const ZipMember& a, const ZipMember& b) { return a.name < b.name; });

    std::vector<uint8_t> out;
    std::vector<CentralEntry> entries;
    entries.reserve(members.size());
    for (const ZipMember& member : members) {
        if (member.name.size() > 0xFFFF || member.data.size() >= kMaxField) return {};
        const std::optional<std::vector<uint8_t>> deflated = Deflate(member.data);
        if (!deflated || deflated->size() + kEncryptionHeaderSize >= kMaxField || out.size() >= kMaxField) {
            return {};
        }
        CentralEntry entry{&member, ZipCrc32(member.data),
                           static_cast<uint32_t>(deflated->size() + kEncryptionHeaderSize),
                           static_cast<uint32_t>(out.size())};

        Put32(out, kLocalHeaderSignature);
        Put16(out, kVersionNeeded);
        PutCommonFields(out, entry);
        out.insert(out.end(), member.name.begin(), member.name.end());

        PkwareCipher cipher(password);
        for (uint8_t b : EncryptionHeader(member, entry.crc))
            out.push_back(cipher.Encrypt(b));
        for (uint8_t b : *deflated)
            out.push_back(cipher.Encrypt(b));
        entries.push_back(entry);
    }

    const size_t directoryOffset = out.size();
    for (const CentralEntry& entry : entries) {
        Put32(out, kCentralHeaderSignature);
        Put16(out, kVersionMadeBy);
        Put16(out, kVersionNeeded);
        PutCommonFields(out, entry);
        Put16(out, 0);  // no comment
        Put16(out, 0);  // disk number
        Put16(out, 0);  // internal attributes
        Put32(out, kExternalAttributes);
        Put32(out, entry.offset);
        out.insert(out.end(), entry.member->name.begin(), entry.member->name.end());
    }
    const size_t directorySize = out.size() - directoryOffset;
    if (directoryOffset >= kMaxField || out.size() >= kMaxField) return {};

    Put32(out, kEndRecordSignature);
    Put16(out, 0);  // this disk
    Put16(out, 0);  // disk of the central directory
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(directorySize));
    Put32(out, static_cast<uint32_t>(directoryOffset));
    Put16(out, 0);  // no archive comment
    return out;
}
