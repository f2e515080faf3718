#include "GraphicsJamPages.h"

#include "AppContext.h"
#include "CarNumbersBox.h"
#include "EditTrackerRecords.h"
#include "FileDialogs.h"
#include "GP3Image.h"
#include "ImageConversion.h"
#include "PictureDescription.h"
#include "QtMessages.h"
#include "WidgetHelpers.h"
#include "formats/JamCopy.h"
#include "graphics/GraphicsSet.h"
#include "graphics/PictureIntoJam.h"
#include "graphics/TeamJams.h"
#include "transfer/ReportedFormats.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr int kBmpFilter = 944;
constexpr int kPngFilter = 881;
constexpr int kJpgFilter = 946;
// Every picture file that is read.
constexpr int kPictureFilter = 1204;
constexpr int kHelmetListFirst = 239;
constexpr int kPictureWidth = 256, kPictureHeight = 384;
// The helmet sheets: 128 x 30 helmets, two to a row; the second sheet is
// drawn 180 rows down.
constexpr int kHelmetWidth = 128, kHelmetHeight = 30, kSecondSheetTop = 180;
constexpr int kFirstSheetHelmets = 12;
// The jack pictures: the second jack file's page above the first, each
// stretched to 187 x 187 (the second from y 187 to 375).
constexpr int kJackSide = 187;

JamGroup GroupOf(GraphicsPage page)
{
    switch (page) {
    case GraphicsPage::Cockpits:
        return JamGroup::CockpitLiveries;
    case GraphicsPage::Jacks:
        return JamGroup::Jacks;
    case GraphicsPage::Helmets:
        return JamGroup::Helmets;
    default:
        return JamGroup::CarLiveries;
    }
}

} // namespace

GraphicsJamPage::GraphicsJamPage(GraphicsPageContext& context, GraphicsPage kind, const char* listName,
                                 const char* variantName, QWidget* parent)
    : GraphicsEditorPage(context, kind, parent)
{
    auto* row = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    list_ = new QListWidget(this);
    list_->setObjectName(listName);
    list_->setMinimumWidth(150);
    left->addWidget(list_, 1);
    variantGroup_ = new QGroupBox("Anzeige von...", this);
    variantGroup_->setObjectName(variantName);
    auto* variants = new QVBoxLayout(variantGroup_);
    variant_[0] = new QRadioButton("Software-JAM", variantGroup_);
    variant_[1] = new QRadioButton("Hardware-JAM", variantGroup_);
    for (std::size_t v = 0; v < 2; ++v) {
        variant_[v]->setObjectName(QString("%1_%2").arg(variantName).arg(v));
        variants->addWidget(variant_[v]);
        connect(variant_[v], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showOnChange();
        });
    }
    variant_[0]->setChecked(true);
    left->addWidget(variantGroup_);
    row->addLayout(left);

    image_ = new GP3Image(this);
    image_->setObjectName(QString(listName) + "Image");
    image_->setFixedSize(kPictureWidth, kPictureHeight);
    KeepPictureDescribed(image_, context_.app.program.texts);
    row->addWidget(image_, 0, Qt::AlignTop);

    auto* commands = new QVBoxLayout;
    const std::string prefix = kind == GraphicsPage::Cars ? "Car"
        : kind == GraphicsPage::Cockpits                  ? "Cockpit"
        : kind == GraphicsPage::Jacks                     ? "Jack"
                                                          : "Helmet";
    save_ = Button(this, (prefix + "SaveBmp").c_str(), "Grafik als BMP speichern", 386);
    load_ = Button(this, (prefix + "LoadBmp").c_str(), "Grafik aus BMP laden", 387);
    commands->addWidget(save_);
    commands->addWidget(load_);
    // The cockpit page converts to the software JAM only.
    if (kind != GraphicsPage::Cockpits) {
        toHard_ = Button(this, (prefix + "ToHard").c_str(), "Konvertieren zu HW-JAM", 388);
        commands->addWidget(toHard_);
        connect(toHard_, &QPushButton::clicked, this, [this] { convert(true); });
    }
    toSoft_ = Button(this, (prefix + "ToSoft").c_str(), "Konvertieren zu SW-JAM", 389);
    commands->addWidget(toSoft_);
    connect(toSoft_, &QPushButton::clicked, this, [this] { convert(false); });
    connect(save_, &QPushButton::clicked, this, [this] { saveJamPicture(); });
    connect(load_, &QPushButton::clicked, this, [this] { loadJamPicture(); });
    commands->addSpacing(12);
    addTransferButtons(commands);
    if (kind == GraphicsPage::Cars) {
        commands->addSpacing(12);
        numbers_ = new CarNumbersBox(
            context, [this] { return team(); }, this);
        commands->addWidget(numbers_);
    }
    commands->addStretch(1);
    row->addLayout(commands);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int) { showOnChange(); });
}

int GraphicsJamPage::team() const { return kind() == GraphicsPage::Helmets ? 0 : std::max(0, list_->currentRow()); }

int GraphicsJamPage::variant() const { return variant_[1]->isChecked() ? 1 : 0; }

QString GraphicsJamPage::record() const
{
    // The helmet list names drivers; the other lists are the teams.
    const QString chosen =
        kind() == GraphicsPage::Helmets ? ChosenEntries({list_}) : TeamRecordName(context_.app, team());
    return RecordParts({chosen, ChosenEntries({variant_[0], variant_[1]})});
}

void GraphicsJamPage::fillLists()
{
    if (kind() != GraphicsPage::Helmets) {
        fillTeamList(list_);
        return;
    }
    const int helmetRow = list_->currentRow();
    list_->clear();
    list_->addItem(FromGameText(context_.app.program.texts.text(kHelmetListFirst)));
    for (const auto& t : context_.app.workingSet().teams.teams)
        for (const auto& d : t.drivers)
            list_->addItem(FromUntrustedGameText(d.name.text()));
    list_->setCurrentRow(std::max(0, helmetRow));
}

void GraphicsJamPage::enableControls(bool loaded)
{
    const bool hardware = variant() == 1;
    save_->setEnabled(loaded);
    load_->setEnabled(loaded);
    if (toHard_)
        toHard_->setEnabled(loaded && !hardware);
    toSoft_->setEnabled(loaded && hardware);
    if (numbers_)
        numbers_->enableFields(context_.isLoaded(kCarNumbersItem));
}

void GraphicsJamPage::storeChoices(GraphicsEditorState& state) const
{
    const auto index = static_cast<std::size_t>(kind());
    state.team[index] = std::max(0, list_->currentRow());
    state.variant[index] = variant();
    if (kind() == GraphicsPage::Helmets)
        state.helmet = state.team[index];
}

void GraphicsJamPage::setUpChoices(const GraphicsEditorState& state)
{
    const auto index = static_cast<std::size_t>(kind());
    list_->setCurrentRow(kind() == GraphicsPage::Helmets ? state.helmet : state.team[index]);
    variant_[static_cast<std::size_t>(state.variant[index] == 1 ? 1 : 0)]->setChecked(true);
}

void GraphicsJamPage::draw()
{
    if (numbers_)
        numbers_->showNumbers();
    drawPicture();
}

void GraphicsJamPage::drawPicture()
{
    if (kind() == GraphicsPage::Cars) {
        drawCarPicture();
        return;
    }
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const int variant = this->variant();
    const auto jams = shownJams(variant);
    if (context_.isLoaded(PageLoadedItem(kind(), team(), variant))) {
        QPainter painter(&picture);
        if (kind() == GraphicsPage::Cockpits && jams[0]) {
            painter.drawImage(0, 0, ToQImage(jams[0]->page()));
        } else if (kind() == GraphicsPage::Jacks) {
            for (std::size_t i = 0; i < 2; ++i)
                if (jams[i])
                    painter.drawImage(QRect(0, static_cast<int>(i) * kJackSide, kJackSide, kJackSide),
                                      ToQImage(jams[i]->page()));
        } else if (kind() == GraphicsPage::Helmets) {
            const int entry = std::max(0, list_->currentRow());
            if (entry == 0) {
                for (std::size_t i = 0; i < 2; ++i)
                    if (jams[i])
                        painter.drawImage(0, static_cast<int>(i) * kSecondSheetTop, ToQImage(jams[i]->page()));
            } else {
                const bool second = entry > kFirstSheetHelmets;
                const int n = second ? entry - kFirstSheetHelmets - 1 : entry - 1;
                if (const TJAMFile* sheet = jams[second ? 1 : 0]) {
                    QRect source = variant == 0 && n < sheet->imageCount()
                        ? [&] {
                              const Rect r = sheet->ImageRect(n);
                              return QRect(r.left, r.top, r.width(), r.height());
                          }()
                        : QRect((n % 2) * kHelmetWidth, (n / 2) * kHelmetHeight, kHelmetWidth, kHelmetHeight);
                    painter.drawImage(QRect(0, 0, kHelmetWidth, kHelmetHeight), ToQImage(sheet->page()), source);
                }
            }
        }
    }
    image_->setPicture(picture);
}

std::vector<TJAMFile*> GraphicsJamPage::shownJams(int variant)
{
    JamVariants& jams = JamsOf(context_.graphics(), GroupOf(kind()));
    JamSlots& held = jams.variant(variant == 1);
    auto slot = [&](std::size_t i) { return held.at(i) ? &*held.at(i) : nullptr; };
    const auto team = static_cast<std::size_t>(this->team());
    switch (kind()) {
    case GraphicsPage::Jacks:
        return {slot(team + kTeamCount), slot(team)}; // second jack file on top
    case GraphicsPage::Helmets:
        return {slot(0), slot(1)};
    default:
        return {slot(team)};
    }
}

void GraphicsJamPage::blinkCarOutline(bool shown)
{
    blink_ = !blink_;
    if (shown)
        drawCarPicture();
}

void GraphicsJamPage::drawCarPicture()
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const int variant = this->variant();
    const int team = this->team();
    QPainter painter(&picture);
    if (context_.isLoaded(PageLoadedItem(GraphicsPage::Cars, team, variant)))
        if (const TJAMFile* jam = shownJams(variant)[0])
            painter.drawImage(0, 0, ToQImage(jam->page()));
    if (blink_ && numbers_->focusedField() >= 0 && context_.isLoaded(kCarNumbersItem)) {
        numbers_->storeNumbers();
        const Rect r = CarNumberOutline(context_.graphics().carNumbers[static_cast<std::size_t>(team)],
                                        numbers_->focusedField(), numbers_->numberSet());
        painter.setPen(Qt::white);
        painter.drawRect(r.left, r.top, r.width(), r.height());
    }
    painter.end();
    carPicture_ = picture;
    image_->setPicture(picture);
}

void GraphicsJamPage::saveJamPicture()
{
    const int variant = this->variant();
    const auto jams = shownJams(variant);
    for (const TJAMFile* jam : jams)
        if (!jam)
            return;
    const int team = this->team();
    const TeamJamNames& names = kTeamJamNames[static_cast<std::size_t>(team)];
    auto stem = [](std::string name) { return name.substr(0, name.rfind('.')); };
    switch (kind()) {
    case GraphicsPage::Cars:
    case GraphicsPage::Cockpits: {
        const bool car = kind() == GraphicsPage::Cars;
        auto file = context_.app.chooseFileToSave(
            {car ? "CarSave" : "CockpitSave", stem(car ? names.car : names.cockpit), {kBmpFilter}, 1});
        if (file)
            jams[0]->SaveAsBMP(*file);
        return;
    }
    case GraphicsPage::Jacks: {
        auto file =
            context_.app.chooseFileToSave({"JacksSave", "Jack" + std::to_string(team) + ".BMP", {kBmpFilter}, 1});
        if (file)
            jams[0]->SavePairAsBMP(*file, *jams[1]);
        return;
    }
    default: {
        auto file = context_.app.chooseFileToSave({"HelmetsSave", "HELMETS.BMP", {kBmpFilter}, 1});
        if (file)
            jams[0]->SavePairAsBMP(*file, *jams[1]);
        return;
    }
    }
}

void GraphicsJamPage::loadJamPicture()
{
    const int variant = this->variant();
    const auto jams = shownJams(variant);
    for (const TJAMFile* jam : jams)
        if (!jam)
            return;
    const int team = this->team();
    const TeamJamNames& names = kTeamJamNames[static_cast<std::size_t>(team)];
    auto bmpName = [](std::string name) { return name.substr(0, name.rfind('.')) + ".BMP"; };
    Messenger messenger = context_.app.messenger();
    std::optional<std::string> file;
    if (kind() == GraphicsPage::Cars || kind() == GraphicsPage::Cockpits) {
        const bool car = kind() == GraphicsPage::Cars;
        file = context_.app.chooseFileToOpen({car ? "CarLoad" : "CockpitLoad",
                                              bmpName(car ? names.car : names.cockpit),
                                              {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter},
                                              1});
        if (file)
            LoadPictureIntoJam(*jams[0], *file, context_.dithering(), &messenger);
    } else {
        const bool jacks = kind() == GraphicsPage::Jacks;
        file = context_.app.chooseFileToOpen({jacks ? "JackLoad" : "HelmetsLoad",
                                              jacks ? "Jack" + std::to_string(team) + ".BMP" : "HELMETS.BMP",
                                              {kPictureFilter, kBmpFilter, kPngFilter, kJpgFilter},
                                              1});
        if (file)
            LoadPictureIntoJamPair(*jams[0], *jams[1], *file, context_.dithering(), &messenger);
    }
    drawPicture();
}

void GraphicsJamPage::convert(bool toHardware)
{
    const int team = this->team();
    const JamCopySides sides{context_.isLoaded(PageItems(kind(), team, 0).front()),
                             context_.isLoaded(PageItems(kind(), team, 1).front())};
    auto soft = shownJams(0);
    auto hard = shownJams(1);
    Messenger messenger = context_.app.messenger();
    const JamCopyDirection direction = toHardware ? JamCopyDirection::EightToSixteen : JamCopyDirection::SixteenToEight;
    // A side that was never loaded has no JAM: the copy says so (771 / 772)
    // with placeholders that it leaves alone.
    TJAMFile emptySoft(context_.app.program.palette), emptyHard(context_.app.program.palette);
    for (std::size_t i = 0; i < soft.size(); ++i) {
        TJAMFile& eight = soft[i] ? *soft[i] : emptySoft;
        TJAMFile& sixteen = hard[i] ? *hard[i] : emptyHard;
        if (!CopyBetweenKinds(eight, sixteen, direction, kind() == GraphicsPage::Cockpits, sides, &messenger))
            break;
    }
    drawPicture();
}

} // namespace pitwall::gui
