#include "tracks/TrackTexts.h"

#include "formats/GameLanguages.h"

namespace pitwall {

namespace {

bool LanguageLoaded(const TransferState& transfer, int language)
{
    return transfer.loaded[static_cast<std::size_t>(LanguageItem(language))] != 0;
}

} // namespace

void TakeTrackTexts(TrackTable& table, const GameTexts& texts, const TransferState& transfer,
                    const std::array<bool, kTrackCount>& slots)
{
    for (int l = 0; l < kLanguageCount; ++l) {
        if (!LanguageLoaded(transfer, l))
            continue;
        const auto& list = texts.languages[static_cast<std::size_t>(l)];
        for (int t = 0; t < kTrackCount; ++t) {
            if (!slots[static_cast<std::size_t>(t)])
                continue;
            for (int k = 0; k < kTrackTextKinds; ++k) {
                const auto n = static_cast<std::size_t>(TrackTextNumber(k, l, t));
                if (n < list.size())
                    table.info[static_cast<std::size_t>(t)]
                        .texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)] =
                        list[n].substr(0, kTrackTextLength);
            }
        }
    }
}

std::vector<int> PutTrackTexts(const TrackTable& table, GameTexts& texts, const TransferState& transfer,
                               const std::array<bool, kTrackCount>& slots)
{
    std::vector<int> languages;
    for (int l = 0; l < kLanguageCount; ++l) {
        if (!LanguageLoaded(transfer, l))
            continue;
        auto& list = texts.languages[static_cast<std::size_t>(l)];
        for (int t = 0; t < kTrackCount; ++t)
            for (int k = 0; k < kTrackTextKinds && slots[static_cast<std::size_t>(t)]; ++k) {
                const auto n = static_cast<std::size_t>(TrackTextNumber(k, l, t));
                if (n >= list.size())
                    continue;
                // A text the game holds longer than the record's 29
                // characters stays whole while the record still shows it.
                std::string text = table.info[static_cast<std::size_t>(t)]
                                       .texts[static_cast<std::size_t>(k)][static_cast<std::size_t>(l)]
                                       .text()
                                       .substr(0, kTrackTextLength);
                if (list[n].substr(0, kTrackTextLength) != text)
                    list[n] = text;
            }
        languages.push_back(l);
    }
    return languages;
}

} // namespace pitwall
