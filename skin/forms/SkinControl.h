#pragma once
// The base of the control skinners. A skinner is created for one control, as the control's
// child, so it ends with the control. Attach() takes the control over: from then on the control
// is drawn from the skin (hot and pressed states included); Restore() puts back everything
// Attach() changed, so that the control is exactly as it was before.
//
// What a skinner changes goes through SkinWidget(): the control and the sub-widgets that draw
// its parts get the skin's style, hot tracking and colours, and the base remembers how each was,
// so Restore() and Refresh() need nothing from the derived classes. A skinner deleted while its
// control lives restores it first; one that goes with its control leaves the dying control alone.

#include <memory>

#include <QObject>
#include <QPointer>
#include <QWidget>

class TSkinData;
class TSkinParts;

class TSkinControl : public QObject {
 public:
  // `className` names the skinner class ("TSkinButton" …); it is also the object's name.
  TSkinControl(QWidget* control, TSkinData& data, const char* className);
  ~TSkinControl() override;

  const char* ClassName() const { return className_; }
  QWidget* Control() const { return control_; }
  TSkinData& Data() const { return *data_; }

  virtual void Attach() = 0;
  // Gives back every widget SkinWidget() took, as it was.
  virtual void Restore();
  // The skin data holds a new skin: draw from it.
  virtual void Refresh();

  // Whether Attach() took the control over and Restore() has not given it back yet.
  bool Attached() const;

 protected:
  enum TSkinFill { sfKeep, sfFace };
  // Draws `widget` (the control or one of its parts) with the skin's style from now on; with
  // sfFace its background is painted in the skin's face colour.
  void SkinWidget(QWidget* widget, TSkinFill fill = sfKeep);

 private:
  QPointer<QWidget> control_;
  TSkinData* data_;
  const char* className_;
  std::unique_ptr<TSkinParts> parts_;
};

// The skinner attached to `control`, or null.
TSkinControl* SkinnerOf(const QWidget* control);
