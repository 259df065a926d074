#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "portrait/picture_import_win32.h"
#include "resources/open_preview_ids.h"
#include "tests/test_util.h"
#include "tests/win32/win32_fixtures.h"
#include "web/home_page_win32.h"

namespace qm {
namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The extension template 106 as the open dialog gets it: a child dialog with the pane, the two
// information lines and the check box.
class PreviewPane : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(QM_DLG_OPEN_PREVIEW),
                                 owner_.get(), QuietDialog, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
  }
  std::string Line(int id) {
    char text[128] = {};
    GetDlgItemTextA(dialog_, id, text, sizeof text);
    return text;
  }
  HWND Pane() { return GetDlgItem(dialog_, QM_IDC_PREVIEW_PANE); }

  test::HiddenWindow owner_;
  test::TempDir dir_;
  HWND dialog_ = nullptr;
};

TEST_F(PreviewPane, TemplateHoldsItsControls) {
  for (int id : {QM_IDC_PREVIEW_PANE, QM_IDC_PREVIEW_CHECK, QM_IDC_PREVIEW_SIZE,
                 QM_IDC_PREVIEW_DEPTH}) {
    EXPECT_NE(GetDlgItem(dialog_, id), nullptr) << id;
  }
  char text[64] = {};
  GetDlgItemTextA(dialog_, QM_IDC_PREVIEW_CHECK, text, sizeof text);
  EXPECT_STREQ(text, "&Show preview");
}

TEST_F(PreviewPane, PictureShowsItsSizeAndDepth) {
  const std::string path = dir_.File("small.bmp");
  test::WriteFileBytes(path, test::CardBmp(40, 30));
  EXPECT_TRUE(DrawPreview(dialog_, Pane(), path.c_str(), true));
  EXPECT_EQ(Line(QM_IDC_PREVIEW_SIZE), "Width: 40        Height: 30");
  EXPECT_EQ(Line(QM_IDC_PREVIEW_DEPTH), "24 BPP");
}

TEST_F(PreviewPane, UntickedOrUnloadableEmptiesTheLines) {
  const std::string path = dir_.File("small.bmp");
  test::WriteFileBytes(path, test::CardBmp(40, 30));
  ASSERT_TRUE(DrawPreview(dialog_, Pane(), path.c_str(), true));
  EXPECT_FALSE(DrawPreview(dialog_, Pane(), path.c_str(), false));
  EXPECT_EQ(Line(QM_IDC_PREVIEW_SIZE), "");
  EXPECT_EQ(Line(QM_IDC_PREVIEW_DEPTH), "");
  const std::string text = dir_.File("notes.txt");
  test::WriteFileBytes(text, test::Bytes("plain text"));
  EXPECT_FALSE(DrawPreview(dialog_, Pane(), text.c_str(), true));
  EXPECT_EQ(Line(QM_IDC_PREVIEW_SIZE), "");
  EXPECT_FALSE(DrawPreview(dialog_, Pane(), "", true));
}

TEST(ShowPreview, StartsTickedAndKeepsTheChoice) {
  EXPECT_TRUE(ShowPreviewFlag());
  SetShowPreviewFlag(false);
  EXPECT_FALSE(ShowPreviewFlag());
  SetShowPreviewFlag(true);
}

// A key of our own under HKEY_CURRENT_USER, removed at the end.
class RegistryLookup : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "Software\\QuillmarkTest\\shell\\open\\command";
  void TearDown() override {
    for (const char* key : {kKey, "Software\\QuillmarkTest\\shell\\open",
                            "Software\\QuillmarkTest\\shell", "Software\\QuillmarkTest"}) {
      RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }
  }
  void SetDefault(const std::string& value) {
    ASSERT_EQ(RegSetValueA(HKEY_CURRENT_USER, kKey, REG_SZ, value.c_str(),
                           static_cast<DWORD>(value.size())),
              ERROR_SUCCESS);
  }
};

TEST_F(RegistryLookup, ReadsTheDefaultValue) {
  SetDefault("\"C:\\Web\\browse.exe\" \"%1\"");
  std::string value = "untouched";
  EXPECT_EQ(ReadRegistryDefault(HKEY_CURRENT_USER, kKey, &value), ERROR_SUCCESS);
  EXPECT_EQ(value, "\"C:\\Web\\browse.exe\" \"%1\"");
}

TEST_F(RegistryLookup, MissingKeyOrOverlongValueLeavesTheOutputAlone) {
  std::string value = "untouched";
  EXPECT_NE(ReadRegistryDefault(HKEY_CURRENT_USER, "Software\\QuillmarkTest\\none", &value),
            ERROR_SUCCESS);
  SetDefault(std::string(300, 'x'));
  EXPECT_NE(ReadRegistryDefault(HKEY_CURRENT_USER, kKey, &value), ERROR_SUCCESS);
  EXPECT_EQ(value, "untouched");
}

TEST(HomePage, EmptyAddressStartsNothing) {
  EXPECT_FALSE(OpenHomePage(""));
  EXPECT_FALSE(OpenHomePage(nullptr));
}

}  // namespace
}  // namespace qm
