#include "cli/ResultRows.h"

std::string GameTypeText(std::int32_t gameType)
{
    switch (gameType) {
    case 5:
        return "MP - Objective";
    case 6:
        return "SW - Stopwatch";
    case 7:
        return "CP - Checkpoint";
    default:
        return std::to_string(gameType) + "?";
    }
}

const char* YesNo(bool value)
{
    return value ? "yes" : "no";
}
