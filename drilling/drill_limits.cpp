#include "drilling/drill_limits.h"

namespace korvex {

const Text kDrillWordTooLong{"Soubor obsahuje slovo delší než 259 znaků, nebyl načten",
                             "The file holds a word longer than 259 characters; it was not loaded"};
const Text kDrillTooManyDrills{"Soubor definuje více než 256 vrtáků, nebyl načten",
                               "The file defines more than 256 drills; it was not loaded"};

}  // namespace korvex
