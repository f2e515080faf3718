#pragma once
// .PER files: teams and drivers as a Windows INI file that players swap.
// Each section is one field, its keys are driver indexes "0".."21" or team
// slots "0".."10":
//
//   [NBR] [Name] [QP] [RP] [QA] [RA]   per driver
//   [TNAME] [TENG] [TFAIL] [TQP] [TRP] per team
//   [TNBR]                             keys "22".."33" holding 0..11, fixed
//
// Tyre types, pit positions and the selected marks are not part of it.

#include "teams/TeamTable.h"

#include <string>

namespace pitwall {

// Writes every key, driver by driver (NBR, Name, QP, RP, QA, RA), then team
// by team (TNAME, TENG, TFAIL, TQP, TRP), then TNBR. An existing file is
// updated key by key: its other lines stay. Throws std::runtime_error when the
// file cannot be written.
void SavePerFile(const TeamTable& table, const std::string& path);

// Returns false and leaves the table alone when the file does not exist or
// cannot be read; throws std::runtime_error, the table again untouched, for a
// file far larger than any .PER file or one without any of its sections (TNBR
// alone does not count: it is not read). A missing key reads as 0 or an empty
// name; numbers are cut to their field (low byte of a car number, low 16 bits
// otherwise), names to 24 or 13 characters.
bool LoadPerFile(TeamTable& table, const std::string& path);

} // namespace pitwall
