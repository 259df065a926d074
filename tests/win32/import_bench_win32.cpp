// Times picture import as the editor's Load command does it: a picture file through the
// platform's decoder into a 24-bit bitmap, then into a large face with each resize method.
//
//   qm_import_bench.exe PICTURE [REPEATS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "portrait/face_fit_win32.h"
#include "portrait/picture_import_win32.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qm_import_bench PICTURE [REPEATS]\n");
    return 2;
  }
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const char* path = argv[1];

  const qm::FaceHero hero{"Bench", qm::kClassMage, qm::AlignmentOfClass(qm::kClassMage)};

  int width = 0, height = 0;
  double best_load = 1e30;
  for (int i = 0; i < repeats; ++i) {
    const double start = Now();
    const qm::GdiBitmap picture = qm::LoadPictureFile(path, false);
    best_load = std::min(best_load, Now() - start);
    BITMAP info{};
    if (!picture || GetObjectA(picture.get(), sizeof info, &info) != sizeof info) {
      std::fprintf(stderr, "qm_import_bench: %s: not a picture\n", path);
      return 1;
    }
    width = info.bmWidth;
    height = info.bmHeight;
  }
  std::printf("picture import %dx%d: load %.0f ms (best of %d)\n", width, height,
              best_load * 1000, repeats);

  for (int method = qm::kResizeSmart; method <= qm::kResizeBicubic; ++method) {
    qm::FaceOptions options;
    options.resize_method = method;
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
      const double start = Now();
      const qm::GdiBitmap picture = qm::LoadPictureFile(path, false);
      qm::NewFaces faces;
      const qm::Status s = qm::PutPictureIntoFace(picture.get(), qm::FaceKind::kLarge, {options, hero}, &faces);
      best = std::min(best, Now() - start);
      if (!s) {
        std::fprintf(stderr, "qm_import_bench: method %d: %s\n", method, s.why().c_str());
        return 1;
      }
    }
    std::printf("picture import %dx%d: load and large face, method %d: %.0f ms\n", width, height,
                method, best * 1000);
  }
  return 0;
}
