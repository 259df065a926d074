#include "tools/skinart/bitmap_files.h"

#include <stdexcept>

namespace qm::skinart {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi

class ByteSink {
 public:
  void U8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { U8(v); U8(v >> 8); }
  void U32(uint32_t v) { U16(v); U16(v >> 16); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Zeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

uint32_t RowStride(int width, int bits_per_pixel) {
  return ((static_cast<uint32_t>(width) * static_cast<uint32_t>(bits_per_pixel) + 31) / 32) * 4;
}

void InfoHeader(ByteSink& out, int width, int height, int bits, uint32_t image_size,
                uint32_t colours_used) {
  out.U32(kInfoHeaderSize);
  out.I32(width);
  out.I32(height);  // positive: rows bottom-up
  out.U16(1);       // planes
  out.U16(static_cast<uint32_t>(bits));
  out.U32(0);       // BI_RGB
  out.U32(image_size);
  out.I32(kPixelsPerMetre);
  out.I32(kPixelsPerMetre);
  out.U32(colours_used);
  out.U32(0);       // all colours important
}

void Palette(ByteSink& out, const std::vector<uint32_t>& colours) {
  for (uint32_t c : colours) {
    out.U8(BlueOf(c));
    out.U8(GreenOf(c));
    out.U8(RedOf(c));
    out.U8(0);
  }
}

// File header, info header and palette of a bitmap file; pixel rows follow.
ByteSink BitmapHead(int width, int height, int bits, const std::vector<uint32_t>& palette) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("empty bitmap");
  const uint32_t image_size = RowStride(width, bits) * static_cast<uint32_t>(height);
  const uint32_t bits_offset =
      kFileHeaderSize + kInfoHeaderSize + static_cast<uint32_t>(palette.size()) * 4;
  ByteSink out;
  out.U8('B');
  out.U8('M');
  out.U32(bits_offset + image_size);
  out.U32(0);
  out.U32(bits_offset);
  InfoHeader(out, width, height, bits, image_size, static_cast<uint32_t>(palette.size()));
  Palette(out, palette);
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeIndexedBmp(const IndexedImage& image) {
  if (image.palette.size() != 256 ||
      image.indices.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
    throw std::invalid_argument("indexed image does not match its size");
  }
  ByteSink out = BitmapHead(image.width, image.height, 8, image.palette);
  const uint32_t stride = RowStride(image.width, 8);
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t row = static_cast<size_t>(y) * static_cast<size_t>(image.width);
    for (int x = 0; x < image.width; ++x) out.U8(image.indices[row + static_cast<size_t>(x)]);
    out.Zeros(stride - static_cast<uint32_t>(image.width));
  }
  return std::move(out.bytes());
}

std::vector<uint8_t> EncodeTrueColourBmp(const Picture& picture) {
  ByteSink out = BitmapHead(picture.width(), picture.height(), 24, {});
  const uint32_t stride = RowStride(picture.width(), 24);
  for (int y = picture.height() - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width(); ++x) {
      const uint32_t c = picture.at(x, y);
      out.U8(BlueOf(c));
      out.U8(GreenOf(c));
      out.U8(RedOf(c));
    }
    out.Zeros(stride - static_cast<uint32_t>(picture.width()) * 3);
  }
  return std::move(out.bytes());
}

std::vector<uint8_t> EncodeMonochromeBmp(const Picture& picture) {
  ByteSink out = BitmapHead(picture.width(), picture.height(), 1, {kColourBlack, kColourWhite});
  const uint32_t stride = RowStride(picture.width(), 1);
  for (int y = picture.height() - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.at(x, y) == kColourWhite) {
        row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
      }
    }
    for (uint8_t b : row) out.U8(b);
  }
  return std::move(out.bytes());
}

std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images) {
  // Each image: info header (height doubled: colour rows then mask rows), BGRA rows bottom-up,
  // then the AND mask (1 = transparent) bottom-up.
  std::vector<std::vector<uint8_t>> blobs;
  for (const IconImage& image : images) {
    const int n = image.size;
    if (n <= 0 || n > 256 || image.rgba.size() != static_cast<size_t>(n) * static_cast<size_t>(n) * 4) {
      throw std::invalid_argument("icon image does not match its size");
    }
    const uint32_t mask_stride = RowStride(n, 1);
    const uint32_t image_size = static_cast<uint32_t>(n * n * 4) + mask_stride * static_cast<uint32_t>(n);
    ByteSink blob;
    InfoHeader(blob, n, 2 * n, 32, image_size, 0);
    for (int y = n - 1; y >= 0; --y) {
      for (int x = 0; x < n; ++x) {
        const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * static_cast<size_t>(n) + static_cast<size_t>(x)) * 4];
        blob.U8(p[2]);
        blob.U8(p[1]);
        blob.U8(p[0]);
        blob.U8(p[3]);
      }
    }
    for (int y = n - 1; y >= 0; --y) {
      std::vector<uint8_t> row(mask_stride, 0);
      for (int x = 0; x < n; ++x) {
        const uint8_t alpha =
            image.rgba[(static_cast<size_t>(y) * static_cast<size_t>(n) + static_cast<size_t>(x)) * 4 + 3];
        if (alpha < 128) row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
      }
      for (uint8_t b : row) blob.U8(b);
    }
    blobs.push_back(std::move(blob.bytes()));
  }

  ByteSink out;
  out.U16(0);  // reserved
  out.U16(1);  // icon
  out.U16(static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int n = images[i].size;
    out.U8(n == 256 ? 0 : static_cast<uint32_t>(n));
    out.U8(n == 256 ? 0 : static_cast<uint32_t>(n));
    out.U8(0);   // no palette
    out.U8(0);
    out.U16(1);  // planes
    out.U16(32);
    out.U32(static_cast<uint32_t>(blobs[i].size()));
    out.U32(offset);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const auto& blob : blobs) {
    for (uint8_t b : blob) out.U8(b);
  }
  return std::move(out.bytes());
}

}  // namespace qm::skinart
