#include "media/ContactSheet.h"
#include "media/Paint.h"

#include <algorithm>
#include <dirent.h>
#include <vector>

namespace {
const int SHEET_WIDTH = 1200;
const int MARGIN = 12;
const int LABEL_HEIGHT = 12;
const Rgb NEUTRAL{112, 112, 120};

std::vector<std::string> PictureNames(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pcx") == 0)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

bool WriteContactSheet(const std::string& folder, const std::string& path)
{
    std::vector<BITMAP*> pictures;
    std::vector<std::string> names = PictureNames(folder);
    for (const std::string& name : names) {
        PALETTE unused;
        pictures.push_back(load_bitmap((folder + "/" + name).c_str(), unused));
    }
    // Shelf packing: left to right, a new shelf when the row is full.
    struct Place {
        int x, y;
    };
    std::vector<Place> places;
    int x = MARGIN, y = MARGIN, shelf = 0;
    for (BITMAP* picture : pictures) {
        int w = picture ? std::max(picture->w, 8 * 18) : 64;
        int h = picture ? picture->h : 64;
        if (x + w + MARGIN > SHEET_WIDTH) {
            x = MARGIN;
            y += shelf + LABEL_HEIGHT + MARGIN;
            shelf = 0;
        }
        places.push_back({x, y});
        x += w + MARGIN;
        shelf = std::max(shelf, h);
    }
    BITMAP* sheet = create_bitmap_ex(24, SHEET_WIDTH, y + shelf + LABEL_HEIGHT + MARGIN);
    clear_to_color(sheet, Colour(NEUTRAL));
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (pictures[i]) {
            draw_sprite(sheet, pictures[i], places[i].x, places[i].y);
            textout_ex(sheet, font, names[i].c_str(), places[i].x, places[i].y + pictures[i]->h + 2,
                       makecol24(255, 255, 255), -1);
            destroy_bitmap(pictures[i]);
        }
    }
    bool saved = save_bitmap(path.c_str(), sheet, nullptr) == 0;
    destroy_bitmap(sheet);
    return saved;
}
