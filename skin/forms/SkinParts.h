#pragma once
// The widgets one skinner draws with the skin's style, and how each was before: its own style
// (or none), hot tracking, its own palette (or none) and background filling. Restore() gives
// back exactly that. A widget destroyed meanwhile is forgotten, and so is every part inside it:
// when the control itself is going, its parts go with it and nothing is given back.

#include <memory>
#include <vector>

class QObject;
class QWidget;
class TSkinData;
class TSkinStyle;

enum class TSkinColourSet { Controls, Menu };

class TSkinParts {
 public:
  // `watcher` is the skinner: its lifetime bounds the watch on the parts' destruction.
  TSkinParts(QObject& watcher, TSkinData& data);
  ~TSkinParts();
  TSkinParts(const TSkinParts&) = delete;
  TSkinParts& operator=(const TSkinParts&) = delete;

  void Add(QWidget* widget, bool fillFace, TSkinColourSet colours = TSkinColourSet::Controls);
  bool Empty() const { return parts_.empty(); }
  void Restore();
  // The skin changed: new colours, new sizes of the skin's parts, a redraw.
  void Refresh();

 private:
  struct TPart;
  void apply(TPart& part) const;
  bool goesWithAnother(const TPart& part) const;

  QObject& watcher_;
  TSkinData& data_;
  std::shared_ptr<TSkinStyle> style_;
  std::vector<std::unique_ptr<TPart>> parts_;
};
