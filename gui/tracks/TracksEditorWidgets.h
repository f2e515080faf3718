#pragma once
// Small control factories the tracks editor's page files share.

#include "QtMessages.h"
#include "WidgetHelpers.h"
#include "teams/FixedText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace pitwall::gui::tracks {

// A text that captions several controls, one line each ("|" in the
// language file).
inline QStringList TextLines(QString text) { return text.replace('|', '\n').split('\n'); }

// A value goes back only when the user changed it, so a value outside the
// control's range is not cut by showing it.
template <typename Field>
void StoreSpin(const QSpinBox* spin, Field& field)
{
    int shown = std::clamp(static_cast<int>(field), spin->minimum(), spin->maximum());
    if (spin->value() != shown)
        field = static_cast<Field>(spin->value());
}

inline void ShowSpin(QSpinBox* spin, int value) { spin->setValue(std::clamp(value, spin->minimum(), spin->maximum())); }

template <std::size_t N>
void ShowText(QLineEdit* edit, const FixedText<N>& field)
{
    edit->setText(FromUntrustedGameText(field.text()));
}

// Likewise a text longer than the control takes (a map label of up to 29
// characters in a field of 20) keeps its end unless the user edits it.
template <std::size_t N>
void StoreText(const QLineEdit* edit, FixedText<N>& field, std::size_t limit = N)
{
    if (edit->text() != FromUntrustedGameText(field.text()).left(edit->maxLength()))
        field = ToGameText(edit->text()).substr(0, limit);
}

} // namespace pitwall::gui::tracks
