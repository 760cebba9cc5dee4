// The data build's sounds: writes the game's five WAV files into a folder (the "sounds"
// folder beside the executable).
//   aerovant-soundbuild <folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "soundbuild/SoundEffects.h"
#include "soundbuild/SoundSynth.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: aerovant-soundbuild <folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    using namespace soundbuild;
    struct Sound {
        const char* name;
        Samples (*make)();
    };
    const Sound sounds[] = {{"menu_m.wav", &MakeMenuTune},
                            {"wind.wav", &MakeWind},
                            {"explos.wav", &MakeExplosion},
                            {"wasp.wav", &MakePropellerEngine},
                            {"whine.wav", &MakeJetEngine}};
    int status = 0;
    for (const Sound& sound : sounds) {
        if (!WriteWave(folder + sound.name, sound.make())) {
            std::fprintf(stderr, "aerovant-soundbuild: cannot write %s%s\n", folder.c_str(), sound.name);
            status = 1;
        }
    }
    return status;
}
