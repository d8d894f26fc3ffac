// Tints the pixels whose hue lies within "range" of testColor's hue with
// newColor's hue, keeping part of their own saturation and brightness; grey
// pixels and other hues pass through.
varying highp vec2 qt_TexCoord0;
uniform sampler2D source;
uniform lowp float qt_Opacity;
uniform highp vec4 newColor;
uniform highp vec4 testColor;
uniform highp float range;

highp vec3 rgb2hsv(highp vec3 c)
{
    highp vec4 k = vec4(0.0, -1.0 / 3.0, 2.0 / 3.0, -1.0);
    highp vec4 p = mix(vec4(c.bg, k.wz), vec4(c.gb, k.xy), step(c.b, c.g));
    highp vec4 q = mix(vec4(p.xyw, c.r), vec4(c.r, p.yzx), step(p.x, c.r));
    highp float d = q.x - min(q.w, q.y);
    highp float e = 1.0e-10;
    return vec3(abs(q.z + (q.w - q.y) / (6.0 * d + e)), d / (q.x + e), q.x);
}

highp vec3 hsv2rgb(highp vec3 c)
{
    highp vec4 k = vec4(1.0, 2.0 / 3.0, 1.0 / 3.0, 3.0);
    highp vec3 p = abs(fract(c.xxx + k.xyz) * 6.0 - k.www);
    return c.z * mix(k.xxx, clamp(p - k.xxx, 0.0, 1.0), c.y);
}

void main()
{
    highp vec4 c = texture2D(source, qt_TexCoord0);
    highp vec3 pixel = rgb2hsv(c.rgb);
    highp vec3 d = rgb2hsv(testColor.rgb) - pixel;
    // The distance round the hue circle, 0 to 0.5.
    highp float hueDifference = 0.5 - abs(abs(d.x) - 0.5);
    if (hueDifference <= range && pixel.y >= 0.025) {
        highp float distance = length(vec2(hueDifference * 6.2831853 * d.y, d.z));
        highp float gamma = clamp(2.0 * distance, 0.0, 1.0);
        highp vec3 tinted = rgb2hsv(newColor.rgb);
        tinted.y = mix(clamp(tinted.y - d.y, 0.0, 1.0), pixel.y, gamma);
        tinted.z = mix(clamp(tinted.z - d.z, 0.0, 1.0), pixel.z, gamma);
        gl_FragColor = qt_Opacity * vec4(hsv2rgb(tinted), c.a * newColor.a);
    } else {
        gl_FragColor = qt_Opacity * c;
    }
}
