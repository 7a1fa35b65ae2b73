#include "world/fighter.h"

void fighter::move() {
    advance();
    decayBank();
}
