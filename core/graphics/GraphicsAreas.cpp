#include "graphics/GraphicsAreas.h"

#include "transfer/TransferEngine.h"

namespace pitwall {

GraphicsAreas::GraphicsAreas(GraphicsSet& set)
    : cars_(JamGroup::CarLiveries, set),
      cockpits_(JamGroup::CockpitLiveries, set),
      jacks_(JamGroup::Jacks, set),
      helmets_(JamGroup::Helmets, set),
      carNumbers_(set.carNumbers),
      pitCrew_(set),
      tyres_(set),
      flags_(set)
{
    cars_.setPrecheck(&artPrecheck);
}

void GraphicsAreas::registerWith(TransferEngine& engine)
{
    engine.registerArea(AreaId::CarLiveries, cars_);
    engine.registerArea(AreaId::CarNumbers, carNumbers_);
    engine.registerArea(AreaId::CockpitLiveries, cockpits_);
    engine.registerArea(AreaId::PitCrew, pitCrew_);
    engine.registerArea(AreaId::Jacks, jacks_);
    engine.registerArea(AreaId::Helmets, helmets_);
    engine.registerArea(AreaId::Tyres, tyres_);
    engine.registerArea(AreaId::FlagColours, flags_);
}

} // namespace pitwall
