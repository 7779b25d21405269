// Searching and browsing: the quick and advanced searches, the title filter, the dynasty
// and poet lists, and a click on a poem in any list.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "app/PinyinSearch.h"
#include "app/Statements.h"
#include "app/sici.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/db/DataSource.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ListBox.h"
#include "platform/text/InputSimplifier.h"
#include "platform/text/PinyinMatch.h"
#include "platform/text/QtText.h"

namespace {

// A byte no text of the collection holds: a typed character without a code page 936 form
// becomes it, so that the input finds nothing instead of matching other text.
constexpr std::string_view kNoSuchCharacter = "\x80";

// The text as the collection would store it: traditional characters typed or pasted become
// simplified, the conversion loaded at the first input that needs it.
QString simplified(const QString& typed) {
  static const text::InputSimplifier simplify;
  const std::string utf8 = text::wideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(typed.utf16()),
                                                                static_cast<std::size_t>(typed.size())));
  const std::string out = simplify(utf8);
  return out == utf8 ? typed : QString::fromStdString(out);
}

AnsiString input(const QLineEdit* edit) {
  return AnsiString(text::trimmed(text::fromQString(simplified(edit->text()), kNoSuchCharacter)));
}

void warn(const AnsiString& message) { MessageDlg(message, TMsgDlgType::mtWarning, mbOK); }

// The entry's text when one beyond "any" is chosen, else empty.
AnsiString choice(const QComboBox* box) {
  return box->currentIndex() > 0 ? text::fromQString(box->currentText()) : AnsiString();
}

}  // namespace

void Tfsici::reopen(TUniQuery* query, const AnsiString& sql) {
  query->Close();
  query->SQL().Clear();
  query->SQL().Add(sql);
  query->Open();
  query->SetActive(true);
}

void Tfsici::Button1Click() {
  const AnsiString text = input(eso);
  if (text.empty()) return warn("请输入要查询的内容?"_gbk);
  if (r1->isChecked() || r3->isChecked()) {
    SearchWord.clear();
    if (text::IsPinyinInput(text) && pinyinSearch().Available())
      return showByPinyin(text, r3->isChecked(), false, 1);
    showxx(r1->isChecked() ? statements::TitlesContaining(text) : statements::AuthorsContaining(text), 1);
  } else if (r2->isChecked()) {
    if (text.size() < 4) return warn("查内容至少要输入两个汉字！"_gbk);
    SearchWord = text;
    std::vector<AnsiString> ids;
    {
      TUniQuery found(nullptr);
      found.SetConnection(c2);
      found.SQL().Add(statements::TextsContaining(text));
      found.Open();
      if (found.Eof()) return warn("没有检索结果,请检查输入内容是否有误?"_gbk);
      for (TField& id = *found.Fields()[0]; !found.Eof(); found.Next()) ids.push_back(id.AsString());
    }
    fillScratch(ids);
    showxx(statements::ScratchPoems(), 1);
  }
}

void Tfsici::fillScratch(const std::vector<AnsiString>& ids, bool batched) {
  // One transaction: the scratch list is replaced whole, or stays as it was.
  c1->StartTransaction();
  try {
    // Each statement replaces the text whole: one change of it, not an emptied text first.
    uq5->Close();
    uq5->SQL().SetText(statements::ClearScratch());
    uq5->Execute();
    const std::size_t step = batched ? statements::kScratchBatch : 1;
    for (std::size_t i = 0; i < ids.size(); i += step) {
      const std::size_t count = std::min(step, ids.size() - i);
      uq5->SQL().SetText(batched ? statements::AddAllToScratch(&ids[i], count) : statements::AddToScratch(ids[i]));
      uq5->Execute();
    }
    c1->Commit();
  } catch (...) {
    c1->Rollback();
    throw;
  }
  uq5->Close();
}

PinyinSearch& Tfsici::pinyinSearch() {
  if (!pinyinSearch_) pinyinSearch_ = std::make_unique<PinyinSearch>(*c1);
  return *pinyinSearch_;
}

void Tfsici::showByPinyin(const AnsiString& typed, bool author, bool fromStart, int mode) {
  fillScratch(pinyinSearch().Find(typed, author ? PinyinSearch::TColumn::Author : PinyinSearch::TColumn::Title, fromStart),
              true);
  showxx(statements::ScratchList(), mode);
}

void Tfsici::esoKeyPress(char& key) {
  if (key == '\r') Button1->click();
}

void Tfsici::SpeedButton1Click() {
  statements::AdvancedChoice chosen;
  chosen.dynasty = choice(cd);
  chosen.genre = choice(tc);
  chosen.category = choice(lb);
  const AnsiString prompt = "包含字"_gbk;
  if (const AnsiString author = input(zz); !author.empty() && author != prompt) {
    SearchWord = author;
    chosen.author = author;
  }
  if (const AnsiString title = input(bt); !title.empty() && title != prompt) {
    SearchWord = title;
    chosen.title = title;
  }
  const AnsiString sql = statements::AdvancedSearch(chosen);
  if (AnsiString(text::trimmed(sql)) == statements::AdvancedSearchBase()) return warn("请设置要搜索的内容?"_gbk);
  showxx(sql, 1);
}

void Tfsici::zzClick() {
  if (zz->text() == QStringLiteral("包含字")) zz->clear();
}

void Tfsici::btClick() {
  if (bt->text() == QStringLiteral("包含字")) bt->clear();
}

void Tfsici::Edit1Click() {
  if (Edit1->text() == QStringLiteral("请输入作品名称")) Edit1->clear();
}

void Tfsici::Edit1Change() {
  const AnsiString text = input(Edit1);
  SearchWord.clear();
  // Only text with a Chinese character searches: its bytes outnumber its characters. A typed
  // character without a code page 936 form stands as one byte, so it is no such character.
  const bool doubleByte =
      std::any_of(text.begin(), text.end(), [](char c) { return text::isLeadByte(static_cast<unsigned char>(c)); });
  if (doubleByte) showxx(statements::TitlesBeginningWith(text), 2);
  // Pinyin finds the titles it begins.
  else if (text::IsPinyinInput(text) && pinyinSearch().Available()) showByPinyin(text, false, true, 2);
}

void Tfsici::ListBox1Click() {
  const QListWidgetItem* item = ListBox1->currentItem();
  if (!item) return;
  reopen(uq2, statements::DynastyPoets(text::fromQString(item->text())));
  DBGridEh2->Columns()[0]->SetWidth(155);
}

void Tfsici::DBGridEh2CellClick(TColumnEh&) {
  const AnsiString poet = uq2->Fields()[0]->AsString();
  reopen(uq3, statements::PoetWorks(poet));
  DBGridEh3->Columns()[0]->SetVisible(false);
}

void Tfsici::openPoem(TDBGridEh& grid) {
  TDataSet* dataSet = grid.DataSet();
  if (!dataSet || !dataSet->Active() || dataSet->FieldCount() == 0) return;
  const AnsiString id = dataSet->Fields()[0]->AsString();
  if (!id.empty()) shownr(statements::PoemRow(id));
}

void Tfsici::DBGridEh1CellClick(TColumnEh&) { openPoem(*DBGridEh1); }
void Tfsici::DBGridEh3CellClick(TColumnEh&) { openPoem(*DBGridEh3); }
void Tfsici::DBGridEh4CellClick(TColumnEh&) { openPoem(*DBGridEh4); }
void Tfsici::DBGridEh2TitleClick(TColumnEh&) {}

void Tfsici::PageControl1Change() { DBGridEh1->Columns()[0]->SetVisible(false); }

void Tfsici::showPage(int index) {
  pageFromCode_ = true;
  PageControl1->setCurrentIndex(index);
  pageFromCode_ = false;
}
