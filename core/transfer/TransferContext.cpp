#include "app/ProgramState.h"
#include "transfer/CarsetArchive.h"
#include "transfer/DataArea.h"
#include "transfer/FileUtils.h"
#include "transfer/GameChangeSet.h"
#include "transfer/TransferUi.h"

namespace pitwall {

void TransferContext::markLoaded(int item) { transfer.loaded.at(static_cast<std::size_t>(item)) = 1; }

void TransferContext::progress(int text, int item)
{
    currentItem = item;
    if (changes)
        changes->setItem(item);
    loading.setProgress(program.texts.text(text), ProgressWeight(item));
}

void TransferContext::fail(const std::string& text)
{
    messenger.showFixed(text);
    if (failures)
        failures->push_back({currentItem, text});
}

void TransferContext::fail(int number, const FormatArgs& args)
{
    messenger.show(number, args);
    if (failures)
        failures->push_back({currentItem, program.texts.format(number, args)});
}

void TransferContext::replaceGameFile(const std::string& gameRelative, std::vector<std::uint8_t> bytes)
{
    if (!changes)
        throw GameFileError("No export is running to write " + gameRelative);
    changes->replaceFile(gameRelative, std::move(bytes));
}

std::optional<std::vector<std::uint8_t>> TransferContext::loadMember(const std::string& name, std::uint64_t maxBytes)
{
    const std::string& working = program.directories.working;
    std::string path = working + name;
    if (!source || !source->extract(name, working, maxBytes)) {
        fail(349, Args(name));
        return std::nullopt;
    }
    return ReadWholeFile(path, maxBytes);
}

void TransferContext::saveMember(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    if (!target)
        throw CarsetError("No carset is being written");
    // Staged as a file first, as every member is, then added and removed.
    std::string staged = program.directories.staging + name;
    WriteWholeFile(staged, bytes);
    target->addFile(staged);
    DeleteFileForced(staged);
}

} // namespace pitwall
