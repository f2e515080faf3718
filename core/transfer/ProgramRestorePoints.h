#pragma once
// The restore points of an installation as the running program keeps them:
// its folder of points, its limits from the settings, and itself as the
// writer.

#include "app/ProgramState.h"
#include "transfer/RestorePoints.h"

#include <string>

namespace pitwall {

RestorePoints ProgramRestorePoints(const ProgramState& program, const std::string& gameDirectory);

} // namespace pitwall
