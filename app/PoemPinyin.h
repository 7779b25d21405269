#pragma once
// Pinyin over the poem: each character of the title, the author and the poem's lines gets its
// syllable above it, centred, in a smaller font; notes, translation, appreciation and biography
// stay as they are. The syllables are painted over the view, never put into its text, so
// selecting, copying, finding and the red search word work as they do without them. The lines
// that carry syllables get the room for them above each of their rows, in the view's font of the
// moment, so the zoom takes the syllables along.
//
// Switched by the view menu's check item 显示拼音 and Ctrl+Shift+P; the choice is kept in the
// reader's settings. The dictionary loads at the first use; when it cannot be had, pinyin stays
// off and the status line says why.

#include <filesystem>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QPainter;
class QTextBlock;
class TOverlaidTextEdit;

namespace text {
class PinyinReader;
}

class PoemPinyin : public QObject {
 public:
  // `status` is where a dictionary that cannot be had is reported.
  PoemPinyin(TOverlaidTextEdit* view, QAction* item, QLabel* status);
  ~PoemPinyin() override;

  bool Shown() const { return shown_; }
  // Shows or hides the syllables; showing loads the dictionary first, and stays off without it.
  // The choice is kept.
  void SetShown(bool shown);
  // Lays the syllables out for the text the view holds now; the view calls it once it has shown a
  // poem, and any later change of the text or the font does so by itself a moment later.
  void Refresh();

  // The syllables of the block's characters as the view shows them: for each character (by its
  // position in the block) its syllable, or empty. Empty for a block without syllables.
  std::vector<QString> SyllablesOf(const QTextBlock& block) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TLine;
  bool loadReader();
  void relayout();
  void paint(QPainter& painter) const;
  int bandHeight() const;

  TOverlaidTextEdit* view_;
  QAction* item_;
  QLabel* status_;
  bool shown_ = false;
  bool laying_ = false;
  bool loadFailed_ = false;
  std::unique_ptr<text::PinyinReader> reader_;
  std::vector<TLine> lines_;
};

// Where the dictionary is read from: sici.pinyin beside the program, or `file` once set (an empty
// path goes back to the program's).
void SetPoemPinyinDictionary(std::filesystem::path file);

// The pinyin of the window's poem view, if it has one.
PoemPinyin* PoemPinyinOf(const QObject& window);
