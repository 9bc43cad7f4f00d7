#include "ui/framework/MessageBox.h"

#include "text/TextTable.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A QMessageBox with the Japanese button labels the texts refer to
// (5062 asks the user to press 「はい」 or 「いいえ」).
int showQtMessageBox(QWidget* owner, const QString& text, int captionId, MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(qtIcon(icon), resourceText(captionId), QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    QMessageBox::NoButton, owner);
    struct Choice {
        const char16_t* label;
        QMessageBox::ButtonRole role;
        int answer;
    };
    std::vector<Choice> choices;
    switch (buttons) {
    case MessageButtons::Ok: choices = {{u"OK", QMessageBox::AcceptRole, MessageAnswer::Ok}}; break;
    case MessageButtons::OkCancel:
        choices = {{u"OK", QMessageBox::AcceptRole, MessageAnswer::Ok},
                   {u"キャンセル", QMessageBox::RejectRole, MessageAnswer::Cancel}};
        break;
    case MessageButtons::YesNo:
        choices = {{u"はい", QMessageBox::YesRole, MessageAnswer::Yes}, {u"いいえ", QMessageBox::NoRole, MessageAnswer::No}};
        break;
    case MessageButtons::YesNoCancel:
        choices = {{u"はい", QMessageBox::YesRole, MessageAnswer::Yes},
                   {u"いいえ", QMessageBox::NoRole, MessageAnswer::No},
                   {u"キャンセル", QMessageBox::RejectRole, MessageAnswer::Cancel}};
        break;
    }
    std::vector<std::pair<QAbstractButton*, int>> answers;
    for (const Choice& c : choices)
        answers.emplace_back(box.addButton(QString::fromUtf16(c.label), c.role), c.answer);
    box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
    // Esc and the close box press Qt's choice of escape button: Cancel where
    // there is one, else No, else the only button.
    box.exec();
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button)
            return answer;
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

MessageBoxPresenter& presenter()
{
    static MessageBoxPresenter current = showQtMessageBox;
    return current;
}

} // namespace

int showMessageBox(QWidget* owner, const QString& text, int captionId, MessageIcon icon, MessageButtons buttons)
{
    return presenter()(owner, text, captionId, icon, buttons);
}

MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter replacement)
{
    MessageBoxPresenter previous = std::move(presenter());
    presenter() = replacement ? std::move(replacement) : MessageBoxPresenter(showQtMessageBox);
    return previous;
}
