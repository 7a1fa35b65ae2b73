#pragma once

// Headings are kept in degrees. Conversions are done in double with this pi and stored
// back as float, so every object turns by exactly the same amounts.
constexpr double pi = 3.141592653589793;

float toRadians(float degrees);
float toDegrees(float radians);
