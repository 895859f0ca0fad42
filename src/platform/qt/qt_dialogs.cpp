#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace korvel {

namespace {

// The program's texts are UTF-8, file names among them.
QString shown(const std::string& text) {
    return QString::fromUtf8(text.data(), text.size());
}

} // namespace

MessageAnswer QtDialogs::messageBox(const std::string& text, const std::string& title,
                                    MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(parent_);
    box.setText(shown(text));
    box.setWindowTitle(shown(title));
    switch (icon) {
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                               const std::string& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, shown(title), shown(prompt), QLineEdit::Normal,
                                         shown(initial), &ok);
    if (!ok)
        return std::nullopt;
    return text.toUtf8().toStdString();
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace korvel
