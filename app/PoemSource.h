#pragma once
// The poem as its source wrote it. The collection's files hold simplified text in code page 936;
// beside them the text file keeps each poem's title, author and lines as the source wrote them,
// in Unicode, with the book they come from. From that:
// - the check item 繁体 (Ctrl+Shift+T, kept in the reader's settings) shows the title, author and
//   lines in the source's own characters, a source that writes simplified ones through s2t;
// - the simplified view shows the source's character wherever code page 936 made a "〓";
// - both views name the book under the poem, 出处：….
// The search word is marked in the source's characters through their simplified form, so that
// 明月 marks 明月 and 长安 marks 長安.

#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

#include "platform/text/AnsiText.h"

class QAction;
class TUniConnection;

namespace text {
class Simplifier;
class Traditionalizer;
}  // namespace text

struct TPoemWritten {
  QString Title, Author, Verses, Book;
  bool Traditional = false;  // the source writes traditional characters
};

class PoemSource : public QObject {
 public:
  // `reshow` shows the current poem again, in the script just chosen.
  PoemSource(QAction* item, std::function<void()> reshow, QObject* parent);
  ~PoemSource() override;

  bool Traditional() const { return traditional_; }
  void SetTraditional(bool on);

  // The source's row of poem `id`; nothing for a collection built without it.
  std::optional<TPoemWritten> Read(TUniConnection& texts, const AnsiString& id);
  // A title, author or the lines as the view shows them: `stored` is the collection's text,
  // `written` the source's.
  QString Shown(const QString& stored, const QString& written, bool traditionalSource) const;
  // Where `word` (simplified, as searched) stands in `shown`, text of the traditional view, in
  // UTF-16 positions.
  std::vector<int> Occurrences(const QString& shown, const QString& word) const;

 private:
  const text::Traditionalizer& traditionalizer() const;
  const text::Simplifier& simplifier() const;

  QAction* item_;
  std::function<void()> reshow_;
  bool traditional_ = false;
  std::optional<bool> hasTable_;
  mutable std::unique_ptr<text::Traditionalizer> traditionalizer_;
  mutable std::unique_ptr<text::Simplifier> simplifier_;
};

// The window's PoemSource, null without one.
PoemSource* PoemSourceOf(const QObject& window);
