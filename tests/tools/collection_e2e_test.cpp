// Checks the collection that sici-collect built from the real corpus (a CTest fixture).

#include <gtest/gtest.h>

#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/text/AnsiText.h"
#include "platform/text/InputSimplifier.h"

namespace {

const std::filesystem::path kFolder = SICI_COLLECTION_DIR;

class Db {
 public:
  Db(const std::filesystem::path& file, const char* key) {
    sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (key) sqlite3_key(db_, key, static_cast<int>(std::char_traits<char>::length(key)));
  }
  ~Db() { sqlite3_close(db_); }

  // Calls `row` for every result row; returns SQLite's result of preparing `sql`.
  int each(const std::string& sql, const std::function<void(sqlite3_stmt*)>& row) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) row(stmt);
    sqlite3_finalize(stmt);
    return rc;
  }

  long long number(const std::string& sql) {
    long long n = -1;
    each(sql, [&](sqlite3_stmt* s) { n = sqlite3_column_int64(s, 0); });
    return n;
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string column(sqlite3_stmt* s, int i) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
  return std::string(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
}

}  // namespace

TEST(RealCollection, HoldsTheAnnouncedPoemsInBothFilesWithTheirPoets) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  Db texts(kFolder / "sici.dbf", nullptr);
  EXPECT_EQ(catalogue.number("select count(*) from sici"), 104862);
  EXPECT_EQ(catalogue.number("select min(id) from sici"), 1);
  EXPECT_EQ(catalogue.number("select max(id) from sici"), 104862);
  EXPECT_EQ(texts.number("select count(*) from sici"), 104862);
  EXPECT_EQ(catalogue.number("select count(*) from tmpid"), 0);
  EXPECT_EQ(catalogue.number("select count(*) from sici where zz not in (select zz from poet)"), 0);
  EXPECT_GT(catalogue.number("select count(*) from poet where js <> ''"), 1000);
  EXPECT_GT(texts.number("select count(*) from sici where zs <> ''"), 500);
  // No text is longer than the reader's field for it: nothing is cut when it is shown.
  EXPECT_LE(catalogue.number("select max(length(cast(tm as blob))) from sici"), 4095);
  EXPECT_LE(catalogue.number("select max(length(cast(zz as blob))) from sici"), 4095);
  for (const char* column : {"nd", "tc", "lb"})
    EXPECT_LE(catalogue.number(std::string("select max(length(cast(") + column + " as blob))) from sici"), 16) << column;
  // Every dynasty of the collection is one the reader's dynasty list can find.
  EXPECT_EQ(catalogue.number("select count(*) from sici where nd not in (" + text::utf8ToAnsi(
                "'先秦','汉','魏晋','南北','隋','唐','五代','宋','辽','金','元','明','清','近代','现代'") + ")"),
            0);
}

TEST(RealCollection, JingYeSiByLiBaiHasTheReadingPeopleKnow) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  std::vector<long long> ids;
  catalogue.each("select id from sici where tm = '" + text::utf8ToAnsi("静夜思") + "' and zz = '" +
                     text::utf8ToAnsi("李白") + "'",
                 [&](sqlite3_stmt* s) { ids.push_back(sqlite3_column_int64(s, 0)); });
  ASSERT_EQ(ids.size(), 1u);
  Db texts(kFolder / "sici.dbf", nullptr);
  std::string poem;
  texts.each("select nr from sici where id = " + std::to_string(ids[0]), [&](sqlite3_stmt* s) { poem = column(s, 0); });
  EXPECT_NE(poem.find(text::utf8ToAnsi("床前明月光")), std::string::npos) << text::ansiToUtf8(poem);
  EXPECT_NE(poem.find("\r\n"), std::string::npos) << "one verse line per line";
}

TEST(RealCollection, CatalogueRefusesToOpenWithoutItsKey) {
  Db withoutKey(kFolder / "sici.idb", nullptr);
  EXPECT_EQ(withoutKey.each("select count(*) from sici", [](sqlite3_stmt*) {}), SQLITE_NOTADB);
  Db wrongKey(kFolder / "sici.idb", "lirn4302986k");
  EXPECT_EQ(wrongKey.each("select count(*) from sici", [](sqlite3_stmt*) {}), SQLITE_NOTADB);
}

TEST(RealCollection, EveryTextColumnIsValidCodePage936) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  Db texts(kFolder / "sici.dbf", nullptr);
  const auto check = [](Db& db, const std::string& sql) {
    std::size_t rows = 0, bad = 0;
    db.each(sql, [&](sqlite3_stmt* s) {
      ++rows;
      for (int i = 0; i < sqlite3_column_count(s); ++i) {
        if (sqlite3_column_type(s, i) != SQLITE_TEXT || !text::isValidAnsi(column(s, i))) ++bad;
      }
    });
    EXPECT_GT(rows, 0u) << sql;
    EXPECT_EQ(bad, 0u) << sql;
  };
  check(catalogue, "select tm, zz, nd, tc, lb from sici");
  check(catalogue, "select zz, nd, js from poet");
  check(texts, "select nr, zs, yw, jx from sici");
}

TEST(RealCollection, CategoriesAreTheReadersWordsAndCoverTheTaggedPoems) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  std::string words;
  for (const char* word : {"怀古", "记时", "静物", "动物", "山水", "酬赠", "答谢", "边塞", "送别", "记景", "羁旅", "田园", "论人生",
                           "记物", "闺情", "题物", "记人", "代简", "论政", "留别", "记兵", "记事", "人民", "怀人", "题画", "记游",
                           "抒怀"})
    words += std::string(words.empty() ? "" : ",") + "'" + text::utf8ToAnsi(word) + "'";
  EXPECT_EQ(catalogue.number("select count(*) from sici where lb <> '' and lb not in (" + words + ")"), 0);
  // The tagged poems, most of them gathered under a lake, a river or a mountain, are one in ten.
  EXPECT_GT(catalogue.number("select count(*) from sici where lb <> ''") * 10, catalogue.number("select count(*) from sici"));
}

TEST(RealCollection, OnlyCharactersTheCodePageLacksInBothFormsAreLost) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  Db texts(kFolder / "sici.dbf", nullptr);
  const auto holdsGeta = [](const char* column) { return std::string("instr(cast(") + column + " as blob), x'A1FE') > 0"; };
  // The Yuan qu join suite and tune with a dot that the code page holds only as the middle dot.
  const std::string yuan = "select count(*) from sici where nd = '" + text::utf8ToAnsi("元") + "'";
  EXPECT_EQ(catalogue.number(yuan + " and " + holdsGeta("tm")), 0);
  EXPECT_GT(catalogue.number(yuan + " and instr(cast(tm as blob), x'A1A4') > 0") * 2, catalogue.number(yuan));
  // 鸂鶒 simplify to characters the code page lacks; the notes keep them as written.
  const long long id = catalogue.number("select id from sici where zz = '" + text::utf8ToAnsi("温庭筠") + "' and tm = '" +
                                  text::utf8ToAnsi("菩萨蛮 其四") + "'");
  ASSERT_GT(id, 0);
  std::string notes;
  texts.each("select zs from sici where id = " + std::to_string(id), [&](sqlite3_stmt* s) { notes = column(s, 0); });
  EXPECT_NE(notes.find(text::utf8ToAnsi("鸂鶒")), std::string::npos) << text::ansiToUtf8(notes);
  EXPECT_EQ(notes.find(text::kGetaMark), std::string::npos) << text::ansiToUtf8(notes);
  // What is left are rare characters of single poems: fewer than one poem in fifty.
  EXPECT_LT(texts.number("select count(*) from sici where " + holdsGeta("nr")) * 50, texts.number("select count(*) from sici"));
}

TEST(RealCollection, FragmentsKeepTheirOwnNotesAndTheHanChuciIsHan) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  Db texts(kFolder / "sici.dbf", nullptr);
  const long long id = catalogue.number("select id from sici where zz = '" + text::utf8ToAnsi("尉迟匡") + "' and tm = '" +
                                        text::utf8ToAnsi("句") + "'");
  ASSERT_GT(id, 0);
  std::string notes;
  texts.each("select zs from sici where id = " + std::to_string(id), [&](sqlite3_stmt* s) { notes = column(s, 0); });
  EXPECT_EQ(text::ansiToUtf8(notes), "明月飞出海：（《暮行潼关》）\r\n芙蓉初出水：（《观内人楼上踏歌》）\r\n夜夜月为青冢镜：（《塞上曲》）");

  const std::string wangYi = "select count(*) from sici where zz = '" + text::utf8ToAnsi("王逸") + "' and nd = '";
  EXPECT_GT(catalogue.number(wangYi + text::utf8ToAnsi("汉") + "'"), 0);
  EXPECT_EQ(catalogue.number(wangYi + text::utf8ToAnsi("先秦") + "'"), 0);
  EXPECT_EQ(catalogue.number("select count(*) from poet where zz = '" + text::utf8ToAnsi("屈原") + "' and nd = '" +
                             text::utf8ToAnsi("先秦") + "'"),
            1);
}

TEST(RealCollection, EveryTitleAndAuthorTypedAsStoredReachesTheSearchUnchanged) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  const text::InputSimplifier simplify;
  std::size_t texts = 0;
  std::vector<std::string> changed;
  catalogue.each("select tm, zz from sici union all select zz, '' from poet", [&](sqlite3_stmt* s) {
    for (int i = 0; i < 2; ++i) {
      const std::string typed = text::ansiToUtf8(column(s, i));
      ++texts;
      if (simplify(typed) != typed && changed.size() < 20) changed.push_back(typed);
    }
  });
  EXPECT_GT(texts, 200000u);
  EXPECT_TRUE(changed.empty()) << changed.front();
}

TEST(RealCollection, EveryPoemHasThePinyinOfItsTitleAndAuthor) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  EXPECT_EQ(catalogue.number("select count(*) from pinyin"), 104862);
  EXPECT_EQ(catalogue.number("select count(*) from pinyin join sici using (id)"), 104862);
  EXPECT_EQ(catalogue.number("select count(*) from pinyin where tm glob '*[^a-z ]*' or zz glob '*[^a-z ]*' or "
                             "tm like ' %' or tm like '% ' or tm like '%  %' or zz like ' %' or zz like '% ' or zz like '%  %'"),
            0)
      << "toneless lower-case syllables, one blank between two";
  // A title is without syllables only when every character of it lacks a reading (劒, 鴈, 猨).
  EXPECT_LT(catalogue.number("select count(*) from pinyin where tm = ''") * 1000, 104862);

  const auto syllables = [&](const char* title, const char* author) {
    std::vector<std::string> found;
    catalogue.each("select p.tm, p.zz from sici s join pinyin p using (id) where s.tm = '" + text::utf8ToAnsi(title) +
                       "' and s.zz = '" + text::utf8ToAnsi(author) + "'",
                   [&](sqlite3_stmt* s) { found.push_back(column(s, 0) + "|" + column(s, 1)); });
    return found.empty() ? std::string("no poem") : found.front();
  };
  EXPECT_EQ(syllables("静夜思", "李白"), "jing ye si|li bai");
  EXPECT_EQ(syllables("鹿柴", "王维"), "lu zhai|wang wei") << "the classical reading";
  EXPECT_EQ(syllables("送元二使安西", "王维"), "song yuan er shi an xi|wang wei");
  EXPECT_EQ(syllables("将进酒", "李白"), "qiang jin jiu|li bai");
  EXPECT_EQ(syllables("绿衣", "佚名"), "lv yi|yi ming");
  EXPECT_EQ(syllables("菩萨蛮 其四", "温庭筠"), "pu sa man qi si|wen ting yun");
  EXPECT_EQ(syllables("汉宫春·红粉苔墙", "张先"), "han gong chun hong fen tai qiang|zhang xian");
  EXPECT_EQ(syllables("江头四咏 鸂鶒", "杜甫"), "jiang tou si yong xi chi|du fu") << "kept as the corpus writes them";
  EXPECT_TRUE(syllables("〓湖山寺", "张说").starts_with("hu shan si|")) << "a character neither form of which the code page holds";
}

TEST(RealCollection, EveryPoemKeepsItsSourceTextAndBookAndEveryMarkHasItsCharacterThere) {
  Db catalogue(kFolder / "sici.idb", "lirn4302986K");
  Db texts(kFolder / "sici.dbf", nullptr);
  EXPECT_EQ(texts.number("select count(*) from source"), 104862);
  EXPECT_EQ(texts.number("select count(*) from source where cc = '' or nr = ''"), 0) << "every poem has its book";
  // 静夜思 as 唐诗三百首 writes it, in traditional characters; the Book of Songs in simplified ones.
  const long long id = catalogue.number("select id from sici where tm = '" + text::utf8ToAnsi("静夜思") + "' and zz = '" +
                                        text::utf8ToAnsi("李白") + "'");
  std::string title, verses, book;
  long long traditional = -1;
  texts.each("select tm, nr, ft, cc from source where id = " + std::to_string(id), [&](sqlite3_stmt* s) {
    title = column(s, 0);
    verses = column(s, 1);
    traditional = sqlite3_column_int64(s, 2);
    book = column(s, 3);
  });
  EXPECT_EQ(title, "靜夜思");
  EXPECT_NE(verses.find("舉頭望明月"), std::string::npos) << verses;
  EXPECT_EQ(traditional, 1);
  EXPECT_EQ(book, "唐诗三百首·五言绝句");
  EXPECT_EQ(texts.number("select count(*) from source where cc like '诗经·国风·周南' and ft = 0"), 11);
  // The source has every character the stored text lost: none of its texts holds the mark.
  EXPECT_EQ(texts.number("select count(*) from source where instr(nr, '〓') > 0 or instr(tm, '〓') > 0"), 0);
  EXPECT_GT(texts.number("select count(*) from sici where instr(cast(nr as blob), x'A1FE') > 0"), 500);
}
