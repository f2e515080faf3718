#include "CockpitPage.h"

#include "AppContext.h"
#include "EditTrackerRecords.h"
#include "ImageConversion.h"
#include "PictureDescription.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace pitwall::gui {

CockpitData& CockpitPageContext::cockpit() const { return app.workingSet().cockpit; }
CockpitEditorState& CockpitPageContext::state() const { return app.editorStates.cockpit; }
bool CockpitPageContext::loaded(int item) const { return app.workingSet().transfer.isLoaded(item); }

CockpitPage::CockpitPage(CockpitPageContext& context, int number, QWidget* parent) : QWidget(parent), context_(context)
{
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    pictureColumn_ = left;
    picture_ = new QLabel(this);
    picture_->setObjectName(QString("Image%1").arg(number + 1));
    picture_->setMinimumSize(512, 256);
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    left->addWidget(picture_, 1);
    KeepPictureDescribed(picture_, context_.app.program.texts);
    auto* group = new QGroupBox(this);
    group->setObjectName(QString("RadioGroup%1").arg(number + 1));
    auto* groupLayout = new QHBoxLayout(group);
    for (int v = 0; v < 2; ++v) {
        auto* b = new QRadioButton(group);
        b->setObjectName(QString(v == 0 ? "Software%1" : "Hardware%1").arg(number + 1));
        groupLayout->addWidget(b);
        variants_[static_cast<std::size_t>(v)] = b;
        connect(b, &QRadioButton::toggled, this, [this, v](bool on) {
            if (on && !context_.showing)
                context_.chooseVariant(v);
        });
    }
    left->addWidget(group);
    status_ = new QStatusBar(this);
    status_->setObjectName(QString("StatusBar%1").arg(number + 2));
    status_->setSizeGripEnabled(false);
    left->addWidget(status_);
    layout->addLayout(left, 1);
}

void CockpitPage::setControls(QWidget* controls) { layout()->addWidget(controls); }

void CockpitPage::setBelowPicture(QWidget* below)
{
    pictureColumn_->setStretchFactor(picture_, 0);
    pictureColumn_->insertWidget(pictureColumn_->indexOf(picture_) + 2, below, 1);
}

QString CockpitPage::record() const { return ChosenEntries({variants_[0], variants_[1]}); }

void CockpitPage::showVariant(int variant) { variants_[static_cast<std::size_t>(variant)]->setChecked(true); }

void CockpitPage::showStatusText(const QString& text) { status_->showMessage(text); }

void CockpitPage::showPicture(const Image& picture, int scale)
{
    if (picture.isNull()) {
        picture_->clear();
        return;
    }
    QImage image = ToQImage(picture);
    if (scale != 1)
        image = image.scaled(image.width() * scale, image.height() * scale);
    picture_->setPixmap(QPixmap::fromImage(image));
}

} // namespace pitwall::gui
