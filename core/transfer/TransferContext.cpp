#include "app/ProgramState.h"
#include "base/FileUtils.h"
#include "base/PrivateFile.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/DataArea.h"
#include "transfer/GameChangeSet.h"
#include "transfer/TransferUi.h"

namespace pitwall {

void TransferContext::markLoaded(int item) { transfer.loaded.at(static_cast<std::size_t>(item)) = 1; }

void TransferContext::progress(int text, int item)
{
    workOnItem(item);
    loading.setProgress(program.texts.text(text), ProgressWeight(item));
}

void TransferContext::progress(int text, int item, const FormatArgs& args)
{
    workOnItem(item);
    loading.setProgress(program.texts.format(text, args), ProgressWeight(item));
}

void TransferContext::workOnItem(int item)
{
    currentItem = item;
    itemsStarted.push_back(item);
    if (changes)
        changes->setItem(item);
}

void TransferContext::recordFailure(const std::string& text)
{
    if (failures)
        failures->push_back({currentItem, text});
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
    std::optional<std::vector<std::uint8_t>> bytes;
    if (source)
        bytes = source->extract(name, program.directories.working, maxBytes);
    if (!bytes)
        fail(349, Args(source ? source->memberLabel(name) : name));
    return bytes;
}

std::optional<std::vector<std::uint8_t>> TransferContext::loadRecord(const std::string& name, std::size_t recordSize)
{
    auto bytes = loadMember(name, recordSize + kMemberSlack);
    if (!bytes)
        return bytes;
    if (bytes->size() < recordSize) {
        fail((source ? source->memberLabel(name) : name) + " holds " + std::to_string(bytes->size())
             + " bytes; its record needs " + std::to_string(recordSize));
        return std::nullopt;
    }
    bytes->resize(recordSize);
    return bytes;
}

void TransferContext::saveMember(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    saveMember(name, std::vector<std::uint8_t>(bytes));
}

void TransferContext::saveMember(const std::string& name, std::vector<std::uint8_t>&& bytes)
{
    if (!target)
        throw CarsetError("No carset is being written");
    // Staged as a file first, as every member is, then added. A stale file
    // of that name is the program's own and goes (a link as a link); the
    // staged file is created exclusively, never through a link.
    std::string staged = program.directories.staging + name;
    try {
        stagedMember.write(staged, bytes);
    } catch (const PrivateFileError& e) {
        throw CarsetError("The staging directory could not be written while storing " + target->memberLabel(name) + ": "
                              + e.code().message(),
                          CarsetError::Kind::Unwritable);
    }
    target->addBytes(name, std::move(bytes));
}

} // namespace pitwall
