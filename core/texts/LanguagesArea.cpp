#include "texts/LanguagesArea.h"

#include "app/GameInstallation.h"
#include "app/ProgramState.h"
#include "formats/StringFile.h"
#include "transfer/CarsetHeader.h"
#include "transfer/FileUtils.h"

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

bool LanguagesArea::importLanguage(TransferContext& context, int language)
{
    context.progress(kFirstLanguageProgressText + language, LanguageItem(language));
    std::string file = GameFilePath(context.program.settings.gameDirectory, LanguageFileGamePath(language));
    // Read into a copy: a missing, oversized or short file keeps the old list.
    std::vector<std::string> read;
    if (!FileExists(file)) {
        context.fail(349, Args(file));
        return false;
    }
    if (FileSizeOf(file) > kMaxStringFileBytes) {
        context.fail(738, {});
        return false;
    }
    read = ParseStringFile(ReadWholeFile(file, kMaxStringFileBytes));
    if (read.size() < kMinStringCount) {
        context.fail(766, {});
        return false;
    }
    ListOf(texts_, language) = std::move(read);
    context.markLoaded(LanguageItem(language));
    return true;
}

void LanguagesArea::importFromGame(TransferContext& context)
{
    bool any = false;
    for (int l = 0; l < LanguagesOfVersion(context.program.gameVersion); ++l) {
        if (!context.selected(LanguageItem(l)))
            continue;
        try {
            any = importLanguage(context, l) || any;
        } catch (const std::exception& e) {
            context.fail(e.what());
        }
    }
    if (any && afterImport)
        afterImport(context);
}

void LanguagesArea::importAllLanguages(TransferContext& context)
{
    // Added to what the run already selected: the other areas' items stay
    // selected, so a later step (the carset save) still carries them.
    for (int l = 0; l < LanguagesOfVersion(context.program.gameVersion); ++l)
        context.transfer.selection.at(static_cast<std::size_t>(LanguageItem(l))) = 1;
    importFromGame(context);
}

void LanguagesArea::exportLanguage(TransferContext& context, int language)
{
    const int item = LanguageItem(language);
    context.progress(kFirstLanguageProgressText + language, item);
    const std::vector<std::string>& list = ListOf(texts_, language);
    const int version = context.program.gameVersion;
    if (!StringCountFits(language, version, list.size())) {
        FormatArgs versions = Args(GameVersionName(VersionOfStringCount(language, list.size())),
                                   GameVersionName(version));
        if (!context.messenger.ask(kCountDoesNotFit, versions)) {
            // The user's No: nothing is written for this language, and the
            // run says so rather than reporting it done.
            if (context.failures)
                context.failures->push_back(
                    {item, context.program.texts.text(kFirstLanguageProgressText + language) + ": "
                               + std::to_string(list.size()) + " texts do not fit "
                               + GameVersionName(version) + "; not written"});
            return;
        }
    }
    RequireStringsFit(list);
    auto bytes = BuildStringFile(list);
    RequireStringFileFits(bytes);
    context.replaceGameFile(LanguageFileGamePath(language), std::move(bytes));
}

void LanguagesArea::exportToGame(TransferContext& context)
{
    // The track area may have selected languages itself while it put its
    // names into the lists; only what the working set holds is written.
    for (int l = 0; l < LanguagesOfVersion(context.program.gameVersion); ++l) {
        const int item = LanguageItem(l);
        if (!context.selected(item) || !context.transfer.isLoaded(item))
            continue;
        try {
            exportLanguage(context, l);
        } catch (const std::exception& e) {
            context.fail(e.what());
        }
    }
}

void LanguagesArea::loadFromCarset(TransferContext& context)
{
    for (int l = 0; l < kLanguageCount; ++l) {
        const int item = LanguageItem(l);
        if (!context.selected(item))
            continue;
        context.progress(kFirstLanguageProgressText + l, item);
        try {
            auto bytes = context.loadMember(LanguageMember(l), kMaxStringFileBytes);
            if (!bytes)
                continue;
            std::vector<std::string> read = ParseStringFile(*bytes);
            if (read.size() < kMinStringCount) {
                context.fail(LanguageMember(l) + " holds " + std::to_string(read.size())
                             + " texts; a language needs at least 2000");
                continue;
            }
            ListOf(texts_, l) = std::move(read);
            context.markLoaded(item);
        } catch (const std::exception& e) {
            context.fail(e.what());
        }
    }
}

void LanguagesArea::saveToCarset(TransferContext& context)
{
    for (int l = 0; l < kLanguageCount; ++l) {
        const int item = LanguageItem(l);
        if (!context.selected(item))
            continue;
        context.progress(kFirstLanguageProgressText + l, item);
        try {
            const std::vector<std::string>& list = ListOf(texts_, l);
            RequireStringsFit(list);
            auto bytes = BuildStringFile(list);
            RequireStringFileFits(bytes);
            context.saveMember(LanguageMember(l), bytes);
        } catch (const std::exception& e) {
            if (context.headerWrite)
                context.headerWrite->items.at(static_cast<std::size_t>(item)) = 0;
            context.fail(e.what());
        }
    }
}

} // namespace pitwall
