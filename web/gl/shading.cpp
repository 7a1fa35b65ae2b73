#include "web/gl/shading.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace fixedgl {

namespace {

float clamp01(double value) {
    return static_cast<float>(std::clamp(value, 0.0, 1.0));
}

} // namespace

colour litColour(const lightState& light, const material& surface, const vec3& normal,
                 const vec3& vertex) {
    std::array<double, 3> sum{};
    for (int i = 0; i < 3; ++i) {
        sum[i] = static_cast<double>(light.sceneAmbient[i]) * surface.ambient[i];
    }
    if (light.on) {
        // A directional light (w 0) shines along its position; a positional one from it.
        vec3 toLight{light.position[0], light.position[1], light.position[2]};
        if (light.position[3] != 0.0) {
            for (int i = 0; i < 3; ++i) {
                toLight[i] = light.position[i] / light.position[3] - vertex[i];
            }
        }
        const double length =
            std::sqrt(toLight[0] * toLight[0] + toLight[1] * toLight[1] + toLight[2] * toLight[2]);
        double facing = 0.0;
        if (length > 0.0) {
            facing =
                (normal[0] * toLight[0] + normal[1] * toLight[1] + normal[2] * toLight[2]) / length;
        }
        facing = std::max(facing, 0.0);
        for (int i = 0; i < 3; ++i) {
            sum[i] += static_cast<double>(light.ambient[i]) * surface.ambient[i] +
                      facing * light.diffuse[i] * surface.diffuse[i];
        }
    }
    return {clamp01(sum[0]), clamp01(sum[1]), clamp01(sum[2]), clamp01(surface.diffuse[3])};
}

float linearFog(float start, float end, float eyeDistance) {
    if (end == start) {
        return eyeDistance < start ? 1.0f : 0.0f;
    }
    return clamp01((static_cast<double>(end) - eyeDistance) / (static_cast<double>(end) - start));
}

colour fogged(const colour& fragment, const colour& fog, float f) {
    colour out = fragment;
    for (int i = 0; i < 3; ++i) {
        out[i] = f * fragment[i] + (1.0f - f) * fog[i];
    }
    return out;
}

namespace {

// The same terms as litColour, per vertex. Colour material feeds both material colours from
// the vertex colour; a light at w 0 is directional.
constexpr const char* vertexBody = R"(
uniform mat4 modelview;
uniform mat4 projection;
uniform mat3 normalMatrix;
uniform bool lighting;
uniform bool lightOn;
uniform bool colourMaterial;
uniform bool normalise;
uniform vec4 sceneAmbient;
uniform vec4 lightAmbient;
uniform vec4 lightDiffuse;
uniform vec4 lightPosition;
uniform vec4 materialAmbient;
uniform vec4 materialDiffuse;
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec3 normal;
layout(location = 3) in vec2 texCoord;
SHADE out vec4 shade;
out vec2 texel;
out float eyeDistance;
void main() {
    vec4 eye = modelview * vec4(position, 1.0);
    gl_Position = projection * eye;
    texel = texCoord;
    eyeDistance = abs(eye.z / eye.w);
    if (!lighting) {
        shade = colour;
        return;
    }
    vec4 ambient = colourMaterial ? colour : materialAmbient;
    vec4 diffuse = colourMaterial ? colour : materialDiffuse;
    vec3 n = normalMatrix * normal;
    if (normalise) {
        n = normalize(n);
    }
    vec3 sum = sceneAmbient.rgb * ambient.rgb;
    if (lightOn) {
        vec3 toLight = lightPosition.w != 0.0 ? lightPosition.xyz / lightPosition.w - eye.xyz / eye.w
                                               : lightPosition.xyz;
        float facing = length(toLight) > 0.0 ? max(dot(n, normalize(toLight)), 0.0) : 0.0;
        sum += lightAmbient.rgb * ambient.rgb + facing * lightDiffuse.rgb * diffuse.rgb;
    }
    shade = clamp(vec4(sum, diffuse.a), 0.0, 1.0);
}
)";

// GL_MODULATE of an RGB texture keeps the colour's alpha; a bitmap draws its colour where its
// coverage is set and nothing elsewhere.
constexpr const char* fragmentBody = R"(
uniform bool texturing;
uniform bool bitmap;
uniform sampler2D image;
uniform bool fog;
uniform float fogStart;
uniform float fogEnd;
uniform vec4 fogColour;
SHADE in vec4 shade;
in vec2 texel;
in float eyeDistance;
out vec4 fragment;
void main() {
    vec4 c = shade;
    if (bitmap) {
        if (texture(image, texel).r < 0.5) {
            discard;
        }
    } else if (texturing) {
        c = vec4(c.rgb * texture(image, texel).rgb, c.a);
    }
    if (fog) {
        float f = fogEnd == fogStart ? (eyeDistance < fogStart ? 1.0 : 0.0)
                                     : clamp((fogEnd - eyeDistance) / (fogEnd - fogStart), 0.0, 1.0);
        c = vec4(mix(fogColour.rgb, c.rgb, f), c.a);
    }
    fragment = c;
}
)";

} // namespace

const char* vertexShader(bool flat) {
    static const std::string smoothSource =
        std::string("#version 300 es\n#define SHADE\n") + vertexBody;
    static const std::string flatSource =
        std::string("#version 300 es\n#define SHADE flat\n") + vertexBody;
    return flat ? flatSource.c_str() : smoothSource.c_str();
}

const char* fragmentShader(bool flat) {
    static const std::string smoothSource =
        std::string("#version 300 es\nprecision highp float;\n#define SHADE\n") + fragmentBody;
    static const std::string flatSource =
        std::string("#version 300 es\nprecision highp float;\n#define SHADE flat\n") + fragmentBody;
    return flat ? flatSource.c_str() : smoothSource.c_str();
}

} // namespace fixedgl
