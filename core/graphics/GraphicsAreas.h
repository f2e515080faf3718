#pragma once
// Every data area of the team graphics, registered at their places in the
// transfer steps.

#include "graphics/CarNumbersArea.h"
#include "graphics/FlagColoursArea.h"
#include "graphics/PitCrewArea.h"
#include "graphics/TeamJamsArea.h"
#include "graphics/TyresArea.h"

namespace pitwall {

class TransferEngine;

class GraphicsAreas {
public:
    explicit GraphicsAreas(GraphicsSet& set);
    void registerWith(TransferEngine& engine);

    // The art-bank check before every export; the front end sets its
    // expansion handler and the menu backgrounds in use.
    ArtPrecheck artPrecheck;

private:
    TeamJamsArea cars_, cockpits_, jacks_, helmets_;
    CarNumbersArea carNumbers_;
    PitCrewArea pitCrew_;
    TyresArea tyres_;
    FlagColoursArea flags_;
};

} // namespace pitwall
