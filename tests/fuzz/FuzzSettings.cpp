// "settings.bin": read, written and read again to the same settings.
#include "FuzzSupport.h"
#include "app/FSSettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FSSettings settings;
    ParseSettings(fuzz::Text(data, size), settings);
    const std::string written = FormatSettings(settings);
    FSSettings again;
    ParseSettings(written, again);
    if (FormatSettings(again) != written) __builtin_trap();
    return 0;
}
