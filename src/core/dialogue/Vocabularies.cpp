#include "core/dialogue/Vocabularies.h"

#include "core/data/Cp1251.h"

#include <initializer_list>

namespace pw {

namespace {

// The lists are written here in UTF-8 and held as Windows-1251, the editor's text.
Vocabulary Convert(std::initializer_list<const char*> utf8) {
    Vocabulary list;
    list.reserve(utf8.size());
    for (const char* text : utf8)
        list.push_back(Utf8ToCp1251(text));
    return list;
}

} // namespace

const Vocabulary& InfoTypes() {
    static const Vocabulary list = Convert({
        "0 - Приоритет II. ConditionType=50",
        "1 - Приоритет I",
        "2 - Приоритет II",
        "3 - Приоритет III",
        "4 - Диалог с подпунктами",
        "5 - Диалог второстеп. персонажей",
    });
    return list;
}

const Vocabulary& CharacterStates() {
    static const Vocabulary list = Convert({
        "Жив",
        "Невредим",
        "Повержен",
        "Мертв",
        "Говорил с героем",
        "Не говорил с героем",
    });
    return list;
}

// clang-format off
const Vocabulary& ConditionTypes() {
    static const Vocabulary list = Convert({
        "[0] Crime (не исп.)", "[1] Fight (не исп.)", "[2] Приветствие", "[3] Диалог", "[4] Время вышло",
        "[5] Квест открыт", "[6] >Активатор", "[7] Квест активен", "[8] Прибытие в п/н",
        "[9] Прибытие группы в п/н", "[10] Квест успешен", "[11] >Отменить квест", "[12] Квест провален",
        "[13] Квест отменен", "[14] >Принять в группу", "[15] >Выгнать из группы", "[16] Обучение",
        "[17] Торговля", "[18] Карманная кража", "[19] Готовность", "[20] Поражение на арене",
        "[21] >Перезапустить квест", "[22] Победа на арене (не исп.)", "[23] Мастер-вор (не исп.)",
        "[24] Друг анклава", "[25] Друг гильдии", "[26] Первое предупреждение",
        "[27] Второе предупреждение", "[28] Присоединение к отряду (не исп.)",
        "[29] Присоединение к отряду (не исп.)", "[30] Долгое отсутствие",
        "[31] Преступление против анклава", "[32] Преступление против гильдии",
        "[33] Ступайте в сборный пункт!", "[34] (ждите здесь)", "[35] (дать лечебное зелье)",
        "[36] (не исп.)", "[37] (не исп.)", "[38] (не исп.)", "[39] (не исп.)", "[40] (не исп.)",
        "[41] (не исп.)", "[42] (не исп.)", "[43] (не исп.)", "[44] (не исп.)", "[45] (не исп.)",
        "[46] (не исп.)", "[47] (не исп.)", "[48] (не исп.)", "[49] (не исп.)", "[50] (нечего сказать)",
        "[51] Конец", "[52] Назад",
    });
    return list;
}

const Vocabulary& Folders() {
    static const Vocabulary list = Convert({
        "Epilog/", "Hauptstory/", "Hauptstory/Adanos_Gate/", "Hauptstory/Beliar/", "Hauptstory/Innos/",
        "Hauptstory/Rhobar/", "Hauptstory/Xardas/", "Hauptstory/Zuben/", "Interacts/",
        "Myrtana/Ardea_City/", "Myrtana/Faring_City/", "Myrtana/Geldern_City/", "Myrtana/Gotha_City/",
        "Myrtana/KapDun_City/", "Myrtana/KapDun_Outdoor/", "Myrtana/Montera_City/", "Myrtana/Nemora_City/",
        "Myrtana/Okara_City/", "Myrtana/Reddock_City/", "Myrtana/Silden_City/", "Myrtana/Trelis_City/",
        "Myrtana/Trelis_Farms/", "Myrtana/Vangard_City/", "Myrtana/Vangard_Outdoor/", "Nordmar/Fireclan/",
        "Nordmar/Hammerclan/", "Nordmar/Monastery/", "Nordmar/Outdoor/", "Nordmar/Wolfclan/", "PC_Hero/",
        "Varant/AlShedim_Temple/", "Varant/Bakaresh/", "Varant/BenErai/", "Varant/BenSala/",
        "Varant/Braga/", "Varant/Ishtar/", "Varant/KDW_Camp/", "Varant/Lago/", "Varant/MoraSul_City/",
        "Varant/MoraSul_Temple/", "Varant/Oase_Hurit/", "Varant/Outdoor/",
    });
    return list;
}

const Vocabulary& CharacterNames() {
    static const Vocabulary list = Convert({
        "Abbas", "Abe", "Achmed", "Adanos_Gate", "Agenak", "Aidan", "Aila", "Akrabor", "Aldo", "Ali",
        "Alima", "AlShedim_TempleDoor_Tester", "Altus", "Amul", "Angar", "Anktos", "Anog",
        "AnogsRebell_01", "Arakos", "Armon", "Arokkh", "Asam", "Asaru", "Aschnu", "Ashton", "Ateras",
        "Auftraggeber", "Avogadro", "Ayitos", "Bandaro", "Barrack", "Basir", "Beliar_Tester", "Ben",
        "Bengerd", "Benito", "Bernado", "Big", "Bogir", "Bollock", "Bozep", "Bradley", "Bram", "Brant",
        "Brenton", "Brontobb", "Bufford", "Campa", "Candela", "Carlos", "Charles", "Chris", "Cobryn",
        "Cole", "Commander", "Connor", "Copper", "Corwyn", "Cronos", "Cruz", "Curtis", "Cyrus", "Dan",
        "Dargoth", "Darmok", "Daro", "Daryl", "Dawson", "Deckard", "Delazar", "Dennis", "Denpok", "Derec",
        "Diego", "Dimitar", "Dolok", "Domenik", "DriveAway", "Dudley", "Elber", "Elite_Wache_01", "Emet",
        "Empfaenger", "Enzo", "Ernesto", "Erzofen", "Esiel", "Eusebio", "Fabio", "Fadi", "Faesul", "Falk",
        "Farmon", "Fasim", "Fedor", "Felipe", "FidelCastro", "Finley", "Flint", "Folleck", "Ford",
        "Fraser", "Freman", "Frillock", "Frithjof", "G3_Object_Interact_Bed_01",
        "G3_Object_Interact_Bed_02", "G3_Object_Interact_Bed_03", "G3_Object_Interact_Bed_04",
        "G3_Object_Interact_Bed_05", "G3_Object_Interact_Bed_06", "G3_Object_Interact_Beliar_Statue_01",
        "G3_Object_Interact_Innos_Statue_01", "Gamal", "Gambal", "Gancka", "Garik", "Geldern_Slave_01",
        "Geldern_Slave_02", "Geldern_Slave_03", "Geldern_Slave_04", "Gelford", "Gembak", "Georg",
        "Giacomo", "Giores", "Givess", "Gnar", "Gonzales", "Goose", "Goran", "Gorn", "Gorok", "Grauhaar",
        "Grim", "Grimboll", "Grobock", "Grok", "Grompel", "Grubuz", "Gunnar", "Gunock", "Hamid", "Hamil",
        "Hamlar", "Hanson", "Harek", "Hassan", "Hatlod", "Hauke", "Hector", "Hengley", "Hernando",
        "Hjalte", "Hogar", "HolyFire_Tester", "Hoshi_QuestStatus", "Hurit", "Ilja", "Ingvar",
        "Innos_Tester", "Innostian", "Inog", "Iomar", "Irhabar", "Irmak", "Ismael", "Jack", "Jaffar",
        "Jared", "Javier", "Jens", "Jensgar", "Jerek", "Joey", "Jorn", "Jose", "Josh", "Julio", "Kadok",
        "Kaelin", "Kafa", "Kaffu", "Kalan", "Kalesch", "Kamak", "Kan", "KapDun_AssGuard", "Kapotth",
        "Karlen", "Karmok", "Karrypto", "Kasim", "Kayor", "Keldron", "Kelvin", "Kent", "Kerth", "Ketil",
        "Khabir", "Kilian", "Kippler", "Kirk", "Kliff", "Knut", "Konrad", "Koraz", "Kor-Shach", "Kulak",
        "Lago_Prison_Guard", "Lago_Slave_03", "Lares", "Lars", "Larson", "Lee", "Leif", "Leon", "Lester",
        "Lisk", "Living_Ancestor_01_Tester", "Living_Ancestor_02_Tester", "Living_Ancestor_03_Tester",
        "Living_Ancestor_04_Tester", "Living_Ancestor_05_Tester", "Living_Ancestor_06_Tester", "Luca",
        "Lukar", "Lukjan", "Makas", "Mamuk", "Mannig", "Marik", "Marius", "Markus", "Marlo", "Marus",
        "Masil", "Mason", "Mazin", "Merdarion", "Mezir", "Miguel", "Milok", "Milten", "Mirzo", "Mitch",
        "Mojok", "MonasteryBooik_Tester", "Montera_BarKeeper_01", "Montera_Orc_01", "Montera_Orc_02",
        "Montera_Orc_03", "Montera_Orc_04", "Montera_Orc_05", "Montera_Slave_01", "Montera_Slave_02",
        "Montera_Slave_03", "MoraSul_Bandit_03", "MoraSul_TempleDoor_Tester", "Mort", "Mortis", "Mufassa",
        "Muff", "Muntasir", "Murak", "Murat", "Musan", "Myxir", "Nafalem", "Narkan", "Nasib", "Navaras",
        "Nefarius", "Nemrok", "Nerusul", "Ningal", "Norris", "Oelk", "Olivier", "Onatas",
        "Orc_Faring_GateGuard_01", "Orc_Faring_GateGuard_02", "Orc_Geldern_Guard_01",
        "Orc_KapDun_Guard_01", "Orknarok", "Osko", "Osmund", "Otis", "Owen", "Pakwan", "Paladin", "Pavel",
        "PC_Hero", "Pedar", "Peer", "Peratur", "Phil", "Porgan", "Potros", "Pranck", "Pyran", "Quadir",
        "Raid", "Rakus", "Ramon", "Randall", "Rasul", "Rathgar", "Redge", "Rendell", "Renwik", "Reto",
        "Rhobar", "Riordian", "Rocko", "Roland", "Ronar", "Rovold", "Rozhov", "Rufus", "Runak", "Rune",
        "Russel", "Samuel", "Sancho", "Sanford", "Sanuyem", "Saturas", "Sebastian", "Seruk", "sh",
        "Shakyor", "Shawn", "SiburNarad", "Sigmor", "Silas", "Silden_EscapedSlave_01",
        "Silden_EscapedSlave_02", "Silden_EscapedSlave_03", "Silden_EscapedSlave_04",
        "Silden_EscapedSlave_05", "Silden_GateGuard_01", "Silvio", "Sinikar", "Sivert", "Slave_08",
        "Sobota", "Spike", "Stan", "Stejnar", "Steve", "Sugut", "Sulfock", "Surus", "Sven", "Talkmaster",
        "Tamkosch", "Tangach", "Tarok", "Temmy", "Tempeck", "Tempelwache_01", "Tempelwache_02",
        "TestArenameister", "TestGladiator", "TestTeacher", "TestTrader", "Thorald", "Thordir", "Thorek",
        "Thorus", "Tippler", "Tizgar", "Tjalf", "Tom", "Topork", "Torn", "Tragak", "Trano",
        "Trelis_Orc_01", "Trelis_Orc_02", "Treslott", "Trompok", "Tufail", "Tukash", "Tyler", "Ugo",
        "Ugolf", "Ugrasal", "Umbrak", "Ur-Gosh", "Urkrass", "Uruk", "Vak", "Vandorn", "Varek", "Vasco",
        "Vatras", "Vibald", "Vigo", "Volkar", "Wenzel", "Will", "Wilson", "Wolfclan_Lumberjack_01",
        "Wolfclan_Lumberjack_02", "Wolfclan_Lumberjack_03", "Wolfclan_Lumberjack_04", "Wutras", "Xardas",
        "Yasmin", "Yorik", "Yussuf", "Zakosh", "Zapotek", "Zarkos", "Zuben",
    });
    return list;
}

const Vocabulary& Skills() {
    static const Vocabulary list = Convert({
        "Perk_1H_3", "Perk_1H1H_1", "Perk_1H1H_2", "Perk_Acrobatic", "Perk_Assassin", "Perk_Axe_1",
        "Perk_Axe_2", "Perk_Axe_3", "Perk_Barter", "Perk_Bow_2", "Perk_Bow_3", "Perk_Crossbow_1",
        "Perk_Crossbow_2", "Perk_Crossbow_3", "Perk_Darkmage", "Perk_Druid", "Perk_Excuse",
        "Perk_ExplosiveArrow", "Perk_FireArrow", "Perk_Firemage", "Perk_Hunter_1", "Perk_Hunter_2",
        "Perk_ImmuneToDisease", "Perk_ImmuneToPoison", "Perk_KnockOut", "Perk_Learn", "Perk_LightArmor",
        "Perk_LockPick_2", "Perk_LockPick_3", "Perk_MasterGladiator", "Perk_MasterMage",
        "Perk_MasterThief", "Perk_Mining", "Perk_OrcHunter", "Perk_OrcSlayer", "Perk_Paladin",
        "Perk_PickPocket_1", "Perk_PickPocket_2", "Perk_Pickpocket_3", "Perk_PoisonArrow",
        "Perk_PoisonBlade", "Perk_PotionMP", "Perk_PotionPerm", "Perk_PotionPoison",
        "Perk_PotionTransform", "Perk_ResistCold", "Perk_ResistHeat", "Perk_SharpenBlade", "Perk_Shield_1",
        "Perk_Shield_2", "Perk_Smith_2", "Perk_Smith_3", "Perk_Sneak_2", "Perk_Sprinter", "Perk_Staff_1",
        "Perk_Staff_2", "Perk_Staff_3", "Perk_StaffMagic", "Perk_TrophyFur", "Perk_TrophySkin",
        "Perk_TrophyTeeth", "Perk_Watermage", "Spl_AnimalForm", "Spl_BlessWeapon", "Spl_Bloodlust",
        "Spl_CallAnimals", "Spl_Charm", "Spl_Cure", "Spl_CureDisease", "Spl_CurePoison", "Spl_DestroyEvil",
        "Spl_Disease", "Spl_DuskToDawn", "Spl_Fear", "Spl_Fireball", "Spl_Firerain", "Spl_Flamesword",
        "Spl_FrostWave", "Spl_Hailstorm", "Spl_HealOther", "Spl_HeatWave", "Spl_IceBomb", "Spl_Icelance",
        "Spl_Light", "Spl_Lightningbolt", "Spl_Meteor", "Spl_OpenLocks", "Spl_Poison", "Spl_Sleep",
        "Spl_SoulTravel", "Spl_SummonDemon", "Spl_SummonGoblin", "Spl_SummonGolem", "Spl_SummonLightning",
        "Spl_SummonMist", "Spl_SummonSkeleton", "Spl_TameAnimal", "Spl_Telekinesis", "Spl_TimeBubble",
        "Spl_WordOfControl",
    });
    return list;
}
// clang-format on

const Vocabulary& NpcListItems() {
    static const Vocabulary list = [] {
        Vocabulary items = CharacterStates();
        items.insert(items.end(), CharacterNames().begin(), CharacterNames().end());
        return items;
    }();
    return list;
}

std::string VocabularyEntry(const Vocabulary& list, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= list.size())
        return {};
    return list[static_cast<std::size_t>(position)];
}

int VocabularyIndexOf(const Vocabulary& list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (Cp1251EqualNoCase(list[i], text))
            return static_cast<int>(i);
    }
    return -1;
}

int VocabularyFindPrefix(const Vocabulary& list, std::string_view text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (std::string_view(list[i]).starts_with(text))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace pw
