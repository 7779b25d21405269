// The shipped skin from the main window's skin stream to a skin ready to paint: LZHUF decoding,
// the container, the description, and every bitmap decoded and keyed.

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/ShippedSkin.h"
#include "bench/bench_util.h"
#include "skin/forms/WinSkinData.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const std::string stream = ShippedSkinStream();
  if (stream.size() < 4) {
    std::fprintf(stderr, "skin_bench: the reader holds no skin stream\n");
    return 1;
  }
  std::vector<double> runs;
  for (int i = 0; i < 31; ++i) {
    TSkinData data(nullptr);
    const auto start = std::chrono::steady_clock::now();
    data.ReadSkinStream(stream);
    runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (data.Empty()) {
      std::fprintf(stderr, "skin_bench: the shipped skin does not load: %s\n", data.LoadError().c_str());
      return 1;
    }
  }
  std::sort(runs.begin(), runs.end());
  bench::print("skin_load_ms", runs[runs.size() / 2]);
  bench::print("skin_bytes", static_cast<int>(stream.size() - 4));
  return 0;
}
