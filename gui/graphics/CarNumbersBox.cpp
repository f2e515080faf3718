#include "CarNumbersBox.h"

#include "AppContext.h"
#include "GraphicsEditorPage.h"
#include "WidgetHelpers.h"
#include "graphics/GraphicsSet.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pitwall::gui {

CarNumbersBox::CarNumbersBox(GraphicsPageContext& context, std::function<int()> team, QWidget* parent)
    : QGroupBox("Startnummer-Positionen", parent), context_(context), team_(std::move(team))
{
    setObjectName("GroupBox1");
    auto* grid = new QGridLayout(this);
    for (int s = 0; s < 2; ++s) {
        auto* set = new QRadioButton(this);
        set->setObjectName(QString("RadioButton%1").arg(s + 1));
        grid->addWidget(set, 0, 1 + 2 * s, 1, 2);
        numberSets_[static_cast<std::size_t>(s)] = set;
        connect(set, &QRadioButton::toggled, this, [this](bool on) {
            if (on && !context_.filling)
                showNumbers();
        });
    }
    numberSets_[0]->setChecked(true);
    auto label = [&](const char* name, const char* caption, int row, int column) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        grid->addWidget(l, row, column);
    };
    label("Label1", "Quelle:", 1, 0);
    const char* views[] = {"Links", "Vorne", "Rechts"};
    for (int v = 0; v < 3; ++v)
        label(QString("Label%1").arg(3 + v).toUtf8().constData(), views[v], 2 + v, 0);
    label("Label2", "Ziel:", 5, 0);
    for (int v = 0; v < 3; ++v)
        label(QString("Label%1").arg(6 + v).toUtf8().constData(), views[v], 6 + v, 0);
    for (int f = 0; f < kCarNumberFields; ++f) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("Edit%1").arg(f + 1));
        edit->setMaxLength(3);
        edit->setFixedWidth(40);
        edit->installEventFilter(this);
        const int row = f < 12 ? 2 + f / 4 : 6 + (f - 12) / 2;
        const int column = 1 + (f < 12 ? f % 4 : (f - 12) % 2);
        grid->addWidget(edit, row, column);
        numberFields_[static_cast<std::size_t>(f)] = edit;
    }
    QPushButton* numbersImport = Button(this, "NumbersImport", "Startnummern importieren", 394);
    QPushButton* numbersExport = Button(this, "NumbersExport", "Startnummern exportieren", 395);
    grid->addWidget(numbersImport, 9, 0, 1, 5);
    grid->addWidget(numbersExport, 10, 0, 1, 5);
    connect(numbersImport, &QPushButton::clicked, this, [this] { context_.transfer({kCarNumbersItem}, false); });
    connect(numbersExport, &QPushButton::clicked, this, [this] { context_.transfer({kCarNumbersItem}, true); });
}

bool CarNumbersBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        for (int f = 0; f < kCarNumberFields; ++f)
            if (watched == numberFields_[static_cast<std::size_t>(f)])
                focusedField_ = f;
    return QGroupBox::eventFilter(watched, event);
}

void CarNumbersBox::enableFields(bool loaded)
{
    for (QLineEdit* field : numberFields_)
        field->setEnabled(loaded);
    for (QRadioButton* set : numberSets_)
        set->setEnabled(loaded);
}

void CarNumbersBox::showNumbers()
{
    storeNumbers();
    const int team = team_();
    const auto& record = context_.app.workingSet().teams.teams[static_cast<std::size_t>(team)];
    context_.filling = true;
    for (std::size_t s = 0; s < 2; ++s)
        numberSets_[s]->setText(QString::number(record.drivers[s].carNumber));
    context_.filling = false;
    numbersTeam_ = team;
    numbersSet_ = numberSets_[1]->isChecked() ? 1 : 0;
    const CarNumberRecord& numbers = context_.graphics().carNumbers[static_cast<std::size_t>(team)];
    for (int f = 0; f < kCarNumberFields; ++f)
        numberFields_[static_cast<std::size_t>(f)]->setText(
            QString::number(numbers[static_cast<std::size_t>(CarNumberFieldInteger(f, numbersSet_))]));
}

void CarNumbersBox::storeNumbers()
{
    if (numbersTeam_ < 0 || !context_.isLoaded(kCarNumbersItem))
        return;
    CarNumberRecord& numbers = context_.graphics().carNumbers[static_cast<std::size_t>(numbersTeam_)];
    for (int f = 0; f < kCarNumberFields; ++f) {
        auto& value = numbers[static_cast<std::size_t>(CarNumberFieldInteger(f, numbersSet_))];
        const QLineEdit* field = numberFields_[static_cast<std::size_t>(f)];
        // A value of more than three characters (a carset's -150) is shown
        // cut; it goes back only when the user has changed the field.
        if (field->text() != QString::number(value).left(field->maxLength()))
            value = CarNumberFieldValue(field->text().toStdString());
    }
}

} // namespace pitwall::gui
