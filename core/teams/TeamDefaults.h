#pragma once
// The neutral teams and drivers the program starts with, before anything is
// imported or loaded.

#include "teams/TeamTable.h"

namespace pitwall {

class UITexts;

// For every team slot t: team name UI text 2 with t, engine name UI text 740
// with t, driver names UI text 127 with 2t and 2t + 1; QP = RP = 16000,
// QA = RA = 300, car numbers 2t + 1 and 2t + 2, nobody selected; TFAIL 5000,
// TQP 780, TRP 770, Goodyear tyres, pit position t. Every other byte is zero.
void ResetTeamsDrivers(TeamTable& table, const UITexts& texts);

} // namespace pitwall
