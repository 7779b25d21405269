#include "app/PoemSource.h"

#include <QAction>

#include "app/ReaderConfig.h"
#include "app/Statements.h"
#include "data/access/UniQuery.h"
#include "platform/text/QtText.h"
#include "platform/text/Simplifier.h"
#include "platform/text/SourceCharacters.h"
#include "platform/text/Traditionalizer.h"

namespace {

// The source's text is UTF-8 in a file the connection reads as code page 936: its bytes pass
// through untouched.
QString utf8Of(TUniQuery& row, const char* field) {
  const AnsiString bytes = row.FieldByName(field).AsString();
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

PoemSource::PoemSource(QAction* item, std::function<void()> reshow, QObject* parent)
    : QObject(parent), item_(item), reshow_(std::move(reshow)) {
  setObjectName(QStringLiteral("PoemSource"));
  item_->setCheckable(true);
  traditional_ = ReadSetting(kTraditionalSetting).value_or(0) == 1;
  item_->setChecked(traditional_);
  connect(item_, &QAction::triggered, this, [this](bool checked) { SetTraditional(checked); });
}

PoemSource::~PoemSource() = default;

void PoemSource::SetTraditional(bool on) {
  item_->setChecked(on);
  if (on == traditional_) return;
  traditional_ = on;
  WriteSetting(kTraditionalSetting, on ? 1 : 0);
  if (reshow_) reshow_();
}

std::optional<TPoemWritten> PoemSource::Read(TUniConnection& texts, const AnsiString& id) {
  if (!hasTable_) {
    TUniQuery exists(nullptr);
    exists.SetConnection(&texts);
    exists.SQL().Add(statements::SourceTableExists());
    exists.Open();
    hasTable_ = !exists.Eof();
  }
  if (!*hasTable_) return std::nullopt;
  TUniQuery row(nullptr);
  row.SetConnection(&texts);
  row.SQL().Add(statements::SourceRow(id));
  row.Open();
  if (row.Eof()) return std::nullopt;
  return TPoemWritten{utf8Of(row, "tm"), utf8Of(row, "zz"), utf8Of(row, "nr"), utf8Of(row, "cc"),
                      row.FieldByName("ft").AsInteger() == 1};
}

QString PoemSource::Shown(const QString& stored, const QString& written, bool traditionalSource) const {
  if (traditional_) {
    if (traditionalSource) return written;
    const QByteArray utf8 = written.toUtf8();
    return QString::fromStdString(traditionalizer()(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
  }
  if (!stored.contains(QChar(text::kMissingMark))) return stored;
  const QList<uint> storedPoints = stored.toUcs4(), writtenPoints = written.toUcs4();
  const text::Restored restored =
      text::RestoreFromSource(std::u32string(storedPoints.begin(), storedPoints.end()),
                              std::u32string(writtenPoints.begin(), writtenPoints.end()));
  return QString::fromUcs4(restored.Text.data(), static_cast<qsizetype>(restored.Text.size()));
}

std::vector<int> PoemSource::Occurrences(const QString& shown, const QString& word) const {
  std::vector<int> at;
  if (word.isEmpty()) return at;
  const QByteArray utf8 = shown.toUtf8();
  QString simplified =
      QString::fromStdString(simplifier()(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
  // A conversion that changed the text's length cannot be laid over it: then the word is found
  // as written only.
  if (simplified.size() != shown.size()) simplified = shown;
  for (qsizetype found = simplified.indexOf(word); found >= 0; found = simplified.indexOf(word, found + word.size()))
    at.push_back(static_cast<int>(found));
  return at;
}

const text::Traditionalizer& PoemSource::traditionalizer() const {
  if (!traditionalizer_) traditionalizer_ = std::make_unique<text::Traditionalizer>();
  return *traditionalizer_;
}

const text::Simplifier& PoemSource::simplifier() const {
  if (!simplifier_) simplifier_ = std::make_unique<text::Simplifier>();
  return *simplifier_;
}

PoemSource* PoemSourceOf(const QObject& window) { return window.findChild<PoemSource*>(QStringLiteral("PoemSource")); }
