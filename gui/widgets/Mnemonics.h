#pragma once
// Keyboard access to the menus: every menu title and every entry of a menu
// gets an underlined letter (Alt+letter, or the letter while the menu is
// open), unique among its neighbours. A language file may choose the letter
// with "&"; texts without one (or with a taken one) get the first free
// letter of a word, else of any letter.

#include <QString>
#include <set>

class QMenu;
class QMenuBar;
class QWidget;

namespace pitwall::gui {

// The text with one mnemonic not among taken (compared in lower case),
// which it joins; the text without any when no letter is free. A literal
// "&&" stays as it is.
QString WithMnemonic(const QString& text, std::set<QChar>& taken);

// The text without its mnemonic marker (what a tooltip shows).
QString WithoutMnemonic(const QString& text);

// The mnemonic letter of a text in lower case, or a null QChar.
QChar MnemonicOf(const QString& text);

// Gives the bar's menu titles and, menu by menu (submenus too), their
// entries unique mnemonics. Run again after the texts change.
void AssignMnemonics(QMenuBar* bar);
void AssignMnemonics(QMenu* menu);
// The same for the push buttons with a text in a dialog (Alt+letter presses
// them), unique within the dialog.
void AssignButtonMnemonics(QWidget* dialog);

} // namespace pitwall::gui
