#include "tools/collection/CorpusReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace collection {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

json loadJson(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CorpusError("cannot open " + file.string());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  try {
    return json::parse(buffer.str());
  } catch (const json::exception& e) {
    throw CorpusError("cannot read " + file.string() + ": " + e.what());
  }
}

json loadArray(const fs::path& file) {
  json doc = loadJson(file);
  if (!doc.is_array()) throw CorpusError("cannot read " + file.string() + ": expected a list of poems");
  return doc;
}

std::string stringField(const json& item, const char* key) {
  const auto it = item.find(key);
  return it != item.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::vector<std::string> stringList(const json& item, const char* key) {
  std::vector<std::string> out;
  const auto it = item.find(key);
  if (it == item.end()) return out;
  if (it->is_string()) {
    out.push_back(it->get<std::string>());
    return out;
  }
  if (!it->is_array()) return out;
  for (const json& v : *it) {
    if (!v.is_string()) continue;
    std::string s = v.get<std::string>();
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) continue;
    s = s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
    out.push_back(std::move(s));
  }
  return out;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += '\n';
    out += line;
  }
  return out;
}

// The files of a numbered series ("poet.tang.0.json", "poet.tang.1000.json" …) by number.
std::vector<fs::path> numberedFiles(const fs::path& dir, const std::string& prefix) {
  std::vector<std::pair<long, fs::path>> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() + 5 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 5, 5, ".json") != 0)
      continue;
    const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 5);
    long number = 0;
    const auto [end, err] = std::from_chars(middle.data(), middle.data() + middle.size(), number);
    if (err != std::errc() || end != middle.data() + middle.size()) continue;
    found.emplace_back(number, entry.path());
  }
  if (ec) throw CorpusError("cannot list " + dir.string() + ": " + ec.message());
  if (found.empty()) throw CorpusError("missing files " + (dir / (prefix + "*.json")).string());
  std::sort(found.begin(), found.end());
  std::vector<fs::path> files;
  for (auto& f : found) files.push_back(std::move(f.second));
  return files;
}

// Search-engine hit counts of one rank file, keyed by author and title.
class RankFile {
 public:
  explicit RankFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return;
    for (const json& item : loadArray(file)) {
      Entry e{stringField(item, "author") + '\n' + stringField(item, "title") + stringField(item, "rhythmic"), score(item)};
      byKey_.emplace(e.key, e.score);
      entries_.push_back(std::move(e));
    }
  }

  // Rank files run parallel to their poem files; where they do not, the key decides.
  double popularity(std::size_t index, const std::string& key) const {
    if (index < entries_.size() && entries_[index].key == key) return entries_[index].score;
    const auto it = byKey_.find(key);
    return it == byKey_.end() ? 0 : it->second;
  }

 private:
  struct Entry {
    std::string key;
    double score;
  };

  // A sum of logarithms, so that one engine's freak count cannot outvote the others.
  static double score(const json& item) {
    double total = 0;
    for (const char* engine : {"baidu", "so360", "bing", "bing_en", "google"}) {
      const auto it = item.find(engine);
      if (it != item.end() && it->is_number()) total += std::log10(1.0 + std::max(0.0, it->get<double>()));
    }
    return total;
  }

  std::vector<Entry> entries_;
  std::unordered_map<std::string, double> byKey_;
};

// The first clause of a ci's first line, which readers add to its tune name as its title.
std::string firstClause(const std::vector<std::string>& lines) {
  if (lines.empty()) return {};
  const std::string& line = lines.front();
  std::size_t end = line.size();
  for (const char* mark : {"，", "。", "？", "！", "；", "、", "：", ",", "."}) end = std::min(end, line.find(mark));
  return line.substr(0, end);
}

class Reader {
 public:
  Reader(fs::path dist, const ProgressFn& progress) : dist_(std::move(dist)), progress_(progress) {
    std::error_code ec;
    if (!fs::is_directory(dist_, ec))
      throw CorpusError("the corpus folder " + dist_.string() + " does not exist (fetch the chinese-poetry package first)");
  }

  Corpus read() {
    readClassics();
    readShi("quantangshi", "poet.tang.", "唐");
    readFiveDynasties();
    readShi("quantangshi", "poet.song.", "宋");
    readSongCi();
    readYuanQu();
    readNalan();
    readAnthologies();
    readBiographies();
    readImperialEdition();
    return std::move(corpus_);
  }

 private:
  fs::path file(const std::string& relative) const { return dist_ / relative; }

  void announce(const std::string& what) {
    if (progress_) progress_("reading " + what + " (" + std::to_string(corpus_.poems.size()) + " poems so far)");
  }

  void add(Poem poem) { corpus_.poems.push_back(std::move(poem)); }

  // A small book of shi: its author is a field of each poem, or the one given for all.
  // A small book of shi, in simplified characters: its author is a field of each poem, or the
  // one given for all; its parts, when it has them, are the fields named by `parts`.
  void readBook(const std::string& relative, const char* linesKey, const std::string& dynasty, const std::string& book,
                const std::string& author = std::string(), std::initializer_list<const char*> parts = {}) {
    for (const json& item : loadArray(file(relative))) {
      Poem p;
      p.title = stringField(item, "title");
      p.author = author.empty() ? stringField(item, "author") : author;
      p.dynasty = dynasty;
      p.lines = stringList(item, linesKey);
      p.tier = Tier::Curated;
      p.source = book;
      for (const char* part : parts)
        if (const std::string name = stringField(item, part); !name.empty()) p.source += "·" + name;
      add(std::move(p));
    }
  }

  void readClassics() {
    announce("诗经, 楚辞, 曹操诗集");
    readBook("shijing/shijing.json", "content", "先秦", "诗经", "佚名", {"chapter", "section"});
    readChuci();
    readBook("caocaoshiji/caocao.json", "paragraphs", "汉", "曹操诗集", "曹操");
  }

  // The Chu ci gathers 屈原, 宋玉 and 景差 with the Han poets who wrote in their manner.
  void readChuci() {
    const std::size_t first = corpus_.poems.size();
    readBook("chuci/chuci.json", "content", "汉", "楚辞", std::string(), {"section"});
    for (std::size_t i = first; i < corpus_.poems.size(); ++i) {
      const std::string& author = corpus_.poems[i].author;
      if (author == "屈原" || author == "宋玉" || author == "景差") corpus_.poems[i].dynasty = "先秦";
    }
  }

  void readShi(const std::string& folder, const std::string& prefix, const std::string& dynasty) {
    announce(folder + "/" + prefix + "*");
    for (const fs::path& path : numberedFiles(file(folder), prefix)) {
      const std::string number = path.filename().string().substr(prefix.size());
      const RankFile rank(file("rank/poet/" + prefix + "rank." + number));
      std::size_t index = 0;
      for (const json& item : loadArray(path)) {
        Poem p;
        p.title = stringField(item, "title");
        p.author = stringField(item, "author");
        p.dynasty = dynasty;
        p.lines = stringList(item, "paragraphs");
        p.tags = stringList(item, "tags");
        p.notes = joinLines(stringList(item, "notes"));
        p.popularity = rank.popularity(index++, p.author + '\n' + p.title);
        p.traditionalSource = true;
        p.source = prefix == "poet.tang." ? "全唐诗" : "全宋诗";
        p.tier = dynasty == "唐" || !p.tags.empty() ? Tier::Curated : Tier::Ranked;
        if (std::find(p.tags.begin(), p.tags.end(), "乐府") != p.tags.end()) p.genreHint = "乐府";
        add(std::move(p));
      }
    }
  }

  void readCi(const json& item, const std::string& dynasty, Tier tier, const std::string& book) {
    Poem p;
    p.source = book;
    p.author = stringField(item, "author");
    p.dynasty = dynasty;
    p.form = Form::Ci;
    p.lines = stringList(item, "paragraphs");
    if (p.lines.empty()) p.lines = stringList(item, "para");
    p.tags = stringList(item, "tags");
    p.notes = joinLines(stringList(item, "notes"));
    p.title = stringField(item, "title");
    if (p.title.empty()) {
      const std::string tune = stringField(item, "rhythmic");
      const std::string head = firstClause(p.lines);
      p.title = head.empty() ? tune : tune + "·" + head;
    }
    p.tier = tier;
    add(std::move(p));
  }

  void readFiveDynasties() {
    announce("花间集, 南唐二主词");
    for (int juan = 1; juan <= 10; ++juan) {
      const fs::path path = file("wudaishici/huajianji/huajianji-" + (juan == 10 ? std::string("x") : std::to_string(juan)) + "-juan.json");
      static const char* const kVolumes[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
      for (const json& item : loadArray(path)) readCi(item, "五代", Tier::Curated, std::string("花间集·卷") + kVolumes[juan - 1]);
    }
    const fs::path nantang = file("wudaishici/nantang/poetrys.json");
    for (const json& item : loadArray(nantang)) readCi(item, "五代", Tier::Curated, "南唐二主词");
  }

  void readSongCi() {
    announce("全宋词");
    std::vector<fs::path> files = numberedFiles(file("songci"), "ci.song.");
    files.push_back(file("songci/ci.song.2019y.json"));
    for (const fs::path& path : files) {
      const std::string number = path.filename().string().substr(8);
      const RankFile rank(file("rank/ci/ci.song.rank." + number));
      std::size_t index = 0;
      for (const json& item : loadArray(path)) {
        const double popularity = rank.popularity(index++, stringField(item, "author") + '\n' + stringField(item, "rhythmic"));
        readCi(item, "宋", Tier::Curated, "全宋词");
        corpus_.poems.back().popularity = popularity;
      }
    }
  }

  void readYuanQu() {
    announce("元曲");
    const std::size_t first = corpus_.poems.size();
    readBook("yuanqu/yuanqu.json", "paragraphs", "元", "元曲");
    for (std::size_t i = first; i < corpus_.poems.size(); ++i) corpus_.poems[i].form = Form::Qu;
  }

  void readNalan() {
    announce("纳兰性德诗集");
    const fs::path path = file("nalanxingde/纳兰性德诗集.json");
    for (const json& item : loadArray(path)) readCi(item, "清", Tier::Curated, "纳兰性德诗集");
  }

  void readAnthologies() {
    announce("唐诗三百首, 宋词三百首, 水墨唐诗");
    const fs::path tang300 = file("mengxue/tangshisanbaishou.json");
    const json tang = loadJson(tang300);
    if (!tang.is_object() || !tang.contains("content") || !tang["content"].is_array())
      throw CorpusError("cannot read " + tang300.string() + ": expected sections of poems");
    for (const json& section : tang["content"]) {
      const std::string type = stringField(section, "type");
      if (!section.contains("content") || !section["content"].is_array()) continue;
      for (const json& item : section["content"]) {
        Poem p;
        p.title = stringField(item, "subchapter");
        if (p.title.empty()) p.title = stringField(item, "chapter");
        p.author = stringField(item, "author");
        p.dynasty = "唐";
        p.lines = stringList(item, "paragraphs");
        p.tier = Tier::Anthology;
        p.traditionalSource = true;
        p.source = "唐诗三百首·" + type;
        if (type == "樂府") p.genreHint = "乐府";
        corpus_.anthology.push_back(std::move(p));
      }
    }
    const fs::path song300 = file("songci/宋词三百首.json");
    for (const json& item : loadArray(song300)) {
      readCi(item, "宋", Tier::Anthology, "宋词三百首");
      corpus_.anthology.push_back(std::move(corpus_.poems.back()));
      corpus_.poems.pop_back();
    }
    const fs::path shuimo = file("shuimotangshi/shuimotangshi.json");
    for (const json& item : loadArray(shuimo)) {
      Poem p;
      p.title = stringField(item, "title");
      p.author = stringField(item, "author");
      p.dynasty = "唐";
      p.lines = stringList(item, "paragraphs");
      p.appreciation = stringField(item, "prologue");
      p.tier = Tier::Anthology;
      p.source = "水墨唐诗";
      corpus_.anthology.push_back(std::move(p));
    }
  }

  void readAuthors(const std::string& relative, const char* textKey, const std::string& dynasty) {
    const fs::path path = file(relative);
    for (const json& item : loadArray(path)) {
      std::string text = stringField(item, textKey);
      if (text.empty()) continue;
      corpus_.biographies.push_back({stringField(item, "name"), dynasty, std::move(text)});
    }
  }

  void readBiographies() {
    announce("poets' biographies");
    readAuthors("songci/author.song.json", "description", "宋");
    readAuthors("quantangshi/authors.song.json", "desc", "宋");
    readAuthors("quantangshi/authors.tang.json", "desc", "唐");
    readAuthors("wudaishici/nantang/authors.json", "desc", "五代");
  }

  // 御定全唐诗 repeats the Tang poems with the imperial editors' notes; only the notes are new.
  // It splits some poems of the complete collection into fragments, each with its own note.
  void readImperialEdition() {
    announce("御定全唐诗");
    for (const fs::path& path : numberedFiles(file("yudingquantangshi/json"), "")) {
      for (const json& item : loadArray(path)) {
        Poem p;
        p.author = stringField(item, "author");
        if (const std::string bio = stringField(item, "biography"); !bio.empty())
          corpus_.biographies.push_back({p.author, "唐", bio});
        p.notes = joinLines(stringList(item, "notes"));
        if (p.notes.empty()) continue;
        p.title = stringField(item, "title");
        p.dynasty = "唐";
        p.lines = stringList(item, "paragraphs");
        p.source = stringField(item, "volume");
        corpus_.annotations.push_back(std::move(p));
      }
    }
  }

  fs::path dist_;
  const ProgressFn& progress_;
  Corpus corpus_;
};

}  // namespace

Corpus readCorpus(const std::filesystem::path& dist, const ProgressFn& progress) {
  return Reader(dist, progress).read();
}

}  // namespace collection
