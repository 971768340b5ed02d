#include "core/quest/QuestVocabularies.h"

#include "core/data/Cp1251.h"

#include <initializer_list>

namespace pw {

namespace {

// Written here in UTF-8, held as Windows-1251, the editor's text.
std::vector<std::string> Convert(std::initializer_list<const char*> utf8) {
    std::vector<std::string> list;
    list.reserve(utf8.size());
    for (const char* text : utf8)
        list.push_back(Utf8ToCp1251(text));
    return list;
}

} // namespace

const std::vector<std::string>& QuestTypes() {
    static const std::vector<std::string> list = Convert({
        "0 - Трансфер",
        "1 - Диалог",
        "2 - Убийство",
        "3 - Поражение",
        "4 - Прогнать",
        "5 - Бросить вызов",
        "6 - Привести",
        "7 - Следовать",
        "8 - Вход в зону",
        "9 - <не используется>",
        "10 - Революция",
        "11 - Украсть",
    });
    return list;
}

const std::vector<std::string>& QuestFolders() {
    static const std::vector<std::string> list = Convert({
        "Hauptstory/",
        "Myrtana/Ardea_City/",
        "Myrtana/Faring_City/",
        "Myrtana/Geldern_City/",
        "Myrtana/Gotha_City/",
        "Myrtana/KapDun_City/",
        "Myrtana/Montera_City/",
        "Myrtana/Nemora/",
        "Myrtana/Okara/",
        "Myrtana/Reddock_City/",
        "Myrtana/Silden_City/",
        "Myrtana/Trelis_City/",
        "Myrtana/Vangard_City/",
        "Nordmar/Fireclan/",
        "Nordmar/Hammerclan/",
        "Nordmar/Monastery/",
        "Nordmar/Outdoor/",
        "Nordmar/Wolfclan/",
        "Ruf/",
        "TestQuests/",
        "Varant/Bakaresh/",
        "Varant/BenErai/",
        "Varant/BenSala/",
        "Varant/Braga/",
        "Varant/Ishtar/",
        "Varant/KDW_Camp/",
        "Varant/Lago/",
        "Varant/MoraSul/",
        "Varant/Varant_Outdoor/",
        "World/",
        "World/Vier_Freunde/",
    });
    return list;
}

const std::vector<std::string>& Enclaves() {
    static const std::vector<std::string> list = Convert({
        "Ardea",     "Vangard",  "Reddock",  "KapDun",   "Faring",  "Geldern",  "Gotha",
        "Montera",   "Nemora",   "Okara",    "Silden",   "Trelis",  "Fireclan", "Hammerclan",
        "Monastery", "Outdoor",  "Wolfclan", "Bakaresh", "BenErai", "BenSala",  "Braga",
        "Ishtar",    "KDW_Camp", "Lago",     "MoraSul",
    });
    return list;
}

} // namespace pw
