// The poem view and the result list: one poem laid out from both files, a list statement
// shown in the result list, and the search word marked in red.

#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>
#include <optional>

#include "app/LibraryStore.h"
#include "app/PoemColumns.h"
#include "app/PoemPinyin.h"
#include "app/PoemSource.h"
#include "app/PoemViewText.h"
#include "app/Lookup.h"
#include "app/Statements.h"
#include "app/sici.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Shell.h"
#include "platform/text/QtText.h"

namespace {

bool blank(const AnsiString& value) { return text::trimmed(value).empty(); }

// Without leading and trailing characters of code 32 or below.
QString trimmedView(const QString& view) {
  qsizetype first = 0, last = view.size();
  while (first < last && view[first].unicode() <= ' ') ++first;
  while (last > first && view[last - 1].unicode() <= ' ') --last;
  return view.mid(first, last - first);
}

AnsiString field(TUniQuery& query, const char* name) { return query.FieldByName(name).AsString(); }

}  // namespace

void Tfsici::shownr(const AnsiString& sql) {
  const auto row = Lookup(*c1, sql);
  if (row->Eof()) return;
  const AnsiString tm = field(*row, "tm"), zz = field(*row, "zz");
  const AnsiString id = field(*row, "id");
  // The title, author and lines as the view shows them: the collection's, or the source's.
  PoemSource* source = PoemSourceOf(*this);
  const std::optional<TPoemWritten> written = source ? source->Read(*c2, id) : std::nullopt;
  const auto shown = [&](const AnsiString& stored, const QString TPoemWritten::*part) {
    const QString text = text::toQString(stored);
    return written ? source->Shown(text, (*written).*part, written->Traditional) : text;
  };
  const QString title = shown(tm, &TPoemWritten::Title), author = shown(zz, &TPoemWritten::Author);
  const QString status = author + QStringLiteral(" : ") + title;
  GroupBox2->setTitle(status);
  const AnsiString textSql = statements::PoemRow(id);
  rc->setPlainText(text::toQString(textSql));

  const auto texts = Lookup(*c2, textSql);
  if (!texts->Eof()) {
    const auto poet = Lookup(*c1, statements::PoetRow(zz));
    QString biography;
    if (!poet->Eof() && !blank(field(*poet, "js")))
      biography = QStringLiteral("\r\n【作者小传】") + text::toQString(field(*poet, "js")) + QStringLiteral("\r\n");
    const auto piece = [](const QString& heading, const AnsiString& value, const QString& tail) {
      return blank(value) ? QString() : heading + text::toQString(value) + tail;
    };
    QString verses = shown(field(*texts, "nr"), &TPoemWritten::Verses);
    if (written && !written->Book.isEmpty()) verses += QStringLiteral("\r\n") + kSourceHeading + written->Book;
    const QString whole = kTitleHeading + title + QStringLiteral("\r\n") + kAuthorHeading + author +
                          QStringLiteral("\r\n") + kDynastyHeading + text::toQString(field(*row, "nd")) +
                          QStringLiteral("\r\n") + piece(QStringLiteral("【体裁】："), field(*row, "tc"), QStringLiteral("\r\n")) +
                          piece(QStringLiteral("【类别】："), field(*row, "lb"), QStringLiteral("\r\n")) + QStringLiteral("\r\n") +
                          verses + QStringLiteral("\r\n") +
                          piece(QStringLiteral("\r\n【注释】\r\n"), field(*texts, "zs"), QStringLiteral("\r\n")) +
                          piece(QStringLiteral("\r\n【译文】\r\n"), field(*texts, "yw"), QStringLiteral("\r\n")) +
                          piece(QStringLiteral("\r\n【赏析】\r\n"), field(*texts, "jx"), QStringLiteral("\r\n")) + biography;
    // The replacements work on characters, never on bytes that only look like one.
    QString view = whole;
    view.replace(QStringLiteral("“"), QStringLiteral("\""));
    view.replace(QStringLiteral("”"), QStringLiteral("\""));
    view.replace(QStringLiteral("—"), QStringLiteral("- "));
    rc->setPlainText(trimmedView(text::withCrLf(view)));
  }

  Label4->setVisible(true);
  QPalette palette = Label4->palette();
  const bool navy = palette.color(QPalette::WindowText) == QColor(0, 0, 128);
  palette.setColor(QPalette::WindowText, navy ? QColor(255, 0, 0) : QColor(0, 0, 128));
  Label4->setPalette(palette);
  Label4->setText(status);
  if (!SearchWord.empty()) RearchAndReplace(SearchWord, SearchWord);
  if (PoemPinyin* pinyin = PoemPinyinOf(*this)) pinyin->Refresh();
  if (PoemColumns* columns = PoemColumnsOf(*this)) columns->Refresh();
  libraryPoemShown({row->FieldByName("id").AsLargeInt(), tm, zz});
}

void Tfsici::showxx(const AnsiString& sql, int mode) {
  reopen(uq4, sql);
  DBGridEh4->Columns()[1]->SetWidth(155);
  DBGridEh4->Columns()[2]->SetWidth(55);
  DBGridEh4->Columns()[0]->SetVisible(false);
  if (uq4->RecordCount() > 0)
    showPage(0);
  else if (mode == 1)
    MessageDlg("没有检索结果,请检查输入内容是否有误?"_gbk, TMsgDlgType::mtWarning, mbOK);
}

void Tfsici::RearchAndReplace(const AnsiString& findText, const AnsiString& replaceText) {
  const TWaitCursor wait;
  const QString find = text::toQString(findText), replacement = text::toQString(replaceText);
  if (find.isEmpty()) return;
  QTextDocument* document = rc->document();
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  // In the source's characters the word is found through their simplified form, and marked as
  // written: nothing is replaced.
  if (const PoemSource* source = PoemSourceOf(*this); source && source->Traditional()) {
    QTextCursor last;
    for (const int at : source->Occurrences(document->toPlainText(), find)) {
      QTextCursor found(document);
      found.setPosition(at);
      found.setPosition(at + static_cast<int>(find.size()), QTextCursor::KeepAnchor);
      found.mergeCharFormat(red);
      last = found;
    }
    if (!last.isNull()) rc->setTextCursor(last);
    return;
  }
  QTextCursor found = document->find(find, 0);
  QTextCursor last;
  while (!found.isNull()) {
    const int start = found.selectionStart();
    found.mergeCharFormat(red);
    // Marking a word replaces it by itself: an occurrence in another case keeps its own
    // letters, so that the poem's text stays as it was.
    if (found.selectedText().compare(replacement, Qt::CaseInsensitive) != 0 || find != replacement)
      found.insertText(replacement, found.charFormat());
    // The replacement is selected again, so that the view ends on the last occurrence.
    found.setPosition(start);
    found.setPosition(start + static_cast<int>(replacement.size()), QTextCursor::KeepAnchor);
    last = found;
    found = document->find(find, start + static_cast<int>(replacement.size()));
  }
  if (!last.isNull()) rc->setTextCursor(last);
}
