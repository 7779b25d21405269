#pragma once
// A miniature chinese-poetry corpus in a temporary folder: every file the builder reads, each
// an empty list until a test writes poems into it.

#include <filesystem>
#include <string>

class MiniCorpus {
 public:
  MiniCorpus();
  ~MiniCorpus();
  MiniCorpus(const MiniCorpus&) = delete;
  MiniCorpus& operator=(const MiniCorpus&) = delete;

  // Writes `json` (UTF-8) as the file at `relative` below the corpus folder.
  void write(const std::string& relative, const std::string& json) const;
  void remove(const std::string& relative) const;

  const std::filesystem::path& dist() const { return dist_; }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path dist_;
};
