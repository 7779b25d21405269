// The pinyin table of the catalogue: what the writer stores for each poem, read back from the
// encrypted file, with a small dictionary and with the one the build makes; and the builder
// refusing to build without its dictionary.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/text/AnsiText.h"
#include "tests/tools/corpus_fixture.h"
#include "tests/tools/written_files.h"
#include "tools/collection/CollectionWriter.h"
#include "tools/collection/CorpusReader.h"
#include "tools/collection/PinyinSource.h"

using namespace collection;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kSmallDictionary{
    "静\tjìng\t1e-06", "夜\tyè\t1e-06", "思\tsī\t1e-06", "李\tlǐ\t1e-06",  "白\tbái\t1e-06",   "绿\tlǜ\t1e-06",
    "衣\tyī\t1e-06",   "其\tqí\t1e-06", "一\tyī\t1e-06", "吕\tlǚ\t1e-06",  "本\tběn\t1e-06",   "中\tzhōng\t1e-06",
    "字\tzì\t1e-06",   "佚\tyì\t1e-06", "名\tmíng\t1e-06", "𠀀\tqiū\t1e-06"};

Collection poemsTitled(const std::vector<std::pair<std::string, std::string>>& titlesAndAuthors) {
  Collection c;
  for (const auto& [title, author] : titlesAndAuthors) {
    StoredPoem s;
    s.poem.title = title;
    s.poem.author = author;
    s.poem.dynasty = "唐";
    c.poems.push_back(s);
  }
  return c;
}

std::string shellQuoted(const fs::path& p) { return "'" + p.string() + "'"; }

struct ProgramRun {
  int exit = -1;
  std::string output;  // standard output and standard error
};

ProgramRun runProgram(const fs::path& program, const std::string& arguments) {
  ProgramRun run;
  FILE* pipe = ::popen((shellQuoted(program) + " " + arguments + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

TEST(BuilderPinyin, StoresEachPoemsTitleAndAuthorAsTonelessSyllablesUnderItsId) {
  TempDir dir;
  // Punctuation, Latin letters and digits have no syllable; ü is written v; 𠀀, which the code
  // page lacks, is stored as 〓 and so has none either, though the dictionary reads it.
  writeCollection(poemsTitled({{"静夜思", "李白"},
                               {"绿衣（其一）3A", "吕本中"},
                               {"𠀀字", "佚名"},
                               {"ABC", ""},
                               {"静夜思", "李白"}}),
                  dir.path(), pinyinReaderOf(kSmallDictionary));
  const fs::path catalogue = dir.path() / kCatalogueName;
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select id, tm, zz from pinyin order by id"),
            (std::vector<std::string>{"1|jing ye si|li bai", "2|lv yi qi yi|lv ben zhong", "3|zi|yi ming", "4||",
                                      "5|jing ye si|li bai"}));
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select count(*) from pinyin join sici using (id)"),
            std::vector<std::string>{"5"});
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select distinct typeof(tm) || typeof(zz) from pinyin"),
            std::vector<std::string>{"texttext"})
      << "a title without a syllable is an empty text, not null";
}

TEST(BuilderPinyin, ReadsKnownTitlesAndAuthorsByTheDictionaryTheBuildMakes) {
  if (std::string(SICI_PINYIN_DICTIONARY).empty()) GTEST_SKIP() << "built without SICI_PINYIN_DATA_DIR";
  const text::PinyinReader pinyin(loadPinyinDictionary(SICI_PINYIN_DICTIONARY));
  TempDir dir;
  writeCollection(poemsTitled({{"静夜思", "李白"},
                               {"鹿柴", "王维"},
                               {"送元二使安西", "王维"},
                               {"菩萨蛮·其四", "温庭筠"},
                               {"將進酒", "李白"},
                               {"绿衣", "佚名"},
                               {"女冠子", "纳兰性德"}}),
                  dir.path(), pinyin);
  EXPECT_EQ(storedRows(dir.path() / kCatalogueName, kCatalogueKey, "select tm, zz from pinyin order by id"),
            (std::vector<std::string>{"jing ye si|li bai", "lu zhai|wang wei", "song yuan er shi an xi|wang wei",
                                      "pu sa man qi si|wen ting yun", "qiang jin jiu|li bai", "lv yi|yi ming",
                                      "nv guan zi|na lan xing de"}));
}

TEST(BuilderPinyin, RefusesToBuildWithoutItsDictionary) {
  TempDir dir;
  const fs::path missing = dir.path() / "sici.pinyin";
  for (const fs::path& file : {missing, fs::path()}) {
    try {
      loadPinyinDictionary(file);
      ADD_FAILURE() << "no dictionary at " << file;
    } catch (const CorpusError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(file.empty() ? "sici.pinyin" : missing.string()), std::string::npos) << message;
      EXPECT_NE(message.find("SICI_PINYIN_DATA_DIR"), std::string::npos) << message;
    }
  }
  std::ofstream(missing) << "sici.pinyin 1\nnot a line of the format\n";
  EXPECT_THROW(loadPinyinDictionary(missing), CorpusError);
}

TEST(BuilderPinyin, TheBuilderReadsByTheDictionaryBesideItAndStopsWithoutOne) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json", R"([{"author": "李白", "title": "靜夜思", "paragraphs": ["床前明月光。"]}])");
  TempDir dir;
  const fs::path program = dir.path() / "sici-collect";
  fs::copy_file(SICI_COLLECT, program);
  const std::string arguments = "--all --corpus " + shellQuoted(corpus.root()) + " --out " + shellQuoted(dir.path() / "out");

  const ProgramRun refused = runProgram(program, arguments);
  EXPECT_NE(refused.exit, 0);
  EXPECT_NE(refused.output.find((dir.path() / "sici.pinyin").string()), std::string::npos) << refused.output;
  EXPECT_FALSE(fs::exists(dir.path() / "out" / kCatalogueName)) << "no collection without pinyin";

  std::ofstream(dir.path() / "sici.pinyin") << "sici.pinyin 1\n夜\tyè\t1e-06\n思\tsī\t1e-06\n李\tlǐ\t1e-06\n静\tjìng\t1e-06\n";
  const ProgramRun built = runProgram(program, arguments);
  ASSERT_EQ(built.exit, 0) << built.output;
  EXPECT_EQ(storedRows(dir.path() / "out" / kCatalogueName, kCatalogueKey, "select tm, zz from pinyin"),
            std::vector<std::string>{"jing ye si|li"})
      << "白 is missing from the dictionary beside the program";
}
