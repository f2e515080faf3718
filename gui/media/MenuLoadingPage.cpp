#include "MenuLoadingPage.h"

#include "AppContext.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "WidgetHelpers.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "menu/MenuArt.h"
#include "menu/MenuPictureFiles.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

namespace pitwall::gui {

namespace {

constexpr int kBmpFilter = 944;
// Every picture file that is read, and its kinds.
constexpr int kPictureFilter = 1204, kPngFilter = 881, kJpgFilter = 946;
constexpr int kMissingText = 212;
constexpr int kSavingText = 1009, kLoadingText = 1010;
constexpr const char* kChoices[kLoadingPictureCount] = {
    "Bild 1 (1 Ampel rot)",  "Bild 2 (2 Ampeln rot)", "Bild 3 (3 Ampeln rot)",
    "Bild 4 (4 Ampeln rot)", "Bild 5 (5 Ampeln rot)", "Bild 6 (Alle Ampeln erloschen)",
};

std::vector<int> AllPictures()
{
    std::vector<int> numbers;
    for (int n = 1; n <= kLoadingPictureCount; ++n)
        numbers.push_back(n);
    return numbers;
}

} // namespace

MenuLoadingPage::MenuLoadingPage(MenuGraphicsServices& services, QWidget* parent) : QWidget(parent), services_(services)
{
    setObjectName("TabSheet3");
    auto* layout = new QHBoxLayout(this);
    image_ = new QLabel(this);
    KeepPictureDescribed(image_, services_.app.program.texts);
    image_->setObjectName("Image1");
    image_->setFixedSize(kLoadingPictureWidth * 3 / 4, kLoadingPictureHeight * 3 / 4);
    image_->setFrameShape(QFrame::StyledPanel);
    image_->setScaledContents(true);
    layout->addWidget(image_, 0, Qt::AlignTop);

    controls_ = new QWidget(this);
    auto* side = new QVBoxLayout(controls_);
    side->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox("Anzeige:", controls_);
    group->setObjectName("RadioGroup3");
    auto* radios = new QVBoxLayout(group);
    choice_ = new QButtonGroup(this);
    for (int i = 0; i < kLoadingPictureCount; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(kChoices[i]), group);
        radio->setObjectName(QString("RadioButton%1").arg(i + 1));
        choice_->addButton(radio, i);
        radios->addWidget(radio);
    }
    side->addWidget(group);
    auto* buttons = new QGridLayout;
    buttons->addWidget(Button(controls_, "BitBtn3", "Grafik als BMP speichern"), 0, 0);
    buttons->addWidget(Button(controls_, "BitBtn4", "Alle als BMP speichern"), 0, 1);
    buttons->addWidget(Button(controls_, "BitBtn5", "Grafik aus BMP laden"), 1, 0);
    buttons->addWidget(Button(controls_, "BitBtn6", "Alle aus BMP laden"), 1, 1);
    side->addLayout(buttons);
    side->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(controls_, 1);
    auto* transfer = new QHBoxLayout;
    transfer->addWidget(Button(this, "Button28", "Importieren"));
    transfer->addWidget(Button(this, "Button29", "Exportieren"));
    right->addLayout(transfer);
    layout->addLayout(right, 1);

    connect(choice_, &QButtonGroup::idClicked, this, [this](int id) {
        services_.state.loadingPicture = id;
        showPicture(true);
    });
    connect(findChild<QPushButton*>("BitBtn3"), &QPushButton::clicked, this, &MenuLoadingPage::savePictureToFile);
    connect(findChild<QPushButton*>("BitBtn4"), &QPushButton::clicked, this, &MenuLoadingPage::saveAllPictures);
    connect(findChild<QPushButton*>("BitBtn5"), &QPushButton::clicked, this, &MenuLoadingPage::loadPictureFromFile);
    connect(findChild<QPushButton*>("BitBtn6"), &QPushButton::clicked, this, &MenuLoadingPage::loadAllPictures);
    connect(findChild<QPushButton*>("Button28"), &QPushButton::clicked, this,
            [this] { services_.transfer({kLoadingPicturesItem}, false); });
    connect(findChild<QPushButton*>("Button29"), &QPushButton::clicked, this,
            [this] { services_.transfer({kLoadingPicturesItem}, true); });
}

int MenuLoadingPage::picture() const { return std::clamp(services_.state.loadingPicture, 0, 5) + 1; }

std::string MenuLoadingPage::workFile(int n) const
{
    return services_.app.program.directories.working + LoadingPictureName(n);
}

void MenuLoadingPage::enableControls()
{
    const bool loaded = services_.app.workingSet().transfer.isLoaded(kLoadingPicturesItem);
    controls_->setEnabled(loaded);
    findChild<QPushButton*>("Button29")->setEnabled(loaded);
}

void MenuLoadingPage::restore()
{
    choice_->button(picture() - 1)->setChecked(true);
    enableControls();
    image_->clear();
    if (services_.app.workingSet().transfer.isLoaded(kLoadingPicturesItem))
        showPicture(false);
}

void MenuLoadingPage::showPicture(bool reportMissing)
{
    const std::string file = workFile(picture());
    if (!FileExists(file)) {
        image_->clear();
        if (reportMissing) {
            Messenger messenger = services_.app.messenger();
            messenger.show(kMissingText, Args(file));
        }
        return;
    }
    try {
        image_->setPixmap(QPixmap::fromImage(ToQImage(LoadBmpFile(file))));
    } catch (const std::exception& e) {
        image_->clear();
        if (reportMissing)
            services_.app.messenger().showFixed(file + ": " + e.what());
    }
}

void MenuLoadingPage::savePictureToFile()
{
    const int n = picture();
    auto name = services_.app.chooseFileToSave({"LoadingPicsSave", LoadingPictureName(n), {kBmpFilter}, 1});
    if (!name)
        return;
    std::string reason;
    if (!CopyFileForced(workFile(n), *name, &reason))
        services_.app.messenger().showFixed(*name + ": " + reason);
}

void MenuLoadingPage::saveAllPictures()
{
    auto sequence = services_.chooseSequence();
    if (!sequence)
        return;
    // A picture that cannot be written ends the sequence with its reason.
    RunPictureSequence(this, services_.app, kSavingText, AllPictures(), [&](int n) {
        std::string reason;
        if (!CopyFileForced(workFile(n), sequence->fileName(n), &reason))
            throw std::runtime_error(sequence->fileName(n) + ": " + reason);
    });
}

void MenuLoadingPage::loadPictureFromFile()
{
    auto name = services_.app.chooseFileToOpen(
        {"LoadingPicsLoad", "", {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter}, 1});
    if (!name)
        return;
    Messenger messenger = services_.app.messenger();
    TakeInLoadingPicture(services_.app.program.directories.working, picture(), *name, messenger);
    showPicture(false);
}

void MenuLoadingPage::loadAllPictures()
{
    auto sequence = services_.chooseSequence();
    if (!sequence)
        return;
    Messenger messenger = services_.app.messenger();
    if (!AnyFileOf(*sequence, AllPictures(), messenger))
        return;
    RunPictureSequence(this, services_.app, kLoadingText, AllPictures(), [&](int n) {
        const std::string file = sequence->fileName(n);
        if (FileExists(file))
            TakeInLoadingPicture(services_.app.program.directories.working, n, file, messenger);
    });
    showPicture(false);
}

} // namespace pitwall::gui
