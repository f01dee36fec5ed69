// quillbay-cli: the batch tool for modders. Every read and write goes through the
// same core operations as the editor window.
#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"
#include "cli/player_fields.h"
#include "images/image_error.h"
#include "roster/layout.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <map>

namespace {

using qb::cli::Format;

struct Arguments {
    std::string file;
    std::string second;
    std::string third;
    int slot = -1;
    bool all = false;
    bool dryRun = false;
    bool yes = false;
    std::string format;
    std::vector<std::string> assignments;
    std::vector<std::string> wheres;
    std::vector<int> slots;
    bool force = false;
    bool noBackup = false;
};

Format formatOf(const std::string& name) {
    static const std::map<std::string, Format> kFormats = {
        {"text", Format::Text}, {"json", Format::Json}, {"csv", Format::Csv}};
    return kFormats.at(name);
}

CLI::App* command(CLI::App& app, const char* name, const char* description, const char* example) {
    CLI::App* sub = app.add_subcommand(name, description);
    sub->footer(std::string("Example:\n  ") + example);
    return sub;
}

void addFile(CLI::App* sub, Arguments& args) {
    sub->add_option("FILE", args.file, "Roster file (.pak) or saved game (.sav)")->required();
}

// A number of the command line in decimal ("0010" is 10: the parser would read it as
// octal), handed on without its leading zeros.
CLI::Validator decimalFrom(int low, int high) {
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    return CLI::Validator(
        [low, high, range](std::string& text) {
            const std::optional<int> value = qb::cli::wholeNumber(text, low, high);
            if (!value) {
                return "\"" + text + "\" is not a whole number from " + range;
            }
            text = std::to_string(*value);
            return std::string();
        },
        "INT from " + range);
}

void addSlot(CLI::App* sub, Arguments& args) {
    sub->add_option("SLOT", args.slot, "Slot, 0 to 1599")
        ->required()
        ->transform(decimalFrom(0, qb::SLOT_COUNT - 1));
}

// The first choice is the command's default.
void addFormat(CLI::App* sub, Arguments& args, const std::vector<std::string>& choices) {
    sub->add_option("--format", args.format, "Output format (default " + choices.front() + ")")
        ->check(CLI::IsMember(choices));
}

// The options of every command that writes a roster.
void addSafety(CLI::App* sub, Arguments& args) {
    sub->add_flag("--force", args.force,
                  "Write even when another program changed the slot since it was read");
    sub->add_flag("--no-backup", args.noBackup,
                  "Do not copy the file to the backups folder before its first write");
}

// Emptying a name empties its slot, as in the window; the tool asks for --yes first.
void addEmptying(CLI::App* sub, Arguments& args) {
    sub->add_flag("--yes", args.yes, "Allow an empty name, which empties a named slot");
}

void reportFailure(const qb::QuillbayError& error) {
    std::string text = error.description();
    if (!error.path().empty() && text.find(error.path()) == std::string::npos) {
        text = error.path() + ": " + text;
    }
    std::cerr << "quillbay-cli: " << text << '\n';
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app("quillbay-cli: list, show, dump and edit the players of a Cricket 2004 roster "
                 "(.pak) or saved game (.sav).");
    app.set_version_flag("--version", std::string("quillbay-cli ") + QB_VERSION + " (revision " +
                                          QB_REVISION + ")");
    app.require_subcommand(1);
    Arguments args;

    CLI::App* list = command(app, "list", "List the player list (the leading run of named slots)",
                             "quillbay-cli list roster.pak --all --format csv");
    addFile(list, args);
    list->add_flag("--all", args.all, "All 1600 slots, like the slot list");
    addFormat(list, args, {"text", "csv", "json"});

    CLI::App* show = command(app, "show", "Show one slot as the editor shows it",
                             "quillbay-cli show roster.pak 12 --format json");
    addFile(show, args);
    addSlot(show, args);
    addFormat(show, args, {"text", "json"});

    CLI::App* dump = command(app, "dump", "Every named slot as player objects",
                             "quillbay-cli dump roster.pak --format csv > players.csv");
    addFile(dump, args);
    dump->add_flag("--all", args.all, "Every slot, empty ones included");
    addFormat(dump, args, {"json", "csv"});

    CLI::App* set = command(app, "set", "Change fields of one slot and save as the editor does",
                            "quillbay-cli set roster.pak 5 roles.bowlingStyle=Chinaman "
                            "\"ratings.bowling.Accuracy=50\"");
    addFile(set, args);
    addSafety(set, args);
    addSlot(set, args);
    set->add_option("KEY=VALUE", args.assignments, "Fields to change")->required();
    set->add_flag("--dry-run", args.dryRun, "Print what would be written, write nothing");
    addEmptying(set, args);

    CLI::App* apply = command(app, "apply", "Apply edits from a JSON or CSV file",
                              "quillbay-cli apply roster.pak edits.csv --dry-run");
    addFile(apply, args);
    addSafety(apply, args);
    apply->add_option("EDITS", args.second, "EDITS.json or EDITS.csv")->required();
    apply->add_flag("--dry-run", args.dryRun, "Print what would be written, write nothing");
    addEmptying(apply, args);

    CLI::App* exportCommand = command(app, "export", "Write one slot to a .data player file",
                                      "quillbay-cli export roster.pak 12 smith.data");
    addFile(exportCommand, args);
    addSlot(exportCommand, args);
    exportCommand
        ->add_option("OUT", args.third,
                     "Player file; .data is appended unless the name ends in data")
        ->required();
    exportCommand->add_flag("--yes", args.yes, "Replace an existing file without asking");

    CLI::App* importCommand = command(app, "import", "Read a .data player file over one slot",
                                      "quillbay-cli import roster.pak 12 smith.data --yes");
    addFile(importCommand, args);
    addSafety(importCommand, args);
    addSlot(importCommand, args);
    importCommand->add_option("IN", args.third, "Player file of exactly 348 bytes")->required();
    importCommand->add_flag("--yes", args.yes, "Do not ask for confirmation");

    CLI::App* check = command(app, "check", "Report what would surprise a user of the editor",
                              "quillbay-cli check roster.pak --format json");
    addFile(check, args);
    addFormat(check, args, {"text", "json"});

    CLI::App* diff = command(app, "diff", "Field-level differences between two rosters",
                             "quillbay-cli diff before.pak after.pak");
    diff->add_option("FILE_A", args.file, "First roster or saved game")->required();
    diff->add_option("FILE_B", args.second, "Second roster or saved game")->required();
    addFormat(diff, args, {"text", "json"});

    CLI::App* bulk = command(
        app, "bulk", "One edit over many players",
        "quillbay-cli bulk roster.pak --where nation=ENG --set \"ratings.bowling.Accuracy+=5\"");
    addFile(bulk, args);
    addSafety(bulk, args);
    bulk->add_option("--where", args.wheres,
                     "KEY=VALUE: only named slots whose field has this value");
    bulk->add_option("--set", args.assignments,
                     "KEY=VALUE, KEY+=N or KEY-=N (clamped to the field's range)")
        ->required();
    bulk->add_flag("--dry-run", args.dryRun, "Print what would be written, write nothing");
    addEmptying(bulk, args);

    CLI::App* repair =
        command(app, "repair", "Reset the fields the editor cannot show to values it can show",
                "quillbay-cli repair roster.pak 12 --dry-run");
    addFile(repair, args);
    addSafety(repair, args);
    repair
        ->add_option("SLOT", args.slots,
                     "Slots, 0 to 1599 (default: every named slot that fails to load)")
        ->transform(decimalFrom(0, qb::SLOT_COUNT - 1));
    repair->add_flag("--dry-run", args.dryRun, "Print what would be written, write nothing");
    CLI::App* face = command(app, "face", "Copy a face from the game archive into a bitmap file",
                             "quillbay-cli face ~/Games/Cricket2004 7 face7.bmp");
    face->add_option("GAME_FOLDER", args.file, "The game's installation folder")->required();
    face->add_option("FACE", args.slot, "Face number, 0 to 24")
        ->required()
        ->transform(decimalFrom(0, 24));
    face->add_option("OUT", args.third, "Bitmap file to write")->required();

    CLI::App* tga =
        command(app, "tga", "Report what the TGA reader makes of a file, or write it as a bitmap",
                "quillbay-cli tga bat01.tga bat01.bmp");
    tga->add_option("IN", args.file, "TGA file")->required();
    tga->add_option("OUT", args.third, "Bitmap file to write");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }

    qb::SafetyOptions safety;
    safety.force = args.force;
    safety.backups = !args.noBackup;
    const qb::cli::EditOptions editing{args.dryRun, args.yes, safety};
    const Format format = !args.format.empty() ? formatOf(args.format)
                          : dump->parsed()     ? Format::Json
                                               : Format::Text;
    try {
        // A save cut off in an earlier run is completed or undone before the file is
        // written again. Commands that only read leave that to the next writer.
        const bool writes =
            (set->parsed() || apply->parsed() || bulk->parsed() || importCommand->parsed()) &&
            !args.dryRun;
        if (writes) {
            for (const std::string& text :
                 qb::recoverInterruptedSaves(safety.dataFolderOrDefault(), args.file)) {
                std::cerr << "quillbay-cli: " << text << '\n';
            }
        }
        if (list->parsed()) {
            return qb::cli::runList(args.file, args.all, format);
        }
        if (show->parsed()) {
            return qb::cli::runShow(args.file, args.slot, format);
        }
        if (dump->parsed()) {
            return qb::cli::runDump(args.file, args.all, format);
        }
        if (set->parsed()) {
            return qb::cli::runSet(args.file, args.slot, args.assignments, editing);
        }
        if (apply->parsed()) {
            return qb::cli::runApply(args.file, args.second, editing);
        }
        if (exportCommand->parsed()) {
            return qb::cli::runExport(args.file, args.slot, args.third, args.yes);
        }
        if (importCommand->parsed()) {
            return qb::cli::runImport(args.file, args.slot, args.third, args.yes, safety);
        }
        if (check->parsed()) {
            return qb::cli::runCheck(args.file, format);
        }
        if (diff->parsed()) {
            return qb::cli::runDiff(args.file, args.second, format);
        }
        if (bulk->parsed()) {
            return qb::cli::runBulk(args.file, args.wheres, args.assignments, editing);
        }
        if (repair->parsed()) {
            return qb::cli::runRepair(args.file, args.slots, args.dryRun, safety);
        }
        if (face->parsed()) {
            return qb::cli::runFace(args.file, args.slot, args.third);
        }
        if (tga->parsed()) {
            return qb::cli::runTga(args.file, args.third);
        }
    } catch (const qb::ImageError& error) {
        std::cerr << "quillbay-cli: " << error.what() << '\n';
        return 1;
    } catch (const qb::cli::UsageError& error) {
        reportFailure(error);
        return 2;
    } catch (const qb::QuillbayError& error) {
        reportFailure(error);
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "quillbay-cli: " << error.what() << '\n';
        return 1;
    }
    return 2;
}
