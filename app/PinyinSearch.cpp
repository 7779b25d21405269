#include "app/PinyinSearch.h"

#include <algorithm>
#include <memory>

#include "app/Statements.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "platform/text/PinyinMatch.h"

bool PinyinSearch::Available() {
  if (!loaded_) load();
  return available_;
}

void PinyinSearch::load() {
  loaded_ = true;
  // Asked of the catalogue's own list of tables, so that an older collection costs no error.
  TUniQuery tables(nullptr);
  tables.SetConnection(&catalogue_);
  tables.SQL().Add(statements::PinyinTableExists());
  tables.Open();
  available_ = !tables.Eof();
  if (!available_) return;
  TUniQuery rows(nullptr);
  rows.SetConnection(&catalogue_);
  rows.SQL().Add(statements::PinyinRows());
  rows.Open();
  ::TField& id = *rows.Fields()[0];
  ::TField& title = *rows.Fields()[1];
  ::TField& author = *rows.Fields()[2];
  const auto keep = [this](const AnsiString& text) {
    const auto at = static_cast<std::uint32_t>(pool_.size());
    pool_ += text;
    return at;
  };
  for (; !rows.Eof(); rows.Next()) {
    const AnsiString t = title.AsString(), a = author.AsString();
    TRow row{std::stoll(id.AsString()), keep(t), static_cast<std::uint32_t>(t.size()), keep(a),
             static_cast<std::uint32_t>(a.size())};
    rows_.push_back(row);
  }
  std::sort(rows_.begin(), rows_.end(), [](const TRow& x, const TRow& y) { return x.Id < y.Id; });
}

std::vector<AnsiString> PinyinSearch::Find(std::string_view input, TColumn column, bool fromStart) {
  if (!Available()) return {};
  const text::PinyinQuery query(input);
  const std::string_view pool(pool_);
  std::vector<AnsiString> found;
  for (const TRow& row : rows_) {
    const std::string_view syllables = column == TColumn::Title ? pool.substr(row.Title, row.TitleBytes)
                                                              : pool.substr(row.Author, row.AuthorBytes);
    if (query.Matches(syllables, fromStart)) found.push_back(std::to_string(row.Id));
  }
  return found;
}
