#include "Mnemonics.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace pitwall::gui {

namespace {

// Position of the single "&" that marks the mnemonic, or -1.
int MarkerAt(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i; // a literal ampersand
            continue;
        }
        return i;
    }
    return -1;
}

QString WithoutMarkerAt(const QString& text)
{
    const int at = MarkerAt(text);
    return at < 0 ? text : QString(text).remove(at, 1);
}

bool Usable(QChar c) { return c.isLetterOrNumber(); }

std::size_t DistinctLetters(const QString& text)
{
    std::set<QChar> distinct;
    for (QChar c : WithoutMnemonic(text))
        if (Usable(c))
            distinct.insert(c.toLower());
    return distinct.size();
}

// The language file's own choices first, then the texts with the fewest
// letters to choose from ("Exit" before "Export everything"), so a long list
// leaves none without a letter.
template <typename T> void SortForMnemonics(std::vector<T*>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](T* a, T* b) {
        const bool chosenA = !MnemonicOf(a->text()).isNull(), chosenB = !MnemonicOf(b->text()).isNull();
        if (chosenA != chosenB)
            return chosenA;
        return DistinctLetters(a->text()) < DistinctLetters(b->text());
    });
}

} // namespace

QString WithoutMnemonic(const QString& text) { return WithoutMarkerAt(text); }

QChar MnemonicOf(const QString& text)
{
    const int at = MarkerAt(text);
    return at < 0 ? QChar() : text[at + 1].toLower();
}

QString WithMnemonic(const QString& text, std::set<QChar>& taken)
{
    if (const QChar chosen = MnemonicOf(text); !chosen.isNull() && Usable(chosen) && !taken.count(chosen)) {
        taken.insert(chosen);
        return text;
    }
    const QString plain = WithoutMarkerAt(text);
    auto take = [&](int i) {
        taken.insert(plain[i].toLower());
        return QString(plain).insert(i, '&');
    };
    auto freeAt = [&](int i) {
        return Usable(plain[i]) && !taken.count(plain[i].toLower()) && (i == 0 || plain[i - 1] != '&');
    };
    for (int i = 0; i < plain.size(); ++i) // first letters of words first
        if ((i == 0 || !plain[i - 1].isLetterOrNumber()) && freeAt(i))
            return take(i);
    for (int i = 0; i < plain.size(); ++i)
        if (freeAt(i))
            return take(i);
    return plain;
}

void AssignMnemonics(QMenu* menu)
{
    std::vector<QAction*> entries;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && !action->text().isEmpty())
            entries.push_back(action);
    SortForMnemonics(entries);
    std::set<QChar> taken;
    for (QAction* action : entries) {
        action->setText(WithMnemonic(action->text(), taken));
        if (QMenu* submenu = action->menu())
            AssignMnemonics(submenu);
    }
}

void AssignMnemonics(QMenuBar* bar)
{
    std::set<QChar> taken;
    for (QAction* action : bar->actions()) {
        if (!action->isVisible() && !action->menu())
            continue;
        action->setText(WithMnemonic(action->text(), taken));
        if (QMenu* menu = action->menu())
            AssignMnemonics(menu);
    }
}

void AssignButtonMnemonics(QWidget* dialog)
{
    std::vector<QPushButton*> buttons;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        // A "&" before no letter is a character of the text, not a marker.
        const QString text = button->text();
        if (!text.isEmpty() && (MarkerAt(text) < 0 || Usable(MnemonicOf(text))))
            buttons.push_back(button);
    }
    SortForMnemonics(buttons);
    std::set<QChar> taken;
    for (QAbstractButton* button : buttons)
        button->setText(WithMnemonic(button->text(), taken));
}

} // namespace pitwall::gui
