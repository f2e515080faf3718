#include "texts/LanguagesArea.h"

#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"
#include "formats/StringFile.h"
#include "transfer/CarsetHeader.h"

#include <stdexcept>

namespace pitwall {

namespace {

// The progress line of a language is UI text 699 + index.
constexpr int kFirstLanguageProgressText = 699;
constexpr int kCountDoesNotFit = 941;

std::vector<std::string>& ListOf(GameTexts& texts, int language)
{
    return texts.languages.at(static_cast<std::size_t>(language));
}

AreaFile LanguageFile(int language) { return {LanguageFileGamePath(language), LanguageMember(language)}; }

// A language's string file in the game; a missing or oversized one is a
// failure.
std::optional<std::vector<std::uint8_t>> ReadGameLanguage(TransferContext& context, int language)
{
    std::string file = GameFilePath(context.program.settings.gameDirectory, LanguageFileGamePath(language));
    if (!FileExists(file)) {
        context.fail(349, Args(file));
        return std::nullopt;
    }
    if (FileSizeOf(file) > kMaxStringFileBytes) {
        context.fail(738, {});
        return std::nullopt;
    }
    return ReadWholeFile(file, kMaxStringFileBytes);
}

} // namespace

std::string LanguageMember(int language) { return "Language" + std::to_string(language) + ".DAT"; }

void SelectAllLanguages(ItemBytes& selection, int gameVersion)
{
    selection.fill(0);
    for (int l = 0; l < LanguagesOfVersion(gameVersion); ++l)
        selection.at(static_cast<std::size_t>(LanguageItem(l))) = 1;
}

std::vector<int> LanguagesArea::items() const
{
    std::vector<int> all;
    for (int l = 0; l < kLanguageCount; ++l)
        all.push_back(LanguageItem(l));
    return all;
}

bool LanguagesArea::takeLanguage(TransferContext& context, int language, const ByteSource& source)
{
    context.progress(kFirstLanguageProgressText + language, LanguageItem(language));
    // Read into a copy: a missing, oversized or short file keeps the old list.
    auto bytes = source.fromCarset() ? source.read(LanguageFile(language), kMaxStringFileBytes)
                                     : ReadGameLanguage(context, language);
    if (!bytes)
        return false;
    std::vector<std::string> read = ParseStringFile(*bytes);
    if (read.size() < kMinStringCount) {
        if (source.fromCarset())
            context.fail(LanguageMember(language) + " holds " + std::to_string(read.size())
                         + " texts; a language needs at least 2000");
        else
            context.fail(766, {});
        return false;
    }
    ListOf(texts_, language) = std::move(read);
    context.markLoaded(LanguageItem(language));
    return true;
}

bool LanguagesArea::take(TransferContext& context, const ByteSource& source)
{
    // A carset load takes every selected language, also those this game
    // version lacks: the carset may come from another version.
    const int count = source.fromCarset() ? kLanguageCount : LanguagesOfVersion(context.program.gameVersion);
    bool any = false;
    for (int l = 0; l < count; ++l) {
        if (!context.selected(LanguageItem(l)))
            continue;
        try {
            any = takeLanguage(context, l, source) || any;
        } catch (const std::exception& e) {
            context.fail(e.what());
        }
    }
    return any;
}

void LanguagesArea::importFromGame(TransferContext& context)
{
    if (take(context, ByteSource(context, ByteSource::From::Game)) && afterImport)
        afterImport(context);
}

void LanguagesArea::loadFromCarset(TransferContext& context)
{
    take(context, ByteSource(context, ByteSource::From::Carset));
}

void LanguagesArea::importAllLanguages(TransferContext& context)
{
    // Added to what the run already selected: the other areas' items stay
    // selected, so a later step (the carset save) still carries them.
    for (int l = 0; l < LanguagesOfVersion(context.program.gameVersion); ++l)
        context.transfer.selection.at(static_cast<std::size_t>(LanguageItem(l))) = 1;
    importFromGame(context);
}

void LanguagesArea::giveLanguage(TransferContext& context, int language, const ByteSink& sink) const
{
    const int item = LanguageItem(language);
    context.progress(kFirstLanguageProgressText + language, item);
    const std::vector<std::string>& list = ListOf(texts_, language);
    const int version = context.program.gameVersion;
    if (!sink.toCarset() && !StringCountFits(language, version, list.size())) {
        FormatArgs versions =
            Args(GameVersionName(VersionOfStringCount(language, list.size())), GameVersionName(version));
        if (!context.messenger.ask(kCountDoesNotFit, versions)) {
            // The user's No: nothing is written for this language, and the
            // run says so rather than reporting it done.
            if (context.failures)
                context.failures->push_back({item,
                                             context.program.texts.text(kFirstLanguageProgressText + language) + ": "
                                                 + std::to_string(list.size()) + " texts do not fit "
                                                 + GameVersionName(version) + "; not written"});
            return;
        }
    }
    RequireStringsFit(list);
    auto bytes = BuildStringFile(list);
    RequireStringFileFits(bytes);
    sink.write(LanguageFile(language), std::move(bytes));
}

void LanguagesArea::give(TransferContext& context, const ByteSink& sink) const
{
    const int count = sink.toCarset() ? kLanguageCount : LanguagesOfVersion(context.program.gameVersion);
    for (int l = 0; l < count; ++l) {
        const int item = LanguageItem(l);
        if (!context.selected(item))
            continue;
        // The track area may have selected languages itself while it put its
        // names into the lists; only what the working set holds is written
        // into the game.
        if (!sink.toCarset() && !context.transfer.isLoaded(item))
            continue;
        try {
            giveLanguage(context, l, sink);
        } catch (const std::exception& e) {
            sink.leaveOut(item);
            context.fail(e.what());
        }
    }
}

void LanguagesArea::exportToGame(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Game)); }

void LanguagesArea::saveToCarset(TransferContext& context) { give(context, ByteSink(context, ByteSink::To::Carset)); }

} // namespace pitwall
