#include "GenLibrary.h"

#include "core/data/Cp1251.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace pwbench {
namespace {

constexpr std::array<std::string_view, 42> kFolders = {"Epilog/",
                                                       "Hauptstory/",
                                                       "Hauptstory/Adanos_Gate/",
                                                       "Hauptstory/Beliar/",
                                                       "Hauptstory/Innos/",
                                                       "Hauptstory/Rhobar/",
                                                       "Hauptstory/Xardas/",
                                                       "Hauptstory/Zuben/",
                                                       "Interacts/",
                                                       "Myrtana/Ardea_City/",
                                                       "Myrtana/Faring_City/",
                                                       "Myrtana/Geldern_City/",
                                                       "Myrtana/Gotha_City/",
                                                       "Myrtana/KapDun_City/",
                                                       "Myrtana/KapDun_Outdoor/",
                                                       "Myrtana/Montera_City/",
                                                       "Myrtana/Nemora_City/",
                                                       "Myrtana/Okara_City/",
                                                       "Myrtana/Reddock_City/",
                                                       "Myrtana/Silden_City/",
                                                       "Myrtana/Trelis_City/",
                                                       "Myrtana/Trelis_Farms/",
                                                       "Myrtana/Vangard_City/",
                                                       "Myrtana/Vangard_Outdoor/",
                                                       "Nordmar/Fireclan/",
                                                       "Nordmar/Hammerclan/",
                                                       "Nordmar/Monastery/",
                                                       "Nordmar/Outdoor/",
                                                       "Nordmar/Wolfclan/",
                                                       "PC_Hero/",
                                                       "Varant/AlShedim_Temple/",
                                                       "Varant/Bakaresh/",
                                                       "Varant/BenErai/",
                                                       "Varant/BenSala/",
                                                       "Varant/Braga/",
                                                       "Varant/Ishtar/",
                                                       "Varant/KDW_Camp/",
                                                       "Varant/Lago/",
                                                       "Varant/MoraSul_City/",
                                                       "Varant/MoraSul_Temple/",
                                                       "Varant/Oase_Hurit/",
                                                       "Varant/Outdoor/"};

constexpr std::array<std::string_view, 70> kCharacters = {
    "Diego",  "Gorn",   "Milten", "Lester",  "Xardas", "Ben",   "Carlos",  "Abe",     "Achmed", "Aidan",
    "Aldo",   "Ali",    "Angar",  "Anog",    "Ashton", "Basir", "Bengerd", "Bradley", "Bram",   "Brenton",
    "Campa",  "Cole",   "Connor", "Cyrus",   "Dan",    "Daryl", "Dennis",  "Elber",   "Enzo",   "Fedor",
    "Flint",  "Georg",  "Gnar",   "Grim",    "Gunnar", "Hamid", "Hassan",  "Ingvar",  "Jack",   "Jorn",
    "Kan",    "Kerth",  "Lares",  "Lee",     "Leif",   "Marik", "Markus",  "Mort",    "Norris", "Ramon",
    "Rhobar", "Roland", "Rufus",  "Saturas", "Silvio", "Sven",  "Thorus",  "Tom",     "Umbrak", "Vatras",
    "Wilson", "Yorik",  "Zuben",  "Hector",  "Kirk",   "Masil", "Osko",    "Porgan",  "Samuel", "Torn"};

constexpr std::array<std::string_view, 10> kItems = {
    "ItMi_Gold",   "ItFo_Apple",   "ItFo_Fish", "ItMw_1H_Sword", "ItPo_Health",
    "ItMi_Nugget", "ItAt_WolfFur", "ItRw_Bow",  "ItFo_Beer",     "ItMi_Lute"};

constexpr std::array<std::string_view, 24> kRussianWords = {
    "я",       "ты",     "знаю",   "город", "орки",    "золото", "меч",     "путь",
    "король",  "маг",    "нужно",  "здесь", "сейчас",  "помоги", "задание", "лагерь",
    "охотник", "ворота", "опасно", "друг",  "никогда", "северу", "пустыне", "торговец"};

constexpr std::array<std::string_view, 24> kEnglishWords = {
    "I",      "you",   "know",   "city",   "orcs",  "gold",  "sword",  "road",
    "king",   "mage",  "need",   "here",   "now",   "help",  "task",   "camp",
    "hunter", "gates", "danger", "friend", "never", "north", "desert", "trader"};

constexpr std::array<std::string_view, 12> kCzechWords = {"já",  "město", "zlato", "meč",   "cesta", "král",
                                                           "mág", "tady",  "teď",   "pomoz", "úkol",  "přítel"};
constexpr std::array<std::string_view, 12> kPolishWords = {"ja",    "miasto", "złoto", "miecz", "droga", "król",
                                                           "mag",   "tutaj",  "teraz", "pomóż", "zadanie", "przyjaciel"};
constexpr std::array<std::string_view, 12> kChineseWords = {"我", "城市", "黄金", "剑", "路", "国王",
                                                            "法师", "这里", "现在", "帮助", "任务", "朋友"};

// The game's columns as a real table's header names them; the tenth holds Traditional Chinese.
constexpr std::string_view kLanguagesHeader =
    "English;Italian;French;German;Spanish;Czech;Hungarian;Polish;Russian;TRC";

class Generator {
public:
    explicit Generator(std::string outDir) : mOut(std::move(outDir)), mRng(20061013) {}

    void Run(const LibrarySize& size);

private:
    struct InfoPlan {
        std::string name;
        std::string owner;
        std::string folder;
    };

    std::uint32_t Pick(std::uint32_t n) { return mRng() % n; }
    bool Chance(int percent) { return static_cast<int>(Pick(100)) < percent; }
    template <std::size_t N> std::string Sentence(const std::array<std::string_view, N>& words, int count);
    // Picks for the texts of the table only, so the rest of the library stays as it was.
    std::uint32_t PickText(std::uint32_t n) { return mTextRng() % n; }
    void AddEntry(const std::string& id, std::string_view speaker);
    std::string QuestName(int index) const;
    void WriteQuest(int index);
    void WriteInfo(int index, int quests);
    void WriteTables();
    void WriteFile(const fs::path& path, const std::string& bytes);

    fs::path mOut;
    std::mt19937 mRng;
    std::mt19937 mTextRng{19961013};
    std::string mTable;                                 // the [LocAdmin_Strings] lines, Windows-1251
    std::string mWideTable; // the same lines of the UTF-16 table, in UTF-8 (with texts 1251 cannot hold)
    std::array<std::string, kFolders.size()> mLastName; // the newest dialogue of each folder, a Parent
    int mEntries = 0;
};

template <std::size_t N>
std::string Generator::Sentence(const std::array<std::string_view, N>& words, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += words[PickText(N)];
    }
    text += PickText(100) < 30 ? "?" : ".";
    return text;
}

// One entry in the game's layout: ten languages, each a text and an empty second field. English always,
// the others translated, missing, placeholders or the same as English, as in a mod's table half done;
// Czech, Polish and Chinese texts only in the UTF-16 table. The speaker stands in the Russian second field
// now and then.
void Generator::AddEntry(const std::string& id, std::string_view speaker) {
    const int words = 8 + static_cast<int>(PickText(5));
    const std::string english = Sentence(kEnglishWords, words);
    const auto chance = [this](std::uint32_t percent) { return PickText(100) < percent; };
    const auto pick = [&](std::uint32_t textPercent, std::string_view otherwise) {
        return chance(textPercent) ? Sentence(kEnglishWords, words) : std::string(otherwise);
    };
    std::array<std::string, 10> narrow = {
        english,
        chance(20) ? english : pick(40, "IT"),
        pick(70, ""),
        chance(10) ? english : pick(85, ""),
        pick(50, "SP"),
        "CZ",
        "-",
        "",
        chance(90) ? Sentence(kRussianWords, words) : (chance(50) ? "[RUS]" : ""),
        ""};
    std::array<std::string, 10> wide = narrow;
    wide[5] = chance(60) ? Sentence(kCzechWords, words) : "CZ";
    wide[7] = chance(70) ? Sentence(kPolishWords, words) : "";
    wide[9] = chance(50) ? Sentence(kChineseWords, words) : "TRC";
    const bool stage = chance(2);
    const auto value = [&](const std::array<std::string, 10>& texts) {
        std::string line = id + "=";
        for (std::size_t lang = 0; lang < texts.size(); ++lang) {
            line += texts[lang] + ";";
            if (lang == 8 && stage)
                line += speaker;
            if (lang < 9)
                line += ";";
        }
        return line + "\r\n";
    };
    mTable += pw::Utf8ToCp1251(value(narrow));
    mWideTable += value(wide);
    ++mEntries;
}

// "Myrtana/Ardea_City/" gives "Ardea_City".
std::string AreaOf(std::string_view folder) {
    std::string area(folder.substr(0, folder.size() - 1));
    const std::size_t slash = area.rfind('/');
    return slash == std::string::npos ? area : area.substr(slash + 1);
}

std::string Generator::QuestName(int index) const {
    return AreaOf(kFolders[static_cast<std::size_t>(index) % kFolders.size()]) + "_Quest_" +
           std::to_string(index);
}

void Generator::WriteQuest(int index) {
    const std::string name = QuestName(index);
    const std::string_view folder = kFolders[static_cast<std::size_t>(index) % kFolders.size()];
    const std::string giver(kCharacters[Pick(kCharacters.size())]);
    const bool delivery = Chance(30);
    std::string text = "[Quest]\r\nName=" + name + "\r\nType=" + std::to_string(Pick(12)) +
                       "\r\nFinishedQuests=" + (index > 0 && Chance(20) ? QuestName(index - 1) : "") +
                       "\r\nLogTopic=" + name + "_Topic\r\nLogText=" + name +
                       "_Text\r\nExperiencePoints=" + std::to_string(50 * (1 + Pick(20))) +
                       "\r\nPoliticalSuccess=0\r\nPoliticalSuccessAmount=0\r\nEnclaveSuccess=" +
                       (Chance(40) ? "Ardea" : "") + "\r\nEnclaveSuccessAmount=" + std::to_string(Pick(10)) +
                       "\r\nJobSuccess=\r\nJobSuccessAmount=\r\nFolder=" + std::string(folder) +
                       "\r\nDeliveryEntities=" + (delivery ? std::string(kItems[Pick(kItems.size())]) : "") +
                       "\r\nDeliveryAmounts=" + (delivery ? std::to_string(1 + Pick(20)) : "") +
                       "\r\nDeliveryCounter=\r\nDestinationEntity=" + giver +
                       "\r\nRunningTimeYears=0\r\nRunningTimeDays=0\r\nRunningTimeHours=0\r\nAttribSuccess=" +
                       "\r\nAttribSuccessAmount=0\r\n";
    AddEntry(name + "_Topic", giver);
    AddEntry(name + "_Text", giver);
    WriteFile(mOut / "Quests" / std::string(folder) / (name + "_quest_G3_World_01.quest"), text);
}

// Appends one cell to each of the six InfoScript columns.
struct Script {
    std::array<std::string, 6> columns;
    int rows = 0;
    void Row(std::string_view c, std::string_view e1, std::string_view e2, std::string_view i1,
             std::string_view i2, std::string_view s) {
        const std::array<std::string_view, 6> cells = {c, e1, e2, i1, i2, s};
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (rows > 0)
                columns[k] += ';';
            columns[k] += cells[k];
        }
        ++rows;
    }
};

void Generator::WriteInfo(int index, int quests) {
    const std::size_t folderIndex = static_cast<std::size_t>(index) % kFolders.size();
    const std::string folder(kFolders[folderIndex]);
    // Seven owners per folder keep the tree at a few hundred folders.
    const std::string owner(kCharacters[(folderIndex * 7 + Pick(7)) % kCharacters.size()]);
    const std::string name = owner + "_" + AreaOf(folder) + "_" + std::to_string(index);
    const std::string quest =
        Chance(25) ? QuestName(static_cast<int>(Pick(static_cast<std::uint32_t>(quests)))) : "";

    Script script;
    const int rows = Chance(10) ? 10 + static_cast<int>(Pick(31)) : 3 + static_cast<int>(Pick(7));
    for (int row = 0; row < rows; ++row) {
        const std::uint32_t kind = Pick(100);
        if (kind < 60) {
            const std::string id = name + "_" + std::to_string(row);
            const bool owns = row % 2 == 0;
            script.Row("Say", owns ? "owner" : "player", "", "", "", id);
            AddEntry(id, owns ? std::string_view(owner) : std::string_view("PC_Hero"));
        } else if (kind < 72) {
            script.Row("Give", "owner", "player", kItems[Pick(kItems.size())], std::to_string(1 + Pick(50)),
                       "");
        } else if (kind < 82) {
            script.Row("GiveXP", "", "", std::to_string(25 * (1 + Pick(20))), "", "");
        } else if (kind < 92) {
            script.Row("SetGameEvent", "", "", "Event_" + name, "", "");
        } else if (!quest.empty()) {
            script.Row(kind < 96 ? "RunQuest" : "SucceedQuest", "", "", quest, "", "");
        } else {
            script.Row("SetRoutine", "owner", "", "Guard", "", "");
        }
    }
    if (Chance(30))
        script.Row("End", "", "", "", "", "");

    std::string text = "[Info]\r\nName=" + name + "\r\nSortID=\r\nOwner=" + owner + "\r\nInfoGiven=False\r\n";
    if (!mLastName[folderIndex].empty() && Chance(20))
        text += "Parent=" + mLastName[folderIndex] + "\r\n";
    mLastName[folderIndex] = name;
    if (!quest.empty())
        text += "Quest=" + quest + "\r\n";
    text += "ConditionType=" + std::to_string(Chance(70) ? 3 : Pick(53)) +
            "\r\nInfoType=" + std::to_string(Pick(6)) +
            "\r\nGoldCost=" + std::to_string(Chance(90) ? 0 : 10 * Pick(50)) + "\r\nFolder=" + folder +
            "\r\n";
    if (Chance(10))
        text += "CondItemContainer=PC_Hero\r\nCondItems=ItMi_Gold;" +
                std::string(kItems[Pick(kItems.size())]) +
                "\r\nCondItemAmounts=" + std::to_string(10 * (1 + Pick(10))) + ";1\r\n";
    if (Chance(10))
        text += "CondSecondaryNPC=Gorn;" + std::string(kCharacters[Pick(kCharacters.size())]) +
                "\r\nCondSecondaryNPCstates=0;" + std::to_string(Pick(6)) + "\r\n";
    if (Chance(3))
        text += "TeachSkillIsPerc=True\r\nTeachSkill=Perk_Axe_1\r\nTeachSkillIndex=1\r\nTeachSkillValue=" +
                std::to_string(1 + Pick(3)) + "\r\n";
    text += "ClearChildren=False\r\nPermanent=" + std::string(Chance(20) ? "True" : "False") + "\r\n";
    static constexpr std::array<std::string_view, 6> kKeys = {"InfoScript_Commands",  "InfoScript_Entities1",
                                                              "InfoScript_Entities2", "InfoScript_IDs1",
                                                              "InfoScript_IDs2",      "InfoScript_Texts"};
    for (std::size_t k = 0; k < kKeys.size(); ++k)
        text += std::string(kKeys[k]) + "=" + script.columns[k] + "\r\n";
    WriteFile(mOut / "Infos" / folder / owner / (name + "_info_G3_World_01.info"), text);
}

void Generator::WriteTables() {
    const std::string header = "[LocAdmin_Languages]\r\nLanguages=" + std::string(kLanguagesHeader) +
                               "\r\nCurrentLanguage=Russian\r\n\r\n[LocAdmin_Strings]\r\n";
    WriteFile(mOut / "stringtable.ini", header + mTable);
    WriteFile(mOut / "stringtable_utf16.ini", "\xFF\xFE" + *pw::Utf8ToUtf16Le(header + mWideTable));
}

void Generator::WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void Generator::Run(const LibrarySize& size) {
    for (int q = 0; q < size.quests; ++q)
        WriteQuest(q);
    for (int i = 0; i < size.infos; ++i)
        WriteInfo(i, size.quests);
    WriteTables();
}

// The string tables of other shapes, at the size of the game's table.
class ShapeWriter {
public:
    explicit ShapeWriter(fs::path dir) : mDir(std::move(dir)), mRng(19450508) {}

    void Run() {
        Write(
            "mixed", [this](int i) { return Id("INFO_%08d", i) + "=" + MixedText(); }, "INFO_LAST_ENTRY");
        const std::string prefix = "Myrtana_Vangard_City_Hauptstory_Rhobar_Dialogue_Entry_";
        Write(
            "prefix", [&](int i) { return prefix + Id("%08d", i) + "=" + Sentence(kEnglishWords, 10) + ";"; },
            prefix + "99999999");
        Write(
            "long", [this](int i) { return Id("LONG_%06d", i) + "=" + LongText(); }, "LONG_LAST_ENTRY");
        Write(
            "short", [](int i) { return Id("S%07d", i) + "=x;"; }, "S_LAST");
    }

private:
    static std::string Id(const char* format, int i) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, format, i);
        return buffer;
    }

    std::uint32_t Pick(std::uint32_t n) { return mRng() % n; }

    std::string Sentence(const std::array<std::string_view, 24>& words, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text.append(i ? " " : "").append(words[Pick(words.size())]);
        return text;
    }

    // Russian words with Latin ones among them, as a modder's notes and the game's names mix them.
    std::string MixedText() {
        static constexpr std::array<std::string_view, 6> kLatin = {"Innos", "info",       "gold",
                                                                   "INFO",  "Info_Diego", "quest"};
        std::string text;
        const int count = 8 + static_cast<int>(Pick(8));
        for (int i = 0; i < count; ++i) {
            text += i ? " " : "";
            text += Pick(3) == 0 ? std::string(kLatin[Pick(kLatin.size())])
                                 : pw::Utf8ToCp1251(kRussianWords[Pick(kRussianWords.size())]);
        }
        return text + ";PC_Hero;";
    }

    std::string LongText() {
        std::string text;
        const std::size_t size = 20000 + Pick(40000);
        while (text.size() < size)
            text += pw::Utf8ToCp1251(kRussianWords[Pick(kRussianWords.size())]) + " " +
                    std::string(kEnglishWords[Pick(kEnglishWords.size())]) + " ";
        return text + ";";
    }

    template <class Line> void Write(const char* name, Line line, const std::string& lastId) {
        constexpr std::size_t kSize = 30 * 1000 * 1000;
        std::string text = "[LocAdmin_Strings]\r\n";
        text.reserve(kSize + 100000);
        for (int i = 0; text.size() < kSize; ++i)
            text += line(i) + "\r\n";
        text += lastId + "=" + pw::Utf8ToCp1251("последняя запись") + ";PC_Hero;\r\n";
        fs::create_directories(mDir);
        std::ofstream out(mDir / (std::string(name) + ".ini"), std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out)
            throw std::runtime_error(std::string("cannot write the table shape ") + name);
    }

    fs::path mDir;
    std::mt19937 mRng;
};

// Whether a generated table names its ten languages, as tables made before it held four do not.
bool HasLanguagesHeader(const fs::path& table) {
    std::ifstream in(table, std::ios::binary);
    std::string start(200, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    return start.find(kLanguagesHeader) != std::string::npos;
}

} // namespace

void GenerateLibrary(const std::string& outDir, const LibrarySize& size) {
    Generator(outDir).Run(size);
    GenerateTableShapes(outDir);
}

void GenerateTableShapes(const std::string& outDir) {
    ShapeWriter(fs::path(outDir) / "shapes").Run();
}

std::string BenchLibrary() {
    const char* fromEnv = std::getenv("PLOTWRIGHT_BENCH_LIB");
    const fs::path dir =
        fromEnv && *fromEnv ? fs::path(fromEnv) : fs::temp_directory_path() / "plotwright-bench-lib";
    if (!fs::exists(dir / "stringtable_utf16.ini") || !HasLanguagesHeader(dir / "stringtable.ini"))
        GenerateLibrary(dir.string());
    else if (!fs::exists(dir / "shapes" / "short.ini"))
        GenerateTableShapes(dir.string());
    return dir.string();
}

} // namespace pwbench
