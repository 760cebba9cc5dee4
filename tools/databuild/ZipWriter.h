#pragma once
// A small writer of zip archives whose members are all deflated and encrypted with the
// traditional PKWARE scheme, the scheme the game's archive reader opens with its password.
//
// The output depends only on the members and the password: every member carries the same
// fixed time stamp, members are written sorted by name, and the 12-byte encryption header
// that other writers fill with random bytes is derived from a hash of the member's name
// and contents. Building the same data twice therefore gives the same bytes.
#include <cstdint>
#include <string>
#include <vector>

struct ZipMember {
    std::string name;  // forward slashes, no leading slash, ASCII
    std::vector<uint8_t> data;
};

// The time stamp of every member: 2024-01-01 12:00:00, in MS-DOS form.
inline constexpr uint16_t kZipMemberTime = 12 << 11;
inline constexpr uint16_t kZipMemberDate = ((2024 - 1980) << 9) | (1 << 5) | 1;

// The whole archive in memory. Empty when the members cannot be stored in a plain zip
// (more than 65535 members, a member or the archive of 4 GiB or more, a name of 64 KiB or
// more) or deflate fails; the caller reports it.
std::vector<uint8_t> WriteEncryptedZip(std::vector<ZipMember> members, const std::string& password);

// CRC-32 as zip stores it.
uint32_t ZipCrc32(const std::vector<uint8_t>& data);
