#include "regions/evolutiontable.h"

#include <algorithm>

bool isLevelReadSkipSpecies(int species)
{
    return std::find(LevelReadSkipSpecies.begin(), LevelReadSkipSpecies.end(), species)
        != LevelReadSkipSpecies.end();
}
