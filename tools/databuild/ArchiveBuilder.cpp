#include "databuild/ArchiveBuilder.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "databuild/ZipWriter.h"

namespace {

// The reader compares only a-z without regard to case.
std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

ArchiveBuilder::ArchiveBuilder(std::string fileName) : fileName_(std::move(fileName)) {}

std::string ArchiveBuilder::Stem() const {
    const std::string suffix = ".zip";
    if (fileName_.size() > suffix.size() &&
        fileName_.compare(fileName_.size() - suffix.size(), suffix.size(), suffix) == 0) {
        return fileName_.substr(0, fileName_.size() - suffix.size());
    }
    return fileName_;
}

std::string ArchiveBuilder::NameProblem(const std::string& name) {
    if (name.empty()) return "empty member name";
    if (name.size() >= 256) return "member name of 256 characters or more";
    if (name.front() == '/') return "member name starts with '/'";
    if (name.back() == '/') return "member name ends with '/'";
    for (unsigned char c : name) {
        if (c < 0x20 || c >= 0x7F) return "member name with a control or non-ASCII character";
        if (c == '\\') return "member name with a backslash (use '/')";
        if (c == ':') return "member name with ':'";
    }
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string part = name.substr(start, end - start);
        if (part.empty()) return "member name with an empty folder";
        if (part == "." || part == "..") return "member name with a '.' or '..' folder";
        start = end + 1;
    }
    return "";
}

bool ArchiveBuilder::Add(const std::string& memberName, std::vector<uint8_t> bytes) {
    std::string problem = NameProblem(memberName);
    if (problem.empty()) {
        const auto clash = lowerCaseNames_.find(LowerAscii(memberName));
        if (clash != lowerCaseNames_.end()) {
            problem = clash->second == memberName ? "added twice"
                                                  : "same name as \"" + clash->second + "\" but for case";
        }
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "aerovant-databuild: %s: \"%s\": %s\n", fileName_.c_str(), memberName.c_str(),
                     problem.c_str());
        failed_ = true;
        return false;
    }
    lowerCaseNames_.emplace(LowerAscii(memberName), memberName);
    members_.emplace(memberName, std::move(bytes));
    return true;
}

bool ArchiveBuilder::AddText(const std::string& memberName, const std::string& text) {
    return Add(memberName, std::vector<uint8_t>(text.begin(), text.end()));
}

const std::vector<uint8_t>* ArchiveBuilder::Find(const std::string& memberName) const {
    const auto found = members_.find(memberName);
    return found == members_.end() ? nullptr : &found->second;
}

std::vector<uint8_t> ArchiveBuilder::Build(const std::string& password) const {
    std::vector<ZipMember> members;
    members.reserve(members_.size());
    for (const auto& [name, data] : members_)
        members.push_back({name, data});
    return WriteEncryptedZip(std::move(members), password);
}
