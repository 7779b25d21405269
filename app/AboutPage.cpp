#include "app/AboutPage.h"

#include <array>

#include "app/Lookup.h"
#include "app/Statements.h"
#include "platform/text/AnsiText.h"
#include "tavrin/Version.h"

namespace {

// The reader's dynasty list, in its order.
constexpr std::array<const char*, 15> kDynasties = {"秦", "汉", "魏晋", "南北", "隋", "唐", "五代", "宋",
                                                    "辽", "金", "元", "明", "清", "近代", "现代"};

// What each kind of row of the catalogue's statement counts, by the number
// statements::DynastyFigures gives it.
constexpr std::array<long long DynastyCount::*, 4> kKinds = {&DynastyCount::poems, &DynastyCount::poets,
                                                             &DynastyCount::notes, &DynastyCount::appreciations};

QString cell(long long n) { return QStringLiteral("<td align=\"right\">%1</td>").arg(n); }

QString tableRow(const DynastyCount& row) {
  return QStringLiteral("<tr><td>%1</td>").arg(row.dynasty.toHtmlEscaped()) + cell(row.poems) + cell(row.poets) +
         cell(row.notes) + cell(row.appreciations) + QStringLiteral("</tr>");
}

QString figuresHtml(const CollectionFigures& figures) {
  QString html = QStringLiteral("<p>本诗词库收录诗词%1首，诗人%2位；其中%3首带有注释，%4首带有赏析。</p>")
                     .arg(figures.all.poems)
                     .arg(figures.all.poets)
                     .arg(figures.all.notes)
                     .arg(figures.all.appreciations);
  html += QStringLiteral(
      "<table cellspacing=\"0\" cellpadding=\"3\"><tr><th align=\"left\">朝代</th><th align=\"right\">诗词</th>"
      "<th align=\"right\">诗人</th><th align=\"right\">有注释</th><th align=\"right\">有赏析</th></tr>");
  for (const DynastyCount& row : figures.dynasties) html += tableRow(row);
  return html + QStringLiteral("</table>");
}

}  // namespace

CollectionFigures ReadCollectionFigures(TUniConnection& catalogue, TUniConnection& texts) {
  std::vector<long long> notes, appreciations;
  for (const auto annotated = Lookup(texts, statements::AnnotatedPoems()); !annotated->Eof(); annotated->Next()) {
    const long long id = annotated->Fields()[0]->AsLargeInt();
    if (annotated->Fields()[1]->AsLargeInt()) notes.push_back(id);
    if (annotated->Fields()[2]->AsLargeInt()) appreciations.push_back(id);
  }

  CollectionFigures figures;
  std::vector<AnsiString> patterns;
  for (const char* dynasty : kDynasties) {
    figures.dynasties.push_back({QString::fromUtf8(dynasty)});
    patterns.push_back(statements::DynastyPattern(text::utf8ToAnsi(dynasty)));
  }
  // Each stored dynasty comes once per kind, so a few dozen rows are matched here, not a row per poem.
  for (const auto grouped = Lookup(catalogue, statements::DynastyFigures(notes, appreciations)); !grouped->Eof();
       grouped->Next()) {
    const auto column = kKinds.at(static_cast<std::size_t>(grouped->Fields()[0]->AsLargeInt()));
    const AnsiString stored = grouped->Fields()[1]->AsString();
    const long long n = grouped->Fields()[2]->AsLargeInt();
    figures.all.*column += n;
    for (std::size_t i = 0; i < patterns.size(); ++i)
      if (text::findText(stored, patterns[i]) != std::string_view::npos) figures.dynasties[i].*column += n;
  }
  return figures;
}

QString AboutPageHtml(const std::optional<CollectionFigures>& figures, bool counting, const QColor& background) {
  QString html = QStringLiteral("<html><body style=\"color:#000080; background-color:%1\">").arg(background.name());
  html += QStringLiteral("<h3>Tavrin诗词大全 %1</h3>").arg(QString::fromUtf8(tavrin::kVersion));
  if (figures)
    html += figuresHtml(*figures);
  else if (counting)
    html += QStringLiteral("<p>正在统计本目录中的诗词库……</p>");
  else
    html += QStringLiteral("<p>无法读取本目录中诗词库的统计数字。</p>");
  html += QStringLiteral(
      "<h4>数据来源与许可</h4>"
      "<p>诗词：chinese-poetry 2.0.1，MIT 许可证，https://github.com/chinese-poetry/chinese-poetry</p>"
      "<p>拼音：@pinyin-pro/data 1.3.1，ISC 许可证；其中没有的生僻字按 Unicode 的 Unihan 数据注音，"
      "Unicode License v3</p>"
      "<p>繁简转换：OpenCC 的转换表，Apache-2.0 许可证</p>"
      "<p>字体：本软件不附带字体，使用系统的中文字体（Debian 的 fonts-noto-cjk，SIL Open Font License 1.1）</p>");
  return html + QStringLiteral("</body></html>");
}
