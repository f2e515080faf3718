// The JAM pages of the 3D graphics editor: car liveries (with the
// car-number positions), cockpit liveries, jacks and helmets.

#include "GraphicsEditor.h"

#include "AppContext.h"
#include "FileDialogs.h"
#include "GP3Image.h"
#include "ImageConversion.h"
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
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pitwall::gui {

namespace {

constexpr int kBmpFilter = 944;
constexpr int kPngFilter = 881;
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

QWidget* GraphicsEditor::buildJamPage(JamPage& p, GraphicsPage kind, const char* listName, const char* variantName)
{
    p.kind = kind;
    p.page = new QWidget;
    auto* row = new QHBoxLayout(p.page);
    auto* left = new QVBoxLayout;
    p.list = new QListWidget(p.page);
    p.list->setObjectName(listName);
    p.list->setMinimumWidth(150);
    left->addWidget(p.list, 1);
    p.variantGroup = new QGroupBox("Anzeige von...", p.page);
    p.variantGroup->setObjectName(variantName);
    auto* variants = new QVBoxLayout(p.variantGroup);
    p.variant[0] = new QRadioButton("Software-JAM", p.variantGroup);
    p.variant[1] = new QRadioButton("Hardware-JAM", p.variantGroup);
    for (std::size_t v = 0; v < 2; ++v) {
        p.variant[v]->setObjectName(QString("%1_%2").arg(variantName).arg(v));
        variants->addWidget(p.variant[v]);
        connect(p.variant[v], &QRadioButton::toggled, this, [this](bool on) {
            if (on && !filling_)
                showPage();
        });
    }
    p.variant[0]->setChecked(true);
    left->addWidget(p.variantGroup);
    row->addLayout(left);

    p.image = new GP3Image(p.page);
    p.image->setObjectName(QString(listName) + "Image");
    p.image->setFixedSize(kPictureWidth, kPictureHeight);
    row->addWidget(p.image, 0, Qt::AlignTop);

    auto* commands = new QVBoxLayout;
    const std::string prefix = kind == GraphicsPage::Cars ? "Car"
        : kind == GraphicsPage::Cockpits                  ? "Cockpit"
        : kind == GraphicsPage::Jacks                     ? "Jack"
                                                          : "Helmet";
    p.save = Button(p.page, (prefix + "SaveBmp").c_str(), "Grafik als BMP speichern", 386);
    p.load = Button(p.page, (prefix + "LoadBmp").c_str(), "Grafik aus BMP laden", 387);
    commands->addWidget(p.save);
    commands->addWidget(p.load);
    // The cockpit page converts to the software JAM only.
    if (kind != GraphicsPage::Cockpits) {
        p.toHard = Button(p.page, (prefix + "ToHard").c_str(), "Konvertieren zu HW-JAM", 388);
        commands->addWidget(p.toHard);
        connect(p.toHard, &QPushButton::clicked, this, [this, &p] { convert(p, true); });
    }
    p.toSoft = Button(p.page, (prefix + "ToSoft").c_str(), "Konvertieren zu SW-JAM", 389);
    commands->addWidget(p.toSoft);
    connect(p.toSoft, &QPushButton::clicked, this, [this, &p] { convert(p, false); });
    connect(p.save, &QPushButton::clicked, this, [this, &p] { saveJamPicture(p); });
    connect(p.load, &QPushButton::clicked, this, [this, &p] { loadJamPicture(p); });
    commands->addSpacing(12);
    addTransferButtons(p.page, commands, kind, p.transfer);
    if (kind == GraphicsPage::Cars) {
        commands->addSpacing(12);
        commands->addWidget(buildCarNumbers(p.page));
    }
    commands->addStretch(1);
    row->addLayout(commands);

    connect(p.list, &QListWidget::currentRowChanged, this, [this](int) {
        if (!filling_)
            showPage();
    });
    return p.page;
}

QWidget* GraphicsEditor::buildCarNumbers(QWidget* parent)
{
    auto* group = new QGroupBox("Startnummer-Positionen", parent);
    group->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(group);
    for (int s = 0; s < 2; ++s) {
        auto* set = new QRadioButton(group);
        set->setObjectName(QString("RadioButton%1").arg(s + 1));
        grid->addWidget(set, 0, 1 + 2 * s, 1, 2);
        numberSets_[static_cast<std::size_t>(s)] = set;
        connect(set, &QRadioButton::toggled, this, [this, s](bool on) {
            if (on && !filling_)
                numberSetClick(s);
        });
    }
    numberSets_[0]->setChecked(true);
    auto label = [&](const char* name, const char* caption, int row, int column) {
        auto* l = new QLabel(caption, group);
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
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QString("Edit%1").arg(f + 1));
        edit->setMaxLength(3);
        edit->setFixedWidth(40);
        edit->installEventFilter(this);
        const int row = f < 12 ? 2 + f / 4 : 6 + (f - 12) / 2;
        const int column = 1 + (f < 12 ? f % 4 : (f - 12) % 2);
        grid->addWidget(edit, row, column);
        numberFields_[static_cast<std::size_t>(f)] = edit;
    }
    numbersImport_ = Button(group, "NumbersImport", "Startnummern importieren", 394);
    numbersExport_ = Button(group, "NumbersExport", "Startnummern exportieren", 395);
    grid->addWidget(numbersImport_, 9, 0, 1, 5);
    grid->addWidget(numbersExport_, 10, 0, 1, 5);
    connect(numbersImport_, &QPushButton::clicked, this, [this] { runTransfer({6}, false); });
    connect(numbersExport_, &QPushButton::clicked, this, [this] { runTransfer({6}, true); });
    return group;
}

std::vector<TJAMFile*> GraphicsEditor::shownJams(JamPage& p, int variant)
{
    JamVariants& jams = JamsOf(graphics(), GroupOf(p.kind));
    JamSlots& held = jams.variant(variant == 1);
    auto slot = [&](std::size_t i) { return held.at(i) ? &*held.at(i) : nullptr; };
    const auto team = static_cast<std::size_t>(pageTeam(p.kind));
    switch (p.kind) {
    case GraphicsPage::Jacks:
        return {slot(team + kTeamCount), slot(team)}; // second jack file on top
    case GraphicsPage::Helmets:
        return {slot(0), slot(1)};
    default:
        return {slot(team)};
    }
}

void GraphicsEditor::drawJamPage(JamPage& p)
{
    if (p.kind == GraphicsPage::Cars) {
        drawCarPicture();
        return;
    }
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const int variant = pageVariant(p.kind);
    const auto jams = shownJams(p, variant);
    if (isLoaded(PageLoadedItem(p.kind, pageTeam(p.kind), variant))) {
        QPainter painter(&picture);
        if (p.kind == GraphicsPage::Cockpits && jams[0]) {
            painter.drawImage(0, 0, ToQImage(jams[0]->page()));
        } else if (p.kind == GraphicsPage::Jacks) {
            for (std::size_t i = 0; i < 2; ++i)
                if (jams[i])
                    painter.drawImage(QRect(0, static_cast<int>(i) * kJackSide, kJackSide, kJackSide),
                                      ToQImage(jams[i]->page()));
        } else if (p.kind == GraphicsPage::Helmets) {
            const int entry = std::max(0, p.list->currentRow());
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
    p.image->setPicture(picture);
}

void GraphicsEditor::drawCarPicture()
{
    JamPage& p = jamPages_[0];
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const int variant = pageVariant(GraphicsPage::Cars);
    const int team = pageTeam(GraphicsPage::Cars);
    QPainter painter(&picture);
    if (isLoaded(PageLoadedItem(GraphicsPage::Cars, team, variant)))
        if (const TJAMFile* jam = shownJams(p, variant)[0])
            painter.drawImage(0, 0, ToQImage(jam->page()));
    if (blink_ && focusedField_ >= 0 && isLoaded(6)) {
        storeNumbers();
        const Rect r =
            CarNumberOutline(graphics().carNumbers[static_cast<std::size_t>(team)], focusedField_, numbersSet_);
        painter.setPen(Qt::white);
        painter.drawRect(r.left, r.top, r.width(), r.height());
    }
    painter.end();
    carPicture_ = picture;
    p.image->setPicture(picture);
}

void GraphicsEditor::showNumbers()
{
    storeNumbers();
    const int team = pageTeam(GraphicsPage::Cars);
    const auto& record = app_.workingSet().teams.teams[static_cast<std::size_t>(team)];
    filling_ = true;
    for (std::size_t s = 0; s < 2; ++s)
        numberSets_[s]->setText(QString::number(record.drivers[s].carNumber));
    filling_ = false;
    numbersTeam_ = team;
    numbersSet_ = numberSets_[1]->isChecked() ? 1 : 0;
    const CarNumberRecord& numbers = graphics().carNumbers[static_cast<std::size_t>(team)];
    for (int f = 0; f < kCarNumberFields; ++f)
        numberFields_[static_cast<std::size_t>(f)]->setText(
            QString::number(numbers[static_cast<std::size_t>(CarNumberFieldInteger(f, numbersSet_))]));
}

void GraphicsEditor::storeNumbers()
{
    if (numbersTeam_ < 0 || !isLoaded(6))
        return;
    CarNumberRecord& numbers = graphics().carNumbers[static_cast<std::size_t>(numbersTeam_)];
    for (int f = 0; f < kCarNumberFields; ++f)
        numbers[static_cast<std::size_t>(CarNumberFieldInteger(f, numbersSet_))] =
            CarNumberFieldValue(numberFields_[static_cast<std::size_t>(f)]->text().toStdString());
}

void GraphicsEditor::numberSetClick(int) { showNumbers(); }

void GraphicsEditor::saveJamPicture(JamPage& p)
{
    const int variant = pageVariant(p.kind);
    const auto jams = shownJams(p, variant);
    for (const TJAMFile* jam : jams)
        if (!jam)
            return;
    const int team = pageTeam(p.kind);
    const TeamJamNames& names = kTeamJamNames[static_cast<std::size_t>(team)];
    auto stem = [](std::string name) { return name.substr(0, name.rfind('.')); };
    switch (p.kind) {
    case GraphicsPage::Cars:
    case GraphicsPage::Cockpits: {
        const bool car = p.kind == GraphicsPage::Cars;
        auto file = app_.chooseFileToSave(
            {car ? "CarSave" : "CockpitSave", stem(car ? names.car : names.cockpit), {kBmpFilter}, 1});
        if (file)
            jams[0]->SaveAsBMP(*file);
        return;
    }
    case GraphicsPage::Jacks: {
        auto file = app_.chooseFileToSave({"JacksSave", "Jack" + std::to_string(team) + ".BMP", {kBmpFilter}, 1});
        if (file)
            jams[0]->SavePairAsBMP(*file, *jams[1]);
        return;
    }
    default: {
        auto file = app_.chooseFileToSave({"HelmetsSave", "HELMETS.BMP", {kBmpFilter}, 1});
        if (file)
            jams[0]->SavePairAsBMP(*file, *jams[1]);
        return;
    }
    }
}

void GraphicsEditor::loadJamPicture(JamPage& p)
{
    const int variant = pageVariant(p.kind);
    const auto jams = shownJams(p, variant);
    for (const TJAMFile* jam : jams)
        if (!jam)
            return;
    const int team = pageTeam(p.kind);
    const TeamJamNames& names = kTeamJamNames[static_cast<std::size_t>(team)];
    auto bmpName = [](std::string name) { return name.substr(0, name.rfind('.')) + ".BMP"; };
    Messenger messenger = app_.messenger();
    std::optional<std::string> file;
    if (p.kind == GraphicsPage::Cars || p.kind == GraphicsPage::Cockpits) {
        const bool car = p.kind == GraphicsPage::Cars;
        file = app_.chooseFileToOpen(
            {car ? "CarLoad" : "CockpitLoad", bmpName(car ? names.car : names.cockpit), {kBmpFilter, kPngFilter}, 1});
        if (file)
            LoadPictureIntoJam(*jams[0], *file, dithering(), &messenger);
    } else {
        const bool jacks = p.kind == GraphicsPage::Jacks;
        file = app_.chooseFileToOpen({jacks ? "JackLoad" : "HelmetsLoad",
                                      jacks ? "Jack" + std::to_string(team) + ".BMP" : "HELMETS.BMP",
                                      {kBmpFilter, kPngFilter},
                                      1});
        if (file)
            LoadPictureIntoJamPair(*jams[0], *jams[1], *file, dithering(), &messenger);
    }
    drawJamPage(p);
}

void GraphicsEditor::convert(JamPage& p, bool toHardware)
{
    const int team = pageTeam(p.kind);
    const JamCopySides sides{isLoaded(PageItems(p.kind, team, 0).front()),
                             isLoaded(PageItems(p.kind, team, 1).front())};
    auto soft = shownJams(p, 0);
    auto hard = shownJams(p, 1);
    Messenger messenger = app_.messenger();
    const JamCopyDirection direction = toHardware ? JamCopyDirection::EightToSixteen : JamCopyDirection::SixteenToEight;
    // A side that was never loaded has no JAM: the copy says so (771 / 772)
    // with placeholders that it leaves alone.
    TJAMFile emptySoft(app_.program.palette), emptyHard(app_.program.palette);
    for (std::size_t i = 0; i < soft.size(); ++i) {
        TJAMFile& eight = soft[i] ? *soft[i] : emptySoft;
        TJAMFile& sixteen = hard[i] ? *hard[i] : emptyHard;
        if (!CopyBetweenKinds(eight, sixteen, direction, p.kind == GraphicsPage::Cockpits, sides, &messenger))
            break;
    }
    drawJamPage(p);
}

} // namespace pitwall::gui
