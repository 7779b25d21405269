// How often the pinyin of famous lines of poetry matches the school editions' reading, character
// by character, over the sample of bench/pinyin_sample.txt (its first lines say how it is laid out).
//
//     pinyin_bench SAMPLE                 ours, read with sici.pinyin beside the program:
//                                         pinyin_accuracy, pinyin_dictionary_load_ms, pinyin_line_us
//     pinyin_bench --texts SAMPLE         the sample's lines of text, one a line, for another reader
//     pinyin_bench --score NAME SAMPLE    another reader's pinyin of those lines, one a line on
//                                         standard input: NAME_accuracy
//
// Every reader is scored by the same rule: the syllables of its line, in order, against the
// reference syllables of the line's Chinese characters. The first mismatches go to stderr.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "platform/text/CodePoints.h"
#include "platform/text/PinyinLine.h"

namespace {

struct SampleLine {
  std::string Text;
  std::vector<std::string> Reference;  // a syllable a Chinese character of Text
};

// The ranges sici-pinyin counts as Chinese (PinyinLine.cpp), so that a character is a syllable of
// the reference exactly when it is one of the reading.
bool isChinese(char32_t c) {
  return c == U'〇' || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0x20000 && c <= 0x323AF);
}

// A letter of a syllable: ASCII, or Latin with a tone mark or diaeresis, precomposed or combining.
bool isPinyinLetter(char32_t c) {
  return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) ||
         (c >= 0x300 && c <= 0x36F) || (c >= 0x1E00 && c <= 0x1EFF);
}

std::size_t chineseCount(std::string_view utf8) {
  std::size_t n = 0;
  for (const char32_t c : text::utf8ToCodePoints(utf8)) n += isChinese(c) ? 1 : 0;
  return n;
}

// Every syllable of Mandarin, without its tone.
constexpr std::string_view kSyllables =
    "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can cang cao ce cen ceng "
    "cha chai chan chang chao che chen cheng chi chong chou chu chua chuai chuan chuang chui chun chuo ci cong cou cu "
    "cuan cui cun cuo da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du duan dui dun duo e "
    "ei en eng er fa fan fang fei fen feng fiao fo fou fu ga gai gan gang gao ge gei gen geng gong gou gu gua guai guan "
    "guang gui gun guo ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang hui hun huo ji jia jian "
    "jiang jiao jie jin jing jiong jiu ju juan jue jun ka kai kan kang kao ke kei ken keng kong kou ku kua kuai kuan "
    "kuang kui kun kuo la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu lo long lou lu luan lun "
    "luo lü lüe ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu na nai nan nang nao ne nei "
    "nen neng ni nian niang niao nie nin ning niu nong nou nu nuan nun nuo nü nüe o ou pa pai pan pang pao pei pen "
    "peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun ran rang "
    "rao re ren reng ri rong rou ru rua ruan rui run ruo sa sai san sang sao se sen seng sha shai shan shang shao she "
    "shei shen sheng shi shou shu shua shuai shuan shuang shui shun shuo si song sou su suan sui sun suo ta tai tan "
    "tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo wa wai wan wang wei wen weng wo wu xi xia "
    "xian xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan yang yao ye yi yin ying yo yong you yu yuan yue "
    "yun za zai zan zang zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua "
    "zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui zun zuo";

std::u32string toneless(std::u32string_view letters) {
  static constexpr std::u32string_view kMarked = U"āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜ";
  static constexpr std::u32string_view kBare = U"aaaaeeeeiiiioooouuuuüüüü";
  std::u32string bare(letters);
  for (char32_t& c : bare)
    if (const std::size_t at = kMarked.find(c); at != std::u32string_view::npos) c = kBare[at];
  return bare;
}

bool isSyllable(std::u32string_view letters) {
  static const std::vector<std::u32string> known = [] {
    std::vector<std::u32string> all;
    for (std::size_t start = 0; start < kSyllables.size();) {
      const std::size_t end = std::min(kSyllables.find(' ', start), kSyllables.size());
      all.push_back(text::utf8ToCodePoints(kSyllables.substr(start, end - start)));
      start = end + 1;
    }
    std::sort(all.begin(), all.end());
    return all;
  }();
  return std::binary_search(known.begin(), known.end(), toneless(letters));
}

// The fewest syllables that make up `run`, none but the first beginning with a, o or e unless
// `vowelInside`; empty when there are none.
std::vector<std::u32string> fewestSyllables(const std::u32string& run, bool vowelInside) {
  constexpr std::size_t kLongest = 6;
  const std::size_t n = run.size();
  std::vector<std::size_t> fewest(n + 1, n + 1);
  std::vector<std::size_t> from(n + 1, 0);
  fewest[0] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (fewest[i] > n) continue;
    if (i > 0 && !vowelInside && std::u32string_view(U"aoe").find(toneless(run.substr(i, 1))[0]) != std::u32string_view::npos)
      continue;
    for (std::size_t end = i + 1; end <= n && end - i <= kLongest; ++end)
      if (fewest[i] + 1 < fewest[end] && isSyllable(std::u32string_view(run).substr(i, end - i))) {
        fewest[end] = fewest[i] + 1;
        from[end] = i;
      }
  }
  std::vector<std::u32string> syllables;
  if (fewest[n] > n) return syllables;
  for (std::size_t end = n; end > 0; end = from[end]) syllables.insert(syllables.begin(), run.substr(from[end], end - from[end]));
  return syllables;
}

// A run of letters as its syllables. ICU writes the syllables of a word it knows together
// (báirì); pinyin puts an apostrophe before a syllable that begins with a, o or e inside a word,
// which ICU does not always do (yóuè). A run that does not split is taken whole.
std::vector<std::u32string> splitRun(const std::u32string& run) {
  if (isSyllable(run)) return {run};
  for (const bool vowelInside : {false, true})
    if (std::vector<std::u32string> syllables = fewestSyllables(run, vowelInside); !syllables.empty()) return syllables;
  return {run};
}

// The syllables of a reader's line: the runs of letters, split as splitRun says, and each Chinese
// character left as written (one the reader has no reading for); blanks and punctuation only
// separate them.
std::vector<std::string> syllablesOf(std::string_view line) {
  std::vector<std::string> syllables;
  std::u32string run;
  const auto close = [&] {
    if (!run.empty())
      for (const std::u32string& syllable : splitRun(run)) syllables.push_back(text::codePointsToUtf8(syllable));
    run.clear();
  };
  for (const char32_t c : text::utf8ToCodePoints(line)) {
    if (isPinyinLetter(c)) {
      run += c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
      continue;
    }
    close();
    if (isChinese(c)) syllables.push_back(text::codePointsToUtf8(std::u32string_view(&c, 1)));
  }
  close();
  return syllables;
}

std::vector<SampleLine> readSample(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + path);
  std::vector<SampleLine> sample;
  std::string line;
  bool wantText = true;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (wantText) {
      sample.push_back({line, {}});
    } else {
      sample.back().Reference = syllablesOf(line);
      if (sample.back().Reference.size() != chineseCount(sample.back().Text))
        throw std::runtime_error(std::string(path) + ":" + std::to_string(number) +
                                 ": the reading does not give a syllable for each Chinese character of the line before it");
    }
    wantText = !wantText;
  }
  if (!wantText) throw std::runtime_error(std::string(path) + ": the last line of text has no reading");
  return sample;
}

// The fraction of the sample's Chinese characters whose syllable in `readings` (a line each)
// is the reference; the first mismatches go to stderr under `name`.
double accuracy(const char* name, const std::vector<SampleLine>& sample, const std::vector<std::string>& readings) {
  constexpr int kShown = 25;
  std::size_t characters = 0;
  std::size_t right = 0;
  int shown = 0;
  const auto show = [&](const std::string& what) {
    if (shown++ < kShown) std::cerr << name << ": " << what << '\n';
  };
  for (std::size_t i = 0; i < sample.size(); ++i) {
    const std::vector<std::string>& reference = sample[i].Reference;
    characters += reference.size();
    const std::vector<std::string> got = i < readings.size() ? syllablesOf(readings[i]) : std::vector<std::string>();
    if (got.size() != reference.size()) {
      show("not a syllable a character (" + std::to_string(got.size()) + " for " + std::to_string(reference.size()) +
           "): " + sample[i].Text + " -> " + (i < readings.size() ? readings[i] : std::string("(no line)")));
      continue;
    }
    const std::u32string text = text::utf8ToCodePoints(sample[i].Text);
    std::size_t k = 0;
    for (const char32_t c : text) {
      if (!isChinese(c)) continue;
      if (got[k] == reference[k])
        ++right;
      else
        show(text::codePointsToUtf8(std::u32string_view(&c, 1)) + " " + got[k] + ", reference " + reference[k] + ": " +
             sample[i].Text);
      ++k;
    }
  }
  if (shown > kShown) std::cerr << name << ": " << shown - kShown << " more\n";
  return characters ? static_cast<double>(right) / static_cast<double>(characters) : 0;
}

void printAccuracy(const std::string& name, double value) { std::printf("%s_accuracy: %.4f\n", name.c_str(), value); }

int runOurs(const std::vector<SampleLine>& sample) {
  const std::filesystem::path file = text::PinyinDictionaryBesideProgram();
  // The first load brings the file into memory, as the reader's start finds it after the build.
  text::PinyinDictionary dictionary = text::PinyinDictionary::Load(file);
  const double loadMs = bench::bestMs(3, [&] { dictionary = text::PinyinDictionary::Load(file); });
  const text::PinyinReader reader(std::move(dictionary));

  std::vector<std::string> readings;
  for (const SampleLine& line : sample) readings.push_back(text::PinyinLine(reader, line.Text));

  std::vector<double> lineUs;
  for (const SampleLine& line : sample) {
    constexpr int kRuns = 20;
    std::string kept;
    lineUs.push_back(bench::bestMs(kRuns, [&] { kept = text::PinyinLine(reader, line.Text); }) * 1000.0);
  }

  printAccuracy("pinyin", accuracy("pinyin", sample, readings));
  bench::print("pinyin_dictionary_load_ms", loadMs);
  bench::print("pinyin_line_us", bench::median(lineUs));
  return 0;
}

int runScore(const std::string& name, const std::vector<SampleLine>& sample) {
  std::vector<std::string> readings;
  for (std::string line; std::getline(std::cin, line);) readings.push_back(line);
  if (readings.size() != sample.size())
    std::cerr << name << ": " << readings.size() << " lines read for the sample's " << sample.size() << '\n';
  printAccuracy(name, accuracy(name.c_str(), sample, readings));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const bool texts = args.size() == 2 && args[0] == "--texts";
  const bool score = args.size() == 3 && args[0] == "--score";
  if (!(args.size() == 1 || texts || score)) {
    std::cerr << "usage: pinyin_bench [--texts | --score NAME] SAMPLE\n";
    return 2;
  }
  try {
    const std::vector<SampleLine> sample = readSample(args.back().c_str());
    if (texts) {
      for (const SampleLine& line : sample) std::cout << line.Text << '\n';
      return 0;
    }
    return score ? runScore(args[1], sample) : runOurs(sample);
  } catch (const std::exception& e) {
    std::cerr << "pinyin_bench: " << e.what() << '\n';
    return 1;
  }
}
