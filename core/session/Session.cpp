#include "session/Session.h"

#include "teams/TeamDefaults.h"

namespace pitwall {

Session::Session(ProgramState& programState)
    : program(programState),
      engine(programState, workingSet.transfer, workingSet.carsetInfo),
      teamsArea_(workingSet.teams),
      settingsAreas_(workingSet.settings),
      languagesArea_(workingSet.gameTexts),
      tracksArea_(workingSet.tracks, workingSet.gameTexts,
                  [this](TransferContext& context) { languagesArea_.importAllLanguages(context); }),
      menuBackgroundsArea_(workingSet.menuBackgrounds),
      cockpitArea_(workingSet.cockpit, program.palette),
      soundsArea_(workingSet.sounds),
      teamArtArea_(workingSet.teamArt, workingSet.menuBackgrounds),
      graphicsAreas_(workingSet.graphics)
{
    ResetTeamsDrivers(workingSet.teams, program.texts);
    // The track names live in the language lists: a track import reads the
    // languages first, and a language import copies the names into the
    // track records.
    languagesArea_.afterImport = [this](TransferContext& context) { tracksArea_.takeTrackTexts(context.transfer); };
    // Item 5 writes the entries of the menu backgrounds in the export list.
    graphicsAreas_.artPrecheck.menuBackgrounds = &workingSet.menuBackgrounds;
    // Only the pictures an export changes need room in the art bank.
    graphicsAreas_.artPrecheck.entriesThatChange = [this](TransferContext& context) {
        return teamArtArea_.entriesTheExportChanges(context);
    };
    // Every area of the game's transfer steps, by its place in the steps.
    engine.registerArea(AreaId::Teams, teamsArea_);
    engine.registerArea(AreaId::Points, settingsAreas_.points);
    engine.registerArea(AreaId::Aids, settingsAreas_.aids);
    engine.registerArea(AreaId::Misc, settingsAreas_.misc);
    engine.registerArea(AreaId::Damage, settingsAreas_.damage);
    engine.registerArea(AreaId::Display, settingsAreas_.display);
    engine.registerArea(AreaId::Cameras, settingsAreas_.cameras);
    engine.registerArea(AreaId::Texts, languagesArea_);
    engine.registerArea(AreaId::Tracks, tracksArea_);
    engine.registerArea(AreaId::MenuBackgrounds, menuBackgroundsArea_);
    engine.registerArea(AreaId::Cockpit, cockpitArea_);
    engine.registerArea(AreaId::Sounds, soundsArea_);
    engine.registerArea(AreaId::TeamArt, teamArtArea_);
    engine.registerArea(AreaId::LoadingPictures, loadingPicturesArea_);
    graphicsAreas_.registerWith(engine);
    edits.reset(workingSet);
}

} // namespace pitwall
