#include "cockpit/CockpitNames.h"

#include "base/Windows1252.h"

namespace pitwall {

const std::array<std::string_view, kLcdScreenCount> kLcdScreenNames = {
    "JACKED_UP_TYRE_CHOICE_TEXT", "JACKED_UP_TYRE_TYPE_TEXT", "JACKED_UP_RACETYRE_TYPE_TEXT",
    "JACKED_UP_FUEL_CHOICE_TEXT", "JACKED_UP_ACCTIME_TEXT", "JACKED_UP_MAIN_PRACTISE_TEXT", "JACKED_UP_MAIN_QUAL_TEXT",
    "JACKED_UP_MAIN_RACE_TEXT", "DRIVING_PRACTISE_TEXT", "DRIVING_QUAL_TEXT", "DRIVING_RACE_TEXT", "BEST_TEXT",
    "SPLIT_TEXT", "PRESS_FIRE_TEXT", "CLEAR_FIRE_TEXT", "LCD_WIPE_LINEC_TEXT", "NEW_LAP_MESSAGE_TEXT",
    "SUSPENSION_FAILURE_TEXT", "LOOSE_WHEEL_TEXT", "PUNCTURES_TEXT", "ENGINE_PROBLEM_TEXT", "TRANSMISSION_PROBLEM_TEXT",
    "OIL_LEAK_TEXT", "THROTTLE_PROBLEM_TEXT", "ELECTRICAL_PROBLEM_TEXT", "WATER_LEAK_TEXT", "BRAKE_PROBLEM_TEXT",
    "WORN_TYRES_TEXT", "MUST_COME_IN_NOW_TEXT", "DISQUALIFIED_TEXT", "FUEL_LOW_TEXT", "LAPS_TO_GO_TEXT",
    // Messages of the race director.
    "MESS_MISMATCH", "MESS_OCCUPY", "MESS_MINSCARS", "MESS_MINSCARS1", "MESS_TLEFT", "MESS_QHEAD", "MESS_QHEAD1",
    "MESS_QHEAD2", "MESS_RIDINGWITH", "MESS_RACE_WON", "MESS_VIEW", "MESS_IS_OUT", "MESS_FASTLAP", "MESS_LAPS",
    "MESS_LAP", "MESS_INPITS", "MESS_RACE_TIME",
    // Texts shown over the picture, outside the cockpit.
    "SKYMESS_PAUSED", "SKYMESS_RACEOVER", "SKYMESS_QUAL_OVER", "SKYMESS_FREE_OVER", "SKYMESS_PRE_OVER",
    "SKYMESS_AUTO_ON", "SKYMESS_AUTO", "SKYMESS_AUTO_OFF", "SKYMESS_ACCTIME", "SKYMESS_BLANK", "SKYMESS_PAUSE_REQ",
    "SKYMESS_WAIT_PAUSE", "SKYMESS_NETWORK_ESCAPE", "SKYMESS_NETWORK_WAITING"};

const std::array<std::string_view, kLcdHighlightCount> kLcdHighlightNames = {"HLIGHT_TYRE",
                                                                             "HLIGHT_RACETYRE",
                                                                             "HLIGHT_ACCTIME",
                                                                             "HLIGHT_AUTOMATIC_IN_SECONDS",
                                                                             "HLIGHT_CONTROL_IN_SECONDS",
                                                                             "HLIGHT_VDU_TIME_DIGITS",
                                                                             "HLIGHT_PREFERENCES"};

const std::array<std::string_view, kLcdPlaceholderCount> kLcdPlaceholderNames = {
    "lcdp_CAR_NUMBER",         "lcdp_NUMBER_OF_RUNNERS",
    "lcdp_NUMBER_OF_LAPS",     "lcdp_BEST_LAPTIME",
    "lcdp_SPLIT_LAPTIME",      "lcdp_FUEL_LAPS",
    "lcdp_NUMBER_OF_PITSTOPS", "lcdp_LAPTIME",
    "lcdp_TYRE_LAPS_DONE",     "lcdp_SESSION_TIME_REMAINING"};

const std::array<std::string_view, kLcdPlaceholderCount> kLcdPlaceholderSamples = {
    "00", "00", "000", "0:00.000", "0:00.000", "00", "0", "0:00.000", "00", "00.00"};

namespace {
template <std::size_t N>
int IndexIn(const std::array<std::string_view, N>& table, std::string_view name, int missing)
{
    for (std::size_t i = 0; i < N; ++i)
        if (EqualsIgnoreCase(table[i], name))
            return static_cast<int>(i);
    return missing;
}
} // namespace

int LcdScreenIndex(std::string_view name) { return IndexIn(kLcdScreenNames, name, -1); }
int LcdHighlightIndex(std::string_view name) { return IndexIn(kLcdHighlightNames, name, 0); }
int LcdPlaceholderIndex(std::string_view name) { return IndexIn(kLcdPlaceholderNames, name, 0); }

} // namespace pitwall
