#pragma once
// TWinSkinForm: the skinner of one window. It takes the window's frame over — the window becomes
// frameless and the frame, caption and caption buttons of the skin are painted in margins
// reserved around the client area — gives the window the skin's colours, skins its controls,
// and answers the skin messages. Restore() gives everything back.
//
// Hit areas of the painted frame move, size, minimise, maximise and close the window; moving and
// sizing go through the window system where it offers them and follow the mouse otherwise.

#include <vector>

#include <QCursor>
#include <QMargins>
#include <QObject>
#include <QPalette>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include "platform/text/AnsiText.h"

class QPainter;
class QWidget;
class TSkinControl;
class TSkinData;
struct TSkinCaptionButton;

enum class TSkinHit { Client, Caption, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight, Button };

enum TCaptionAction : int { caClose = 0, caMaximize = 1, caMinimize = 2 };

class TWinSkinForm : public QObject {
 public:
  TWinSkinForm(QWidget* window, TSkinData& data, const AnsiString& className);
  ~TWinSkinForm() override;

  QWidget* Window() const { return window_; }
  const AnsiString& ClassName() const { return className_; }
  TSkinData& Data() const { return *data_; }
  bool ToolkitWindow() const { return toolkit_; }
  // Until the attach message (13571) arrives the frame is reserved but not painted.
  bool Initial() const { return initial_; }

  void Attach();
  void Restore();
  // The skin was replaced: new frame sizes, caption buttons and colours, then a redraw.
  void Refresh();

  const std::vector<QPointer<TSkinControl>>& Controls() const { return controls_; }

  // The margins the frame takes; none when the skin has no caption image.
  QMargins FrameMargins() const { return margins_; }
  struct THit {
    TSkinHit Area = TSkinHit::Client;
    int Button = -1;  // index into CaptionButtons() for TSkinHit::Button
  };
  THit HitTest(QPoint windowPos) const;

  struct TButton {
    const TSkinCaptionButton* Spec;
    QRect Rect;  // in window coordinates
  };
  // The caption buttons shown now, in the skin's order.
  std::vector<TButton> CaptionButtons() const;
  // Performs what caption button `index` does (close, maximise or restore, minimise).
  void Press(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void takeFrame();
  void giveFrameBack();
  void resizeBy(const QMargins& margins, int sign);
  void applyColours();
  void skinControls();
  void restoreControls();
  void paintFrame(QPainter& painter) const;
  void paintCaption(QPainter& painter, bool active) const;
  bool mouse(QEvent* event);
  bool offers(int action) const;

  QPointer<QWidget> window_;
  TSkinData* data_;
  AnsiString className_;
  bool toolkit_;
  bool initial_ = true;
  bool attached_ = false;

  // What Restore() gives back.
  QPalette palette_;
  bool ownPalette_ = false;
  bool framed_ = false;
  int oldFlags_ = 0;
  QMargins oldContents_;
  QSize oldMinimum_, oldMaximum_;
  bool oldTracking_ = false;
  bool ownCursor_ = false;
  QCursor oldCursor_;

  QMargins margins_;
  std::vector<QPointer<TSkinControl>> controls_;

  // Mouse state of the frame.
  int hotButton_ = -1;
  int pressedButton_ = -1;
  TSkinHit dragging_ = TSkinHit::Client;
  QPoint dragStart_;
  QRect dragGeometry_;
};
