#include <gtest/gtest.h>

#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <fstream>

#include "platform/text/AnsiText.h"
#include "tests/tools/written_files.h"
#include "tools/collection/CollectionWriter.h"

using namespace collection;
namespace fs = std::filesystem;

namespace {

Collection smallCollection() {
  Collection c;
  StoredPoem jingyesi;
  jingyesi.poem.title = "静夜思";
  jingyesi.poem.author = "李白";
  jingyesi.poem.dynasty = "唐";
  jingyesi.poem.lines = {"床前明月光，疑是地上霜。", "举头望明月，低头思故乡。"};
  jingyesi.poem.notes = "注一\n注二";
  jingyesi.genre = "五绝";
  jingyesi.category = "羁旅";
  StoredPoem rare;
  rare.poem.title = "𠀀字";  // a character outside code page 936
  rare.poem.author = "佚名";
  rare.poem.dynasty = "宋";
  rare.poem.lines = {"一二三四五"};
  c.poems = {jingyesi, rare};
  c.poets = {{"李白", "唐", "字太白"}, {"佚名", "宋", ""}};
  return c;
}

// What these cases check does not depend on the pinyin, which BuilderPinyin checks.
const text::PinyinReader& noPinyin() {
  static const text::PinyinReader reader = pinyinReaderOf({});
  return reader;
}

}  // namespace

TEST(CollectionWriter, WritesGbkTextIntoAnEncryptedCatalogueAndAPlainTextFile) {
  TempDir dir;
  const WriteReport report = writeCollection(smallCollection(), dir.path(), noPinyin());
  EXPECT_EQ(report.replacedCharacters, 1u);

  const fs::path catalogue = dir.path() / kCatalogueName;
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select id, tm, zz, nd, tc, lb from sici"),
            (std::vector<std::string>{text::utf8ToAnsi("1|静夜思|李白|唐|五绝|羁旅"), text::utf8ToAnsi("2|〓字|佚名|宋||")}));
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select zz, nd, js from poet"),
            (std::vector<std::string>{text::utf8ToAnsi("李白|唐|字太白"), text::utf8ToAnsi("佚名|宋|")}));
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select count(*) from tmpid"), std::vector<std::string>{"0"});
  EXPECT_EQ(storedRows(catalogue, kCatalogueKey, "select typeof(tm) from sici limit 1"), std::vector<std::string>{"text"});

  int error = SQLITE_OK;
  EXPECT_TRUE(storedRows(catalogue, nullptr, "select count(*) from sici", &error).empty());
  EXPECT_EQ(error, SQLITE_NOTADB) << "the catalogue must not open without its key";
  EXPECT_TRUE(storedRows(catalogue, "wrong key", "select count(*) from sici", &error).empty());

  EXPECT_EQ(storedRows(dir.path() / kTextFileName, nullptr, "select id, nr, zs from sici where id = 1"),
            std::vector<std::string>{text::utf8ToAnsi("1|床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。|注一\r\n注二")});

  std::ifstream count(dir.path() / kPoemCountName);
  std::string counted;
  std::getline(count, counted);
  EXPECT_EQ(counted, "2") << "the number of poems beside the files";

  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 3u) << "no temporary file is left behind";
}

TEST(CollectionWriter, AFailedBuildLeavesTheFolderAsItWas) {
  TempDir dir;
  writeCollection(smallCollection(), dir.path(), noPinyin());
  const auto before = fs::file_size(dir.path() / kCatalogueName);

  // Something in the way of the temporary catalogue makes the second build fail.
  const fs::path blocker = dir.path() / (std::string(kCatalogueName) + ".building-" + std::to_string(getpid()));
  fs::create_directory(blocker);
  std::ofstream(blocker / "keep") << "x";
  Collection bigger = smallCollection();
  bigger.poems.insert(bigger.poems.end(), 200, bigger.poems.front());
  EXPECT_THROW(writeCollection(bigger, dir.path(), noPinyin()), std::exception);
  EXPECT_EQ(fs::file_size(dir.path() / kCatalogueName), before);
  EXPECT_EQ(storedRows(dir.path() / kCatalogueName, kCatalogueKey, "select count(*) from sici"), std::vector<std::string>{"2"});
  EXPECT_FALSE(fs::exists(dir.path() / (std::string(kTextFileName) + ".building-" + std::to_string(getpid()))));
  EXPECT_FALSE(fs::exists(dir.path() / (std::string(kPoemCountName) + ".building-" + std::to_string(getpid()))));
}

TEST(CollectionWriter, RefusesATargetThatIsNotAFolder) {
  TempDir dir;
  const fs::path file = dir.path() / "plain-file";
  std::ofstream(file) << "x";
  EXPECT_THROW(writeCollection(smallCollection(), file, noPinyin()), std::exception);
}

TEST(CollectionWriter, KeepsTheSourceTextWithEveryCharacterAndReportsItsProgressByWholePercents) {
  Collection c = smallCollection();
  c.poems[0].poem.written = {"靜夜思", "李白", {"床前明月光，疑是地上霜。", "舉頭望明月，低頭思故鄉。"}};
  c.poems[0].poem.traditionalSource = true;
  c.poems[0].poem.source = "唐诗三百首·五言绝句";
  c.poems[1].poem.written = {"𠀀字", "佚名", {"一二三四五"}};
  c.poems[1].poem.source = "全宋诗";
  for (int i = 0; i < 98; ++i) c.poems.push_back(c.poems[1]);
  TempDir dir;
  std::vector<std::string> said;
  const WriteReport report = writeCollection(c, dir.path(), noPinyin(), [&](const std::string& s) { said.push_back(s); });
  EXPECT_EQ(storedRows(dir.path() / kTextFileName, nullptr, "select id, tm, zz, nr, ft, cc from source where id <= 2"),
            (std::vector<std::string>{"1|靜夜思|李白|床前明月光，疑是地上霜。\r\n舉頭望明月，低頭思故鄉。|1|唐诗三百首·五言绝句",
                                      "2|𠀀字|佚名|一二三四五|0|全宋诗"}));
  EXPECT_EQ(report.replacedCharacters, 99u);
  EXPECT_EQ(report.leftInSimplified, 0u) << "every 〓 has its character in the source";
  ASSERT_EQ(said.size(), 100u) << "one line a whole percent";
  EXPECT_EQ(said.front(), "progress: 1% of 100 poems");
  EXPECT_EQ(said.back(), "progress: 100% of 100 poems");
}
