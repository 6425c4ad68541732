// Feeds arbitrary bytes to the OBJ reader: it must stay inside its tables, give whole
// triangles, and never produce a NaN normal or collision value.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include "render/obj_loader.h"

static void Check(bool condition) { if (!condition) abort(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string((const char*)data, size));
    Mesh mesh = ReadObjMesh(in, 1.0f);
    Check(mesh.vertexCount >= 0 && mesh.vertexCount % 3 == 0 && mesh.vertexCount <= 3 * OBJ_LIST_CAPACITY);
    // Every element is read, so AddressSanitizer sees any short array; no normal is NaN.
    volatile float sum = 0.0f;
    for (int i = 0; i < 3 * mesh.vertexCount; i++) {
        Check(!std::isnan(mesh.normals[i]));
        sum = sum + mesh.positions[i] + mesh.texCoords[i * 2 / 3];
    }
    CollisionMesh* collision = BuildCollisionMesh(mesh.vertexCount, mesh.positions);
    Check(collision->triangleCount == mesh.vertexCount / 3);
    for (int i = 0; i < 3 * collision->triangleCount; i++)
        Check(!std::isnan(collision->cornerA[i]) && !std::isnan(collision->cornerB[i]) &&
              !std::isnan(collision->cornerC[i]) && !std::isnan(collision->faceNormal[i]));
    for (float* a : {collision->cornerA, collision->cornerB, collision->cornerC, collision->faceNormal}) delete[] a;
    delete collision;
    for (float* a : {mesh.positions, mesh.texCoords, mesh.normals}) delete[] a;
    return 0;
}
