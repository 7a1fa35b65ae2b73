#pragma once

// Shared by the files of the benchmark program.

// Puts the world back to its start: the player at rest at the origin, the AI ships where
// initScene places them, every projectile slot free. Touches no OpenGL.
void resetWorld();

// Benchmark names, which the closing summary looks up.
namespace benchName {
constexpr const char* renderFrame = "renderFrame";
constexpr const char* clearAndSwap = "floor/clear and swap";
constexpr const char* groundInView = "floor/ground in view";
constexpr const char* fixedWork = "floor/fixed work";
constexpr const char* stepWorld = "stepWorld/30 bullets, 10 missiles";
constexpr const char* advances = "floor/53 advance calls";
constexpr const char* paced = "paced game/10 s";
} // namespace benchName
