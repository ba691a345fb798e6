/* The functions an image plug-in exports, as the host calls them. Plain C, so
   that plug-ins written in C can include it. A plug-in is a shared library
   whose name ends in ".spi" (in any letter case); see README.md, "Image
   plug-ins", for the contract. */
#ifndef PAGORA_IMAGES_SUSIE_API_H
#define PAGORA_IMAGES_SUSIE_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Progress of GetPicture: nNum of nDenom done; lData is the value the host
   passed to GetPicture. Returning non-zero asks the plug-in to stop (the
   host always returns 0). */
typedef int (*SusieProgressCallback)(int nNum, int nDenom, long lData);

/* Writes information text number infono (0: API version "00IN", 1: plug-in
   name, 2: file name pattern such as "*.pgx", 3: file type name) into buf,
   at most buflen bytes; returns the number of bytes written, 0 when infono
   has no text. */
typedef int (*SusieGetPluginInfo)(int infono, char* buf, int buflen);

/* Non-zero when the plug-in reads the data. With filename null, dw is the
   address of the file image in memory (at least 2,048 bytes are readable). */
typedef int (*SusieIsSupported)(const char* filename, uintptr_t dw);

struct SusiePictureInfo;
typedef int (*SusieGetPictureInfo)(const char* buf, long len, unsigned int flag,
                                   struct SusiePictureInfo* lpInfo);

/* Decodes the picture. With flag 1, buf is the file image and len its length.
   On success returns 0 and sets *pHBInfo to a malloc'd block holding a
   BITMAPINFOHEADER (40 bytes, little-endian) and its colour table, and *pHBm
   to a malloc'd block holding the pixel rows; the host frees both with free.
   Any other result is an error, and the host frees nothing. */
typedef int (*SusieGetPicture)(const char* buf, long len, unsigned int flag, void** pHBInfo,
                               void** pHBm, SusieProgressCallback lpPrgressCallback, long lData);

#define SUSIE_API_VERSION_IMPORT "00IN"
#define SUSIE_INPUT_IN_MEMORY 1u

#ifdef __cplusplus
}
#endif

#endif
