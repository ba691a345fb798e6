// Libraries named like image plug-ins that the loader must turn away or pass
// over: BROKEN_OLD_API answers an API version other than "00IN",
// BROKEN_NO_GETPICTURE cannot decode (no GetPicture), BROKEN_NO_INFO has no
// GetPluginInfo at all.
#include "images/susie_api.h"

#include <cstdint>
#include <cstring>

extern "C" {

#ifndef BROKEN_NO_INFO
int GetPluginInfo(int infono, char* buf, int buflen) {
    const char* texts[] = {
#ifdef BROKEN_OLD_API
        "00AM",
#else
        SUSIE_API_VERSION_IMPORT,
#endif
        "broken test plug-in", "*.pgx", "PGX picture"};
    if (infono < 0 || infono > 3 || buflen < 32)
        return 0;
    std::strcpy(buf, texts[infono]);
    return static_cast<int>(std::strlen(buf));
}
#endif

int IsSupported(const char*, std::uintptr_t) {
    return 1;
}

#ifdef BROKEN_OLD_API
int GetPicture(const char*, long, unsigned int, void**, void**, SusieProgressCallback, long) {
    return 0;
}
#endif

} // extern "C"
