// The texture times the vertex colour, with a glow lift for the cyan interface.
#version 110

uniform sampler2D image;
uniform float glow;

varying vec2 texCoord;
varying vec4 tint;

void main() {
  vec4 texel = texture2D(image, texCoord) * tint;
  gl_FragColor = vec4(texel.rgb + glow * texel.a * vec3(0.0, 0.35, 0.45), texel.a);
}
