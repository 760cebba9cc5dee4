#pragma once
// Collects the members of one game archive from the generators and writes the archive.
// It guards the rules the game's reader relies on: member names are relative paths with
// forward slashes, shorter than 256 characters, plain ASCII, and unique even when upper
// and lower case are not told apart (the reader finds members case-insensitively, so
// "Red.png" beside "red.png" would hide one of them).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ArchiveBuilder {
public:
    // fileName: the archive's file name in the data folder, such as "fonts.zip".
    explicit ArchiveBuilder(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    // The archive's name without ".zip" ("fonts"); its hand-made sources live in the
    // assets folder of that name.
    std::string Stem() const;

    // Adds a member. A bad or repeated name is reported on standard error, the member is
    // dropped and the builder remembers the failure.
    bool Add(const std::string& memberName, std::vector<uint8_t> bytes);
    bool AddText(const std::string& memberName, const std::string& text);
    // Records a failure of a generator (already reported by it).
    void Fail() { failed_ = true; }

    bool Failed() const { return failed_; }
    size_t MemberCount() const { return members_.size(); }
    // The member's bytes, or null when there is no such member (exact name).
    const std::vector<uint8_t>* Find(const std::string& memberName) const;

    // The encrypted archive; empty when it cannot be written.
    std::vector<uint8_t> Build(const std::string& password) const;

    // Why a member name is unfit for the game's archives, or "" when it is fine.
    static std::string NameProblem(const std::string& memberName);

private:
    std::string fileName_;
    std::map<std::string, std::vector<uint8_t>> members_;
    std::map<std::string, std::string> lowerCaseNames_;  // lower-case name -> name as added
    bool failed_ = false;
};
