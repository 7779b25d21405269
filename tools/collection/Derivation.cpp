#include "tools/collection/Derivation.h"

#include <algorithm>
#include <unordered_map>

namespace collection {
namespace {

// Decodes the next UTF-8 character; the corpus is valid UTF-8 once parsed as JSON.
char32_t nextChar(std::string_view s, std::size_t& pos) {
  const auto b = static_cast<unsigned char>(s[pos]);
  const std::size_t size = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  char32_t c = size == 1 ? b : size == 2 ? (b & 0x1F) : size == 3 ? (b & 0x0F) : (b & 0x07);
  for (std::size_t i = 1; i < size && pos + i < s.size(); ++i) c = c << 6 | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
  pos += size;
  return c;
}

bool endsClause(char32_t c) {
  switch (c) {
    case U'，': case U'。': case U'？': case U'！': case U'；': case U'：': case U'、':
    case U',': case U'.': case U'?': case U'!': case U';': case U':':
      return true;
    default:
      return false;
  }
}

bool opensRemark(char32_t c) { return c == U'（' || c == U'(' || c == U'[' || c == U'［' || c == U'〔' || c == U'{'; }
bool closesRemark(char32_t c) { return c == U'）' || c == U')' || c == U']' || c == U'］' || c == U'〕' || c == U'}'; }

// A character that counts towards a clause's length: a letter of the poem, not a mark.
bool isVerseCharacter(char32_t c) {
  if (c <= 0x20 || c == 0x3000) return false;
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (c >= 0x2000 && c <= 0x206F) return false;  // general punctuation: quotes, dashes, dots
  if (c >= 0x3000 && c <= 0x303F) return c == U'〇' || c == U'〓';
  if (c >= 0xFF00 && c <= 0xFF65) return false;  // fullwidth punctuation
  return c != U'·' && c != U'・' && c != U'□';
}

std::string formWord(std::size_t length, std::size_t clauses) {
  const char* digit = length == 5 ? "五" : "七";
  if (clauses < 4) return std::string(digit) + "言";
  if (clauses == 4) return std::string(digit) + "绝";
  if (clauses == 8) return std::string(digit) + "律";
  if (clauses > 8 && clauses % 2 == 0) return std::string(digit) + "排";
  return std::string(digit) + "古";
}

}  // namespace

std::vector<std::string> clauses(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    std::string current;
    int depth = 0;
    for (std::size_t pos = 0; pos < line.size();) {
      const std::size_t start = pos;
      const char32_t c = nextChar(line, pos);
      if (opensRemark(c)) {
        ++depth;
      } else if (closesRemark(c)) {
        depth = std::max(0, depth - 1);
      } else if (depth > 0) {
        continue;
      } else if (endsClause(c)) {
        if (!current.empty()) out.push_back(std::move(current));
        current.clear();
      } else if (isVerseCharacter(c)) {
        current.append(line, start, std::min(pos, line.size()) - start);
      }
    }
    if (!current.empty()) out.push_back(std::move(current));
  }
  return out;
}

std::vector<std::size_t> clauseLengths(const std::vector<std::string>& lines) {
  std::vector<std::size_t> lengths;
  for (const std::string& clause : clauses(lines)) {
    std::size_t characters = 0;
    for (const char byte : clause) characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    lengths.push_back(characters);
  }
  return lengths;
}

std::string verseText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& clause : clauses(lines)) text += clause;
  return text;
}

std::string deriveGenre(const Poem& poem) {
  if (poem.form == Form::Ci) return "词";
  if (poem.form == Form::Qu) return "散曲";
  if (!poem.genreHint.empty()) return poem.genreHint;
  const std::vector<std::size_t> lengths = clauseLengths(poem.lines);
  if (lengths.empty()) return {};
  const bool regular = std::all_of(lengths.begin(), lengths.end(), [&](std::size_t n) { return n == lengths.front(); });
  if (!regular) return "杂言";
  switch (lengths.front()) {
    case 4: return "四古";
    case 5: case 7: return formWord(lengths.front(), lengths.size());
    case 6: return "六古";
    default: return "杂言";
  }
}

const std::vector<std::string>& categoryWords() {
  static const std::vector<std::string> words = {
      "怀古", "记时", "静物", "动物", "山水", "酬赠", "答谢", "边塞", "送别", "记景", "羁旅", "田园", "论人生", "记物",
      "闺情", "题物", "记人", "代简", "论政", "留别", "记兵", "记事", "人民", "怀人", "题画", "记游", "抒怀"};
  return words;
}

std::string deriveCategory(const std::vector<std::string>& tags) {
  // The corpus tags poems by theme, season, place and school; only themes have a category.
  static const std::unordered_map<std::string, std::string> themes = {
      {"怀古", "怀古"}, {"咏史怀古", "怀古"}, {"咏史", "怀古"}, {"怀古诗", "怀古"},
      {"春天", "记时"}, {"夏天", "记时"}, {"秋天", "记时"}, {"冬天", "记时"}, {"节日", "记时"}, {"春节", "记时"},
      {"元宵节", "记时"}, {"寒食节", "记时"}, {"清明节", "记时"}, {"端午节", "记时"}, {"七夕节", "记时"},
      {"中秋节", "记时"}, {"中秋", "记时"}, {"重阳节", "记时"}, {"除夕", "记时"}, {"春", "记时"},
      {"写鸟", "动物"}, {"鸟", "动物"}, {"写马", "动物"}, {"马", "动物"}, {"动物", "动物"}, {"咏动物", "动物"},
      {"山水", "山水"}, {"写山", "山水"}, {"描写山", "山水"}, {"写水", "山水"}, {"描写水", "山水"}, {"山", "山水"},
      {"水", "山水"}, {"山水诗", "山水"},
      {"友情", "酬赠"}, {"酬赠", "酬赠"}, {"赠答", "酬赠"},
      {"答谢", "答谢"},
      {"边塞", "边塞"}, {"边塞诗", "边塞"}, {"边塞生活", "边塞"},
      {"送别", "送别"}, {"离别", "送别"}, {"赠别", "送别"}, {"惜别", "送别"}, {"送别诗", "送别"},
      {"写景", "记景"}, {"写雨", "记景"}, {"雨", "记景"}, {"写雪", "记景"}, {"雪", "记景"}, {"写风", "记景"},
      {"风", "记景"}, {"月亮", "记景"}, {"写景诗", "记景"},
      {"羁旅", "羁旅"}, {"思乡", "羁旅"}, {"羁旅诗", "羁旅"}, {"乡愁", "羁旅"},
      {"田园", "田园"}, {"田园诗", "田园"}, {"农村", "田园"}, {"隐居", "田园"},
      {"哲理", "论人生"}, {"人生", "论人生"}, {"励志", "论人生"}, {"劝学", "论人生"},
      {"咏物", "记物"}, {"咏物诗", "记物"}, {"写花", "记物"}, {"花", "记物"}, {"梅花", "记物"}, {"菊花", "记物"},
      {"荷花", "记物"}, {"柳树", "记物"}, {"植物", "记物"},
      {"闺怨", "闺情"}, {"宫怨", "闺情"}, {"爱情", "闺情"}, {"相思", "闺情"}, {"女子", "闺情"}, {"妇女", "闺情"},
      {"婉约", "闺情"}, {"闺情", "闺情"}, {"怨情", "闺情"},
      {"题画", "题画"}, {"题画诗", "题画"},
      {"写人", "记人"}, {"写人诗", "记人"}, {"人物", "记人"}, {"儿童", "记人"}, {"音乐", "记人"},
      {"忧国忧民", "论政"}, {"讽刺", "论政"}, {"爱国", "论政"}, {"政治", "论政"},
      {"留别", "留别"},
      {"战争", "记兵"}, {"军旅", "记兵"},
      {"叙事", "记事"}, {"宴饮", "记事"}, {"饮酒", "记事"}, {"生活", "记事"},
      {"农民", "人民"}, {"同情", "人民"}, {"劳动", "人民"},
      {"怀人", "怀人"}, {"思念", "怀人"}, {"友人", "怀人"}, {"怀念", "怀人"}, {"悼亡", "怀人"},
      {"登高", "记游"}, {"游记", "记游"}, {"旅游", "记游"}, {"记游", "记游"},
      {"抒怀", "抒怀"}, {"抒情", "抒怀"}, {"言志", "抒怀"}, {"感慨", "抒怀"}, {"壮志", "抒怀"}, {"感伤", "抒怀"},
      {"怀才不遇", "抒怀"}, {"壮志未酬", "抒怀"}, {"伤怀", "抒怀"}, {"孤独", "抒怀"}, {"豪放", "抒怀"},
      {"愁苦", "抒怀"}, {"闲适", "抒怀"}, {"写物", "题物"}, {"题物", "题物"}, {"书信", "代简"}, {"代简", "代简"},
      {"静物", "静物"},
      {"吊古伤今", "怀古"}, {"借古讽今", "怀古"}, {"托古讽今", "怀古"}, {"凭吊", "怀古"},
      {"夏", "记时"}, {"秋", "记时"}, {"冬", "记时"}, {"元宵", "记时"}, {"重阳", "记时"}, {"清明", "记时"},
      {"七夕情人节", "记时"}, {"写云", "记景"}, {"瀑布", "山水"}, {"唱和", "酬赠"}, {"酬和", "酬赠"},
      {"和诗", "酬赠"}, {"知己", "酬赠"}, {"酬答", "答谢"}, {"别离", "送别"}, {"离愁", "送别"},
      {"思归", "羁旅"}, {"归乡", "羁旅"}, {"旅途", "羁旅"}, {"行舟", "羁旅"}, {"漂泊", "羁旅"},
      {"山村", "田园"}, {"乡村", "田园"}, {"农事", "田园"}, {"归隐", "田园"}, {"隐逸", "田园"},
      {"惜时", "论人生"}, {"读书", "论人生"}, {"写竹", "记物"}, {"写莲", "记物"}, {"竹子", "记物"},
      {"牡丹", "记物"}, {"赏花", "记物"}, {"写燕", "动物"}, {"思亲", "怀人"}, {"讽喻", "论政"},
      {"忧国", "论政"}, {"将士", "记兵"}, {"将军", "记兵"}, {"战士", "记兵"}, {"行军", "记兵"},
      {"征人", "边塞"}, {"边将", "边塞"}, {"宴会", "记事"}, {"风俗", "记事"}, {"游历", "记游"},
      {"纪游", "记游"}, {"纪行", "记游"}, {"春游", "记游"}, {"踏青", "记游"}, {"郊游", "记游"},
      {"寻访", "记游"}, {"登楼", "记游"}, {"贬谪", "抒怀"}, {"失意", "抒怀"}, {"愤慨", "抒怀"},
      {"理想", "抒怀"}, {"豪迈", "抒怀"}, {"志向", "抒怀"}, {"抱负", "抒怀"}, {"述志", "抒怀"},
      {"建功立业", "抒怀"}, {"壮志难酬", "抒怀"}, {"愁思", "抒怀"}, {"悲秋", "抒怀"}};
  // Many poems carry only the place they were gathered under. A mountain, lake or river tells
  // a landscape poem, a famous tower a visit; a theme elsewhere in the tags tells more.
  static const std::unordered_map<std::string, std::string> places = {
      {"西湖", "山水"}, {"洞庭湖", "山水"}, {"太湖", "山水"}, {"长江", "山水"}, {"黄河", "山水"},
      {"钱塘江", "山水"}, {"庐山", "山水"}, {"衡山", "山水"}, {"泰山", "山水"}, {"华山", "山水"},
      {"恒山", "山水"}, {"九华山", "山水"}, {"终南山", "山水"}, {"黄山", "山水"}, {"天门山", "山水"},
      {"峨眉山", "山水"}, {"岳阳楼", "记游"}, {"滕王阁", "记游"}, {"黄鹤楼", "记游"}};
  for (const auto* words : {&themes, &places}) {
    for (const std::string& tag : tags) {
      if (auto it = words->find(tag); it != words->end()) return it->second;
    }
  }
  return {};
}

}  // namespace collection
