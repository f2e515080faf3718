#include "transfer/ProgramRestorePoints.h"

namespace pitwall {

RestorePoints ProgramRestorePoints(const ProgramState& program, const std::string& gameDirectory)
{
    RestorePoints points(program.restorePointRoot.empty() ? DefaultRestorePointRoot() : program.restorePointRoot,
                         gameDirectory, program.settings.restorePointsKept, program.settings.restorePointsMB);
    points.setWriter(program.writer);
    return points;
}

} // namespace pitwall
