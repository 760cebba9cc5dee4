// The sky boxes of textures.zip: "skyboxes/skybox1/<time>/<face>.png" for the four times
// of day (SkyPictures.h).
#include <string>

#include "common/ImageFiles.h"
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"
#include "databuild/SkyPictures.h"
#include "world/FSDayTime.h"

bool AddSkyBoxes(ArchiveBuilder& archive, const DataSources&) {
    bool ok = true;
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeNight; ++dayTime) {
        const std::string folder = SkyBoxFolder(dayTime);
        for (int face = 0; face < skybox::kFaceCount; ++face) {
            const std::string member = folder + "/" + skybox::FaceFile(face);
            ok = archive.Add(member, EncodePng(skybox::PaintFace(dayTime, face), false)) && ok;
        }
    }
    return ok;
}
