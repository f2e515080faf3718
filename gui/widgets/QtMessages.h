#pragma once
// Messages of the core as message boxes.

#include "base/Messages.h"

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace pitwall::gui {

class QtMessages : public MessageSink {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // Instead of message boxes, hand every message to `record` and answer
    // questions with `answer` (tests and batch runs).
    void divert(std::function<void(const Message&)> record, bool answer = true)
    {
        record_ = std::move(record);
        answer_ = answer;
    }
    void showMessage(const Message& message) override;
    bool askYesNo(const Message& message) override;

private:
    QWidget* parent_;
    std::function<void(const Message&)> record_;
    bool answer_ = true;
};

// Windows-1252 bytes of the game and language files as a QString, and back.
QString FromGameText(const std::string& bytes);
std::string ToGameText(const QString& text);

// Text written by whoever made a game file or carset (team and driver names,
// INFO.DAT lines), for display: its control characters (C0, DEL, C1) are left
// out. Controls showing it keep the stored bytes until the user edits them:
// compare the control's text with this, not with the bytes.
QString FromUntrustedGameText(const std::string& bytes);

// A message text (Windows-1252 with file names in UTF-8, see
// MessageTextToUtf8) for display, its line breaks kept and the controls of
// the names it quotes left out.
QString FromMessageText(const std::string& text);

} // namespace pitwall::gui
