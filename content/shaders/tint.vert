// Fixed-function equivalent for textured, coloured quads.
#version 110

varying vec2 texCoord;
varying vec4 tint;

void main() {
  texCoord = gl_MultiTexCoord0.xy;
  tint = gl_Color;
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
