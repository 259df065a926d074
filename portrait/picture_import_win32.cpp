#include "portrait/picture_import_win32.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>
#include <span>

#include "base/file.h"
#include "base/handles_win32.h"
#include "portrait/dib_bits_win32.h"
#include "portrait/picture_file.h"

namespace qm {
namespace {

// Files larger than this are not pictures the editor takes.
constexpr uint64_t kMaxPictureFileBytes = uint64_t{512} << 20;

bool IsPng(std::span<const uint8_t> bytes) {
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return bytes.size() >= sizeof kSignature &&
         std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

// The platform's picture decoder: the picture rendered over a canvas of the fill colour (or
// white) into a new 24-bit bitmap.
GdiBitmap LoadWithPlatform(const GlobalMemory& file, size_t file_size, bool fill, COLORREF fill_colour) {
  ComScope com;
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(file.get(), FALSE, stream.out()))) return {};
  ComPtr<IPicture> picture;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(file_size), FALSE, IID_IPicture, picture.out_void()))) {
    return {};
  }
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height))) return {};

  MemoryDc dc(nullptr);
  if (!dc) return {};
  const int pixel_width = MulDiv(width, GetDeviceCaps(dc.get(), LOGPIXELSX), 2540);
  const int pixel_height = MulDiv(height, GetDeviceCaps(dc.get(), LOGPIXELSY), 2540);
  if (pixel_width <= 0 || pixel_height <= 0 ||
      int64_t{pixel_width} * pixel_height > static_cast<int64_t>(kMaxPicturePixels)) {
    return {};
  }
  void* bits = nullptr;
  GdiBitmap bitmap = CreatePictureBitmap(pixel_width, pixel_height, &bits);
  if (!bitmap) return {};
  {
    SelectInDc keep(dc.get(), bitmap.get());
    if (!keep.ok()) return {};
    // Pixels the picture leaves uncovered (transparent ones) keep this background. A picture
    // without transparency covers every pixel, so a large photo skips the fill.
    DWORD attributes = 0;
    if (FAILED(picture->get_Attributes(&attributes)) || (attributes & PICTURE_TRANSPARENT) != 0) {
      GdiBrush background(CreateSolidBrush(fill ? fill_colour : RGB(255, 255, 255)));
      const RECT all{0, 0, pixel_width, pixel_height};
      if (!background || !FillRect(dc.get(), &all, background.get())) return {};
    }
    // The source starts at the bottom edge with a negative extent, so the picture lands upright.
    if (FAILED(picture->Render(dc.get(), 0, 0, pixel_width, pixel_height, 0, height, width,
                               -height, nullptr))) {
      return {};
    }
  }
  GdiFlush();
  return bitmap;
}

// The core's own loader (JPEG, GIF, BMP, PNG with its alpha as transparency).
GdiBitmap LoadWithCore(std::span<const uint8_t> bytes, bool fill, COLORREF fill_colour) {
  Picture picture;
  if (!DecodePictureBytes(bytes, fill, static_cast<uint32_t>(fill_colour) & 0x00FFFFFF,
                          &picture)) {
    return {};
  }
  return MakePictureBitmap(picture);
}

}  // namespace

GdiBitmap LoadPictureFile(const char* path, bool fill, COLORREF fill_colour) {
  if (path == nullptr || *path == '\0') return {};
  try {
    File file = File::Open(path, File::Mode::kRead);
    if (!file.is_open()) return {};
    const std::optional<uint64_t> size = file.Size();
    if (!size || *size == 0 || *size > kMaxPictureFileBytes) return {};
    const size_t block_size = static_cast<size_t>(*size);
    const GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, block_size));
    if (!block) return {};
    {
      GlobalLockScope lock(block.get());
      if (lock.data() == nullptr || !file.Read(lock.data(), block_size)) return {};
    }
    (void)file.Close();  // opened for reading: all bytes are already in

    GlobalLockScope lock(block.get());
    if (lock.data() == nullptr) return {};
    const std::span<const uint8_t> bytes(lock.data(), block_size);
    // PNG goes to the core's loader at once: its alpha then means the same on every system.
    if (!IsPng(bytes)) {
      if (GdiBitmap bitmap = LoadWithPlatform(block, block_size, fill, fill_colour)) return bitmap;
    }
    return LoadWithCore(bytes, fill, fill_colour);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

bool LoadFaceFromFile(HWND owner, FaceKind kind, const std::function<std::optional<FaceEdit>()>& begin_edit,
                      NewFaces* faces) {
  const std::optional<std::string> path = ChoosePictureFile(owner);
  if (!path) return false;
  // Only now: the option panel stays usable while the dialog is open.
  const std::optional<FaceEdit> edit = begin_edit();
  if (!edit) return false;
  const GdiBitmap picture = LoadPictureFile(path->c_str(), edit->options.auto_ring);
  if (!picture) return false;
  return PutPictureIntoFace(picture.get(), kind, *edit, faces).ok();
}

}  // namespace qm
