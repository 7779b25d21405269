#include "app/AccessibleNames.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTextEdit>

#include <utility>

#include "app/sici.h"
#include "grid/DBGridEh.h"
#include "platform/forms/ListBox.h"

namespace {

// The label's caption without its closing colon.
QString caption(const QLabel* label) {
  QString text = label->text();
  if (text.endsWith(QStringLiteral("："))) text.chop(1);
  return text;
}

}  // namespace

void NameControls(Tfsici& w) {
  // The labels beside the edits name them, and are tied to them as their labels.
  for (auto [label, edit] : {std::pair{w.Label1, w.eso}, std::pair{w.Label2, w.zz}, std::pair{w.Label3, w.bt}}) {
    label->setBuddy(edit);
    edit->setAccessibleName(caption(label));
  }
  w.Edit1->setAccessibleName(QStringLiteral("请输入作品名称"));
  // The pick lists by what they choose, as their first entries say ("朝代不限" …). Where a pick
  // list is announced by its current entry instead (Linux), the description says the rest.
  for (auto [box, picks] : {std::pair{w.cd, QStringLiteral("朝代")}, std::pair{w.tc, QStringLiteral("体裁")},
                            std::pair{w.lb, QStringLiteral("类别")}}) {
    box->setAccessibleName(picks);
    box->setAccessibleDescription(picks);
  }

  w.GroupBox1->setAccessibleName(QStringLiteral("诗词列表"));
  w.PageControl1->setAccessibleName(QStringLiteral("诗词列表"));
  QWidget* const pages[] = {w.TabSheet1, w.TabSheet2, w.TabSheet3, w.TabSheet4};
  for (int i = 0; i < 4; ++i) pages[i]->setAccessibleName(w.PageControl1->tabText(i));
  w.DBGridEh4->setAccessibleName(w.PageControl1->tabText(0));
  w.DBGridEh1->setAccessibleName(w.PageControl1->tabText(2));
  w.ListBox1->setAccessibleName(QStringLiteral("朝代"));
  w.DBGridEh2->setAccessibleName(QStringLiteral("作者"));
  w.DBGridEh3->setAccessibleName(QStringLiteral("作品"));
  w.DBGridEh5->setAccessibleName(QStringLiteral("收藏"));
  w.DBGridEh6->setAccessibleName(QStringLiteral("阅读记录"));

  w.rc->setAccessibleName(QStringLiteral("诗词"));
  w.Panel1->setAccessibleName(QStringLiteral("状态栏"));
}
