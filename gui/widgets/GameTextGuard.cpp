#include "GameTextGuard.h"

#include "QtMessages.h"
#include "base/TextEncoding.h"
#include "base/UITexts.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <QValidator>

namespace pitwall::gui {

namespace {

// The first character of the text the game cannot store, empty when all
// can be stored.
QString FirstUnstorable(const QString& text)
{
    UnstorableCharacter unstorable;
    if (Utf8ToWindows1252Exactly(text.toStdString(), &unstorable))
        return {};
    return QString::fromStdString(unstorable.character);
}

void TellRefused(QWidget* field, const UITexts& texts, const QString& character)
{
    // The template is Windows-1252; the character is not, so it goes in
    // after the conversion.
    QString message = FromGameText(texts.format(kUnstorableCharacterText, Args("\x01")));
    message.replace(QChar(1), character);
    field->setProperty("refusedCharacterMessage", message);
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), message, field);
}

class GameTextValidator : public QValidator {
public:
    GameTextValidator(QLineEdit* edit, const UITexts& texts) : QValidator(edit), edit_(edit), texts_(texts) {}

    State validate(QString& input, int&) const override
    {
        const QString refused = FirstUnstorable(input);
        if (refused.isEmpty())
            return Acceptable;
        TellRefused(edit_, texts_, refused);
        return Invalid;
    }

private:
    QLineEdit* edit_;
    const UITexts& texts_;
};

} // namespace

void GuardGameText(QLineEdit* edit, const UITexts& texts) { edit->setValidator(new GameTextValidator(edit, texts)); }

void GuardGameText(QPlainTextEdit* edit, const UITexts& texts)
{
    QObject::connect(edit->document(), &QTextDocument::contentsChange, edit, [edit, &texts](int at, int, int added) {
        if (added <= 0)
            return;
        QTextCursor cursor(edit->document());
        cursor.setPosition(at);
        cursor.setPosition(at + added, QTextCursor::KeepAnchor);
        // Paragraph breaks come back as U+2029; they are line ends.
        const QString inserted = cursor.selectedText().replace(QChar(0x2029), QChar('\n'));
        const QString refused = FirstUnstorable(inserted);
        if (refused.isEmpty())
            return;
        QString kept;
        for (const QChar c : inserted) {
            if (c.isSurrogate() || !FirstUnstorable(QString(c)).isEmpty())
                continue;
            kept += c;
        }
        cursor.insertText(kept);
        TellRefused(edit, texts, refused);
    });
}

void GuardGameTextFields(QWidget* root, const UITexts& texts)
{
    for (QLineEdit* edit : root->findChildren<QLineEdit*>()) {
        if (edit->validator() || qobject_cast<QAbstractSpinBox*>(edit->parent())
            || qobject_cast<QComboBox*>(edit->parent()))
            continue;
        GuardGameText(edit, texts);
    }
}

} // namespace pitwall::gui
