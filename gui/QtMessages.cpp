#include "QtMessages.h"

#include "app/Windows1252.h"

#include <QApplication>
#include <QMessageBox>

namespace pitwall::gui {

QString FromGameText(const std::string& bytes) { return QString::fromStdString(Windows1252ToUtf8(bytes)); }

std::string ToGameText(const QString& text) { return Utf8ToWindows1252(text.toStdString()); }

void QtMessages::showMessage(const Message& message)
{
    if (record_) {
        record_(message);
        return;
    }
    QMessageBox::information(parent_, QApplication::applicationName(), FromGameText(message.text));
}

bool QtMessages::askYesNo(const Message& message)
{
    if (record_) {
        record_(message);
        return answer_;
    }
    return QMessageBox::question(parent_, QApplication::applicationName(), FromGameText(message.text),
                                 QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

} // namespace pitwall::gui
