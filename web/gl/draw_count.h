#pragma once

// WebGL draw calls made by the browser's OpenGL, for the benchmark's figure per frame.
namespace fixedgl {

void countDrawCall();
// The calls since the last time it was asked.
int takeDrawCalls();

} // namespace fixedgl
