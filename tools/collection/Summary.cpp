#include "tools/collection/Summary.h"

#include <algorithm>

namespace collection {
namespace {

// Columns on a terminal: a character outside ASCII in a Chinese text takes two.
std::size_t displayWidth(const std::string& s) {
  std::size_t width = 0;
  for (const char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    width += byte < 0x80 ? 1 : byte >= 0xC0 ? 2 : 0;
  }
  return width;
}

std::string padLeft(const std::string& s, std::size_t width) {
  return std::string(width - std::min(width, displayWidth(s)), ' ') + s;
}

std::string padRight(const std::string& s, std::size_t width) {
  return s + std::string(width - std::min(width, displayWidth(s)), ' ');
}

void countPoem(DynastyFigures& row, const Poem& p) {
  ++row.poems;
  row.notes += !p.notes.empty();
  row.translations += !p.translation.empty();
  row.appreciations += !p.appreciation.empty();
}

void printRow(std::ostream& out, const std::string& label, const std::vector<std::string>& cells) {
  static constexpr std::size_t kLabel = 8, kCell = 14;
  out << padRight(label, kLabel);
  for (const std::string& cell : cells) out << padLeft(cell, kCell);
  out << '\n';
}

}  // namespace

const std::vector<std::string>& dynastyWords() {
  static const std::vector<std::string> words = {"秦", "汉", "魏晋", "南北", "隋", "唐", "五代", "宋",
                                                 "辽", "金", "元", "明", "清", "近代", "现代"};
  return words;
}

Summary summarise(const Collection& collection, const WriteReport& report) {
  Summary s;
  for (const std::string& word : dynastyWords()) s.dynasties.push_back({word});
  s.all.dynasty = "all";
  const auto rowsOf = [&](const std::string& dynasty) {
    std::vector<DynastyFigures*> rows;
    for (DynastyFigures& row : s.dynasties)
      if (dynasty.find(row.dynasty) != std::string::npos) rows.push_back(&row);
    return rows;
  };
  for (const StoredPoem& stored : collection.poems) {
    for (DynastyFigures* row : rowsOf(stored.poem.dynasty)) countPoem(*row, stored.poem);
    countPoem(s.all, stored.poem);
    ++s.genres[stored.genre.empty() ? "(none)" : stored.genre];
    s.uncategorised += stored.category.empty();
  }
  for (const Poet& poet : collection.poets) {
    for (DynastyFigures* row : rowsOf(poet.dynasty)) ++row->poets;
    ++s.all.poets;
  }
  s.keptOriginals = collection.keptOriginals;
  s.replacedCharacters = report.replacedCharacters;
  s.leftInSimplified = report.leftInSimplified;
  s.leftInSource = report.leftInSource;
  return s;
}

void printSummary(std::ostream& out, const Summary& s) {
  const auto row = [&](const DynastyFigures& r) {
    printRow(out, r.dynasty,
             {std::to_string(r.poets), std::to_string(r.poems), std::to_string(r.notes),
              std::to_string(r.translations), std::to_string(r.appreciations)});
  };
  out << "poems: " << s.all.poems << "\npoets: " << s.all.poets << '\n';
  printRow(out, "dynasty", {"poets", "poems", "notes", "translations", "appreciations"});
  for (const DynastyFigures& r : s.dynasties) row(r);
  row(s.all);
  out << "per genre:";
  for (const auto& [word, n] : s.genres) out << ' ' << word << ' ' << n;
  out << "\nwithout category: " << s.uncategorised
      << "\ncharacters kept unsimplified (code page 936 lacks the simplified form): " << s.keptOriginals
      << "\ncharacters stored as 〓 (code page 936 holds neither form): " << s.replacedCharacters
      << "\n〓 left in titles, authors and verses, shown simplified: " << s.leftInSimplified
      << "; shown as the source wrote them: " << s.leftInSource << '\n';
}

}  // namespace collection
