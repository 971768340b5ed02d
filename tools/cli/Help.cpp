#include "Help.h"

#include "CliSupport.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace pw::cli {
namespace {

struct Option {
    std::string_view name;
    std::string_view meaning;
};

struct CommandHelp {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
    std::vector<Option> options;
};

const std::vector<CommandHelp>& Commands() {
    static const std::vector<CommandHelp> commands = {
        {"info-read", "FILE", "Print the 31 fields of a dialogue as Key=Value lines", {}},
        {"info-write",
         "OUT [--from IN] [Key=Value]...",
         "Write a dialogue: the fields of IN (or empty ones), then each Key=Value in order",
         {{"--from IN", "start from the fields of the dialogue IN"}}},
        {"quest-read", "FILE", "Print the 22 fields of a quest as Key=Value lines", {}},
        {"quest-write",
         "OUT [--from IN] [Key=Value]...",
         "Write a quest: the fields of IN (or empty ones), then each Key=Value in order",
         {{"--from IN", "start from the fields of the quest IN"}}},
        {"ini-get",
         "FILE SECTION KEY [DEFAULT]",
         "Print a value of an INI file, or DEFAULT when it is missing",
         {}},
        {"ini-set", "FILE SECTION KEY VALUE", "Set a value of an INI file, keeping every other line", {}},
        {"string-get",
         "TABLE ID",
         "Print the text behind a string ID of the string table; exit code 1 when the table has no such ID",
         {}},
        {"string-add",
         "TABLE ID TEXT [--replace]",
         "Add ID=TEXT to the string table; an ID that holds a text already is refused",
         {{"--replace", "replace the text an ID already holds"}}},
        {"recompile", "IN OUT", "Load a .info or .quest file and compile it to OUT as the editor does", {}},
        {"import-conversation",
         "INFO TABLE TEXTFILE [--prefix PREFIX] [--lang L] [--dry-run]",
         "Add the lines \"Speaker: text\" of TEXTFILE (UTF-8) to the dialogue INFO as Say rows and to TABLE "
         "as new entries",
         {{"--prefix PREFIX", "number the new IDs PREFIX_NN instead of after the dialogue's Name"},
          {"--lang L", "put each text into the language L of the new entries (code or column number)"},
          {"--dry-run", "print the rows and entries without writing either file"}}},
        {"search",
         "info|quest QUERY ROOT...",
         "List the dialogues or quests below the ROOT folders that match QUERY",
         {}},
        {"check",
         "[--stringtable TABLE] [--require-language L] [--quests DIR] [--events] [--strict] [--verbose] "
         "[--format FORMAT] [PATH...]",
         "Check the dialogues and quests in the folders and files given, one finding per line",
         {{"--stringtable TABLE",
           "look up the string IDs in TABLE and lint the table itself (PATH may be left out)"},
          {"--require-language L",
           "warn about every string ID named whose text in the language L of TABLE is not translated"},
          {"--quests DIR", "look up quest references in the quest tree DIR too, beside the checked files"},
          {"--events", "warn about CondPlayerKnows events that no checked dialogue sets with SetGameEvent"},
          {"--strict", "exit with 1 on warnings too"},
          {"--verbose", "list every table finding instead of 20 of each kind"},
          {"--format FORMAT",
           "text (the default), json (one array of findings) or sarif (a SARIF 2.1.0 log)"}}},
        {"list",
         "[--owner NAME] [--quest NAME] [--parent NAME] [--event NAME] [--command NAME] [--string ID] "
         "[--name NAME] ROOT...",
         "List the dialogues below the ROOT folders that match every option: PATH, Name, Owner, Quest, "
         "Parent",
         {{"--owner NAME", "the Owner is NAME (every value is compared whole, trimmed, A-Z folded)"},
          {"--quest NAME", "the Quest is NAME"},
          {"--parent NAME", "the Parent is NAME"},
          {"--event NAME", "CondPlayerKnows is NAME, or a SetGameEvent row sets NAME"},
          {"--command NAME", "a row of the InfoScript runs the command NAME"},
          {"--string ID", "InfoScript_Texts holds the string ID"},
          {"--name NAME", "the Name is NAME"}}},
        {"tree",
         "[--owner NAME] [--quest NAME] [--stringtable TABLE] ROOT...",
         "Print the conversation trees of the dialogues below the ROOT folders as a Graphviz DOT graph",
         {{"--owner NAME", "only the dialogues whose Owner is NAME, with their parents"},
          {"--quest NAME", "only the dialogues whose Quest is NAME, with their parents"},
          {"--stringtable TABLE", "show each dialogue's first spoken line from TABLE"}}},
        {"unused-strings",
         "TABLE ROOT... [--prefix PREFIX]",
         "List the entries of TABLE that no dialogue or quest below the ROOT folders names: ID, tab, line "
         "number; the count on standard error",
         {{"--prefix PREFIX", "only the IDs that start with PREFIX (A-Z folded)"}}},
        {"rename",
         "quest|info|event|string OLD NEW [--stringtable TABLE] [--dry-run] [--with-strings] "
         "[--references-only] ROOT...",
         "Rename a quest, dialogue, event or string ID wherever the ROOT folders name it, printing "
         "PATH:LINE: KEY: OLD -> NEW",
         {{"--stringtable TABLE", "the string table, whose IDs a string rename and --with-strings rename"},
          {"--dry-run", "print the changes and write nothing"},
          {"--with-strings", "rename info: also rename the dialogue's string IDs OLD_NN to NEW_NN"},
          {"--references-only",
           "rename the references to OLD although the ROOTs (or TABLE) hold no definition"}}},
        {"lsp",
         "[--stringtable TABLE] [ROOT...]",
         "Serve the Language Server Protocol over standard input and output: diagnostics, completion, "
         "hover, definitions, references, renames and symbols over the library below the ROOT folders",
         {{"--stringtable TABLE", "the string table (else the client's options or a stringtable.ini in or "
                                  "above its workspace folders)"},
          {"--stdio", "the transport many clients name; standard input and output are the only one"}}},
        {"translation-status",
         "TABLE... [--format text|json]",
         "Count each language's cells of the tables: translated, missing, placeholders, same as English",
         {{"--format FORMAT", "text (the default) or json (one array of an object per table and language)"}}},
        {"translation-export",
         "TABLE --lang L [--source S] [--only-missing] [--format po|csv] [-o FILE]",
         "Write a language of TABLE for translators' tools: a gettext PO file or Weblate's CSV",
         {{"--lang L", "the language to translate into: its code (ru), column number (9) or name"},
          {"--source S", "the language translated from (English by default)"},
          {"--only-missing", "only the entries whose text in L is missing or a placeholder"},
          {"--format FORMAT", "po (the default) or csv"},
          {"-o FILE", "write FILE instead of standard output"}}},
        {"translation-import",
         "TABLE FILE [--lang L] [--dry-run]",
         "Write the translations of a PO or CSV file into their language of TABLE, nothing else; stale, "
         "fuzzy, empty and removed ones are listed, not written",
         {{"--lang L", "the language of FILE (a PO file names it in its header)"},
          {"--dry-run", "tell what would be written and write nothing"},
          {"--verbose", "list every empty translation instead of 20"}}},
        {"translation-copy",
         "TABLE FROM --lang L [--dry-run]",
         "Copy the texts of the language L from the table FROM into TABLE for every ID both hold",
         {{"--lang L", "the language copied"}, {"--dry-run", "tell what would be copied and write nothing"}}},
        {"table-diff",
         "OLD NEW [--lang L]",
         "List the IDs added (+ID), removed (-ID) and with a changed English text (~ID) from OLD to NEW",
         {{"--lang L", "also list \"stale ID\": the English text changed, the text in L did not"}}},
    };
    return commands;
}

void Print(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// "  NAME" padded to a column, then the text.
std::string Row(std::string_view name, std::string_view text, std::size_t column) {
    std::string row = "  ";
    row.append(name);
    row.append(row.size() < column ? column - row.size() : 1, ' ');
    row.append(text).append("\n");
    return row;
}

} // namespace

void PrintUsage() {
    std::string text = "usage: plotwright-cli COMMAND ARGS...   (plotwright-cli --help for more)\n";
    for (const CommandHelp& command : Commands())
        text.append("  ").append(command.name).append(" ").append(command.arguments).append("\n");
    Print(stderr, text);
}

void PrintHelp() {
    std::string text =
        "usage: plotwright-cli [OPTION]... COMMAND ARGS...\n"
        "Reads and writes Gothic 3 dialogue and quest files, INI values and string-table entries.\n"
        "Texts are UTF-8, converted to and from each file's encoding; what a file cannot hold is refused.\n"
        "\nOptions (before COMMAND):\n";
    text += Row("--raw", "pass texts as the files' own bytes (Windows-1251), unconverted", 24);
    text += Row("--help", "print this help; COMMAND --help prints the command's own", 24);
    text += Row("--version", "print the program's version", 24);
    text += Row("--", "end the options: a later argument that starts with \"--\" is a text", 24);
    text += "\nCommands:\n";
    for (const CommandHelp& command : Commands())
        text += Row(command.name, command.summary, 23);
    text += "\nExit codes: 0 success, 1 check found errors, string-get found no such ID or rename found OLD\n"
            "named nowhere, 2 usage error, 3 refused, 4 file error (or a rename left unfinished).\n";
    WriteOut(text);
}

bool PrintCommandHelp(std::string_view name) {
    for (const CommandHelp& command : Commands()) {
        if (command.name != name)
            continue;
        std::string text = "usage: plotwright-cli ";
        text.append(command.name).append(" ").append(command.arguments).append("\n");
        text.append(command.summary).append(".\n");
        text += "\nOptions:\n";
        for (const Option& option : command.options)
            text += Row(option.name, option.meaning, 24);
        text += Row("--help", "print this help", 24);
        text += Row("--", "end the options: a later argument that starts with \"--\" is a text", 24);
        WriteOut(text);
        return true;
    }
    return false;
}

} // namespace pw::cli
