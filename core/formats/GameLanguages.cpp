#include "formats/GameLanguages.h"

#include "base/Windows1252.h"
#include "formats/GameInstallation.h"

namespace pitwall {

namespace {

// Strings per language file: v1.00 (the last three languages do not exist
// there) and both v1.13 builds.
constexpr int kCounts100[kLanguageCount] = {2702, 2694, 2702, 2702, 2701, 0, 0, 0};
constexpr int kCounts113[kLanguageCount] = {2843, 2835, 2843, 2843, 2842, 2835, 2833, 2842};

constexpr int kTrackTextBase[kTrackTextBlocks][kLanguageCount] = {
    {1789, 1781, 1789, 1789, 1789, 1781, 1779, 1788}, {1805, 1797, 1805, 1805, 1805, 1797, 1795, 1804},
    {1821, 1813, 1821, 1821, 1821, 1813, 1811, 1820}, {1837, 1829, 1837, 1837, 1837, 1829, 1827, 1836},
    {1853, 1845, 1853, 1853, 1853, 1845, 1843, 1852}, {1869, 1861, 1869, 1869, 1869, 1861, 1859, 1868},
    {1885, 1877, 1901, 1901, 1901, 1877, 1875, 1900},
};

bool ValidLanguage(int language) { return language >= 0 && language < kLanguageCount; }

} // namespace

int LanguagesOfVersion(int gameVersion)
{
    switch (gameVersion) {
    case kVersion100:
        return 5;
    case kVersion113:
    case kVersion113Video:
        return 8;
    default:
        return 1;
    }
}

bool LanguagePresent(int language, int gameVersion)
{
    return language >= 0 && language < LanguagesOfVersion(gameVersion);
}

std::string LanguageNameUtf8(int language)
{
    return ValidLanguage(language) ? Windows1252ToUtf8(kLanguageNames[static_cast<std::size_t>(language)]) : "";
}

std::string LanguageFileGamePath(int language) { return "LDATA\\" + LanguageNameUtf8(language) + ".str"; }

int LanguageIndexOf(const std::string& name)
{
    std::string bytes = Utf8ToWindows1252(name);
    for (int i = 0; i < kLanguageCount; ++i) {
        const char* n = kLanguageNames[static_cast<std::size_t>(i)];
        if (EqualsIgnoreCase(bytes, n) || EqualsIgnoreCase(name, n))
            return i;
    }
    return -1;
}

int ExpectedStringCount(int language, int gameVersion)
{
    if (!ValidLanguage(language))
        return 0;
    switch (gameVersion) {
    case kVersion100:
        return kCounts100[language];
    case kVersion113:
    case kVersion113Video:
        return kCounts113[language];
    default:
        return 0;
    }
}

bool StringCountFits(int language, int gameVersion, std::size_t count)
{
    int expected = ExpectedStringCount(language, gameVersion);
    return expected != 0 && static_cast<std::size_t>(expected) == count;
}

int VersionOfStringCount(int language, std::size_t count)
{
    for (int v : {kVersion100, kVersion113, kVersion113Video})
        if (StringCountFits(language, v, count))
            return v;
    return kUnknownVersion;
}

int TrackTextNumber(int block, int language, int track)
{
    if (block < 0 || block >= kTrackTextBlocks || !ValidLanguage(language))
        return -1;
    return kTrackTextBase[block][language] + track;
}

} // namespace pitwall
