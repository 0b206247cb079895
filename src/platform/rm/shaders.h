#pragma once

// The renderer's shaders. Matrices arrive as the layer keeps them (row
// vectors); read column by column they are their own transposes, so
// M * v here is v · M there.

namespace rm {

inline constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUv;
layout(location = 3) in vec4 aColor;

uniform mat4 uWorld;
uniform mat4 uViewProjection;
uniform bool uLit;
uniform vec3 uEye;
uniform vec3 uAmbientLight;
uniform int uLightCount;
uniform int uLightType[8];
uniform vec3 uLightColor[8];
uniform vec3 uLightPosition[8];
uniform vec3 uLightDirection[8];
uniform vec2 uLightCone[8];
uniform vec3 uEmissive;
uniform vec3 uSpecular;
uniform vec3 uMaterialAmbient;
uniform float uPower;

out vec2 vUv;
out vec3 vColor;
flat out vec3 vFlatColor;

void main() {
    vec4 world = uWorld * vec4(aPosition, 1.0);
    gl_Position = uViewProjection * world;
    vUv = aUv;
    vec3 color = aColor.rgb;
    if (uLit) {
        vec3 turned = mat3(uWorld) * aNormal;
        vec3 n = dot(turned, turned) > 1e-12 ? normalize(turned) : vec3(0.0);
        vec3 diffuse = uAmbientLight * uMaterialAmbient;
        vec3 specular = vec3(0.0);
        vec3 toEye = normalize(uEye - world.xyz);
        for (int i = 0; i < uLightCount; ++i) {
            vec3 l;
            float k = 1.0;
            if (uLightType[i] == 3) {
                l = -uLightDirection[i];
            } else {
                vec3 d = uLightPosition[i] - world.xyz;
                float distance = length(d);
                l = distance > 0.0 ? d / distance : vec3(0.0);
                if (uLightType[i] == 2)
                    k *= smoothstep(uLightCone[i].y, uLightCone[i].x, dot(-l, uLightDirection[i]));
            }
            float nl = max(dot(n, l), 0.0);
            diffuse += uLightColor[i] * nl * k;
            if (uPower > 0.0 && nl > 0.0)
                specular += uLightColor[i] * pow(max(dot(n, normalize(l + toEye)), 0.0), uPower) * k;
        }
        color = uEmissive + color * diffuse + uSpecular * specular;
    }
    vColor = color;
    vFlatColor = color;
}
)";

inline constexpr const char* kFragmentShader = R"(#version 330 core
in vec2 vUv;
in vec3 vColor;
flat in vec3 vFlatColor;
uniform bool uFlat;
uniform bool uTextured;
uniform sampler2D uTexture;
out vec4 fragColor;

void main() {
    vec3 color = uFlat ? vFlatColor : vColor;
    if (uTextured) {
        vec4 texel = texture(uTexture, vUv);
        if (texel.a < 0.5) discard;
        color *= texel.rgb;
    }
    fragColor = vec4(clamp(color, 0.0, 1.0), 1.0);
}
)";

}  // namespace rm
