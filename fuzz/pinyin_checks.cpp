#include "fuzz/pinyin_checks.h"

#include "platform/text/ClassicalReadings.h"
#include "platform/text/CodePoints.h"
#include "platform/text/PinyinReading.h"

namespace {

void require(bool condition, const std::string& what) {
  if (!condition) throw EInputCheck(what);
}

struct Line {
  std::string_view Word;
  std::string_view Reading;
};

// The lines after the first, as word and reading; only called on input the loader accepted.
std::vector<Line> linesOf(std::string_view input) {
  std::vector<Line> lines;
  for (std::size_t pos = input.find('\n') + 1; pos < input.size();) {
    const std::size_t end = input.find('\n', pos);
    const std::string_view text = input.substr(pos, end - pos);
    const std::size_t tab1 = text.find('\t');
    const std::size_t tab2 = text.find('\t', tab1 + 1);
    lines.push_back({text.substr(0, tab1), text.substr(tab1 + 1, tab2 - tab1 - 1)});
    pos = end + 1;
  }
  return lines;
}

}  // namespace

void CheckPinyinDictionaryInput(std::string_view input) {
  std::optional<text::PinyinDictionary> loaded;
  try {
    loaded = text::PinyinDictionary::Parse(std::string(input), "input");
  } catch (const text::PinyinDictionaryError&) {
    return;
  }
  const std::vector<Line> lines = linesOf(input);
  require(loaded->size() == lines.size(), "a dictionary of another number of words than lines");
  // Besides the file's syllables, a reading may give 一 and 不 their own tones and take the
  // classical readings.
  std::string syllables = " yī bù ";
  for (const text::ClassicalReading& classical : text::ClassicalReadings()) syllables.append(classical.Reading).append(" ");
  std::string words;
  for (const Line& line : lines) {
    const text::PinyinDictionary::Match match = loaded->Lookup(line.Word);
    require(match.Exact && match.Exact->Reading == line.Reading, "a word not found with its own reading");
    syllables.append(line.Reading).append(" ");
    if (words.size() < 256) words.append(line.Word).append("x");
  }
  const std::u32string text = text::utf8ToCodePoints(words);
  const text::PinyinReader reader(std::move(*loaded));
  const std::vector<std::string> readings = reader.Readings(text);
  require(readings.size() == text.size(), "not one reading a character");
  for (const std::string& reading : readings)
    require(reading.empty() || syllables.find(" " + reading + " ") != std::string::npos,
            "a syllable from nowhere: " + reading);
}

std::vector<std::string> PinyinDictionarySeeds() {
  const std::string sound =
      "sici.pinyin 1\n"
      "一\tyī\t2.1783e-07\n"
      "不\tbù\t1e-07\n"
      "单于\tchán yú\t2.2e-10\n"
      "明\tmíng\t1.2e-08\n"
      "明月\tmíng yuè\t1.1e-09\n"
      "月\tyuè\t2e-08\n"
      "朝\tcháo\t1.4885e-08\n"
      "朝朝暮暮\tzhāo zhāo mù mù\t1.1e-11\n"
      "绿\tlǜ\t3e-09\n";
  return {sound,
          "sici.pinyin 1\n",
          "sici.pinyin 1\n一\tyī\t1\n一丁\tyì dīng\t1.8e-11\n",
          "sici.pinyin 1\n单于\tchán\t2.2e-10\n",
          "sici.pinyin 1\n月\tyuè\t2e-08",
          "sici.pinyin 1\n月\tyuè\t2e-08\n明\tmíng\t1e-08\n",
          "sici.pinyin 2\n月\tyuè\t2e-08\n"};
}
