#pragma once
// Messages of the core as message boxes.

#include "app/Messages.h"

#include <QString>
#include <string>

class QWidget;

namespace pitwall::gui {

class QtMessages : public MessageSink {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void showMessage(const Message& message) override;
    bool askYesNo(const Message& message) override;

private:
    QWidget* parent_;
};

// Windows-1252 bytes of the game and language files as a QString, and back.
QString FromGameText(const std::string& bytes);
std::string ToGameText(const QString& text);

} // namespace pitwall::gui
