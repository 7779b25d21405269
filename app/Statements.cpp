#include "app/Statements.h"

#include <string>

namespace statements {

namespace {

AnsiString numberList(const std::vector<long long>& ids) {
  AnsiString list;
  for (const long long id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
  return list;
}

const AnsiString& listBase() {
  static const AnsiString base = "select id,tm as 作品,zz as 作者 from sici"_gbk;
  return base;
}

}  // namespace

AnsiString Literal(const AnsiString& value) {
  AnsiString out;
  out.reserve(value.size());
  // A quote byte is never the second byte of a code page 936 character, so doubling bytes is safe.
  for (char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

AnsiString Alias(const AnsiString& name) {
  // SQLite's tokenizer reads bytes: letters, digits, '_', '$' and every byte from 0x80 up join
  // an identifier, which may not start with a digit or '$'. The second byte of a double-byte
  // character is read as what it is alone.
  const auto joins = [](unsigned char c) {
    return c >= 0x80 || c == '_' || c == '$' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  };
  const auto first = name.empty() ? 0 : static_cast<unsigned char>(name.front());
  bool plain = joins(first) && first != '$' && !(first >= '0' && first <= '9');
  for (const char c : name) plain = plain && joins(static_cast<unsigned char>(c));
  if (plain) return name;
  AnsiString out = "\"";
  for (const char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + '"';
}

AnsiString AllPoems() { return listBase(); }

AnsiString AllTitles() { return "select id,tm as 作品 from sici"_gbk; }

AnsiString TangPoets() { return "select zz as 作者 from poet where nd like '%唐%'"_gbk; }

AnsiString FixedAuthor() { return "楚嵩"_gbk; }

AnsiString FixedAuthorWorks() { return "select id,tm as 作品 from sici where zz ='"_gbk + FixedAuthor() + "'"; }

AnsiString DynastyPattern(const AnsiString& entry) {
  if (entry == "五代"_gbk) return "五"_gbk;
  if (entry == "魏晋"_gbk) return "晋"_gbk;
  return entry;
}

AnsiString DynastyPoets(const AnsiString& entry) {
  return "select zz as " + entry + "作者 from poet where nd like '%"_gbk + DynastyPattern(entry) + "%'";
}

AnsiString PoetWorks(const AnsiString& author) {
  return "select id,tm as " + Alias(author + "作品"_gbk) + " from sici where zz ='" + Literal(author) + "'";
}

AnsiString TitlesBeginningWith(const AnsiString& text) { return listBase() + " where tm like '" + Literal(text) + "%'"; }

AnsiString TitlesContaining(const AnsiString& input) { return listBase() + " where tm like '%" + Literal(input) + "%'"; }

AnsiString AuthorsContaining(const AnsiString& input) { return listBase() + " where zz like '%" + Literal(input) + "%'"; }

AnsiString TextsContaining(const AnsiString& input) { return "SELECT id FROM sici where nr like '%" + Literal(input) + "%'"; }

AnsiString ClearScratch() { return "delete from tmpid;"; }

AnsiString AddToScratch(const AnsiString& id) { return "replace INTO tmpid(id) VALUES (" + id + ");"; }

AnsiString AddAllToScratch(const AnsiString* ids, std::size_t count) {
  AnsiString sql = "replace INTO tmpid(id) VALUES ";
  for (std::size_t i = 0; i < count; ++i) sql += (i ? ",(" : "(") + ids[i] + ")";
  return sql + ";";
}

AnsiString ScratchList() { return listBase() + " where id in (select id from tmpid)"; }

AnsiString PinyinRows() { return "select id,tm,zz from pinyin"; }

AnsiString PinyinTableExists() { return "select name from sqlite_master where type='table' and name='pinyin'"; }

AnsiString ScratchPoems() {
  return "select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id"_gbk;
}

AnsiString AdvancedSearchBase() { return listBase() + " where 1=1"; }

AnsiString AdvancedSearch(const AdvancedChoice& choice) {
  AnsiString sql = AdvancedSearchBase() + " ";
  if (!choice.genre.empty()) sql += " and tc like '" + Literal(choice.genre) + "%'";
  if (!choice.category.empty()) sql += " and lb ='" + Literal(choice.category) + "'";
  if (!choice.dynasty.empty()) sql += " and nd like '%" + Literal(DynastyPattern(choice.dynasty)) + "%'";
  if (!choice.author.empty()) sql += " and zz like '%" + Literal(choice.author) + "%'";
  if (!choice.title.empty()) sql += " and tm like '%" + Literal(choice.title) + "%'";
  return sql;
}

AnsiString PoemRow(const AnsiString& id) { return "SELECT * FROM sici where id='" + Literal(id) + "' limit 1"; }

AnsiString PoetRow(const AnsiString& author) { return "select * from poet where zz='" + Literal(author) + "'"; }

AnsiString SourceRow(const AnsiString& id) { return "select * from source where id='" + Literal(id) + "' limit 1"; }

AnsiString SourceTableExists() { return "select name from sqlite_master where type='table' and name='source'"; }

AnsiString PoemRange() { return "select min(id),max(id) from sici"; }

AnsiString PoemCount() { return "select count(*) from sici"; }

AnsiString PoemNumber(long long id) { return "select id from sici where id=" + std::to_string(id); }

AnsiString PoemNumberAt(long long place) {
  return "select id from sici order by id limit 1 offset " + std::to_string(place);
}

AnsiString PoemByTitleAndAuthor(const AnsiString& title, const AnsiString& author) {
  return "select id from sici where tm='" + Literal(title) + "' and zz='" + Literal(author) + "' order by id limit 1";
}

AnsiString AnnotatedPoems() { return "select id,zs<>'',jx<>'' from sici where zs<>'' or jx<>''"; }

AnsiString DynastyFigures(const std::vector<long long>& notes, const std::vector<long long>& appreciations) {
  return "select 0,nd,count(*) from sici group by nd"
         " union all select 1,nd,count(*) from poet group by nd"
         " union all select 2,nd,count(*) from sici where id in (" +
         numberList(notes) + ") group by nd union all select 3,nd,count(*) from sici where id in (" +
         numberList(appreciations) + ") group by nd";
}

}  // namespace statements
