#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class MessageIcon { None, Information, Warning, Question, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The answers, by the numbers callers compare with.
namespace MessageAnswer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}

// Every message box of the program goes through here. `captionId` is the
// text id of the caption (5005 warning, 5013 question, 5017 information,
// 5018 error). "\r\n" in a text becomes a line break only when shown.
int showMessageBox(QWidget* owner, const QString& text, int captionId, MessageIcon icon,
                   MessageButtons buttons = MessageButtons::Ok);

// What actually shows a box; tests install a recorder so that nothing ever
// waits for a modal box. Returns the previous one.
using MessageBoxPresenter =
    std::function<int(QWidget* owner, const QString& text, int captionId, MessageIcon, MessageButtons)>;
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter);
