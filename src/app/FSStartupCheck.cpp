#include "app/FSStartupCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "app/FSClipDecoder.h"
#include "platform/FSPaths.h"
#include "resources/FSArchive.h"

namespace {

namespace fs = std::filesystem;

// What is wrong with a path that must be of the kind expected ("" when it is one): it is
// missing (a link that leads nowhere too), cannot be looked at, or is of another kind.
std::string KindProblem(const std::string& path, fs::file_type expected, const char* otherKind) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return "is missing";
    if (error) return "cannot be read (" + error.message() + ")";
    if (status.type() != expected) return otherKind;
    return "";
}

// What is wrong with the data folder ("" when it can be read).
std::string FolderProblem(const std::string& folder) {
    const std::string problem = KindProblem(folder, fs::file_type::directory, "is not a folder");
    if (!problem.empty()) return problem;
    std::error_code error;
    fs::directory_iterator listing(folder, error);
    if (error) return "cannot be read (" + error.message() + ")";
    return "";
}

// What is wrong with a file the game reads whole ("" when it opens as a plain file).
std::string FileProblem(const std::string& path) {
    const std::string problem = KindProblem(path, fs::file_type::regular, "is not a file");
    if (!problem.empty()) return problem;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return std::string("cannot be read (") + std::strerror(errno) + ")";
    return "";
}

// " (looked in A and B)" for a piece that is in none of the folders.
std::string LookedIn(const std::vector<std::string>& folders) {
    std::string said;
    for (size_t i = 0; i < folders.size(); ++i)
        said += (i == 0 ? " (looked in " : i + 1 == folders.size() ? " and " : ", ") + folders[i];
    return said.empty() ? said : said + ")";
}

}  // namespace

std::string MissingGameFiles() {
    std::string missing;
    const std::string exeFolder = platform::ExecutableFolder();
    const std::string folder = MakeDataPath("data");
    if (const std::string problem = FolderProblem(folder); !problem.empty()) {
        missing += "  the data folder " + folder + " " + problem;
        missing += LookedIn(platform::DataFolderCandidates(exeFolder)) + "\n";
    } else {
        for (const char* archive : kGameArchives) {
            const std::string path = folder + "/" + archive;
            if (const std::string problem = FileProblem(path); !problem.empty())
                missing += "  the data archive " + path + " " + problem + "\n";
        }
    }
    const std::string library = ClipDecoderPath();
    if (const std::string problem = FileProblem(library); !problem.empty()) {
        const std::vector<std::string> folders = platform::LibraryFolderCandidates(exeFolder);
        missing += "  the clip decoder library " + library + " " + problem + LookedIn(folders) + "\n";
    } else if (!ClipDecoderProblem().empty()) {
        missing +=
            "  the clip decoder library " + library + " cannot be used (" + ClipDecoderProblem() + ")\n";
    }
    if (missing.empty()) return "";
    return "The game cannot start:\n" + missing +
           "Run ./run.sh in the game's source folder: it builds the data and the library beside the program. "
           "An installed copy (cmake --install) has them in share/aerovant and lib/aerovant beside its bin "
           "folder.";
}
