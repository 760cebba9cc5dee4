// Cost of the resource loaders and the masked copy: a 256 x 256 RGBA texture (decoding
// alone, through the archive, and with the GL upload), a 5 000-triangle model (first load
// and from the cache), and a whole 240 x 320 picture drawn through a mask.
#include <GLES/gl.h>
#include <benchmark/benchmark.h>
#include <zip.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/Canvas.h"
#include "common/ImageFiles.h"
#include "platform/FSGLSurface.h"
#include "resources/FSBitmap.h"
#include "resources/FSDataPassword.h"
#include "resources/FSMeshLoader.h"
#include "resources/FSPng.h"

namespace {

// A 256 x 256 RGBA picture with gradients and noise, so that it compresses like a real one.
std::vector<uint8_t> MakeTexturePng() {
    Canvas canvas(256, 256);
    std::mt19937 random(3);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const int noise = static_cast<int>(random() % 24);
            canvas.At(x, y) =
                Rgba{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                     static_cast<uint8_t>((x + y + noise) / 2), static_cast<uint8_t>(255 - noise)};
        }
    }
    return EncodePng(canvas, true);
}

// A grid of 50 x 50 cells, two triangles each: 5 000 triangles with positions, texture
// coordinates and normals.
std::string MakeModelObj() {
    std::string text = "# bench grid\nmtllib grid.mtl\no grid\n";
    char line[128];
    for (int z = 0; z <= 50; ++z) {
        for (int x = 0; x <= 50; ++x) {
            std::snprintf(line, sizeof line, "v %.4f %.4f %.4f\n", x * 0.1,
                          std::sin(x * 0.3) * std::cos(z * 0.2), z * 0.1);
            text += line;
            std::snprintf(line, sizeof line, "vt %.4f %.4f\n", x / 50.0, z / 50.0);
            text += line;
            text += "vn 0.0000 1.0000 0.0000\n";
        }
    }
    text += "usemtl ground\n";
    for (int z = 0; z < 50; ++z) {
        for (int x = 0; x < 50; ++x) {
            const int a = z * 51 + x + 1, b = a + 1, c = a + 51, d = c + 1;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, c, c, c, b, b, b);
            text += line;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", b, b, b, c, c, c, d, d, d);
            text += line;
        }
    }
    return text;
}

// One archive with both members, encrypted with the game's password as the data build does.
struct BenchData {
    std::string folder;
    std::string archive;
    std::vector<uint8_t> png;
    bool ready = false;

    BenchData() {
        char made[] = "/tmp/aerovant-bench-resources-XXXXXX";
        if (!mkdtemp(made)) return;
        folder = made;
        archive = folder + "/data.zip";
        png = MakeTexturePng();
        static const std::string obj = MakeModelObj();
        char password[kDataPasswordLength + 1] = {};
        UnscrambleDataPassword(password);
        int error = 0;
        zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!zip) return;
        struct Member {
            const char* name;
            const void* bytes;
            size_t size;
        } members[] = {{"texture.png", png.data(), png.size()}, {"grid.obj", obj.data(), obj.size()}};
        for (const Member& m : members) {
            zip_source_t* source = zip_source_buffer(zip, m.bytes, m.size, 0);
            const zip_int64_t index = source ? zip_file_add(zip, m.name, source, ZIP_FL_OVERWRITE) : -1;
            if (index < 0 || zip_file_set_encryption(zip, static_cast<zip_uint64_t>(index),
                                                     ZIP_EM_TRAD_PKWARE, password) != 0) {
                if (source && index < 0) zip_source_free(source);
                zip_discard(zip);
                return;
            }
        }
        ready = zip_close(zip) == 0;
    }
    ~BenchData() {
        std::error_code error;
        if (!folder.empty()) std::filesystem::remove_all(folder, error);
    }
};

const BenchData& Data() {
    static const BenchData data;
    return data;
}

void BM_DecodePng256Rgba(benchmark::State& state) {
    const BenchData& data = Data();
    FSPngImage image;
    for (auto _ : state) {
        if (!DecodePng(data.png.data(), data.png.size(), image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_DecodePng256Rgba)->Unit(benchmark::kMicrosecond);

void BM_ReadPng256RgbaFromArchive(benchmark::State& state) {
    const BenchData& data = Data();
    if (!data.ready) return state.SkipWithError("no archive");
    FSPngImage image;
    for (auto _ : state) {
        if (!ReadPng(data.archive, "texture.png", image)) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(image.pixels.data());
    }
}
BENCHMARK(BM_ReadPng256RgbaFromArchive)->Unit(benchmark::kMicrosecond);

// The whole first request of a texture: archive, decoding, texture object and upload
// (with generated mipmaps at quality 4).
void BM_LoadPng256RgbaWithUpload(benchmark::State& state) {
    const BenchData& data = Data();
    if (!data.ready) return state.SkipWithError("no archive");
    CFSGLSurface surface;
    if (!surface.Create(64, 64)) return state.SkipWithError("no GL context");
    const int quality = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const GLuint texture = LoadPng(data.archive, "texture.png", quality);
        if (texture == kNoTexture) state.SkipWithError("load failed");
        glFinish();
        state.PauseTiming();
        glDeleteTextures(1, &texture);
        state.ResumeTiming();
    }
    state.SetLabel(quality == 4 ? "quality 4, mipmaps" : "quality 1");
}
BENCHMARK(BM_LoadPng256RgbaWithUpload)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

void BM_LoadMesh5000TrianglesFirstLoad(benchmark::State& state) {
    const BenchData& data = Data();
    if (!data.ready) return state.SkipWithError("no archive");
    FSMesh mesh;
    for (auto _ : state) {
        CFSMeshLoader loader(data.archive);
        if (!loader.LoadMesh("grid.obj", mesh) || mesh.triangleCount != 5000)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(mesh.positions.data());
    }
}
BENCHMARK(BM_LoadMesh5000TrianglesFirstLoad)->Unit(benchmark::kMicrosecond);

void BM_LoadMesh5000TrianglesCached(benchmark::State& state) {
    const BenchData& data = Data();
    if (!data.ready) return state.SkipWithError("no archive");
    CFSMeshLoader loader(data.archive);
    FSMesh mesh;
    if (!loader.LoadMesh("grid.obj", mesh)) return state.SkipWithError("load failed");
    for (auto _ : state) {
        FSMesh copy;  // each node gets fresh arrays
        loader.LoadMesh("grid.obj", copy);
        benchmark::DoNotOptimize(copy.positions.data());
    }
}
BENCHMARK(BM_LoadMesh5000TrianglesCached)->Unit(benchmark::kMicrosecond);

// A full 240 x 320 picture through a mask, straight (transform 0) and turned (transform 1).
// Mask 0 is the worst case, each pixel at random clear, opaque or partial; mask 1 is like
// a real sprite: an opaque disc with a partial rim on a clear ground.
void BM_CopyPixelsMasked240x320(benchmark::State& state) {
    const int w = 240, h = 320;
    std::mt19937 random(11);
    std::vector<uint16_t> source(w * h), screen(w * h, 0x4208);
    std::vector<uint8_t> mask(w * h);
    for (auto& p : source)
        p = static_cast<uint16_t>(random());
    const bool sprite = state.range(1) == 1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t& m = mask[y * w + x];
            if (sprite) {
                const float edge = 110.0f - std::hypot(x - 120.0f, y - 160.0f);  // pixels inside the rim
                m = edge <= 0.0f ? 0 : edge >= 2.0f ? 255 : static_cast<uint8_t>(edge * 127.0f);
            } else {
                const uint32_t kind = random() % 3;
                m = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(1 + random() % 254);
            }
        }
    }
    const int transform = static_cast<int>(state.range(0));
    const FSSize destinationSize = transform == 1 ? FSSize{h, w} : FSSize{w, h};
    for (auto _ : state) {
        CopyPixelsMasked(screen.data(), {0, 0}, destinationSize, source.data(), {0, 0}, {w, h}, mask.data(),
                         {0, 0}, {w, h}, {w, h}, transform);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w * h);
    state.SetLabel(sprite ? "sprite mask" : "random mask");
}
BENCHMARK(BM_CopyPixelsMasked240x320)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
