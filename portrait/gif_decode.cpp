// GIF through giflib's line decoder: only the first frame is decoded, line by line into the
// picture, whose canvas (the GIF's logical screen) starts as the background colour; the
// frame's transparent pixels and whatever it leaves uncovered keep that colour.
#include <gif_lib.h>

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "portrait/picture_decoders.h"

namespace qm::decode {
namespace {

int ReadBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<PictureSource*>(gif->UserData);
  return length > 0 && source->Read(out, static_cast<size_t>(length)) ? length : 0;
}

struct CloseGif {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

Status Damaged(int error) {
  const char* why = GifErrorString(error);
  return Status::Fail(std::string("damaged GIF picture (") + (why != nullptr ? why : "unknown error") + ")");
}

// The rows of an interlaced frame in the order they are stored: every 8th from 0, every 8th
// from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

}  // namespace

Status DecodeGif(PictureSource& source, const Request& request, Picture* out) {
  int error = 0;
  std::unique_ptr<GifFileType, CloseGif> gif(DGifOpen(&source, ReadBytes, &error));
  if (!gif) return Damaged(error);
  if (Status s = CheckDeclaredSize(gif->SWidth, gif->SHeight); !s) return s;
  int transparent = -1;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) return Damaged(gif->Error);
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return Damaged(gif->Error);
      // Graphic control: flags, delay (2 bytes), transparent index.
      if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        transparent = (block[1] & 1) != 0 ? block[4] : -1;
      }
      while (block != nullptr) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) return Damaged(gif->Error);
      }
      continue;
    }
    if (record == TERMINATE_RECORD_TYPE) return Status::Fail("damaged GIF picture (no image)");
    if (record != IMAGE_DESC_RECORD_TYPE) return Damaged(D_GIF_ERR_WRONG_RECORD);
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return Damaged(gif->Error);
    break;
  }

  const GifImageDesc& frame = gif->Image;
  if (frame.Left < 0 || frame.Top < 0 || frame.Width < 0 || frame.Height < 0 ||
      int64_t{frame.Left} + frame.Width > gif->SWidth || int64_t{frame.Top} + frame.Height > gif->SHeight) {
    return Status::Fail("damaged GIF picture (frame outside the picture)");
  }
  const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (map == nullptr || map->Colors == nullptr) return Status::Fail("damaged GIF picture (no colours)");
  std::vector<uint32_t> colours(256, kColourBlack);
  for (int i = 0; i < map->ColorCount && i < 256; ++i) {
    const GifColorType& c = map->Colors[i];
    colours[static_cast<size_t>(i)] = MakeColour(c.Red, c.Green, c.Blue);
  }

  Picture picture;
  if (Status s = NewPicture(gif->SWidth, gif->SHeight, &picture, request.background); !s) return s;
  try {
    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width) + 1);
    // An empty frame covers nothing: the canvas stays as it is.
    const int rows = frame.Width > 0 ? frame.Height : 0;
    for (const int y : RowOrder(rows, frame.Interlace)) {
      if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR) return Damaged(gif->Error);
      uint32_t* row = picture.row(frame.Top + y) + frame.Left;
      for (int x = 0; x < frame.Width; ++x) {
        if (line[static_cast<size_t>(x)] != transparent) row[x] = colours[line[static_cast<size_t>(x)]];
      }
    }
  } catch (const std::bad_alloc&) {
    return Status::Fail("not enough memory for the picture");
  }
  *out = std::move(picture);
  return Status::Ok();
}

}  // namespace qm::decode
