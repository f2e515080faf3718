#include "QtMessages.h"

#include "BusyCursor.h"
#include "base/Windows1252.h"

#include <QApplication>
#include <QMessageBox>

namespace pitwall::gui {

QString FromGameText(const std::string& bytes) { return QString::fromStdString(Windows1252ToUtf8(bytes)); }

std::string ToGameText(const QString& text) { return Utf8ToWindows1252(text.toStdString()); }

namespace {

QString WithoutControls(QString text, bool keepLineBreaks)
{
    text.removeIf([keepLineBreaks](QChar c) {
        char16_t u = c.unicode();
        if (keepLineBreaks && u == u'\n')
            return false;
        return u < 0x20 || (u >= 0x7F && u <= 0x9F);
    });
    return text;
}

QString MessageText(const Message& message) { return FromMessageText(message.text); }

} // namespace

QString FromMessageText(const std::string& text)
{
    return WithoutControls(QString::fromStdString(MessageTextToUtf8(text)), true);
}

QString FromUntrustedGameText(const std::string& bytes) { return WithoutControls(FromGameText(bytes), false); }

void QtMessages::showMessage(const Message& message)
{
    if (record_) {
        record_(message);
        return;
    }
    NormalCursorWhileAsking arrow;
    QMessageBox::information(parent_, QApplication::applicationName(), MessageText(message));
}

bool QtMessages::askYesNo(const Message& message)
{
    if (record_) {
        record_(message);
        return answer_;
    }
    NormalCursorWhileAsking arrow;
    return QMessageBox::question(parent_, QApplication::applicationName(), MessageText(message),
                                 QMessageBox::Yes | QMessageBox::No,
                                 message.noByDefault ? QMessageBox::No : QMessageBox::Yes)
        == QMessageBox::Yes;
}

} // namespace pitwall::gui
