#include "data/sqlite/GbkPatterns.h"

#include <cstring>

#include "data/sqlite/LiteCallUni.h"
#include "platform/text/AnsiText.h"

namespace gbk {
namespace {

// SQLite refuses longer patterns too; the matcher's work grows with pattern times text.
constexpr std::size_t kMaxPatternLength = 50000;

std::size_t charLength(std::string_view s, std::size_t i) {
  return text::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

unsigned char foldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

bool sameChar(std::string_view a, std::string_view b, bool noCase) {
  if (a.size() != b.size()) return false;
  if (a.size() == 1 && noCase) return foldAscii(static_cast<unsigned char>(a[0])) == foldAscii(static_cast<unsigned char>(b[0]));
  return a == b;
}

// The character's value for ranges in GLOB classes: one byte, or lead and trail.
unsigned charCode(std::string_view c) {
  return c.size() == 1 ? static_cast<unsigned char>(c[0])
                       : static_cast<unsigned>(static_cast<unsigned char>(c[0])) << 8 | static_cast<unsigned char>(c[1]);
}

struct Syntax {
  std::string_view many;
  std::string_view one;
  bool noCase;
  bool classes;
  std::optional<std::string_view> escape;
};

enum class ClassResult { Match, NoMatch, Malformed };

// Matches `c` against the GLOB class that starts at pattern[p] ("["); `p` moves past it. As
// SQLite reads a class: a "]" first (after "[" or "[^") is a member; a "-" between two members
// makes a range from the member before it, which that member has already matched on its own,
// so a range written backwards still matches its first character; a "-" first or last is a member.
ClassResult matchClass(std::string_view pattern, std::size_t& p, std::string_view c) {
  std::size_t i = p + 1;
  bool negate = false;
  if (i < pattern.size() && pattern[i] == '^') {
    negate = true;
    ++i;
  }
  bool found = false;
  std::string_view prior;  // the member a "-" may start a range from
  if (i < pattern.size() && pattern[i] == ']') {
    found = c == "]";
    ++i;
  }
  while (i < pattern.size() && pattern[i] != ']') {
    if (pattern[i] == '-' && !prior.empty() && i + 1 < pattern.size() && pattern[i + 1] != ']') {
      const std::string_view high = pattern.substr(i + 1, charLength(pattern, i + 1));
      i += 1 + high.size();
      found = found || (charCode(c) >= charCode(prior) && charCode(c) <= charCode(high));
      prior = {};
    } else {
      prior = pattern.substr(i, charLength(pattern, i));
      i += prior.size();
      found = found || prior == c;
    }
  }
  if (i >= pattern.size()) return ClassResult::Malformed;
  p = i + 1;
  return found != negate ? ClassResult::Match : ClassResult::NoMatch;
}

// Wildcard matching with backtracking to the last "many" token only: every other token
// matches exactly one character, so that is enough and stays linear in most cases.
bool match(std::string_view pattern, std::string_view text, const Syntax& syntax) {
  std::size_t p = 0, t = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      std::string_view token = pattern.substr(p, charLength(pattern, p));
      const std::string_view c = text.substr(t, charLength(text, t));
      if (syntax.escape && token == *syntax.escape) {
        if (p + token.size() >= pattern.size()) return false;
        const std::string_view literal = pattern.substr(p + token.size(), charLength(pattern, p + token.size()));
        if (sameChar(literal, c, syntax.noCase)) {
          p += token.size() + literal.size();
          t += c.size();
          continue;
        }
      } else if (token == syntax.many) {
        starP = p + token.size();
        starT = t;
        p = starP;
        continue;
      } else if (token == syntax.one) {
        p += token.size();
        t += c.size();
        continue;
      } else if (syntax.classes && token == "[") {
        std::size_t next = p;
        const ClassResult r = matchClass(pattern, next, c);
        if (r == ClassResult::Malformed) return false;
        if (r == ClassResult::Match) {
          p = next;
          t += c.size();
          continue;
        }
      } else if (sameChar(token, c, syntax.noCase)) {
        p += token.size();
        t += c.size();
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    starT += charLength(text, starT);
    t = starT;
    p = starP;
  }
  // Trailing "many" tokens match nothing at the end, unless the token is the escape.
  while (p < pattern.size() && pattern.substr(p, syntax.many.size()) == syntax.many && syntax.many != syntax.escape)
    p += syntax.many.size();
  return p == pattern.size();
}

// `literal` is whole characters with no wildcard, escape or (for LIKE) ASCII letter: it can
// be compared byte for byte.
bool isPlainLiteral(std::string_view literal, const Syntax& syntax) {
  for (std::size_t i = 0; i < literal.size();) {
    const std::size_t n = charLength(literal, i);
    const auto b = static_cast<unsigned char>(literal[i]);
    if (n == 1) {
      if (text::isLeadByte(b)) return false;  // half a character
      if (syntax.noCase && ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))) return false;
      const std::string_view c = literal.substr(i, 1);
      if (c == syntax.many || c == syntax.one || (syntax.classes && c == "[")) return false;
    }
    if (syntax.escape && literal.substr(i, n) == *syntax.escape) return false;
    i += n;
  }
  return true;
}

// Finds `needle` in `text` starting on a character boundary.
bool containsAtBoundary(std::string_view text, std::string_view needle) {
  std::size_t boundary = 0;
  for (std::size_t from = 0; from + needle.size() <= text.size();) {
    const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    if (!hit) return false;
    const auto pos = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    while (boundary < pos) boundary += charLength(text, boundary);
    if (boundary == pos) return true;
    from = pos + 1;
  }
  return false;
}

bool matches(std::string_view pattern, std::string_view text, const Syntax& syntax) {
  // The statements of the reader are "%word%" and "word%": no need to walk every character,
  // unless an escape character stands in the pattern, where it may be a wildcard escaped.
  if (syntax.escape && pattern.find(*syntax.escape) != std::string_view::npos) return match(pattern, text, syntax);
  const std::size_t m = syntax.many.size();
  if (pattern.size() >= 2 * m && pattern.substr(0, m) == syntax.many && pattern.substr(pattern.size() - m) == syntax.many) {
    const std::string_view literal = pattern.substr(m, pattern.size() - 2 * m);
    if (isPlainLiteral(literal, syntax)) return containsAtBoundary(text, literal);
  } else if (pattern.size() >= m && pattern.substr(pattern.size() - m) == syntax.many) {
    const std::string_view literal = pattern.substr(0, pattern.size() - m);
    if (isPlainLiteral(literal, syntax)) return text.substr(0, literal.size()) == literal;
  }
  return match(pattern, text, syntax);
}

std::string_view valueText(sqlite3_value* value) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3api.sqlite3_value_text(value));
  return bytes ? std::string_view(bytes, static_cast<std::size_t>(sqlite3api.sqlite3_value_bytes(value))) : std::string_view();
}

bool anyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3api.sqlite3_value_type(argv[i]) == sqlite::kNull) return true;
  return false;
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3api.sqlite3_result_null(context);
  const std::string_view pattern = valueText(argv[0]);
  if (pattern.size() > kMaxPatternLength)
    return sqlite3api.sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
  std::optional<std::string_view> escape;
  if (argc == 3) {
    escape = valueText(argv[2]);
    if (escape->empty() || charLength(*escape, 0) != escape->size())
      return sqlite3api.sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
  }
  sqlite3api.sqlite3_result_int(context, like(pattern, valueText(argv[1]), escape));
}

void globFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (anyNull(argc, argv)) return sqlite3api.sqlite3_result_null(context);
  const std::string_view pattern = valueText(argv[0]);
  if (pattern.size() > kMaxPatternLength)
    return sqlite3api.sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
  sqlite3api.sqlite3_result_int(context, glob(pattern, valueText(argv[1])));
}

}  // namespace

bool like(std::string_view pattern, std::string_view text, std::optional<std::string_view> escape) {
  return matches(pattern, text, Syntax{"%", "_", true, false, escape});
}

bool glob(std::string_view pattern, std::string_view text) {
  return matches(pattern, text, Syntax{"*", "?", false, true, std::nullopt});
}

int registerPatternFunctions(sqlite3* db) {
  int flags = sqlite::kUtf8 | sqlite::kDeterministic;
  // As SQLite's own like and glob, usable in a view, trigger or index whatever trusted_schema says.
  if (sqlite3api.sqlite3_libversion_number() >= sqlite::kInnocuousSince) flags |= sqlite::kInnocuous;
  int rc = sqlite3api.sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
  if (rc == sqlite::kOk) rc = sqlite3api.sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
  if (rc == sqlite::kOk) rc = sqlite3api.sqlite3_create_function(db, "glob", 2, flags, nullptr, globFunction, nullptr, nullptr);
  return rc;
}

}  // namespace gbk
