#pragma once

#include "world/entity.h"

// The player's ship: steered by the keyboard, moved first in every tick.
class fighter : public entity {
  public:
    fighter() = default;

    void move();
    void draw(); // the model, defined in assets/models.cpp
};
