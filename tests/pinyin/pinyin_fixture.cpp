#include "tests/pinyin/pinyin_fixture.h"

#include "tests/support/PinyinDictionaryText.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/text/CodePoints.h"

namespace fs = std::filesystem;

namespace pinyin_test {

void WriteFile(const fs::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string DictionaryText(std::vector<std::string> lines) { return test_support::PinyinDictionaryText(std::move(lines)); }

std::unique_ptr<text::PinyinReader> ReaderOf(std::vector<std::string> lines) {
  const TempFolder folder;
  const fs::path file = folder.path() / "sici.pinyin";
  WriteFile(file, DictionaryText(std::move(lines)));
  return std::make_unique<text::PinyinReader>(text::PinyinDictionary::Load(file));
}

std::string Readings(const text::PinyinReader& reader, std::string_view utf8) {
  const std::vector<std::string> readings = reader.Readings(text::utf8ToCodePoints(utf8));
  std::string joined;
  for (std::size_t i = 0; i < readings.size(); ++i) joined += (i > 0 ? "|" : "") + readings[i];
  return joined;
}

fs::path RealDictionaryFile() { return SICI_PINYIN_DICTIONARY; }

const text::PinyinReader* RealReader() {
  static const std::unique_ptr<text::PinyinReader> reader = [] {
    return RealDictionaryFile().empty()
               ? nullptr
               : std::make_unique<text::PinyinReader>(text::PinyinDictionary::Load(RealDictionaryFile()));
  }();
  return reader.get();
}

namespace {

std::string readAll(int fd) {
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
  close(fd);
  return out;
}

}  // namespace

Run RunProgram(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& folder) {
  int out[2];
  int err[2];
  if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("cannot make pipes");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]), close(out[1]), close(err[0]), close(err[1]);
    if (chdir(folder.c_str()) != 0) _exit(126);
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  Run run;
  // The outputs are small; standard error is read after standard output has ended.
  run.Output = readAll(out[0]);
  run.Errors = readAll(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace pinyin_test
