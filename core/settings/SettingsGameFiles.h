#pragma once
// Where and how the six setting areas live in the game files. GP3.EXE holds
// them at fixed positions per game version (both v1.13 builds share them);
// the quick-race laps are a byte of F1GSTATE.SAV. Reads fill a copy, so a
// short file leaves the record as it was; writes touch only the listed
// positions.

#include "settings/GameSettings.h"

namespace pitwall {

class GameFile;

// The game files of one run with the installation's version and savegame format.
struct SettingsFiles {
    GameFile& exe;
    GameFile& savegame;
    int gameVersion;
    int savegameFormat;
};

void ReadFromGame(PointsTable& record, const SettingsFiles& files);
void ReadFromGame(AidMasks& record, const SettingsFiles& files);
void ReadFromGame(MiscSettings& record, const SettingsFiles& files);
void ReadFromGame(DamageSettings& record, const SettingsFiles& files);
void ReadFromGame(VisibleCarDistances& record, const SettingsFiles& files);
void ReadFromGame(OnboardCameras& record, const SettingsFiles& files);

// The misc record throws GameFileError, before writing anything, when its pit-lane
// speed has no word in the game.
void WriteToGame(const PointsTable& record, const SettingsFiles& files);
void WriteToGame(const AidMasks& record, const SettingsFiles& files);
void WriteToGame(const MiscSettings& record, const SettingsFiles& files);
void WriteToGame(const DamageSettings& record, const SettingsFiles& files);
void WriteToGame(const VisibleCarDistances& record, const SettingsFiles& files);
void WriteToGame(const OnboardCameras& record, const SettingsFiles& files);

} // namespace pitwall
