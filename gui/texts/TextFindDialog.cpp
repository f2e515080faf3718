#include "TextFindDialog.h"

#include "GameTextGuard.h"
#include "QtMessages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pitwall::gui {

TextFindDialog::TextFindDialog(const UITexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName("FindDialog1");
    setWindowTitle("Suchen");
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("Suchen nach:", this);
    label->setObjectName("FindLabel");
    text_ = new QLineEdit(this);
    text_->setObjectName("FindText");
    // The texts are Windows-1252: a character they cannot hold would be
    // searched for as "?".
    GuardGameText(text_, texts);
    row->addWidget(label);
    row->addWidget(text_, 1);
    left->addLayout(row);
    auto* options = new QHBoxLayout;
    matchCase_ = new QCheckBox("Groß-/Kleinschreibung", this);
    matchCase_->setObjectName("MatchCase");
    options->addWidget(matchCase_);
    auto* direction = new QGroupBox("Richtung", this);
    direction->setObjectName("Direction");
    auto* directions = new QHBoxLayout(direction);
    up_ = new QRadioButton("Nach oben", direction);
    up_->setObjectName("Up");
    down_ = new QRadioButton("Nach unten", direction);
    down_->setObjectName("Down");
    down_->setChecked(true);
    directions->addWidget(up_);
    directions->addWidget(down_);
    options->addWidget(direction);
    left->addLayout(options);
    layout->addLayout(left, 1);
    auto* buttons = new QVBoxLayout;
    auto* next = new QPushButton("Weitersuchen", this);
    next->setObjectName("FindNext");
    next->setDefault(true);
    auto* cancel = new QPushButton("Abbrechen", this);
    cancel->setObjectName("FindCancel");
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, [this] {
        if (!text_->text().isEmpty())
            emit findNext();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TextSearch TextFindDialog::search() const
{
    return TextSearch{ToGameText(text_->text()), down_->isChecked(), matchCase_->isChecked()};
}

void TextFindDialog::setSearch(const QString& text, bool down, bool matchCase)
{
    text_->setText(text);
    (down ? down_ : up_)->setChecked(true);
    matchCase_->setChecked(matchCase);
}

} // namespace pitwall::gui
