#include "TrackPicturePages.h"

#include "AppContext.h"
#include "DirectoryMaskChooser.h"
#include "ImageConversion.h"
#include "LanguageTable.h"
#include "MenuGraphicsPages.h"
#include "PictureDescription.h"
#include "TracksEditorWidgets.h"
#include "base/FileUtils.h"
#include "formats/Pictures.h"
#include "tracks/TrackPictureFiles.h"
#include "tracks/TrackPictures.h"
#include "tracks/TrackSections.h"
#include "tracks/TracksArea.h"
#include "transfer/ReportedFormats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <numeric>

namespace pitwall::gui {

using namespace tracks;

// The picture as the page shows it: zoomed down and scrolled, reporting
// where the pointer is in the picture's own coordinates.
class TrackPictureView : public QLabel {
public:
    explicit TrackPictureView(QWidget* parent) : QLabel(parent)
    {
        setObjectName("Image7");
        setMouseTracking(true);
        setFixedSize(500, 361);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setFrameShape(QFrame::Box);
    }
    std::function<void(int x, int y)> pointerMoved;
    int scale = 1;
    QPoint offset;

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (pointerMoved)
            pointerMoved(event->position().toPoint().x() * scale + offset.x(),
                         event->position().toPoint().y() * scale + offset.y());
        QLabel::mouseMoveEvent(event);
    }
};

namespace {

constexpr int kSaveFilterBmp = 944, kSaveFilterJpg = 946;
constexpr int kSectionUnderPointerText = 1068, kSectionLimitsText = 1087;
constexpr int kSavingSequenceText = 1009, kLoadingSequenceText = 1010;
constexpr int kOpenFilters[] = {176, 178, 881, 180};
constexpr int kPictureKindsText = 1064, kCornersText = 1086;
constexpr int kSectionLabelsText[3] = {1082, 1083, 1084};

constexpr TextBinding kPicturesTexts[] = {
    {"Button64", TextRole::Caption, 341}, {"Button63", TextRole::Caption, 342},  {"Button12", TextRole::Caption, 343},
    {"Button11", TextRole::Caption, 344}, {"CheckBox1", TextRole::Caption, 345}, {"GroupBox20", TextRole::Caption, 356},
    {"Label80", TextRole::Caption, 1063}, {"Label81", TextRole::Caption, 1065},  {"Label82", TextRole::Caption, 1067},
};

constexpr TextBinding kSectionsTexts[] = {
    {"Label90", TextRole::Caption, 1065},     {"ListView3", TextRole::Column, 1082, 0},
    {"ListView3", TextRole::Column, 1083, 1}, {"ListView3", TextRole::Column, 1084, 2},
    {"GroupBox50", TextRole::Caption, 1085},
};

} // namespace

TrackPicturesPage::TrackPicturesPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* viewColumn = new QGridLayout;
    picture_ = new TrackPictureView(this);
    KeepPictureDescribed(picture_, context_.app.program.texts);
    scrollX_ = new QScrollBar(Qt::Horizontal, this);
    scrollX_->setObjectName("ScrollBar1");
    scrollY_ = new QScrollBar(Qt::Vertical, this);
    scrollY_->setObjectName("ScrollBar2");
    viewColumn->addWidget(picture_, 0, 0);
    viewColumn->addWidget(scrollY_, 0, 1);
    viewColumn->addWidget(scrollX_, 1, 0);
    viewColumn->setRowStretch(2, 1);
    layout->addLayout(viewColumn);

    auto* controls = new QVBoxLayout;
    auto* grid = new QGridLayout;
    pictureKind_ = new QComboBox(this);
    pictureKind_->setObjectName("ComboBox2");
    pictureKind_->addItems({"Kleine Grafik", "Vollbildgrafik"});
    pictureView_ = new QComboBox(this);
    pictureView_->setObjectName("ComboBox3");
    pictureView_->addItems({"Ansicht 1", "Ansicht 2", "Ansicht 3", "Ansicht 4"});
    zoom_ = new QComboBox(this);
    zoom_->setObjectName("ComboBox4");
    zoom_->addItems({"1 x ", "1 / 2 x", "1 / 3 x"});
    grid->addWidget(Label(this, "Label80", "Art:"), 0, 0);
    grid->addWidget(pictureKind_, 0, 1);
    grid->addWidget(Label(this, "Label81", "Perspektive:"), 1, 0);
    grid->addWidget(pictureView_, 1, 1);
    grid->addWidget(Label(this, "Label82", "Zoomfaktor (Vollbildgrafik):"), 2, 0);
    grid->addWidget(zoom_, 2, 1);
    controls->addLayout(grid);
    markSections_ = new QCheckBox("Alle Streckenabschnitte markieren", this);
    markSections_->setObjectName("CheckBox1");
    controls->addWidget(markSections_);
    QPushButton* load = Button(this, "Button64", "Streckengrafik laden");
    QPushButton* save = Button(this, "Button63", "Streckengrafik speichern");
    QPushButton* loadAll = Button(this, "Button12", "Alle Streckengrafiken laden");
    QPushButton* saveAll = Button(this, "Button11", "Alle Streckengrafiken speichern");
    for (QPushButton* b : {load, save, loadAll, saveAll})
        controls->addWidget(b);
    auto* under = new QGroupBox("Informationen über Streckenabschnitt:", this);
    under->setObjectName("GroupBox20");
    auto* underLayout = new QVBoxLayout(under);
    sectionUnderPointer_ = Label(under, "Label83", "");
    sectionUnderPointer_->setWordWrap(true);
    sectionUnderPointer_->setMinimumHeight(50);
    underLayout->addWidget(sectionUnderPointer_);
    controls->addWidget(under);
    controls->addStretch();
    layout->addLayout(controls, 1);

    auto redraw = [this] {
        if (context_.busy)
            return;
        context_.state().pictureKind = pictureKind_->currentIndex();
        context_.state().pictureView = pictureView_->currentIndex();
        context_.state().zoom = zoom_->currentIndex();
        showSlot();
    };
    connect(pictureKind_, &QComboBox::currentIndexChanged, this, redraw);
    connect(pictureView_, &QComboBox::currentIndexChanged, this, redraw);
    connect(zoom_, &QComboBox::currentIndexChanged, this, redraw);
    connect(markSections_, &QCheckBox::toggled, this, redraw);
    connect(scrollX_, &QScrollBar::valueChanged, this, redraw);
    connect(scrollY_, &QScrollBar::valueChanged, this, redraw);
    picture_->pointerMoved = [this](int x, int y) { describeSectionAt(x, y); };

    const auto defaultName = [this] {
        const TracksEditorState& state = context_.state();
        return "Track" + std::to_string(state.slot) + "-" + std::to_string(state.pictureKind)
            + std::to_string(state.pictureView);
    };
    connect(load, &QPushButton::clicked, this, [this, defaultName] {
        auto name = context_.app.chooseFileToOpen(
            {"TrackImageOpen", defaultName(), {std::begin(kOpenFilters), std::end(kOpenFilters)}, 1});
        if (name)
            loadPicture(*name);
    });
    connect(save, &QPushButton::clicked, this, [this, defaultName] {
        auto name = context_.app.chooseFileToSave({"TrackSave", defaultName(), {kSaveFilterBmp, kSaveFilterJpg}, 1});
        if (!name || shownPicture_.isNull())
            return;
        Messenger messenger = context_.app.messenger();
        SavePicture(shownPicture_, *name, &messenger);
    });
    connect(loadAll, &QPushButton::clicked, this, [this] { transferAllPictures(true); });
    connect(saveAll, &QPushButton::clicked, this, [this] { transferAllPictures(false); });
}

void TrackPicturesPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kPicturesTexts, texts);
    SetEntries(pictureKind_, TextLinesOf(texts, kPictureKindsText));
    SetEntries(pictureView_, ViewEntries(texts));
}

// The eight pictures of the slot from or into files named by a pattern.
void TrackPicturesPage::transferAllPictures(bool loading)
{
    AppContext& app = context_.app;
    DirectoryMaskChooser chooser(app.program.texts, this);
    chooser.setMask("Track" + QString::number(context_.state().slot) + "-*.BMP");
    if (chooser.exec() != QDialog::Accepted || chooser.mask().isEmpty())
        return;
    Messenger messenger = app.messenger();
    const std::string directory = IncludeTrailingBackslash(chooser.directory().toStdString());
    const std::string mask = chooser.mask().toStdString();
    // Picture 4 x kind + view: the four small pictures, then the four
    // full-screen ones.
    std::vector<int> numbers(kTrackPictureKinds * kTrackViews);
    std::iota(numbers.begin(), numbers.end(), 0);
    const int slot = context_.state().slot;
    if (loading && !AnyFileOf(PictureSequence{directory, mask}, numbers, messenger))
        return;
    RunPictureSequence(this, app, loading ? kLoadingSequenceText : kSavingSequenceText, numbers, [&](int n) {
        const int kind = n / kTrackViews, view = n % kTrackViews;
        std::string name = mask;
        if (auto star = name.find('*'); star != std::string::npos)
            name.replace(star, 1, std::to_string(n));
        if (loading) {
            TakeTrackPicture(directory + name, app.program.directories.working, slot, kind, view, messenger);
        } else {
            Image image = LoadTrackPicture(app.program.settings.gameDirectory, app.program.directories.working, slot,
                                           kind, view, &messenger);
            if (!image.isNull())
                SavePicture(image, directory + name, &messenger);
        }
    });
    showSlot();
}

void TrackPicturesPage::loadPicture(const std::string& file)
{
    Messenger messenger = context_.app.messenger();
    const TracksEditorState& state = context_.state();
    TakeTrackPicture(file, context_.app.program.directories.working, state.slot, state.pictureKind, state.pictureView,
                     messenger);
    showSlot();
}

void TrackPicturesPage::showSlot()
{
    {
        QSignalBlocker a(pictureKind_), b(pictureView_), c(zoom_);
        pictureKind_->setCurrentIndex(std::clamp(context_.state().pictureKind, 0, 1));
        pictureView_->setCurrentIndex(std::clamp(context_.state().pictureView, 0, 3));
        zoom_->setCurrentIndex(std::clamp(context_.state().zoom, 0, 2));
    }
    AppContext& app = context_.app;
    const int slot = context_.shownSlot();
    const int kind = pictureKind_->currentIndex();
    shownPicture_ = app.workingSet().transfer.isLoaded(TrackSectionsItem(slot))
        ? LoadTrackPicture(app.program.settings.gameDirectory, app.program.directories.working, slot, kind,
                           pictureView_->currentIndex(), nullptr)
        : Image();
    // A picture of the wrong size is never drawn.
    if (!shownPicture_.isNull() && !TrackPictureSizeFits(kind, shownPicture_.width(), shownPicture_.height()))
        shownPicture_ = Image();
    if (shownPicture_.isNull()) {
        picture_->clear();
        return;
    }
    QImage image = ToQImage(shownPicture_);
    if (markSections_->isChecked()) {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::NoBrush);
        const TrackView& view = context_.table()
                                    .sections[static_cast<std::size_t>(slot)]
                                    .views[static_cast<std::size_t>(pictureView_->currentIndex())];
        for (int i = 0; i < view.count; ++i) {
            const TrackSection& s = view.sections[static_cast<std::size_t>(i)];
            painter.drawRect(QRect(QPoint(s.x1, s.y1), QPoint(s.x2, s.y2)));
        }
    }
    const int scale = kind == 1 ? zoom_->currentIndex() + 1 : 1;
    const QSize shown(image.width() / scale, image.height() / scale);
    QImage scaled = scale == 1 ? image : image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    {
        QSignalBlocker a(scrollX_), b(scrollY_);
        scrollX_->setRange(0, std::max(0, scaled.width() - picture_->width()));
        scrollY_->setRange(0, std::max(0, scaled.height() - picture_->height()));
    }
    picture_->scale = scale;
    picture_->offset = QPoint(scrollX_->value() * scale, scrollY_->value() * scale);
    picture_->setPixmap(
        QPixmap::fromImage(scaled.copy(scrollX_->value(), scrollY_->value(), picture_->width(), picture_->height())));
}

void TrackPicturesPage::describeSectionAt(int x, int y)
{
    const TrackView& view = context_.table()
                                .sections[static_cast<std::size_t>(context_.shownSlot())]
                                .views[static_cast<std::size_t>(pictureView_->currentIndex())];
    for (int i = 0; i < view.count; ++i) {
        const TrackSection& s = view.sections[static_cast<std::size_t>(i)];
        if (x >= std::min(s.x1, s.x2) && x <= std::max(s.x1, s.x2) && y >= std::min(s.y1, s.y2)
            && y <= std::max(s.y1, s.y2)) {
            // The label comes from the game file: no control characters of its own.
            const std::string label = ToGameText(FromUntrustedGameText(s.label.text()));
            sectionUnderPointer_->setText(
                TextLines(FromGameText(context_.app.program.texts.format(kSectionUnderPointerText,
                                                                         Args(label, int{s.gear}, int{s.speed}))))
                    .join('\n'));
            return;
        }
    }
    sectionUnderPointer_->clear();
}

TrackSectionsPage::TrackSectionsPage(TrackPageContext& context, QWidget* parent) : TrackPage(context, parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(Label(this, "Label90", "Perspektive:"));
    sectionsView_ = new QComboBox(this);
    sectionsView_->setObjectName("ComboBox5");
    sectionsView_->addItems({"Ansicht 1", "Ansicht 2", "Ansicht 3", "Ansicht 4"});
    top->addWidget(sectionsView_);
    top->addStretch();
    layout->addLayout(top);
    sections_ = new QTreeWidget(this);
    sections_->setObjectName("ListView3");
    sections_->setHeaderLabels({"Beschriftung", "Gang", "Geschwindigkeit", "X1", "Y1", "X2", "Y2"});
    sections_->setRootIsDecorated(false);
    sections_->setColumnWidth(0, 200);
    layout->addWidget(sections_, 1);

    auto* edit = new QGroupBox("Streckenabschnitt editieren", this);
    edit->setObjectName("GroupBox50");
    sectionEdit_ = edit;
    auto* grid = new QGridLayout(edit);
    sectionName_ = Edit(edit, "Edit50", 20);
    const char* names[4] = {"SpinEdit50", "SpinEdit51", "SpinEdit52", "SpinEdit53"};
    for (int i = 0; i < 4; ++i)
        sectionCorners_[static_cast<std::size_t>(i)] = NumberField(edit, names[i], 0, i % 2 == 0 ? 800 : 600);
    sectionGear_ = NumberField(edit, "SpinEdit54", 1, 6);
    sectionSpeed_ = NumberField(edit, "SpinEdit55", 0, 255);
    sectionSpeed_->setSuffix(" mph");
    grid->addWidget(Label(edit, "Label170", "Name:"), 0, 0);
    grid->addWidget(sectionName_, 0, 1, 1, 3);
    grid->addWidget(Label(edit, "Label173", "Links / Oben:"), 1, 0);
    grid->addWidget(sectionCorners_[0], 1, 1);
    grid->addWidget(sectionCorners_[1], 1, 2);
    grid->addWidget(Label(edit, "Label174", "Rechts / Unten:"), 2, 0);
    grid->addWidget(sectionCorners_[2], 2, 1);
    grid->addWidget(sectionCorners_[3], 2, 2);
    grid->addWidget(Label(edit, "Label171", "Gang:"), 3, 0);
    grid->addWidget(sectionGear_, 3, 1);
    grid->addWidget(Label(edit, "Label172", "Geschwindigkeit:"), 3, 2);
    grid->addWidget(sectionSpeed_, 3, 3);
    layout->addWidget(edit);
    sectionCount_ = Label(this, "Label91", "");
    sectionChars_ = Label(this, "Label92", "");
    layout->addWidget(sectionCount_);
    layout->addWidget(sectionChars_);

    connect(sectionsView_, &QComboBox::currentIndexChanged, this, [this](int view) {
        if (context_.busy || view < 0)
            return;
        storeSlot();
        context_.state().sectionsView = view;
        showSlot();
    });
    connect(sections_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (context_.busy || !item)
            return;
        storeSlot();
        showSection(sections_->indexOfTopLevelItem(item));
    });
    connect(sectionName_, &QLineEdit::textEdited, this, [this] { showSectionLimits(); });
}

// The room left for labels is reported in the language's words.
void TrackSectionsPage::applyLanguage(const UITexts& texts)
{
    ApplyTexts(this, kSectionsTexts, texts);
    SetEntries(sectionsView_, ViewEntries(texts));
    for (int i = 0; i < 3; ++i)
        SetCaption(this, QString("Label%1").arg(170 + i), FromGameText(texts.text(kSectionLabelsText[i])) + ":");
    const QStringList corners = TextLinesOf(texts, kCornersText);
    SetCaption(this, "Label173", corners.value(0));
    SetCaption(this, "Label174", corners.value(1));
    if (context_.shown >= 0)
        showSectionLimits();
}

void TrackSectionsPage::showSlot()
{
    {
        QSignalBlocker block(sectionsView_);
        sectionsView_->setCurrentIndex(std::clamp(context_.state().sectionsView, 0, 3));
    }
    QSignalBlocker block(sections_);
    sections_->clear();
    shownSection_ = -1;
    const TrackView& view = context_.table()
                                .sections[static_cast<std::size_t>(context_.shownSlot())]
                                .views[static_cast<std::size_t>(sectionsView_->currentIndex())];
    for (int i = 0; i < view.count; ++i) {
        const TrackSection& s = view.sections[static_cast<std::size_t>(i)];
        sections_->addTopLevelItem(new QTreeWidgetItem(
            {FromUntrustedGameText(s.label.text()), QString::number(s.gear), QString::number(s.speed),
             QString::number(s.x1), QString::number(s.y1), QString::number(s.x2), QString::number(s.y2)}));
    }
    for (int column = 1; column < sections_->columnCount(); ++column) {
        sections_->resizeColumnToContents(column);
        sections_->setColumnWidth(column, std::max(sections_->columnWidth(column), 56));
    }
    // Nothing chosen: the fields belong to no section.
    sectionName_->clear();
    for (QSpinBox* corner : sectionCorners_)
        ShowSpin(corner, 0);
    ShowSpin(sectionGear_, sectionGear_->minimum());
    ShowSpin(sectionSpeed_, 0);
    sectionEdit_->setEnabled(false);
    showSectionLimits();
}

void TrackSectionsPage::showSection(int index)
{
    const TrackView& view = context_.table()
                                .sections[static_cast<std::size_t>(context_.shownSlot())]
                                .views[static_cast<std::size_t>(sectionsView_->currentIndex())];
    if (index < 0 || index >= view.count)
        return;
    shownSection_ = index;
    sectionEdit_->setEnabled(true);
    const TrackSection& s = view.sections[static_cast<std::size_t>(index)];
    sectionName_->setText(FromUntrustedGameText(s.label.text()));
    const int corners[4] = {s.x1, s.y1, s.x2, s.y2};
    for (int i = 0; i < 4; ++i)
        ShowSpin(sectionCorners_[static_cast<std::size_t>(i)], corners[i]);
    ShowSpin(sectionGear_, s.gear);
    ShowSpin(sectionSpeed_, s.speed);
}

// The section the edit fields show.
void TrackSectionsPage::storeSlot()
{
    if (context_.busy || shownSection_ < 0 || context_.shown < 0)
        return;
    // The view the fields were filled from: when the view is switched, the
    // box already shows the new one.
    TrackView& view =
        context_.table()
            .sections[static_cast<std::size_t>(context_.shown)]
            .views[static_cast<std::size_t>(std::clamp(context_.state().sectionsView, 0, kTrackViews - 1))];
    if (shownSection_ >= view.count)
        return;
    TrackSection& s = view.sections[static_cast<std::size_t>(shownSection_)];
    StoreText(sectionName_, s.label, 20);
    StoreSpin(sectionCorners_[0], s.x1);
    StoreSpin(sectionCorners_[1], s.y1);
    StoreSpin(sectionCorners_[2], s.x2);
    StoreSpin(sectionCorners_[3], s.y2);
    StoreSpin(sectionGear_, s.gear);
    StoreSpin(sectionSpeed_, s.speed);
    if (QTreeWidgetItem* item = sections_->topLevelItem(shownSection_))
        item->setText(0, FromUntrustedGameText(s.label.text()));
}

void TrackSectionsPage::showSectionLimits()
{
    TrackView view = context_.table()
                         .sections[static_cast<std::size_t>(context_.shownSlot())]
                         .views[static_cast<std::size_t>(sectionsView_->currentIndex())];
    if (shownSection_ >= 0 && shownSection_ < view.count)
        view.sections[static_cast<std::size_t>(shownSection_)].label = ToGameText(sectionName_->text());
    const auto used = LabelLength(view);
    const QStringList lines = TextLines(FromGameText(context_.app.program.texts.format(
        kSectionLimitsText, Args(int{view.count}, kMaxSections, static_cast<int>(used), int{view.budget}))));
    sectionCount_->setText(lines.value(0));
    sectionChars_->setText(lines.value(1));
    sectionChars_->setStyleSheet(used > view.budget ? "color: #b00000;" : "");
}

} // namespace pitwall::gui
