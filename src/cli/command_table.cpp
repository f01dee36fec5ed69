#include "cli/command_table.h"

#include "cli/cli_errors.h"
#include "cli/commands.h"
#include "cli/edits.h"
#include "player/field_registry.h"
#include "roster/layout.h"
#include "saving/recovery.h"
#include "saving/roster_lock.h"
#include "system/quoted_text.h"

#include <iostream>
#include <map>
#include <memory>

namespace qb::cli {
namespace {

// A number of the command line in decimal ("0010" is 10: the parser would read it as
// octal), handed on without its leading zeros.
CLI::Validator decimalFrom(int low, int high) {
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    return CLI::Validator(
        [low, high, range](std::string& text) {
            const std::optional<int> value = wholeNumber(text, low, high);
            if (!value) {
                return quotedText(text) + " is not a whole number from " + range;
            }
            text = std::to_string(*value);
            return std::string();
        },
        "INT from " + range);
}

void addFile(CLI::App& sub, std::string& file) {
    sub.add_option("FILE", file, "Roster file (.pak) or saved game (.sav)")->required();
}

void addSlot(CLI::App& sub, int& slot) {
    sub.add_option("SLOT", slot, "Slot, 0 to 1599")
        ->required()
        ->transform(decimalFrom(0, SLOT_COUNT - 1));
}

// The output format; the first choice is the command's default.
struct FormatChoice {
    std::string name;
    Format format() const {
        static const std::map<std::string, Format> formats = {
            {"text", Format::Text}, {"json", Format::Json}, {"csv", Format::Csv}};
        return formats.at(name);
    }
};

void addFormat(CLI::App& sub, FormatChoice& choice, const std::vector<std::string>& choices) {
    choice.name = choices.front();
    sub.add_option("--format", choice.name, "Output format (default " + choices.front() + ")")
        ->check(CLI::IsMember(choices));
}

// How players of two files, or of a file and an edits file, are paired.
struct MatchChoice {
    std::string name = "slot";
    MatchBy by() const { return name == "id" ? MatchBy::Id : MatchBy::Slot; }
};

CLI::Option* addMatch(CLI::App& sub, MatchChoice& choice, const std::string& help) {
    return sub.add_option("--match", choice.name, help)->check(CLI::IsMember({"slot", "id"}));
}

// The options of every command that writes a roster.
struct WriteOptions {
    bool force = false;
    bool noBackup = false;
    bool dryRun = false;
    bool yes = false;
    bool verbose = false;
    std::string cutOff; // "complete", "undo" or none

    ReportStyle style() const { return {dryRun, verbose}; }
    SafetyOptions safety() const {
        SafetyOptions options;
        options.force = force;
        options.backups = !noBackup;
        if (!cutOff.empty()) {
            options.cutOffBatch =
                cutOff == "complete" ? CutOffChoice::Complete : CutOffChoice::Undo;
        }
        return options;
    }
    EditOptions editing() const { return {dryRun, yes, safety(), verbose}; }

    // A command that writes takes the roster's lock before its first read and holds it
    // to its last write, so another writer waits for it once and every edit is computed
    // from what the file holds while nobody else can write it; then a save cut off in an
    // earlier run is completed or undone. Dry runs take no lock and recover nothing.
    std::unique_ptr<RosterLock> lockAndRecover(const std::string& file) const {
        if (dryRun) {
            return nullptr;
        }
        auto lock = std::make_unique<RosterLock>(file, safety().lockWait);
        RosterFile(file).requireWritable();
        for (const std::string& text :
             recoverInterruptedSaves(safety().dataFolderOrDefault(), file, safety().lockWait,
                                     nullptr, safety().cutOffBatch)) {
            std::cerr << "quillbay-cli: " << text << '\n';
        }
        return lock;
    }
};

void addSafety(CLI::App& sub, WriteOptions& options) {
    sub.add_flag("--force", options.force,
                 "Write even when another program changed the slot since it was read");
    sub.add_flag("--no-backup", options.noBackup,
                 "Do not copy the file to the backups folder before its first write");
    sub.add_option("--cut-off", options.cutOff,
                   "Complete or undo a batch cut off part-way that the file holds though its "
                   "journal is of another file (the file was moved or copied since)")
        ->check(CLI::IsMember({"complete", "undo"}));
}

// A dry run, and how much is printed of what is (or would be) written.
void addDryRun(CLI::App& sub, WriteOptions& options) {
    sub.add_flag("--dry-run", options.dryRun,
                 "Print the fields that would change, with old and new values; write nothing");
    sub.add_flag("--verbose", options.verbose,
                 "Print both the fields changed and the record offsets written, and every slot "
                 "of a batch");
}

// The options of the commands that edit fields: those of every writing command, a dry
// run, and --yes, since emptying a name empties its slot (the window's rule).
void addEditing(CLI::App& sub, WriteOptions& options) {
    addSafety(sub, options);
    addDryRun(sub, options);
    sub.add_flag("--yes", options.yes, "Allow an empty name, which empties a named slot");
}

struct ListArguments {
    std::string file;
    bool all = false;
    FormatChoice format;
    std::string out; // dump's workbook
};

std::function<int()> defineListing(CLI::App& sub, bool dump) {
    auto a = std::make_shared<ListArguments>();
    addFile(sub, a->file);
    sub.add_flag("--all", a->all,
                 dump ? "Every slot, empty ones included" : "All 1600 slots, like the slot list");
    if (dump) {
        addFormat(sub, a->format, {"json", "csv", "xlsx"});
        sub.add_option("OUT", a->out, "The workbook to write (--format xlsx only)");
        return [a] {
            // A workbook is binary: it goes to a named file, never to a terminal.
            const bool workbook = a->format.name == "xlsx";
            if (workbook == a->out.empty()) {
                throw UsageError(workbook ? "--format xlsx writes a workbook: name it "
                                            "(dump FILE --format xlsx OUT.xlsx)"
                                          : "OUT is for --format xlsx; json and csv go to "
                                            "standard output");
            }
            warnAboutCutOffSave(a->file);
            return workbook ? runDumpWorkbook(a->file, a->all, a->out)
                            : runDump(a->file, a->all, a->format.format());
        };
    }
    addFormat(sub, a->format, {"text", "csv", "json"});
    return [a] {
        warnAboutCutOffSave(a->file);
        return runList(a->file, a->all, a->format.format());
    };
}

// What one command line names; each command fills the members it takes.
struct CommandArguments {
    std::string file; // the roster (the game folder of face, the TGA file of tga)
    int slot = -1;    // the slot (the face number of face)
    // The command's second file: the edits, the player file, FILE_B, the backup, the
    // bitmap written.
    std::string secondFile;
    std::string groups;                    // copy --only: field groups, comma-separated
    std::vector<std::string> edits;        // KEY=VALUE (set, bulk --set)
    std::vector<std::string> wheres;       // bulk --where KEY=VALUE
    std::vector<std::string> copyOperands; // copy: FROM FROM_SLOT TO TO_SLOT, or FROM TO
    std::vector<int> slots;
    FormatChoice format;
    MatchChoice match;
    WriteOptions write;
};

// copy FROM FROM_SLOT TO TO_SLOT, or copy FROM TO --match slot|id.
CopyRequest copyRequest(const CommandArguments& a, bool matched) {
    const std::vector<std::string>& files = a.copyOperands;
    if (files.size() != (matched ? 2U : 4U)) {
        throw UsageError(matched
                             ? "copy with --match takes FROM TO"
                             : "copy takes FROM FROM_SLOT TO TO_SLOT, or FROM TO --match slot|id");
    }
    CopyRequest request{files[0], files[matched ? 1 : 2], std::nullopt, std::nullopt, a.groups};
    if (matched) {
        request.match = a.match.by();
        return request;
    }
    PlayerPair slots{};
    for (const auto& [text, slot] : {std::pair{files[1], &slots.left}, {files[3], &slots.right}}) {
        const std::optional<int> value = wholeNumber(text, 0, SLOT_COUNT - 1);
        if (!value) {
            throw UsageError(quotedText(text) + " is not a slot from 0 to 1599");
        }
        *slot = *value;
    }
    request.slots = slots;
    return request;
}

std::vector<Command> makeTable() {
    return {
        {"list", "List the player list (the leading run of named slots)",
         "quillbay-cli list roster.pak --all --format csv",
         [](CLI::App& sub) { return defineListing(sub, false); }},
        {"show", "Show one slot as the editor shows it",
         "quillbay-cli show roster.pak 12 --format json",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addSlot(sub, a->slot);
             addFormat(sub, a->format, {"text", "json"});
             return [a] {
                 warnAboutCutOffSave(a->file);
                 return runShow(a->file, a->slot, a->format.format());
             };
         }},
        {"dump", "Every named slot as player objects",
         "quillbay-cli dump roster.pak --format csv > players.csv",
         [](CLI::App& sub) { return defineListing(sub, true); }},
        {"set", "Change fields of one slot and save as the editor does",
         "quillbay-cli set roster.pak 5 roles.bowlingStyle=Chinaman "
         "\"ratings.bowling.Accuracy=50\"",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addSlot(sub, a->slot);
             sub.add_option("KEY=VALUE", a->edits, "Fields to change")->required();
             addEditing(sub, a->write);
             return [a] {
                 const auto held = a->write.lockAndRecover(a->file);
                 return runSet(a->file, a->slot, a->edits, a->write.editing());
             };
         }},
        {"apply", "Apply edits from a JSON or CSV file",
         "quillbay-cli apply roster.pak edits.csv --dry-run",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             sub.add_option("EDITS", a->secondFile, "EDITS.json or EDITS.csv")->required();
             addMatch(sub, a->match, "Entries name their player by slot (default) or by id");
             addEditing(sub, a->write);
             sub.add_option("--force-slots", a->slots,
                            "Write these slots (N,N,...) even when the dump's hash says another "
                            "program changed them since, or a spreadsheet damaged the hash")
                 ->delimiter(',')
                 ->transform(decimalFrom(0, SLOT_COUNT - 1));
             return [a] {
                 const auto held = a->write.lockAndRecover(a->file);
                 EditOptions options = a->write.editing();
                 options.forcedSlots = {a->slots.begin(), a->slots.end()};
                 return runApply(a->file, a->secondFile, a->match.by(), options);
             };
         }},
        {"export", "Write one slot to a .data player file",
         "quillbay-cli export roster.pak 12 smith.data",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addSlot(sub, a->slot);
             sub.add_option("OUT", a->secondFile,
                            "Player file; .data is appended unless the name ends in data")
                 ->required();
             sub.add_flag("--yes", a->write.yes, "Replace an existing file without asking");
             return [a] {
                 warnAboutCutOffSave(a->file);
                 return runExport(a->file, a->slot, a->secondFile, a->write.yes);
             };
         }},
        {"import", "Read a .data player file over one slot",
         "quillbay-cli import roster.pak 12 smith.data --yes",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addSafety(sub, a->write);
             addSlot(sub, a->slot);
             sub.add_option("IN", a->secondFile, "Player file of exactly 348 bytes")->required();
             sub.add_flag("--yes", a->write.yes, "Do not ask for confirmation");
             return [a] {
                 const auto held = a->write.lockAndRecover(a->file);
                 return runImport(a->file, a->slot, a->secondFile, a->write.yes, a->write.safety());
             };
         }},
        {"check", "Report what would surprise a user of the editor",
         "quillbay-cli check roster.pak --format json",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addFormat(sub, a->format, {"text", "json"});
             return [a] { return runCheck(a->file, a->format.format()); };
         }},
        {"diff", "Field-level differences between two rosters",
         "quillbay-cli diff before.pak after.pak",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             sub.add_option("FILE_A", a->file, "First roster or saved game")->required();
             sub.add_option("FILE_B", a->secondFile, "Second roster or saved game")->required();
             addFormat(sub, a->format, {"text", "json", "patch"});
             addMatch(sub, a->match, "Pair players by slot (default) or by player ID");
             return [a] {
                 warnAboutCutOffSave(a->file);
                 warnAboutCutOffSave(a->secondFile);
                 return a->format.name == "patch"
                            ? runPatch(a->file, a->secondFile, a->match.by())
                            : runDiff(a->file, a->secondFile, a->format.format(), a->match.by());
             };
         }},
        {"bulk", "One edit over many players",
         "quillbay-cli bulk roster.pak --where nation=ENG --set \"ratings.bowling.Accuracy+=5\"",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             sub.add_option("--where", a->wheres,
                            "KEY=VALUE: only named slots whose field has this value");
             sub.add_option("--set", a->edits,
                            "KEY=VALUE, KEY+=N or KEY-=N (clamped to the field's range)")
                 ->required();
             addEditing(sub, a->write);
             return [a] {
                 const auto held = a->write.lockAndRecover(a->file);
                 return runBulk(a->file, a->wheres, a->edits, a->write.editing());
             };
         }},
        {"copy", "Copy a player's fields, or every matched player's, into another roster",
         "quillbay-cli copy patch.pak mine.pak --match id --only ratings",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             sub.add_option("FROM FROM_SLOT TO TO_SLOT", a->copyOperands,
                            "The source roster and slot, then the target roster and slot; "
                            "FROM TO with --match")
                 ->required()
                 ->expected(2, 4);
             CLI::Option* match = addMatch(sub, a->match,
                                           "Copy every named player of FROM into the player of "
                                           "TO in the same slot or with the same player ID");
             CLI::Option* only = sub.add_option(
                 "--only", a->groups,
                 "Field groups: identity, appearance, roles, ratings, skills, shots, "
                 "statistics or statistics.<format>, comma-separated");
             addEditing(sub, a->write);
             return [a, match, only] {
                 CopyRequest request = copyRequest(*a, match->count() > 0);
                 if (only->count() == 0) {
                     request.only.reset();
                 }
                 const auto held = a->write.lockAndRecover(request.to);
                 return runCopy(request, a->write.editing());
             };
         }},
        {"repair", "Reset the fields the editor cannot show to values it can show",
         "quillbay-cli repair roster.pak 12 --dry-run",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addSafety(sub, a->write);
             sub.add_option("SLOT", a->slots,
                            "Slots, 0 to 1599 (default: every named slot that fails to load)")
                 ->transform(decimalFrom(0, SLOT_COUNT - 1));
             addDryRun(sub, a->write);
             return [a] {
                 const auto held = a->write.lockAndRecover(a->file);
                 return runRepair(a->file, a->slots, a->write.style(), a->write.safety());
             };
         }},
        {"backups", "List the backups the tools made of a file, newest first",
         "quillbay-cli backups roster.pak",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             addFormat(sub, a->format, {"text", "json"});
             return [a] { return runBackups(a->file, a->format.format()); };
         }},
        {"restore", "Write slots of a backup (or any file of the same kind and size) into a file",
         "quillbay-cli restore roster.pak roster-20261207-011300-123.pak --slots 4,17,230",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             addFile(sub, a->file);
             sub.add_option("SOURCE", a->secondFile, "The backup or file whose slots are written")
                 ->required();
             sub.add_option("--slots", a->slots,
                            "Slots, 0 to 1599 (default: every slot that differs)")
                 ->delimiter(',')
                 ->transform(decimalFrom(0, SLOT_COUNT - 1));
             addSafety(sub, a->write);
             addDryRun(sub, a->write);
             return [a] {
                 const auto held = a->write.lockAndRecover(a->file);
                 return runRestore(a->file, a->secondFile, a->slots, a->write.style(),
                                   a->write.safety());
             };
         }},
        {"face", "Copy a face from the game archive into a bitmap file",
         "quillbay-cli face ~/Games/Cricket2004 7 face7.bmp",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             sub.add_option("GAME_FOLDER", a->file, "The game's installation folder")->required();
             sub.add_option("FACE", a->slot, "Face number, 0 to 24")
                 ->required()
                 ->transform(decimalFrom(0, 24));
             sub.add_option("OUT", a->secondFile, "Bitmap file to write")->required();
             return [a] { return runFace(a->file, a->slot, a->secondFile); };
         }},
        {"tga", "Report what the TGA reader makes of a file, or write it as a bitmap",
         "quillbay-cli tga bat01.tga bat01.bmp",
         [](CLI::App& sub) -> std::function<int()> {
             auto a = std::make_shared<CommandArguments>();
             sub.add_option("IN", a->file, "TGA file")->required();
             sub.add_option("OUT", a->secondFile, "Bitmap file to write");
             return [a] { return runTga(a->file, a->secondFile); };
         }},
    };
}

} // namespace

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = makeTable();
    return table;
}

} // namespace qb::cli
