// The WAV reader's RIFF walk on files built byte by byte, and on files sox made.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "media/FSSoundChannels.h"
#include "media/FSWaveFile.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes Chunk(const char* id, const Bytes& body, uint32_t declared = 0xFFFFFFFF, bool pad = true) {
    Bytes out(id, id + 4);
    Put32(out, declared != 0xFFFFFFFF ? declared : static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) out.push_back(0);
    return out;
}

// A 16-bit mono 22050 Hz format record of size bytes (16 or 18; 18 carries extra = 7).
Bytes Format(size_t size = 16) {
    Bytes f = {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0, 7, 0};
    f.resize(size);
    return f;
}

const Bytes kSamples = {1, 2, 3, 4, 5, 6};

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes out = {'R', 'I', 'F', 'F'};
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

TEST(WaveFile, TheRiffWalkFindsFormatAndDataAndRefusesWhatLies) {
    const Bytes list = Chunk("LIST", {'I', 'N', 'F', 'O', 'a', 'b', 'c', 'd'});
    Bytes truncated = Riff({Chunk("fmt ", Format()), Chunk("data", kSamples)});
    truncated.resize(truncated.size() - 2);
    struct Case {
        const char* what;
        Bytes file;
        FSWaveError error;
        uint16_t extra;
    };
    const Case cases[] = {
        {"plain", Riff({Chunk("fmt ", Format()), Chunk("data", kSamples)}), FSWaveError::None, 0},
        {"LIST between", Riff({Chunk("fmt ", Format()), list, Chunk("data", kSamples)}), FSWaveError::None,
         0},
        {"18-byte fmt", Riff({Chunk("fmt ", Format(18)), Chunk("data", kSamples)}), FSWaveError::None, 7},
        // Without skipping the pad byte the walk would read "\0dat" as the next identifier.
        {"odd chunk and its pad",
         Riff({Chunk("fmt ", Format()), Chunk("junk", {9, 9, 9}), Chunk("data", kSamples)}),
         FSWaveError::None, 0},
        {"truncated data", truncated, FSWaveError::Truncated, 0},
        {"data size past the end", Riff({Chunk("fmt ", Format()), Chunk("data", kSamples, 1000)}),
         FSWaveError::Truncated, 0},
        {"skipped chunk past the end", Riff({Chunk("fmt ", Format()), Chunk("LIST", {1, 2}, 0x7FFFFFF0)}),
         FSWaveError::NoData, 0},
        {"fmt past the end", Riff({Chunk("fmt ", {1, 0, 1, 0}, 16)}), FSWaveError::Truncated, 0},
        {"no fmt", Riff({list, Chunk("data", kSamples)}), FSWaveError::NoFormat, 0},
        {"no data", Riff({Chunk("fmt ", Format()), list}), FSWaveError::NoData, 0},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, FSWaveError::NotWave, 0},
        {"too short", Bytes{'R', 'I', 'F', 'F'}, FSWaveError::NotWave, 0},
    };
    for (const Case& c : cases) {
        FSWaveSound sound;
        EXPECT_EQ(ReadWave(c.file.data(), c.file.size(), sound), c.error) << c.what;
        if (c.error == FSWaveError::None) {
            EXPECT_EQ(sound.data, kSamples) << c.what;
            EXPECT_EQ(sound.format.samplesPerSecond, 22050u) << c.what;
            EXPECT_EQ(sound.format.blockAlign, 2) << c.what;
            EXPECT_EQ(sound.format.extraSize, c.extra) << c.what;
        } else {
            EXPECT_TRUE(sound.data.empty()) << c.what;
        }
        // Every prefix of the file is walked without reading past it (the sanitiser
        // build checks the bounds).
        for (size_t n = 0; n < c.file.size(); ++n)
            ReadWave(c.file.data(), n, sound);
    }
}

class SoundFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = folder_ + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }
    static bool HaveSox() { return std::system("command -v sox >/dev/null") == 0; }
    // A WAV of the format made by sox from the effects; empty when sox fails.
    std::string Sox(const std::string& name, const std::string& format, const std::string& effects) {
        const std::string path = folder_ + name;
        const std::string command = "sox -n " + format + " " + path + " " + effects;
        return std::system(command.c_str()) == 0 ? path : std::string();
    }
    std::string folder_ = testing_support::MakeTempFolder("sound") + "/";
};

TEST_F(SoundFiles, UnplayableHugeOrMissingFilesLeaveTheChannelEmpty) {
    CFSSoundChannels channels;
    const std::string good = Write("good.wav", Riff({Chunk("fmt ", Format()), Chunk("data", kSamples)}));
    ASSERT_TRUE(channels.LoadFile(good, 1));
    EXPECT_EQ(channels.Output().SampleCount(1), 3u * 2);  // three frames, doubled, kept mono
    Bytes adpcm = Format();
    adpcm[0] = 2;
    Bytes sample24 = Format();
    sample24[12] = 3;
    sample24[14] = 24;
    Bytes slow = Format();  // 1000 Hz, 8-bit: a sound of 6 minutes 40 s
    slow[4] = 0xE8, slow[5] = 0x03, slow[6] = 0, slow[12] = 1, slow[14] = 8;
    Bytes noChannels = Format();
    noChannels[2] = 0;
    const Bytes bad[] = {Riff({Chunk("fmt ", adpcm), Chunk("data", kSamples)}),
                         Riff({Chunk("fmt ", sample24), Chunk("data", kSamples)}),
                         Riff({Chunk("fmt ", slow), Chunk("data", Bytes(400000, 128))}),
                         Riff({Chunk("fmt ", noChannels), Chunk("data", kSamples)}),
                         Riff({Chunk("fmt ", Format())})};
    for (const Bytes& file : bad) {
        ASSERT_TRUE(channels.LoadFile(good, 1));
        // Reloading a channel releases its sound first, whether or not the new one loads.
        EXPECT_FALSE(channels.LoadFile(Write("bad.wav", file), 1));
        EXPECT_FALSE(channels.IsLoaded(1));
    }
    EXPECT_FALSE(channels.LoadFile(folder_ + "missing.wav", 1));
    EXPECT_FALSE(channels.LoadFile(folder_, 1));  // a folder
    // A file larger than any sound of the game is not read at all.
    const std::string huge = Write("huge.wav", Riff({Chunk("fmt ", Format()), Chunk("data", kSamples)}));
    ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxWaveFileBytes + 1)), 0);
    FSWaveSound sound;
    EXPECT_EQ(ReadWaveFile(huge, sound), FSWaveError::TooLarge);
    EXPECT_FALSE(channels.LoadFile(good, 6));
    EXPECT_FALSE(channels.LoadFile(good, -1));
}

TEST_F(SoundFiles, WavesMadeBySoxLoadAndPlay) {
    struct Case {
        const char* name;
        const char* arguments;
        double seconds;
    };
    const Case cases[] = {{"u8.wav", "-r 11025 -b 8 -e unsigned -c 1", 0.5},
                          {"stereo16.wav", "-r 22050 -b 16 -c 2", 0.25},
                          {"cd.wav", "-r 44100 -b 16 -c 1", 0.2},
                          {"float.wav", "-r 48000 -b 32 -e floating-point -c 2", 0.1}};
    if (!HaveSox()) GTEST_SKIP() << "sox is not installed";
    CFSSoundChannels channels;
    int channel = 0;
    for (const Case& c : cases) {
        const std::string path =
            Sox(c.name, c.arguments, "synth " + std::to_string(c.seconds) + " square 441 vol 0.5");
        ASSERT_FALSE(path.empty()) << c.name;
        ASSERT_TRUE(channels.LoadFile(path, channel)) << c.name;
        // Converted to 44.1 kHz stereo: two samples a frame.
        const double expected = c.seconds * 44100 * 2;
        EXPECT_NEAR(static_cast<double>(channels.Output().SampleCount(channel)), expected, expected * 0.01)
            << c.name;
        channels.PlayLooped(channel);
        EXPECT_TRUE(channels.IsPlaying(channel)) << c.name;
        ++channel;
    }
    // The 44.1 kHz mono file reaches the device unchanged, in both channels.
    std::vector<int16_t> block(4096);
    channels.StopAll();
    channels.PlayOnce(2);
    channels.Output().Fill(reinterpret_cast<uint8_t*>(block.data()), static_cast<int>(block.size() * 2));
    int peak = 0;
    for (int16_t s : block)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    FSWaveSound cd;
    ASSERT_EQ(ReadWaveFile(folder_ + "cd.wav", cd), FSWaveError::None);
    int filePeak = 0;
    for (size_t i = 0; i + 1 < cd.data.size(); i += 2)
        filePeak = std::max(filePeak, std::abs(static_cast<int16_t>(cd.data[i] | cd.data[i + 1] << 8)));
    EXPECT_GT(filePeak, 10000);
    EXPECT_NEAR(peak, filePeak, 4);  // sox dithers: the first 46 ms hold nearly its peak
    EXPECT_EQ(block[0], block[1]);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(channels.IsPlaying(k), k == 2) << k;
}

}  // namespace
