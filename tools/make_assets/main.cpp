// Asset generator: writes every file of Media/ (tile and entity models, the world texture, the interface atlas).
//
// Usage: make_assets [output root]   (default: the working directory)
// Media/ and its worldtiles and entities folders are made under the root when missing.
//        make_assets --icons FOLDER
// writes only the menu icons, as FOLDER/<side>x<side>/apps/cairnfold.png (the layout of an icon
// theme such as hicolor); the folders are made when missing.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "make_assets.h"

static bool MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }

// Builds one recipe's model and writes it as <folder>/<stem><code>.obj, its title naming what it is.
static bool WriteModel(const ModelRecipe& recipe, const std::string& folder, const char* stem, const char* what)
{
    modelTriangles.clear();
    recipe.build();
    std::string title = std::string("Cairnfold ") + what + " " + std::to_string(recipe.code) + ": " + recipe.name;
    std::string path = folder + "/" + stem + std::to_string(recipe.code) + ".obj";
    bool written = WriteObj(path, title);
    printf("%-40s %4zu triangles\n", path.c_str(), modelTriangles.size());
    return written;
}

// Writes the icon at each of ICON_SIZES into the theme folder `theme`.
static int WriteIcons(const std::string& theme)
{
    for (int side : ICON_SIZES) {
        std::string folder = theme + "/" + std::to_string(side) + "x" + std::to_string(side);
        std::string path = folder + "/apps/cairnfold.png";
        if (!MakeFolder(theme) || !MakeFolder(folder) || !MakeFolder(folder + "/apps") ||
            !WritePng(path, side, side, 4, MakeIcon(side))) {
            fprintf(stderr, "make_assets: could not write %s\n", path.c_str());
            return 1;
        }
        printf("%s\n", path.c_str());
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--icons") return WriteIcons(argv[2]);
    std::string root = argc > 1 ? argv[1] : ".";
    std::string media = root + "/Media";
    if (!MakeFolder(media) || !MakeFolder(media + "/worldtiles") || !MakeFolder(media + "/entities")) {
        fprintf(stderr, "make_assets: cannot make the folders under %s\n", media.c_str());
        return 1;
    }
    bool ok = true;
    for (const ModelRecipe& recipe : TILE_RECIPES)
        ok = WriteModel(recipe, media + "/worldtiles", "worldtile", "tile") && ok;
    for (const ModelRecipe& recipe : ENTITY_RECIPES)
        ok = WriteModel(recipe, media + "/entities", "entity", "entity") && ok;
    if (!RenderFont()) return 1;
    ok = WritePng(media + "/worldtexture.png", TEXTURE_SIZE, TEXTURE_SIZE, 3, MakeWorldTexture()) && ok;
    ok = WritePng(media + "/dashboard.png", ATLAS_W, ATLAS_H, 4, MakeDashboard()) && ok;
    if (!ok) {
        fprintf(stderr, "make_assets: could not write every file under %s\n", media.c_str());
        return 1;
    }
    return 0;
}
