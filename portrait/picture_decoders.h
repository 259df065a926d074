// The picture decoders behind picture_file.h, one per format, and the checks of each format's
// structure that run before any decoder allocates the picture. Used by picture_file.cpp only.
//
// Every decoder reads from a source positioned at the format's signature and fills `out` with
// colour values; transparent pixels (and a GIF's pixels that its first frame leaves uncovered)
// take `background`. The host build decodes JPEG, PNG and GIF through the system's libraries
// (libjpeg-turbo, libpng, giflib), the Windows build through stb_image, which needs no library
// of the platform; BMP has its own decoder in both builds.
//
// The structure checks read the whole file once, without decoding: a file that is cut short,
// whose chunks fail their checksums (PNG), or that declares more pixels than its data could
// possibly encode is refused there, before a decoder allocates anything of the picture's size.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "portrait/picture.h"
#include "portrait/picture_file.h"
#include "portrait/picture_source.h"

namespace qm::decode {

struct Request {
  uint32_t background = kColourWhite;
  // May be null. A decoder that can reduce a picture while decoding (JPEG on the host) sets
  // its divisor and sizes.
  ReducedDecode* reduce = nullptr;
};

// The size a file declares: refused when empty or above kMaxPicturePixels.
Status CheckDeclaredSize(int64_t width, int64_t height);
// A picture of that size, all `fill`, or the reason it could not be had (memory).
Status NewPicture(int width, int height, Picture* out, uint32_t fill = kColourBlack);
// PNG's rule for pixels with alpha: below this they count as transparent.
constexpr uint8_t kOpaqueAlpha = 128;

Status CheckJpegStructure(PictureSource& source);
Status CheckPngStructure(PictureSource& source);
Status CheckGifStructure(PictureSource& source);

Status DecodeJpeg(PictureSource& source, const Request& request, Picture* out);
Status DecodePng(PictureSource& source, const Request& request, Picture* out);
Status DecodeGif(PictureSource& source, const Request& request, Picture* out);
Status DecodeBmp(PictureSource& source, const Request& request, Picture* out);

}  // namespace qm::decode
