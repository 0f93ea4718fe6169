/* Version of the stand-in codec library, shared by its code and its version record. */
#ifndef KWB_CODEC_VERSION_H
#define KWB_CODEC_VERSION_H

#define CODEC_VERSION_MAJOR 1
#define CODEC_VERSION_MINOR 5
#define CODEC_VERSION_PATCH 1
#define CODEC_VERSION_BUILD 0
#define CODEC_VERSION_TEXT "1.5.1.0"
#define CODEC_DESCRIPTION "Stand-in JPEG codec library"

#endif
