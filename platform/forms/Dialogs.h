#pragma once
// Message boxes with the program's captions and button texts. Every box goes through one
// presenter, which tests replace to answer boxes without a person.

#include <functional>

#include <QString>

#include "platform/text/AnsiText.h"

// mtCustom: a plain box, without an icon.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons, combined as flags.
enum TMsgDlgButtons : int { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };

// The answer: the button pressed.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TMessageBoxRequest {
  QString caption;
  QString text;
  TMsgDlgType type;
  int buttons;
};

using TMessageBoxPresenter = std::function<int(const TMessageBoxRequest&)>;

// Installs `presenter`; an empty one brings back the real modal box. Returns the previous one.
TMessageBoxPresenter SetMessageBoxPresenter(TMessageBoxPresenter presenter);

// The caption a box of this type carries: 警告, 错误, 提示 or 确认; none for a plain box.
QString MessageBoxCaption(TMsgDlgType type);

int MessageDlg(const AnsiString& text, TMsgDlgType type, int buttons);
// The text breaks its lines at CR LF, CR or LF, as the program's messages are written.
int MessageBoxWithCaption(const QString& caption, const QString& text, TMsgDlgType type, int buttons);
