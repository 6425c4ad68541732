// OpenGL for the browser: the OpenGL 1.1 and GLU calls the game makes, done over WebGL 1 (matrix
// stacks, client arrays streamed to buffers, one positional light lit per vertex, linear fog, the
// GL_MODULATE texture stage and the alpha test in one shader pair). Only the web build compiles it.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

// WebGL's own entry points, under the names Emscripten gives them beside the plain gl ones, which
// this module defines itself.
extern "C" {
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glClear(GLbitfield mask);
void emscripten_glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a);
void emscripten_glClearDepthf(GLclampf depth);
void emscripten_glViewport(GLint x, GLint y, GLsizei w, GLsizei h);
void emscripten_glDepthFunc(GLenum func);
void emscripten_glCullFace(GLenum mode);
void emscripten_glFrontFace(GLenum mode);
void emscripten_glBlendFunc(GLenum src, GLenum dst);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glGenTextures(GLsizei n, GLuint* names);
void emscripten_glBindTexture(GLenum target, GLuint name);
void emscripten_glTexParameteri(GLenum target, GLenum name, GLint value);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border,
                             GLenum format, GLenum type, const void* pixels);
void emscripten_glGenBuffers(GLsizei n, GLuint* names);
void emscripten_glBindBuffer(GLenum target, GLuint name);
void emscripten_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
void emscripten_glEnableVertexAttribArray(GLuint index);
void emscripten_glDisableVertexAttribArray(GLuint index);
void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                      const void* offset);
void emscripten_glVertexAttrib4f(GLuint index, GLfloat x, GLfloat y, GLfloat z, GLfloat w);
void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void emscripten_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* offset);
GLuint emscripten_glCreateShader(GLenum type);
void emscripten_glShaderSource(GLuint shader, GLsizei count, const char* const* text, const GLint* lengths);
void emscripten_glCompileShader(GLuint shader);
void emscripten_glGetShaderInfoLog(GLuint shader, GLsizei size, GLsizei* length, char* log);
GLuint emscripten_glCreateProgram();
void emscripten_glAttachShader(GLuint program, GLuint shader);
void emscripten_glBindAttribLocation(GLuint program, GLuint index, const char* name);
void emscripten_glLinkProgram(GLuint program);
void emscripten_glGetProgramiv(GLuint program, GLenum name, GLint* value);
void emscripten_glGetProgramInfoLog(GLuint program, GLsizei size, GLsizei* length, char* log);
void emscripten_glUseProgram(GLuint program);
GLint emscripten_glGetUniformLocation(GLuint program, const char* name);
void emscripten_glUniform1i(GLint location, GLint value);
void emscripten_glUniform1f(GLint location, GLfloat value);
void emscripten_glUniform3fv(GLint location, GLsizei count, const GLfloat* value);
void emscripten_glUniform4fv(GLint location, GLsizei count, const GLfloat* value);
void emscripten_glUniformMatrix3fv(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value);
void emscripten_glUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose, const GLfloat* value);
void emscripten_glGetFloatv(GLenum name, GLfloat* values);
}

static const GLenum GL_LINK_STATUS_VALUE = 0x8B82;
static const GLenum GL_VERTEX_SHADER_TYPE = 0x8B31;
static const GLenum GL_FRAGMENT_SHADER_TYPE = 0x8B30;
static const GLenum GL_ELEMENT_BUFFER = 0x8893;

static const int MATRIX_STACK_DEPTH = 32;  // OpenGL's least modelview depth; the game pushes one
static const int POSITION_ATTRIBUTE = 0;
static const int TEXCOORD_ATTRIBUTE = 1;
static const int NORMAL_ARRAY_ATTRIBUTE = 2;
static const int MAX_QUADS = 16384;  // quads in one glDrawArrays(GL_QUADS) call; the game draws one

// The default material and light model of OpenGL, which the game never changes (the shader holds
// the material diffuse (0.8, 0.8, 0.8, 1)).
static const float MATERIAL_AMBIENT[3] = {0.2f, 0.2f, 0.2f};
static const float SCENE_AMBIENT[3] = {0.2f, 0.2f, 0.2f};

// A 4 x 4 matrix in OpenGL's column order.
struct Matrix {
    float m[16];
};

// A client array as glVertexPointer and its kin name it.
struct ClientArray {
    bool enabled;
    int size;  // components a vertex
    int stride;  // bytes from one vertex to the next; 0 for packed
    const float* data;
};

static const Matrix IDENTITY = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

static Matrix modelviewStack[MATRIX_STACK_DEPTH] = {IDENTITY};  // [0..modelviewTop]
static int modelviewTop;
static Matrix projectionStack[2] = {IDENTITY};  // OpenGL's least projection depth
static int projectionTop;
static GLenum matrixMode = GL_MODELVIEW;  // the stack glLoadIdentity and its kin work on

static ClientArray vertexArray = {false, 4, 0, nullptr};
static ClientArray texCoordArray = {false, 4, 0, nullptr};
static ClientArray normalArray = {false, 3, 0, nullptr};

static bool texturing;  // GL_TEXTURE_2D
static bool lighting;   // GL_LIGHTING
static bool light0;     // GL_LIGHT0
static bool fog;        // GL_FOG
static bool alphaTest;  // GL_ALPHA_TEST
static GLuint boundTexture;  // texture 0 has no image, so it draws as if texturing were off

static float lightPosition[4] = {0, 0, 1, 0};  // in eye coordinates, as set
static float lightAmbient[4] = {0, 0, 0, 1};
static float lightDiffuse[4] = {1, 1, 1, 1};
static float lightSpecular[4] = {1, 1, 1, 1};  // kept only: the default material reflects none
static float lightAttenuation[3] = {1, 0, 0};  // constant, linear, quadratic

static float fogStart = 0.0f, fogEnd = 1.0f;
static float fogColour[4] = {0, 0, 0, 0};
static float alphaReference;  // fragments pass when their alpha is greater
static GLint unpackAlignment = 4;

static GLuint program;  // the one shader program, made at the first draw
static GLuint streamBuffers[3];  // one per attribute, refilled at each draw
static GLuint quadIndexBuffer;  // triangles (0 1 2) (0 2 3) for each quad
static bool stateDirty = true;  // something the uniforms carry changed since the last draw

// Uniform locations of the program.
static GLint uModelview, uProjection, uNormalMatrix, uLighting, uLightPosition, uLightAmbient, uLightDiffuse,
    uAttenuation, uSceneColour, uFog, uFogStart, uFogEnd, uFogColour, uTexturing, uAlphaTest, uAlphaReference;

static const char* VERTEX_SHADER = R"(
precision highp float;
attribute vec4 position;
attribute vec4 texCoord;
attribute vec3 normal;
uniform mat4 modelview;
uniform mat4 projection;
uniform mat3 normalMatrix;
uniform bool lighting;
uniform vec4 lightPosition;
uniform vec3 lightAmbient;
uniform vec3 lightDiffuse;
uniform vec3 attenuation;
uniform vec3 sceneColour;
varying vec4 colour;
varying vec2 st;
varying float fogDistance;
const vec3 MATERIAL_AMBIENT = vec3(0.2);
const vec4 MATERIAL_DIFFUSE = vec4(0.8, 0.8, 0.8, 1.0);
void main()
{
    vec4 eye = modelview * position;
    gl_Position = projection * eye;
    st = texCoord.st / texCoord.q;
    fogDistance = abs(eye.z / eye.w);
    colour = vec4(1.0);
    if (lighting) {
        // OpenGL's lighting for one light and no specular: the normal as transformed, not
        // normalised; the light vector and its distance from the light's position.
        vec3 n = normalMatrix * normal;
        vec3 toLight = lightPosition.xyz;
        float a = 1.0;
        if (lightPosition.w != 0.0) {
            toLight = lightPosition.xyz * eye.w - eye.xyz * lightPosition.w;
            float d = length(toLight);
            a = 1.0 / (attenuation.x + attenuation.y * d + attenuation.z * d * d);
        }
        float nDotL = max(dot(n, normalize(toLight)), 0.0);
        vec3 lit = sceneColour + a * (lightAmbient * MATERIAL_AMBIENT + nDotL * lightDiffuse * MATERIAL_DIFFUSE.rgb);
        colour = clamp(vec4(lit, MATERIAL_DIFFUSE.a), 0.0, 1.0);
    }
}
)";

static const char* FRAGMENT_SHADER = R"(
precision highp float;
uniform sampler2D image;
uniform bool texturing;
uniform bool fog;
uniform float fogStart;
uniform float fogEnd;
uniform vec3 fogColour;
uniform bool alphaTest;
uniform float alphaReference;
varying vec4 colour;
varying vec2 st;
varying float fogDistance;
void main()
{
    vec4 c = colour;
    if (texturing)
        c *= texture2D(image, st);
    if (fog) {
        float f = clamp((fogEnd - fogDistance) / (fogEnd - fogStart), 0.0, 1.0);
        c.rgb = mix(fogColour, c.rgb, f);
    }
    if (alphaTest && !(c.a > alphaReference))
        discard;
    gl_FragColor = c;
}
)";

static Matrix& CurrentMatrix()
{
    return matrixMode == GL_PROJECTION ? projectionStack[projectionTop] : modelviewStack[modelviewTop];
}

// current = current x m, in float as Mesa multiplies.
static void MultiplyCurrent(const Matrix& m)
{
    Matrix& c = CurrentMatrix();
    Matrix r;
    for (int row = 0; row < 4; row++) {
        for (int col = 0; col < 4; col++) {
            r.m[col * 4 + row] = c.m[row] * m.m[col * 4] + c.m[4 + row] * m.m[col * 4 + 1] +
                                 c.m[8 + row] * m.m[col * 4 + 2] + c.m[12 + row] * m.m[col * 4 + 3];
        }
    }
    c = r;
    stateDirty = true;
}

static void ShaderLog(GLuint shader, const char* what)
{
    char log[1024] = "";
    emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    if (log[0])
        fprintf(stderr, "cairnfold: the %s shader: %s\n", what, log);
}

static GLuint CompileShader(GLenum type, const char* text, const char* what)
{
    GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    ShaderLog(shader, what);
    return shader;
}

static void MakeProgram()
{
    program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, CompileShader(GL_VERTEX_SHADER_TYPE, VERTEX_SHADER, "vertex"));
    emscripten_glAttachShader(program, CompileShader(GL_FRAGMENT_SHADER_TYPE, FRAGMENT_SHADER, "fragment"));
    emscripten_glBindAttribLocation(program, POSITION_ATTRIBUTE, "position");
    emscripten_glBindAttribLocation(program, TEXCOORD_ATTRIBUTE, "texCoord");
    emscripten_glBindAttribLocation(program, NORMAL_ARRAY_ATTRIBUTE, "normal");
    emscripten_glLinkProgram(program);
    GLint linked = 0;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS_VALUE, &linked);
    if (!linked) {
        char log[1024] = "";
        emscripten_glGetProgramInfoLog(program, sizeof log, nullptr, log);
        fprintf(stderr, "cairnfold: the shader program does not link: %s\n", log);
    }
    emscripten_glUseProgram(program);
    uModelview = emscripten_glGetUniformLocation(program, "modelview");
    uProjection = emscripten_glGetUniformLocation(program, "projection");
    uNormalMatrix = emscripten_glGetUniformLocation(program, "normalMatrix");
    uLighting = emscripten_glGetUniformLocation(program, "lighting");
    uLightPosition = emscripten_glGetUniformLocation(program, "lightPosition");
    uLightAmbient = emscripten_glGetUniformLocation(program, "lightAmbient");
    uLightDiffuse = emscripten_glGetUniformLocation(program, "lightDiffuse");
    uAttenuation = emscripten_glGetUniformLocation(program, "attenuation");
    uSceneColour = emscripten_glGetUniformLocation(program, "sceneColour");
    uFog = emscripten_glGetUniformLocation(program, "fog");
    uFogStart = emscripten_glGetUniformLocation(program, "fogStart");
    uFogEnd = emscripten_glGetUniformLocation(program, "fogEnd");
    uFogColour = emscripten_glGetUniformLocation(program, "fogColour");
    uTexturing = emscripten_glGetUniformLocation(program, "texturing");
    uAlphaTest = emscripten_glGetUniformLocation(program, "alphaTest");
    uAlphaReference = emscripten_glGetUniformLocation(program, "alphaReference");
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "image"), 0);

    emscripten_glGenBuffers(3, streamBuffers);
    static unsigned short indices[MAX_QUADS * 6];
    for (int q = 0; q < MAX_QUADS; q++) {
        const unsigned short corner[6] = {0, 1, 2, 0, 2, 3};
        for (int k = 0; k < 6; k++)
            indices[q * 6 + k] = (unsigned short)(q * 4 + corner[k]);
    }
    emscripten_glGenBuffers(1, &quadIndexBuffer);
    emscripten_glBindBuffer(GL_ELEMENT_BUFFER, quadIndexBuffer);
    emscripten_glBufferData(GL_ELEMENT_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
}

// The upper left 3 x 3 of the modelview, inverted and transposed: what OpenGL turns normals with.
static void NormalMatrix(const Matrix& mv, float out[9])
{
    const float* m = mv.m;
    float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6], i = m[10];
    float cofactor[9] = {e * i - f * h, f * g - d * i, d * h - e * g,
                         c * h - b * i, a * i - c * g, b * g - a * h,
                         b * f - c * e, c * d - a * f, a * e - b * d};
    float det = a * cofactor[0] + b * cofactor[1] + c * cofactor[2];
    float inv = det != 0.0f ? 1.0f / det : 0.0f;
    // (M^-1)^T is the cofactor matrix over the determinant; out is in column order.
    for (int row = 0; row < 3; row++)
        for (int col = 0; col < 3; col++)
            out[col * 3 + row] = cofactor[row * 3 + col] * inv;
}

static void UploadState()
{
    const Matrix& mv = modelviewStack[modelviewTop];
    float normalMatrix[9];
    NormalMatrix(mv, normalMatrix);
    bool lit = lighting && light0;
    float scene[3], ambient[3], diffuse[3];
    for (int k = 0; k < 3; k++) {
        scene[k] = SCENE_AMBIENT[k] * MATERIAL_AMBIENT[k];
        ambient[k] = lightAmbient[k];
        diffuse[k] = lightDiffuse[k];
    }
    emscripten_glUniformMatrix4fv(uModelview, 1, GL_FALSE, mv.m);
    emscripten_glUniformMatrix4fv(uProjection, 1, GL_FALSE, projectionStack[projectionTop].m);
    emscripten_glUniformMatrix3fv(uNormalMatrix, 1, GL_FALSE, normalMatrix);
    // Lighting on with light 0 off still lights, by the scene's ambient alone.
    emscripten_glUniform1i(uLighting, lighting);
    emscripten_glUniform4fv(uLightPosition, 1, lightPosition);
    const float dark[3] = {0, 0, 0};
    emscripten_glUniform3fv(uLightAmbient, 1, lit ? ambient : dark);
    emscripten_glUniform3fv(uLightDiffuse, 1, lit ? diffuse : dark);
    emscripten_glUniform3fv(uAttenuation, 1, lightAttenuation);
    emscripten_glUniform3fv(uSceneColour, 1, scene);
    emscripten_glUniform1i(uFog, fog);
    emscripten_glUniform1f(uFogStart, fogStart);
    emscripten_glUniform1f(uFogEnd, fogEnd);
    emscripten_glUniform3fv(uFogColour, 1, fogColour);
    emscripten_glUniform1i(uTexturing, texturing && boundTexture != 0);
    emscripten_glUniform1i(uAlphaTest, alphaTest);
    emscripten_glUniform1f(uAlphaReference, alphaReference);
    stateDirty = false;
}

// Copies the vertices first..first+count-1 of an enabled client array into its stream buffer and
// points the attribute at it; a disabled array gives every vertex OpenGL's current value instead.
static void StreamArray(int attribute, const ClientArray& array, int first, int count, const float current[4])
{
    if (!array.enabled || !array.data) {
        emscripten_glDisableVertexAttribArray(attribute);
        emscripten_glVertexAttrib4f(attribute, current[0], current[1], current[2], current[3]);
        return;
    }
    int stride = array.stride ? array.stride : array.size * (int)sizeof(float);
    static std::vector<float> packed;
    const float* start = (const float*)((const char*)array.data + (size_t)first * stride);
    if (stride != array.size * (int)sizeof(float)) {
        packed.resize((size_t)count * array.size);
        for (int v = 0; v < count; v++)
            memcpy(&packed[(size_t)v * array.size], (const char*)start + (size_t)v * stride, array.size * sizeof(float));
        start = packed.data();
    }
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, streamBuffers[attribute]);
    emscripten_glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)count * array.size * sizeof(float), start, GL_STREAM_DRAW);
    emscripten_glEnableVertexAttribArray(attribute);
    emscripten_glVertexAttribPointer(attribute, array.size, GL_FLOAT, GL_FALSE, 0, nullptr);
}

extern "C" {

// The matrices are this module's own; WebGL answers the rest.
void glGetFloatv(GLenum name, GLfloat* values)
{
    if (name == GL_MODELVIEW_MATRIX)
        memcpy(values, modelviewStack[modelviewTop].m, sizeof(Matrix::m));
    else if (name == GL_PROJECTION_MATRIX)
        memcpy(values, projectionStack[projectionTop].m, sizeof(Matrix::m));
    else
        emscripten_glGetFloatv(name, values);
}

void glMatrixMode(GLenum mode)
{
    matrixMode = mode;
}

void glLoadIdentity()
{
    CurrentMatrix() = IDENTITY;
    stateDirty = true;
}

void glPushMatrix()
{
    if (matrixMode == GL_PROJECTION) {
        if (projectionTop + 1 < 2) {
            projectionStack[projectionTop + 1] = projectionStack[projectionTop];
            projectionTop++;
        }
    } else if (modelviewTop + 1 < MATRIX_STACK_DEPTH) {
        modelviewStack[modelviewTop + 1] = modelviewStack[modelviewTop];
        modelviewTop++;
    }
}

void glPopMatrix()
{
    if (matrixMode == GL_PROJECTION) {
        if (projectionTop > 0)
            projectionTop--;
    } else if (modelviewTop > 0) {
        modelviewTop--;
    }
    stateDirty = true;
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    Matrix& c = CurrentMatrix();
    for (int row = 0; row < 4; row++)
        c.m[12 + row] = c.m[row] * x + c.m[4 + row] * y + c.m[8 + row] * z + c.m[12 + row];
    stateDirty = true;
}

void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    Matrix& c = CurrentMatrix();
    for (int row = 0; row < 4; row++) {
        c.m[row] *= x;
        c.m[4 + row] *= y;
        c.m[8 + row] *= z;
    }
    stateDirty = true;
}

// OpenGL's rotation by angle degrees about the axis (x, y, z), which need not be of unit length.
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    float s = (float)sin(angle * M_PI / 180.0);
    float c = (float)cos(angle * M_PI / 180.0);
    float length = sqrtf(x * x + y * y + z * z);
    if (length <= 1.0e-4f)
        return;
    x /= length;
    y /= length;
    z /= length;
    float oneC = 1.0f - c;
    Matrix r = IDENTITY;
    r.m[0] = oneC * x * x + c;
    r.m[4] = oneC * x * y - z * s;
    r.m[8] = oneC * z * x + y * s;
    r.m[1] = oneC * x * y + z * s;
    r.m[5] = oneC * y * y + c;
    r.m[9] = oneC * y * z - x * s;
    r.m[2] = oneC * z * x - y * s;
    r.m[6] = oneC * y * z + x * s;
    r.m[10] = oneC * z * z + c;
    MultiplyCurrent(r);
}

// GLU's perspective: formed in double, multiplied in as float.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    double radians = fovy / 2 * M_PI / 180;
    double deltaZ = zFar - zNear;
    double sine = sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0)
        return;
    double cotangent = cos(radians) / sine;
    Matrix p = {};
    p.m[0] = (float)(cotangent / aspect);
    p.m[5] = (float)cotangent;
    p.m[10] = (float)(-(zFar + zNear) / deltaZ);
    p.m[11] = -1.0f;
    p.m[14] = (float)(-2 * zNear * zFar / deltaZ);
    MultiplyCurrent(p);
}

// The switches the shader carries are kept here; depth test, culling and blending are WebGL's own.
static void SetCapability(GLenum cap, bool on)
{
    switch (cap) {
    case GL_TEXTURE_2D: texturing = on; break;
    case GL_LIGHTING: lighting = on; break;
    case GL_LIGHT0: light0 = on; break;
    case GL_FOG: fog = on; break;
    case GL_ALPHA_TEST: alphaTest = on; break;
    default:
        if (on)
            emscripten_glEnable(cap);
        else
            emscripten_glDisable(cap);
        return;
    }
    stateDirty = true;
}

void glEnable(GLenum cap)
{
    SetCapability(cap, true);
}

void glDisable(GLenum cap)
{
    SetCapability(cap, false);
}

static ClientArray* ClientArrayOf(GLenum array)
{
    switch (array) {
    case GL_VERTEX_ARRAY: return &vertexArray;
    case GL_TEXTURE_COORD_ARRAY: return &texCoordArray;
    case GL_NORMAL_ARRAY: return &normalArray;
    default: return nullptr;
    }
}

void glEnableClientState(GLenum array)
{
    if (ClientArray* a = ClientArrayOf(array))
        a->enabled = true;
}

void glDisableClientState(GLenum array)
{
    if (ClientArray* a = ClientArrayOf(array))
        a->enabled = false;
}

// Only float arrays are drawn: the game has no other.
void glVertexPointer(GLint size, GLenum, GLsizei stride, const GLvoid* pointer)
{
    vertexArray = ClientArray{vertexArray.enabled, size, stride, (const float*)pointer};
}

void glTexCoordPointer(GLint size, GLenum, GLsizei stride, const GLvoid* pointer)
{
    texCoordArray = ClientArray{texCoordArray.enabled, size, stride, (const float*)pointer};
}

void glNormalPointer(GLenum, GLsizei stride, const GLvoid* pointer)
{
    normalArray = ClientArray{normalArray.enabled, 3, stride, (const float*)pointer};
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    if (!vertexArray.enabled || count <= 0)
        return;  // OpenGL draws nothing without a vertex array
    if (!program)
        MakeProgram();
    if (stateDirty)
        UploadState();
    const float currentTexCoord[4] = {0, 0, 0, 1};
    const float currentNormal[4] = {0, 0, 1, 0};
    StreamArray(POSITION_ATTRIBUTE, vertexArray, first, count, currentTexCoord);
    StreamArray(TEXCOORD_ATTRIBUTE, texCoordArray, first, count, currentTexCoord);
    StreamArray(NORMAL_ARRAY_ATTRIBUTE, normalArray, first, count, currentNormal);
    if (mode == GL_QUADS) {
        int quads = count / 4 < MAX_QUADS ? count / 4 : MAX_QUADS;
        emscripten_glBindBuffer(GL_ELEMENT_BUFFER, quadIndexBuffer);
        emscripten_glDrawElements(GL_TRIANGLES, quads * 6, GL_UNSIGNED_SHORT, nullptr);
    } else {
        emscripten_glDrawArrays(mode, 0, count);
    }
}

void glLightfv(GLenum light, GLenum name, const GLfloat* v)
{
    if (light != GL_LIGHT0)
        return;
    switch (name) {
    case GL_POSITION: {
        // Stored in eye coordinates, through the modelview of the moment.
        const float* m = modelviewStack[modelviewTop].m;
        for (int row = 0; row < 4; row++)
            lightPosition[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
        break;
    }
    case GL_AMBIENT: memcpy(lightAmbient, v, sizeof lightAmbient); break;
    case GL_DIFFUSE: memcpy(lightDiffuse, v, sizeof lightDiffuse); break;
    case GL_SPECULAR: memcpy(lightSpecular, v, sizeof lightSpecular); break;
    default: return;
    }
    stateDirty = true;
}

void glLightf(GLenum light, GLenum name, GLfloat value)
{
    if (light != GL_LIGHT0)
        return;
    switch (name) {
    case GL_CONSTANT_ATTENUATION: lightAttenuation[0] = value; break;
    case GL_LINEAR_ATTENUATION: lightAttenuation[1] = value; break;
    case GL_QUADRATIC_ATTENUATION: lightAttenuation[2] = value; break;
    default: return;
    }
    stateDirty = true;
}

// Linear fog is the only mode drawn; the density of the exponential modes is not used.
void glFogf(GLenum name, GLfloat value)
{
    if (name == GL_FOG_START)
        fogStart = value;
    else if (name == GL_FOG_END)
        fogEnd = value;
    stateDirty = true;
}

void glFogi(GLenum, GLint)
{
}

void glFogfv(GLenum name, const GLfloat* v)
{
    if (name == GL_FOG_COLOR)
        memcpy(fogColour, v, sizeof fogColour);
    else
        glFogf(name, v[0]);
    stateDirty = true;
}

// Only GL_GREATER, the game's test.
void glAlphaFunc(GLenum, GLclampf reference)
{
    alphaReference = reference;
    stateDirty = true;
}

// Every colour is computed per vertex and interpolated: the game shades smoothly.
void glShadeModel(GLenum)
{
}

void glHint(GLenum, GLenum)
{
}

void glClear(GLbitfield mask)
{
    emscripten_glClear(mask);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    emscripten_glClearColor(r, g, b, a);
}

void glClearDepth(GLclampd depth)
{
    emscripten_glClearDepthf((float)(depth < 0 ? 0 : depth > 1 ? 1 : depth));
}

void glViewport(GLint x, GLint y, GLsizei w, GLsizei h)
{
    emscripten_glViewport(x, y, w, h);
}

void glDepthFunc(GLenum func)
{
    emscripten_glDepthFunc(func);
}

void glCullFace(GLenum mode)
{
    emscripten_glCullFace(mode);
}

void glFrontFace(GLenum mode)
{
    emscripten_glFrontFace(mode);
}

void glBlendFunc(GLenum src, GLenum dst)
{
    emscripten_glBlendFunc(src, dst);
}

void glGenTextures(GLsizei n, GLuint* names)
{
    emscripten_glGenTextures(n, names);
}

void glBindTexture(GLenum target, GLuint name)
{
    boundTexture = name;
    emscripten_glBindTexture(target, name);
    stateDirty = true;
}

// GL_CLAMP has no WebGL counterpart; with the game's nearest filtering it samples as edge clamping.
void glTexParameteri(GLenum target, GLenum name, GLint value)
{
    emscripten_glTexParameteri(target, name, value == GL_CLAMP ? GL_CLAMP_TO_EDGE : value);
}

void glPixelStorei(GLenum name, GLint value)
{
    if (name == GL_UNPACK_ALIGNMENT)
        unpackAlignment = value;
}

}  // extern "C"

// The number of components an internal format of OpenGL 1.1 stores: 3 or 4 (the game's two).
static int InternalComponents(GLint internalFormat)
{
    return internalFormat == 3 || internalFormat == GL_RGB ? 3 : 4;
}

// The pixels of an upload, rows padded to the unpack alignment and in any of RGB, BGR, RGBA and
// BGRA, repacked into tight rows of the internal format's components in RGB(A) order; alpha is
// opaque where the source has none.
static std::vector<unsigned char> PackPixels(int width, int height, GLenum format, int components,
                                             const unsigned char* pixels)
{
    int sourceSize = format == GL_RGBA || format == GL_BGRA ? 4 : 3;
    bool swapped = format == GL_BGR || format == GL_BGRA;
    int rowBytes = width * sourceSize;
    rowBytes = (rowBytes + unpackAlignment - 1) / unpackAlignment * unpackAlignment;
    std::vector<unsigned char> out((size_t)width * height * components);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const unsigned char* p = pixels + (size_t)y * rowBytes + (size_t)x * sourceSize;
            unsigned char* q = &out[((size_t)y * width + x) * components];
            q[0] = swapped ? p[2] : p[0];
            q[1] = p[1];
            q[2] = swapped ? p[0] : p[2];
            if (components == 4)
                q[3] = sourceSize == 4 ? p[3] : 255;
        }
    }
    return out;
}

static void UploadPacked(GLint level, int width, int height, int components, const unsigned char* packed)
{
    GLenum format = components == 4 ? GL_RGBA : GL_RGB;
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    emscripten_glTexImage2D(GL_TEXTURE_2D, level, format, width, height, 0, format, GL_UNSIGNED_BYTE, packed);
}

extern "C" {

void glTexImage2D(GLenum, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint, GLenum format,
                  GLenum, const GLvoid* pixels)
{
    int components = InternalComponents(internalFormat);
    std::vector<unsigned char> packed =
        PackPixels(width, height, format, components, (const unsigned char*)pixels);
    UploadPacked(level, width, height, components, packed.data());
}

// GLU's mipmaps for sizes that are powers of two (the game's textures are): each level halves the
// one before, a 2 x 2 box averaged with rounding, or a pair where one side is already 1.
GLint gluBuild2DMipmaps(GLenum, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum,
                        const void* pixels)
{
    int components = InternalComponents(internalFormat);
    std::vector<unsigned char> level = PackPixels(width, height, format, components, (const unsigned char*)pixels);
    UploadPacked(0, width, height, components, level.data());
    for (int n = 1; width > 1 || height > 1; n++) {
        int w = width > 1 ? width / 2 : 1;
        int h = height > 1 ? height / 2 : 1;
        std::vector<unsigned char> half((size_t)w * h * components);
        int dx = width > 1 ? components : 0;
        int dy = height > 1 ? width * components : 0;
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) {
                const unsigned char* p = &level[((size_t)(y * (dy ? 2 : 1)) * width + x * (dx ? 2 : 1)) * components];
                unsigned char* q = &half[((size_t)y * w + x) * components];
                for (int k = 0; k < components; k++) {
                    if (dx && dy)
                        q[k] = (unsigned char)((p[k] + p[k + dx] + p[k + dy] + p[k + dx + dy] + 2) / 4);
                    else
                        q[k] = (unsigned char)((p[k] + p[k + dx + dy]) / 2);
                }
            }
        }
        UploadPacked(n, w, h, components, half.data());
        level.swap(half);
        width = w;
        height = h;
    }
    return 0;
}

}  // extern "C"
