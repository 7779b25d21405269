#include "grid/DBGridEh.h"

TDBGridEh::TDBGridEh(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

void TDBGridEh::SetFlat(bool flat) {
  flat_ = flat;
  setFrameShape(flat ? QFrame::Box : QFrame::StyledPanel);
  setFrameShadow(flat ? QFrame::Plain : QFrame::Sunken);
}
