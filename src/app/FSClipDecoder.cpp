#include "app/FSClipDecoder.h"

#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/FSLibrary.h"
#include "platform/FSPaths.h"

namespace {

constexpr const char* kLibraryName = "xvid_ppc.dll";

struct LoadedDecoder {
    CFSLibrary library;
    FSDecoderTable table{};
    std::string problem;
};

void Load(LoadedDecoder& loaded) {
    const std::string path = ClipDecoderPath();
    if (!loaded.library.Open(path)) {
        loaded.problem = "dll loading (" + loaded.library.Error() + ")";
        return;
    }
    void* init = loaded.library.Symbol("InitCodec");
    void* decode = loaded.library.Symbol("DecodeFrame");
    void* close = loaded.library.Symbol("CloseCodec");
    if (!init) {
        loaded.problem = "InitCodec loading";
    } else if (!decode) {
        loaded.problem = "DecodeFrame loading";
    } else if (!close) {
        loaded.problem = "CloseCodec loading";
    } else {
        loaded.table.initCodec = reinterpret_cast<FSInitCodecFunction>(init);
        loaded.table.closeCodec = reinterpret_cast<FSCloseCodecFunction>(close);
        loaded.table.decodeFrame = reinterpret_cast<FSDecodeFrameFunction>(decode);
    }
}

// Process-wide: the library stays loaded until the process ends, so no player can outlive it.
const LoadedDecoder& Decoder() {
    static const std::unique_ptr<LoadedDecoder> decoder = [] {
        auto loaded = std::make_unique<LoadedDecoder>();
        Load(*loaded);
        return loaded;
    }();
    return *decoder;
}

}  // namespace

bool LoadClipDecoder(FSDecoderTable& table) {
    table = Decoder().table;
    static std::once_flag said;
    if (!Decoder().problem.empty()) {
        std::call_once(said, [] {
            std::fprintf(stderr, "DLL Error: %s; the aircraft choice shows still pictures\n",
                         Decoder().problem.c_str());
        });
    }
    return Decoder().problem.empty();
}

const std::string& ClipDecoderProblem() {
    return Decoder().problem;
}

std::string ClipDecoderPath() {
    // Beside the executable, else in the installed library folder.
    return platform::LibraryPath(CFSLibrary::FileName(kLibraryName));
}
