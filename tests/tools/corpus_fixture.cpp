#include "tests/tools/corpus_fixture.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

MiniCorpus::MiniCorpus() {
  root_ = test_support::MakeTempFolder("sici-corpus");
  dist_ = root_ / "dist";
  for (const char* file : {"shijing/shijing.json", "chuci/chuci.json", "caocaoshiji/caocao.json",
                           "quantangshi/poet.tang.0.json", "quantangshi/poet.song.0.json",
                           "quantangshi/authors.tang.json", "quantangshi/authors.song.json",
                           "wudaishici/nantang/poetrys.json", "wudaishici/nantang/authors.json",
                           "songci/ci.song.0.json", "songci/ci.song.2019y.json", "songci/author.song.json",
                           "songci/宋词三百首.json", "yuanqu/yuanqu.json", "nalanxingde/纳兰性德诗集.json",
                           "shuimotangshi/shuimotangshi.json", "yudingquantangshi/json/001.json"})
    write(file, "[]");
  for (const char* juan : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "x"})
    write(std::string("wudaishici/huajianji/huajianji-") + juan + "-juan.json", "[]");
  write("mengxue/tangshisanbaishou.json", R"({"title": "唐詩三百首", "content": []})");
}

MiniCorpus::~MiniCorpus() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void MiniCorpus::write(const std::string& relative, const std::string& json) const {
  const fs::path file = dist_ / fs::u8path(relative);
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << json;
}

void MiniCorpus::remove(const std::string& relative) const { fs::remove(dist_ / fs::u8path(relative)); }
