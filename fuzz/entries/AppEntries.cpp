// Fuzz entry points of the text readers: settings file, content lists, description files.
#include <climits>
#include <cstring>

#include "DataLocator.h"
#include "FuzzEntries.h"
#include "NamePattern.h"
#include "ScratchData.h"
#include "Settings.h"

namespace {

// Description files a content-list input may carry; more parts are ignored.
constexpr size_t MAX_FILE_PARTS = 8;
// Skins tried per character: enough to see the pattern at one- and two-digit numbers.
constexpr int SKINS_TRIED = 12;
// Arm models a character has: patterns filled with 0 to 5.
constexpr int ARM_MODELS = 6;

// A well-formed character and map that every list ends with, so the lists
// never come out empty (which ends the process by design).
constexpr char GOOD_CHARACTER[] =
    "0 1 Good skin%d.bmp arms%d.3ds s3 w3 t3 d3 1.0 none gear.3ds death3\n";
constexpr char GOOD_MAP[] = "Good level.3ds noground noroof nosky x 0 0 0 1 col.3ds\n";

// Every character's names, and the selection check at each skin edge.
void useRecords(Settings& s) {
    char out[DATA_NAME_SIZE];
    for (const CharacterInfo& c : s.characters) {
        for (int skin = 1; skin <= SKINS_TRIED; ++skin)
            formatNumberedName(out, sizeof out, c.skinTexturePattern, skin);
        for (int arm = 0; arm < ARM_MODELS; ++arm)
            formatNumberedName(out, sizeof out, c.armModelPattern, arm);
    }
    for (int i = 0; i < s.characterCount; ++i) {
        s.characterIndex = i;
        s.mapIndex = s.mapCount - 1;
        const int skins = s.characters[size_t(i)].skinCount;
        s.skinIndex = skins > INT_MIN ? skins - 1 : skins;  // the last skin
        s.validateSelection();
        s.skinIndex = skins;  // one past it
        s.validateSelection();
    }
}

}  // namespace

int fuzzSettings(const uint8_t* data, size_t size) {
    ScratchData scratch;
    scratch.work.write("tovask.cfg", std::string(reinterpret_cast<const char*>(data), size));
    Settings s;
    s.loadSettingsFile();
    return 0;
}

int fuzzContentLists(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitParts(data, size);
    ScratchData scratch;
    scratch.work.write("chars", parts[0] + "\n__good.chr\n");
    scratch.work.write("maps", (parts.size() > 1 ? parts[1] : std::string()) + "\n__good.map\n");
    scratch.work.write("__good.chr", GOOD_CHARACTER);
    scratch.work.write("__good.map", GOOD_MAP);
    for (size_t i = 2; i < parts.size() && i < 2 + MAX_FILE_PARTS; ++i)
        scratch.work.write("f" + std::to_string(i - 1), parts[i]);
    Settings s;
    s.loadContentLists();
    useRecords(s);
    return 0;
}

int fuzzDescription(const uint8_t* data, size_t size) {
    ScratchData scratch;
    scratch.work.write("desc", std::string(reinterpret_cast<const char*>(data), size));
    Settings s;
    char name[DATA_NAME_SIZE] = "desc";
    s.loadCharacterFile(name);
    std::strcpy(name, "desc");
    s.loadMapFile(name);
    useRecords(s);
    return 0;
}
