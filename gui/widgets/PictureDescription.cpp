#include "PictureDescription.h"

#include "GP3Image.h"
#include "QtMessages.h"
#include "base/UITexts.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>

namespace pitwall::gui {

namespace {

constexpr int kPictureNameText = 1248;
constexpr int kNothingShownText = 1249;

QString WithoutMnemonic(QString text) { return text.remove(QRegularExpression("&(?!&)")).trimmed(); }

// The tab page that holds w, directly or further down; nullptr outside tabs.
QWidget* TabPageOf(const QWidget* w, QTabWidget** tabs)
{
    for (QWidget* up = w->parentWidget(); up; up = up->parentWidget())
        if (auto* t = qobject_cast<QTabWidget*>(up->parentWidget() ? up->parentWidget()->parentWidget() : nullptr);
            t && t->indexOf(up) >= 0) {
            *tabs = t;
            return up;
        }
    return nullptr;
}

bool InsideTabs(const QWidget* w, const QWidget* window)
{
    for (const QWidget* up = w->parentWidget(); up && up != window; up = up->parentWidget())
        if (qobject_cast<const QTabWidget*>(up))
            return true;
    return false;
}

// What the user has chosen in the controls below `scope`: current rows,
// chosen radio buttons, fixed drop-down entries.
void AddChoices(const QWidget* scope, bool outsideTabsOnly, QStringList& choices)
{
    const QWidget* window = scope->window();
    auto add = [&](const QString& text) {
        const QString t = WithoutMnemonic(text);
        if (!t.isEmpty() && !choices.contains(t))
            choices << t;
    };
    for (QWidget* w : scope->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || (outsideTabsOnly && InsideTabs(w, window)))
            continue;
        if (auto* list = qobject_cast<QListWidget*>(w); list && list->currentItem())
            add(list->currentItem()->text());
        else if (auto* radio = qobject_cast<QRadioButton*>(w); radio && radio->isChecked())
            add(radio->text());
        else if (auto* combo = qobject_cast<QComboBox*>(w); combo && !combo->isEditable())
            add(combo->currentText());
    }
}

bool ShowsNothing(const QWidget* picture)
{
    if (auto* label = qobject_cast<const QLabel*>(picture))
        return label->pixmap().isNull();
    if (auto* image = qobject_cast<const GP3Image*>(picture))
        return image->picture().isNull();
    return false;
}

void SetDescription(QWidget* picture, const UITexts& texts, const QString& description)
{
    const QString name = FromGameText(texts.text(kPictureNameText));
    if (picture->accessibleName() != name)
        picture->setAccessibleName(name);
    if (picture->accessibleDescription() != description)
        picture->setAccessibleDescription(description);
}

class PictureDescriber : public QObject {
public:
    PictureDescriber(QWidget* picture, const UITexts& texts) : QObject(picture), texts_(texts)
    {
        picture->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::Show) {
            auto* picture = static_cast<QWidget*>(watched);
            SetDescription(picture, texts_, PictureDescription(picture, texts_));
        }
        return false;
    }

private:
    const UITexts& texts_;
};

} // namespace

QString PictureDescription(const QWidget* picture, const UITexts& texts)
{
    QStringList where;
    const QWidget* scope = picture->window();
    QTabWidget* tabs = nullptr;
    for (QWidget* page = TabPageOf(picture, &tabs); page; page = TabPageOf(tabs, &tabs)) {
        where.prepend(WithoutMnemonic(tabs->tabText(tabs->indexOf(page))));
        if (scope == picture->window())
            scope = page;
    }
    if (where.isEmpty() || !picture->window()->windowTitle().isEmpty())
        where.prepend(WithoutMnemonic(picture->window()->windowTitle()));
    where.removeAll(QString());
    QStringList choices;
    if (ShowsNothing(picture)) {
        choices << FromGameText(texts.text(kNothingShownText));
    } else {
        AddChoices(scope, false, choices);
        if (scope != picture->window())
            AddChoices(picture->window(), true, choices);
    }
    return where.join(", ") + ": " + choices.join(", ");
}

void KeepPictureDescribed(QWidget* picture, const UITexts& texts)
{
    new PictureDescriber(picture, texts);
    SetDescription(picture, texts, PictureDescription(picture, texts));
}

void DescribeFixedPicture(QWidget* picture, const UITexts& texts, int descriptionText)
{
    SetDescription(picture, texts, FromGameText(texts.text(descriptionText)));
}

} // namespace pitwall::gui
