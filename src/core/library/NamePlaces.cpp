#include "core/library/NamePlaces.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"

#include <optional>
#include <span>
#include <string>

namespace pw {
namespace {

enum class Shape {
    Whole,     // the whole value
    List,      // each element of a ";" list
    QuestList, // each element of a list cut at ";" and ","
    ScriptIds, // each InfoScript_IDs1 element whose row's command takes a quest or an event
};

struct Place {
    std::string_view key;
    RenameKind kind; // of the name it holds; for ScriptIds the row's command tells
    Shape shape;
};

// Name first: a file whose Name is renamed is the renamed thing's own.
constexpr Place kDialoguePlaces[] = {
    {"Name", RenameKind::Dialogue, Shape::Whole},
    {"Quest", RenameKind::Quest, Shape::Whole},
    {"Parent", RenameKind::Dialogue, Shape::Whole},
    {"CondPlayerKnows", RenameKind::Event, Shape::Whole},
    {"InfoScript_IDs1", RenameKind::Quest, Shape::ScriptIds},
    {"InfoScript_Texts", RenameKind::String, Shape::List},
};
constexpr Place kQuestPlaces[] = {
    {"Name", RenameKind::Quest, Shape::Whole},
    {"FinishedQuests", RenameKind::Quest, Shape::QuestList},
    {"LogTopic", RenameKind::String, Shape::Whole},
    {"LogText", RenameKind::String, Shape::Whole},
};
constexpr std::string_view kCommandsKey = "InfoScript_Commands";

std::string_view Of(std::string_view text, TextSpan span) {
    return text.substr(span.begin, span.end - span.begin);
}

// The names of one place's value, each with its element number.
void AddPlaces(std::string_view text, const Place& place, const KeyLine& line,
               const std::optional<KeyLine>& commands, std::vector<NamePlace>& out) {
    const std::string_view separators = place.shape == Shape::Whole       ? ""
                                        : place.shape == Shape::QuestList ? ";,"
                                                                          : ";";
    std::vector<TextSpan> elements = ElementSpans(text, line.value, separators);
    if (line.cut)
        elements.pop_back();
    // Element k of IDs1 belongs to the row whose command is element k of the commands.
    const std::vector<TextSpan> rows = place.shape == Shape::ScriptIds && commands
                                           ? ElementSpans(text, commands->value, ";")
                                           : std::vector<TextSpan>();
    for (std::size_t k = 0; k < elements.size(); ++k) {
        RenameKind kind = place.kind;
        if (place.shape == Shape::ScriptIds &&
            (k >= rows.size() || !IdKindOfCommand(Of(text, rows[k]), kind)))
            continue;
        out.push_back({place.key, line.number, elements[k], kind, place.key == "Name", k});
    }
}

} // namespace

bool IdKindOfCommand(std::string_view command, RenameKind& kind) {
    command = TrimView(command);
    static constexpr std::string_view kQuestCommands[] = {"SucceedQuest", "CloseQuest", "RunQuest"};
    for (std::string_view quest : kQuestCommands)
        if (AsciiEqualNoCase(command, quest)) {
            kind = RenameKind::Quest;
            return true;
        }
    if (!AsciiEqualNoCase(command, "SetGameEvent"))
        return false;
    kind = RenameKind::Event;
    return true;
}

std::vector<NamePlace> NamePlacesOf(std::string_view text, RecordKind kind) {
    const bool quest = kind == RecordKind::Quest;
    const std::span<const Place> places =
        quest ? std::span<const Place>(kQuestPlaces) : std::span<const Place>(kDialoguePlaces);
    std::vector<std::string> keys;
    for (const Place& place : places)
        keys.emplace_back(place.key);
    keys.emplace_back(kCommandsKey);
    const std::vector<std::optional<KeyLine>> lines = FindKeyLines(text, quest ? "Quest" : "Info", keys);
    std::vector<NamePlace> found;
    for (std::size_t p = 0; p < places.size(); ++p)
        if (lines[p])
            AddPlaces(text, places[p], *lines[p], lines.back(), found);
    return found;
}

} // namespace pw
