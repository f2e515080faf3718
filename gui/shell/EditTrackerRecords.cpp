#include "EditTrackerRecords.h"

#include "AppContext.h"
#include "QtMessages.h"
#include "base/DelphiFormat.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>

namespace pitwall::gui {

namespace {

constexpr int kTeamRecordText = 1256;   // "Team %d"
constexpr int kDriverRecordText = 1257; // "Driver %d"
constexpr int kTrackRecordText = 1258;  // "Track %d"
constexpr int kTextRecordText = 1259;   // "Text %d, %s"
constexpr int kSoundRecordText = 1260;  // "Sound %d"

QString Numbered(AppContext& app, int text, int number, const std::string& name)
{
    QString record = FromGameText(app.program.texts.format(text, Args(number)));
    const QString shown = FromUntrustedGameText(name).trimmed();
    return shown.isEmpty() ? record : record + ": " + shown;
}

QString WithoutMnemonic(QString text) { return text.remove(QRegularExpression("&(?!&)")).trimmed(); }

} // namespace

QString TeamRecordName(AppContext& app, int slot)
{
    const auto& teams = app.workingSet().teams.teams;
    if (slot < 0 || slot >= static_cast<int>(teams.size()))
        return {};
    return Numbered(app, kTeamRecordText, slot + 1, teams[static_cast<std::size_t>(slot)].name.text());
}

QString DriverRecordName(AppContext& app, int driver)
{
    if (driver < 0 || driver >= kDriverCount)
        return {};
    return Numbered(app, kDriverRecordText, driver + 1, app.workingSet().teams.driver(driver).name.text());
}

QString TrackRecordName(AppContext& app, int slot)
{
    const auto& info = app.workingSet().tracks.info;
    if (slot < 0 || slot >= static_cast<int>(info.size()))
        return {};
    return Numbered(app, kTrackRecordText, slot + 1, info[static_cast<std::size_t>(slot)].texts[kTrackCity][1].text());
}

QString TextRecordName(AppContext& app, int number, const QString& language)
{
    if (number < 0)
        return {};
    return FromGameText(app.program.texts.format(kTextRecordText, Args(number, ToGameText(language))));
}

QString SoundRecordName(AppContext& app, int number)
{
    return number < 0 ? QString() : FromGameText(app.program.texts.format(kSoundRecordText, Args(number)));
}

QString ChosenEntries(std::initializer_list<const QWidget*> choosers)
{
    QStringList chosen;
    for (const QWidget* w : choosers) {
        if (auto* list = qobject_cast<const QListWidget*>(w); list && list->currentItem())
            chosen << list->currentItem()->text();
        else if (auto* button = qobject_cast<const QAbstractButton*>(w); button && button->isChecked())
            chosen << WithoutMnemonic(button->text());
        else if (auto* combo = qobject_cast<const QComboBox*>(w))
            chosen << combo->currentText();
    }
    return RecordParts(chosen);
}

QString PageTitleOf(const QTabWidget* tabs, const QWidget* control)
{
    if (!tabs)
        return {};
    for (int p = 0; p < tabs->count(); ++p)
        if (Within(control, tabs->widget(p)))
            return WithoutMnemonic(tabs->tabText(p));
    return {};
}

bool Within(const QWidget* control, const QWidget* area)
{
    return control && area && (control == area || area->isAncestorOf(control));
}

QString RecordParts(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    return kept.join(", ");
}

} // namespace pitwall::gui
