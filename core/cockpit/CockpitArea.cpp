#include "cockpit/CockpitArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "cockpit/ThreeDFile.h"
#include "formats/GameLanguages.h"
#include "formats/JamError.h"
#include "graphics/GraphicsTransfer.h"
#include "transfer/CarsetArchive.h"
#include "transfer/GameFile.h"
#include "transfer/SelectionItems.h"

namespace pitwall {

namespace {

constexpr int kObjectsProgressText = 241;
constexpr int kLcdTextsProgressText = 1025;
constexpr int kDisplaysProgressText = 359;
constexpr int kSoftwareProgressText = 910;
constexpr int kHardwareProgressText = 911;
// A cockpit JAM is a 256-pixel page of at most a few hundred rows.
constexpr std::uint64_t kCockpitJamMaxBytes = 8 * 1024 * 1024;

PlaceholderCaptions CaptionsOf(const ProgramState& program)
{
    PlaceholderCaptions captions;
    for (int i = 0; i < kLcdPlaceholderCount; ++i)
        captions[static_cast<std::size_t>(i)] = program.texts.text(kPlaceholderCaptionText + i);
    return captions;
}

std::string GamePathOf(const TransferContext& context, const std::string& relative)
{
    return ResolveGamePath(context.program.settings.gameDirectory, relative);
}

// A cockpit JAM of the game; what cannot be read is a failure naming it.
std::optional<std::vector<std::uint8_t>> ReadGameJam(TransferContext& context, const std::string& relative)
{
    const std::string path = GamePathOf(context, relative);
    if (!FileExists(path)) {
        context.fail(349, Args(path));
        return std::nullopt;
    }
    try {
        return ReadWholeFile(path, kCockpitJamMaxBytes);
    } catch (const std::exception& e) {
        context.fail(relative + ": " + e.what());
        return std::nullopt;
    }
}

AreaFile CockpitJamFile(int set, int slot) { return {CockpitJamGamePath(set, slot), CockpitJamMember(set, slot)}; }

} // namespace

std::string LcdDisplayMember(int language) { return "LCDDisplay" + std::to_string(language) + ".DAT"; }

std::string ThreeDGamePath(int language) { return "LDATA\\" + LanguageNameUtf8(language) + ".3D"; }

std::vector<int> CockpitArea::items() const
{
    std::vector<int> items = {kCockpitSoftwareItem, kCockpitHardwareItem, kCockpitObjectsItem, kLcdTextsItem};
    for (int l = 0; l < kLanguageCount; ++l)
        items.push_back(LcdDisplayItem(l));
    return items;
}

void CockpitArea::readGraphics(TransferContext& context, int set, const ByteSource& source)
{
    const int item = CockpitGraphicsItem(set);
    if (!context.selected(item))
        return;
    context.progress(set == 0 ? kSoftwareProgressText : kHardwareProgressText, item);
    std::vector<TJAMFile> jams;
    std::vector<std::vector<std::uint8_t>> files;
    for (int slot = 0; slot < kCockpitJamCount; ++slot) {
        const AreaFile file = CockpitJamFile(set, slot);
        auto bytes = source.fromCarset() ? source.read(file, kCockpitJamMaxBytes) : ReadGameJam(context, file.gamePath);
        if (!bytes)
            return;
        TJAMFile jam(palette_);
        try {
            jam.Decode(*bytes, false);
        } catch (const std::exception& e) {
            context.fail((source.fromCarset() ? context.source->memberLabel(file.member) : file.gamePath) + ": "
                         + e.what());
            return;
        }
        jams.push_back(std::move(jam));
        files.push_back(std::move(*bytes));
    }
    takeGraphics(set, std::move(jams), std::move(files));
    context.markLoaded(item);
}

void CockpitArea::takeGraphics(int set, std::vector<TJAMFile> jams, std::vector<std::vector<std::uint8_t>> files)
{
    auto& forms = readForms_[static_cast<std::size_t>(set)];
    for (std::size_t slot = 0; slot < forms.size() && slot < jams.size() && slot < files.size(); ++slot)
        forms[slot] = {std::move(files[slot]), jams[slot].page()};
    CockpitGraphicsSet& graphics = data_.graphics[static_cast<std::size_t>(set)];
    graphics.preview = ComposeCockpitPreview(jams);
    graphics.jams = std::move(jams);
}

void CockpitArea::writeGraphics(TransferContext& context, int set, const ByteSink& sink) const
{
    const int item = CockpitGraphicsItem(set);
    if (!context.selected(item))
        return;
    context.progress(set == 0 ? kSoftwareProgressText : kHardwareProgressText, item);
    const CockpitGraphicsSet& graphics = data_.graphics[static_cast<std::size_t>(set)];
    // A carset save passes over a set it does not hold; an export says so.
    if (!sink.toCarset() && !RequireLoaded(context, item))
        return;
    if (!graphics.loaded()) {
        if (!sink.toCarset())
            context.fail(ItemDescription(item, context.program.texts) + " holds no cockpit JAMs; nothing was written");
        return;
    }
    for (int slot = 0; slot < kCockpitJamCount; ++slot)
        sink.write(CockpitJamFile(set, slot), jamFile(set, slot));
}

std::vector<std::uint8_t> CockpitArea::jamFile(int set, int slot) const
{
    const TJAMFile& jam = data_.graphics[static_cast<std::size_t>(set)].jams.at(static_cast<std::size_t>(slot));
    const ReadForm& read = readForms_[static_cast<std::size_t>(set)][static_cast<std::size_t>(slot)];
    const bool unchanged = !read.original.empty() && read.page == jam.page();
    return unchanged ? read.original : JamBytes(jam, true);
}

void CockpitArea::importDisplay(TransferContext& context, int language)
{
    const int item = LcdDisplayItem(language);
    if (!context.selected(item) || !LanguagePresent(language, context.program.gameVersion))
        return;
    const std::string relative = ThreeDGamePath(language);
    const std::string path = GamePathOf(context, relative);
    // A language without its display file is left out without a message.
    if (!FileExists(path))
        return;
    context.progress(kDisplaysProgressText, item);
    try {
        auto& display = data_.displays[static_cast<std::size_t>(language)];
        display = ParseThreeD(ReadWholeFile(path, kThreeDMaxBytes), display, CaptionsOf(context.program), relative);
    } catch (const std::exception& e) {
        context.fail(e.what());
        return;
    }
    context.markLoaded(item);
}

void CockpitArea::importFromGame(TransferContext& context)
{
    const int version = context.program.gameVersion;
    const ByteSource game(context, ByteSource::From::Game);
    readGraphics(context, 0, game);
    readGraphics(context, 1, game);
    if (context.selected(kCockpitObjectsItem)) {
        context.progress(kObjectsProgressText, kCockpitObjectsItem);
        ReadCockpitObjects(data_.objects, *context.exe, version);
        context.markLoaded(kCockpitObjectsItem);
    }
    for (int l = 0; l < kLanguageCount; ++l)
        importDisplay(context, l);
    if (context.selected(kLcdTextsItem)) {
        context.progress(kLcdTextsProgressText, kLcdTextsItem);
        data_.lcdTexts = ReadLcdTexts(*context.exe, version);
        context.markLoaded(kLcdTextsItem);
    }
}

void CockpitArea::exportToGame(TransferContext& context)
{
    const int version = context.program.gameVersion;
    const ByteSink game(context, ByteSink::To::Game);
    writeGraphics(context, 0, game);
    writeGraphics(context, 1, game);
    if (context.selected(kCockpitObjectsItem)) {
        context.progress(kObjectsProgressText, kCockpitObjectsItem);
        WriteCockpitObjects(data_.objects, *context.exe, version);
    }
    if (context.selected(kLcdTextsItem)) {
        context.progress(kLcdTextsProgressText, kLcdTextsItem);
        WriteLcdTexts(data_.lcdTexts, *context.exe, version);
    }
    // Each selected language the game has is written on its own, whether or
    // not the first language is selected too.
    for (int l = 0; l < kLanguageCount; ++l) {
        const int item = LcdDisplayItem(l);
        if (!context.selected(item) || !LanguagePresent(l, version))
            continue;
        context.progress(kDisplaysProgressText, item);
        context.replaceGameFile(ThreeDGamePath(l), WriteThreeD(data_.displays[static_cast<std::size_t>(l)]));
    }
}

void CockpitArea::loadFromCarset(TransferContext& context)
{
    if (context.selected(kCockpitObjectsItem)) {
        context.progress(kObjectsProgressText, kCockpitObjectsItem);
        if (auto bytes = context.loadRecord(kCockpitObjectsMember, kCockpitObjectsImageSize)) {
            data_.objects = CockpitObjectsFromImage(*bytes);
            context.markLoaded(kCockpitObjectsItem);
        }
    }
    if (context.selected(kLcdTextsItem)) {
        context.progress(kLcdTextsProgressText, kLcdTextsItem);
        if (auto bytes = context.loadRecord(kLcdTextsMember, kLcdTextsImageSize)) {
            data_.lcdTexts = LcdTextsFromImage(*bytes);
            context.markLoaded(kLcdTextsItem);
        }
    }
    // Every selected language, also those this game version lacks: the
    // carset may come from another version.
    for (int l = 0; l < kLanguageCount; ++l) {
        const int item = LcdDisplayItem(l);
        if (!context.selected(item))
            continue;
        context.progress(kDisplaysProgressText, item);
        if (auto bytes = context.loadRecord(LcdDisplayMember(l), kLcdDisplaySize)) {
            LcdDisplay display = LcdDisplayFromImage(*bytes);
            if (auto bad = FirstUnwritableLcdElement(display)) {
                const std::string member = LcdDisplayMember(l);
                context.fail((context.source ? context.source->memberLabel(member) : member) + ": " + *bad);
                continue;
            }
            data_.displays[static_cast<std::size_t>(l)] = std::move(display);
            context.markLoaded(item);
        }
    }
    const ByteSource carset(context, ByteSource::From::Carset);
    readGraphics(context, 0, carset);
    readGraphics(context, 1, carset);
}

void CockpitArea::saveToCarset(TransferContext& context)
{
    if (context.selected(kCockpitObjectsItem)) {
        context.progress(kObjectsProgressText, kCockpitObjectsItem);
        context.saveMember(kCockpitObjectsMember, CockpitObjectsImage(data_.objects));
    }
    if (context.selected(kLcdTextsItem)) {
        context.progress(kLcdTextsProgressText, kLcdTextsItem);
        context.saveMember(kLcdTextsMember, LcdTextsImage(data_.lcdTexts));
    }
    for (int l = 0; l < kLanguageCount; ++l) {
        const int item = LcdDisplayItem(l);
        if (!context.selected(item))
            continue;
        context.progress(kDisplaysProgressText, item);
        context.saveMember(LcdDisplayMember(l), LcdDisplayImage(data_.displays[static_cast<std::size_t>(l)]));
    }
    const ByteSink carset(context, ByteSink::To::Carset);
    writeGraphics(context, 0, carset);
    writeGraphics(context, 1, carset);
}

} // namespace pitwall
