#include "TrackPage.h"

#include "AppContext.h"
#include "TracksEditorWidgets.h"
#include "tracks/TrackTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace pitwall::gui {

TrackTable& TrackPageContext::table() const { return app.workingSet().tracks; }
TracksEditorState& TrackPageContext::state() const { return app.editorStates.tracks; }
int TrackPageContext::shownSlot() const { return std::clamp(shown, 0, kTrackCount - 1); }
TrackInfo& TrackPageContext::info() const { return table().info[static_cast<std::size_t>(shownSlot())]; }

namespace tracks {

namespace {
constexpr int kViewEntryText = 1066;
}

QStringList TextLinesOf(const UITexts& texts, int number) { return TextLines(FromGameText(texts.text(number))); }

void SetCaption(QWidget* root, const QString& name, const QString& text)
{
    if (auto* label = root->findChild<QLabel*>(name))
        label->setText(text);
    else if (auto* button = root->findChild<QAbstractButton*>(name))
        button->setText(text);
    else if (auto* group = root->findChild<QGroupBox*>(name))
        group->setTitle(text);
}

void SetEntries(QComboBox* combo, const QStringList& entries)
{
    QSignalBlocker block(combo);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemText(i, entries.value(i));
}

QStringList ViewEntries(const UITexts& texts)
{
    QStringList views;
    for (int v = 0; v < kTrackViews; ++v)
        views << FromGameText(texts.format(kViewEntryText, Args(v + 1)));
    return views;
}

} // namespace tracks

} // namespace pitwall::gui
