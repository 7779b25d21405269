#pragma once
// A poem as the collection builder carries it from the corpus to the database files.
// All text here is UTF-8 until the writer turns it into code page 936.

#include <cstddef>
#include <string>
#include <vector>

namespace collection {

enum class Form { Shi, Ci, Qu };

// How strongly a poem claims a place in the default collection; lower is stronger.
enum class Tier { Anthology = 0, Curated = 1, Ranked = 2 };

// A poem's heading and lines as its source wrote them, before the collection simplifies them.
struct Written {
  std::string title;
  std::string author;
  std::vector<std::string> lines;
};

struct Poem {
  std::string title;
  std::string author;
  std::string dynasty;               // one dynasty word of the reader's dynasty list
  Form form = Form::Shi;
  std::vector<std::string> lines;    // one verse line each
  std::vector<std::string> tags;     // the corpus's tags, as given
  std::string notes;
  std::string translation;
  std::string appreciation;
  std::string genreHint;             // a genre the source states outright, e.g. 乐府
  Tier tier = Tier::Ranked;
  double popularity = 0;             // higher is better known
  std::size_t keptOriginals = 0;     // characters of the simplified text left as the corpus gives
                                     // them, code page 936 lacking their simplified form
  Written written;                   // as the source wrote it, filled as the poem is simplified
  bool traditionalSource = false;    // the source writes traditional characters
  std::string source;                // the book it comes from, with its part: 诗经·国风·周南,
                                     // 花间集·卷一, 全唐诗·卷三 (simplified)
};

// A poet's biography as one source gives it.
struct Biography {
  std::string author;
  std::string dynasty;
  std::string text;
};

struct Corpus {
  std::vector<Poem> poems;           // in collection order
  std::vector<Poem> anthology;       // the readings people know, merged into `poems`
  std::vector<Biography> biographies;
  std::vector<Poem> annotations;     // notes of another edition, with the text they belong to
};

}  // namespace collection
