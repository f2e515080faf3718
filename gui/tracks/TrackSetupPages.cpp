#include "TrackSetupPages.h"

#include "LanguageTable.h"
#include "TracksEditorWidgets.h"
#include "base/UITexts.h"
#include "tracks/TrackTable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pitwall::gui {

using namespace tracks;

namespace {

constexpr int kWingsText = 1069, kGearText = 1070;
constexpr int kBumpLabelsText[3] = {1073, 1074, 1075};

constexpr TextBinding kBumpsTexts[] = {
    {"GroupBox30", TextRole::Caption, 1071},  {"GroupBox31", TextRole::Caption, 1072},
    {"ListView1", TextRole::Column, 1073, 0}, {"ListView1", TextRole::Column, 1074, 1},
    {"ListView1", TextRole::Column, 1075, 2},
};

constexpr int kSetupMaximum[kSetupValues] = {20, 20, 80, 80, 80, 80, 80, 80};
const char* const kSetupCaptions[kSetupValues] = {
    "Frontflügel:", "Heckflügel:", "1. Gang:", "2. Gang:", "3. Gang:", "4. Gang:", "5. Gang:", "6. Gang:"};

} // namespace

TrackSetupPage::TrackSetupPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < kSetupValues; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setFocusPolicy(Qt::StrongFocus); // the values are set with the arrow keys too
        bar->setObjectName(QString("ScrollBar%1").arg(3 + i));
        bar->setRange(0, kSetupMaximum[i]);
        bar->setMinimumWidth(260);
        auto* value = Label(this, QString("Label%1").arg(110 + i).toLatin1().constData(), "0");
        value->setMinimumWidth(30);
        setup_[static_cast<std::size_t>(i)] = bar;
        setupValues_[static_cast<std::size_t>(i)] = value;
        grid->addWidget(Label(this, QString("Label%1").arg(100 + i).toLatin1().constData(), kSetupCaptions[i]), i, 0);
        grid->addWidget(bar, i, 1);
        grid->addWidget(value, i, 2);
        connect(bar, &QScrollBar::valueChanged, value, [value](int v) { value->setNum(v); });
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(kSetupValues, 1);
}

void TrackSetupPage::applyLanguage(const UITexts& texts)
{
    const QStringList wings = TextLinesOf(texts, kWingsText);
    SetCaption(this, "Label100", wings.value(0));
    SetCaption(this, "Label101", wings.value(1));
    for (int gear = 1; gear <= 6; ++gear)
        SetCaption(this, QString("Label%1").arg(101 + gear), FromGameText(texts.format(kGearText, Args(gear))));
}

void TrackSetupPage::showSlot()
{
    for (int i = 0; i < kSetupValues; ++i) {
        const int v = context_.info().setup[static_cast<std::size_t>(i)];
        setup_[static_cast<std::size_t>(i)]->setValue(std::min(v, kSetupMaximum[i]));
        setupValues_[static_cast<std::size_t>(i)]->setNum(v);
    }
}

void TrackSetupPage::storeSlot()
{
    for (int i = 0; i < kSetupValues; ++i) {
        auto& v = context_.info().setup[static_cast<std::size_t>(i)];
        if (setup_[static_cast<std::size_t>(i)]->value() != std::min<int>(v, kSetupMaximum[i]))
            v = static_cast<std::uint8_t>(setup_[static_cast<std::size_t>(i)]->value());
    }
}

TrackBumpsPage::TrackBumpsPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* listBox = new QGroupBox("Liste alle Bodenwellen", this);
    listBox->setObjectName("GroupBox30");
    auto* listLayout = new QVBoxLayout(listBox);
    bumps_ = new QTreeWidget(listBox);
    bumps_->setObjectName("ListView1");
    bumps_->setHeaderLabels({"Index", "Position", "Stärke"});
    bumps_->setRootIsDecorated(false);
    listLayout->addWidget(bumps_);
    layout->addWidget(listBox, 1);

    auto* edit = new QGroupBox("Bodenwelle editieren", this);
    edit->setObjectName("GroupBox31");
    bumpEdit_ = edit;
    auto* grid = new QGridLayout(edit);
    bumpIndex_ = NumberField(edit, "SpinEdit40", 0, kMaxBumps - 1);
    bumpIndex_->setReadOnly(true);
    // Position 0xFFFF ends the game's table of bumps: it would cut off the
    // bump and every one after it.
    bumpPosition_ = NumberField(edit, "SpinEdit41", 0, 0xFFFE);
    bumpStrength_ = NumberField(edit, "SpinEdit42", 0, 65535);
    grid->addWidget(Label(edit, "Label160", "Index:"), 0, 0);
    grid->addWidget(bumpIndex_, 0, 1);
    grid->addWidget(Label(edit, "Label161", "Position:"), 1, 0);
    grid->addWidget(bumpPosition_, 1, 1);
    grid->addWidget(Label(edit, "Label162", "Stärke:"), 2, 0);
    grid->addWidget(bumpStrength_, 2, 1);
    grid->setRowStretch(3, 1);
    layout->addWidget(edit);

    connect(bumps_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (context_.busy || !item)
            return;
        storeSlot();
        shownBump_ = bumps_->indexOfTopLevelItem(item);
        const Bump& b = context_.info().bumps[static_cast<std::size_t>(shownBump_)];
        bumpEdit_->setEnabled(true);
        bumpIndex_->setValue(shownBump_);
        bumpPosition_->setValue(b.position);
        bumpStrength_->setValue(b.strength);
    });
}

void TrackBumpsPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kBumpsTexts, texts);
    for (int i = 0; i < 3; ++i)
        SetCaption(this, QString("Label%1").arg(160 + i), FromGameText(texts.text(kBumpLabelsText[i])) + ":");
}

void TrackBumpsPage::showSlot()
{
    QSignalBlocker block(bumps_);
    bumps_->clear();
    shownBump_ = -1;
    const int count = context_.info().bumpCount();
    for (int b = 0; b < count; ++b) {
        const Bump& bump = context_.info().bumps[static_cast<std::size_t>(b)];
        bumps_->addTopLevelItem(
            new QTreeWidgetItem({QString::number(b), QString::number(bump.position), QString::number(bump.strength)}));
    }
    // Nothing chosen: the fields belong to no bump.
    bumpIndex_->setValue(0);
    bumpPosition_->setValue(0);
    bumpStrength_->setValue(0);
    bumpEdit_->setEnabled(false);
}

// The bump the edit fields show.
void TrackBumpsPage::storeSlot()
{
    if (shownBump_ < 0 || shownBump_ >= kMaxBumps)
        return;
    Bump& b = context_.info().bumps[static_cast<std::size_t>(shownBump_)];
    StoreSpin(bumpPosition_, b.position);
    StoreSpin(bumpStrength_, b.strength);
    if (QTreeWidgetItem* item = bumps_->topLevelItem(shownBump_)) {
        item->setText(1, QString::number(b.position));
        item->setText(2, QString::number(b.strength));
    }
}

} // namespace pitwall::gui
