// The poem view's menu: copy, select all, search the selection, copy the whole poem.

#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "app/sici.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/HideSelection.h"
#include "platform/forms/Shell.h"
#include "platform/text/QtText.h"

namespace {

// The view's text with its paragraphs ended by CR LF, as the clipboard expects.
QString withLineBreaks(QString text) {
  text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
  text.replace(QChar(QChar::LineSeparator), QStringLiteral("\r\n"));
  return text::withCrLf(text);
}

}  // namespace

void Tfsici::N1Click() { SetClipboardText(withLineBreaks(SelectedText(*rc))); }

void Tfsici::N2Click() { rc->selectAll(); }

void Tfsici::N6Click() { eso->setText(withLineBreaks(SelectedText(*rc))); }

void Tfsici::N4Click() {
  SetClipboardText(withLineBreaks(rc->toPlainText()) + QStringLiteral("\r\n数据来源：Tavrin诗词大全"));
  MessageDlg("已经成功复制到剪贴板！发给你的好友吧"_gbk, TMsgDlgType::mtInformation, mbOK);
}
