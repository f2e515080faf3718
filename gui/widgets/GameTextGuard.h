#pragma once
// Fields whose text goes into the game's single-byte (Windows-1252) files
// take only characters the game can store. A typed, pasted or dropped
// character it cannot (a Polish "Ł", a Greek "Ω", an emoji) is refused on
// the spot, and a tip at the field says which and why (UI text 1162),
// instead of the character turning into "?" when the data is stored.

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace pitwall {
class UITexts;
}

namespace pitwall::gui {

inline constexpr int kUnstorableCharacterText = 1162;

void GuardGameText(QLineEdit* edit, const UITexts& texts);
void GuardGameText(QPlainTextEdit* edit, const UITexts& texts);
// Every text field below `root` (not the fields inside spin and combo boxes,
// nor those with a validator of their own).
void GuardGameTextFields(QWidget* root, const UITexts& texts);

} // namespace pitwall::gui
