#include "world/angles.h"

float toRadians(float degrees) {
    return static_cast<float>(degrees * pi / 180.0);
}

float toDegrees(float radians) {
    return static_cast<float>(radians * 180.0 / pi);
}
