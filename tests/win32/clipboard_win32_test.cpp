#include "portrait/clipboard_win32.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/handles_win32.h"
#include "heroes/hero_record.h"
#include "portrait/dib_bits_win32.h"
#include "portrait/face_art.h"
#include "portrait/face_view_win32.h"
#include "portrait/portrait_codec.h"
#include "resources/string_ids.h"
#include "tests/test_util.h"
#include "tests/win32/win32_fixtures.h"

namespace qm {
namespace {

GdiBitmap FaceView(int size) {
  WindowDc screen(nullptr);
  return GdiBitmap(CreateCompatibleBitmap(screen.get(), size, size));
}

// A hero with both faces, shown in both views.
struct FaceClipboard : ::testing::Test {
  FaceClipboard() {
    record.keyword = "Clip";
    record.hero_class = kClassKnight;
    record.flags = kHeroHasLarge | kHeroHasSmall;
    for (FaceKind kind : {FaceKind::kLarge, FaceKind::kSmall}) {
      const int size = FaceSize(kind);
      Picture face(size, size);
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) face.at(x, y) = MakeColour(x * 3, y * 3, 90);
      }
      ApplyFaceMask(&face, MakeFaceMask(size));
      EXPECT_TRUE(EncodePortrait(face, record.keyword, &record.face(kind)));
      EXPECT_TRUE(DecodeFaceIntoView(record.face(kind), kind, kind == FaceKind::kLarge ? large.get() : small.get()));
    }
  }
  FaceEdit Edit(const FaceOptions& options = {}) {
    return {options, {record.keyword, record.hero_class, AlignmentOfClass(record.hero_class)}};
  }
  // What the editor does with new faces: the record takes them.
  void Store(FaceKind kind, NewFaces faces) {
    record.face(kind) = std::move(faces.face.image);
    if (faces.small) record.small_face = std::move(faces.small->image);
  }
  PasteResult Paste(FaceKind kind, const FaceOptions& options = {}) {
    NewFaces faces;
    const PasteResult result = PasteFace(owner.get(), kind, Edit(options), &faces);
    if (result == PasteResult::kPasted) Store(kind, std::move(faces));
    return result;
  }
  static Picture Shown(const std::vector<uint8_t>& image, int size) {
    Picture face;
    EXPECT_TRUE(DecodePortrait(image, size, &face));
    return face;
  }

  HeroRecord record;
  GdiBitmap large = FaceView(kLargeFaceSize);
  GdiBitmap small = FaceView(kSmallFaceSize);
  test::HiddenWindow owner;
};

TEST_F(FaceClipboard, CopyThenPasteIntoTheSameFaceKeepsItsPixels) {
  const Picture before = Shown(record.large_face, kLargeFaceSize);
  const std::vector<uint8_t> small_before = record.small_face;
  ASSERT_TRUE(CopyFace(owner.get(), large.get()));
  FaceOptions options;
  options.resize_method = kResizeBicubic;  // equal sizes copy whatever the method
  ASSERT_EQ(Paste(FaceKind::kLarge, options), PasteResult::kPasted);
  EXPECT_EQ(Shown(record.large_face, kLargeFaceSize), before);
  // Auto S.Face Copy made the small face from it (Bicubic smooths it: a new face).
  EXPECT_NE(record.small_face, small_before);
  EXPECT_EQ(Shown(record.small_face, kSmallFaceSize).width(), kSmallFaceSize);
}

TEST_F(FaceClipboard, LargeFacePastedIntoTheSmallFaceIsScaled) {
  ASSERT_TRUE(CopyFace(owner.get(), large.get()));
  const std::vector<uint8_t> large_before = record.large_face;
  ASSERT_EQ(Paste(FaceKind::kSmall), PasteResult::kPasted);
  EXPECT_EQ(record.large_face, large_before);
  EXPECT_EQ(Shown(record.small_face, kSmallFaceSize).width(), kSmallFaceSize);
}

TEST_F(FaceClipboard, EmptyClipboardGivesNoBitmap) {
  {
    const ClipboardScope clipboard(owner.get());
    ASSERT_TRUE(clipboard.ok());
    EmptyClipboard();
  }
  const std::vector<uint8_t> before = record.large_face;
  EXPECT_EQ(Paste(FaceKind::kLarge), PasteResult::kNoBitmap);
  EXPECT_EQ(record.large_face, before);
}

TEST_F(FaceClipboard, CopyWithoutAFaceViewLeavesTheClipboardAlone) {
  ASSERT_TRUE(CopyFace(owner.get(), small.get()));
  EXPECT_FALSE(CopyFace(owner.get(), nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

// A WM_DROPFILES drop of `paths`, as the shell builds it.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& p : paths) bytes += p.size() + 1;
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
  const GlobalLockScope lock(block.get());
  auto* drop = reinterpret_cast<DROPFILES*>(lock.data());
  if (drop == nullptr) return nullptr;
  drop->pFiles = sizeof(DROPFILES);
  char* names = reinterpret_cast<char*>(drop + 1);
  for (const std::string& p : paths) {
    std::memcpy(names, p.c_str(), p.size() + 1);
    names += p.size() + 1;
  }
  return static_cast<HDROP>(block.release());  // the drop's receiver frees it
}

struct FaceDrop : FaceClipboard {
  FaceDrop() {
    SetFaceDropHost({[this]() -> std::optional<FaceEdit> {
                       if (!catalogue_has_records) return std::nullopt;
                       return Edit(options);
                     },
                     [this](FaceKind kind, NewFaces faces) {
                       Store(kind, std::move(faces));
                       ++refreshes;
                     },
                     [this](uint32_t id) { statuses.push_back(id); }});
    view = CreateWindowExA(WS_EX_ACCEPTFILES, "STATIC", "", WS_CHILD, 0, 0, 82, 82, owner.get(),
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    // The main window's Subclass: the previous procedure goes into the user data.
    const LONG_PTR previous =
        SetWindowLongPtrA(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LargeFaceDropProc));
    SetWindowLongPtrA(view, GWLP_USERDATA, previous);
  }
  ~FaceDrop() override {
    DestroyWindow(view);
    SetFaceDropHost({});
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    test::WriteFileBytes(dir.File(name), bytes);
    return dir.File(name);
  }

  test::TempDir dir;
  HWND view = nullptr;
  FaceOptions options;
  bool catalogue_has_records = true;
  int refreshes = 0;
  std::vector<uint32_t> statuses;
};

TEST_F(FaceDrop, OnlyTheFirstOfThreeDroppedFilesIsLoaded) {
  const std::string bmp = Write("first.bmp", test::CardBmp(90, 90));
  const std::string text = Write("second.txt", test::Bytes("text"));
  const std::vector<uint8_t> before = record.large_face;
  SendMessageA(view, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({bmp, text, text})), 0);
  EXPECT_EQ(statuses, (std::vector<uint32_t>{kMsgLoadedLarge}));
  EXPECT_EQ(refreshes, 1);
  EXPECT_NE(record.large_face, before);
}

TEST_F(FaceDrop, TextFileOrEmptyCatalogueChangesNothing) {
  const std::string text = Write("notes.txt", test::Bytes("not a picture"));
  const std::vector<uint8_t> before = record.large_face;
  SendMessageA(view, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({text})), 0);
  catalogue_has_records = false;
  const std::string bmp = Write("card.bmp", test::CardBmp(90, 90));
  SendMessageA(view, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({bmp})), 0);
  EXPECT_EQ(statuses, (std::vector<uint32_t>{kMsgLoadLargeFailed, kMsgLoadLargeFailed}));
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(record.large_face, before);
  EXPECT_EQ(HandleDroppedFile("", FaceKind::kSmall), 311u);
}

TEST_F(FaceDrop, OtherMessagesReachThePreviousProcedure) {
  SetWindowTextA(view, "still a static");
  char text[32] = {};
  GetWindowTextA(view, text, sizeof text);
  EXPECT_STREQ(text, "still a static");
}

TEST_F(FaceDrop, DroppedGifWithAutoRingGetsTheRing) {
  options.auto_ring = true;
  options.resize_method = kResizeSmart;
  const std::string gif = Write("ring.gif", test::CardGifWithTransparency(82, 82));
  ASSERT_EQ(HandleDroppedFile(gif.c_str(), FaceKind::kLarge), 308u);
  Picture face;
  ASSERT_TRUE(DecodePortrait(record.large_face, kLargeFaceSize, &face));
  // The bottom-right quadrant was transparent: its ring band now has the knight's hue,
  // not magenta; inside the ring's inner circle the overlay is black, so the face is too.
  const Picture overlay = MakeRingOverlay(kLargeFaceSize);
  int ring_pixels = 0;
  for (int y = 41; y < 82; ++y) {
    for (int x = 41; x < 82; ++x) {
      EXPECT_NE(face.at(x, y), kTransparentColour);
      if (overlay.at(x, y) != 0) {
        EXPECT_EQ(face.at(x, y), RingColour(overlay.at(x, y), kClassKnight, AlignmentOfClass(kClassKnight)));
        ++ring_pixels;
      } else if (MakeFaceMask(kLargeFaceSize).at(x, y) != 0) {
        EXPECT_EQ(face.at(x, y), kColourBlack);
      }
    }
  }
  EXPECT_GT(ring_pixels, 100);
}

}  // namespace
}  // namespace qm
