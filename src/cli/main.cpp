// quillbay-cli: the batch tool for modders. Every read and write goes through the
// same core operations as the editor window.
#include "cli/cli_errors.h"
#include "cli/command_table.h"
#include "images/image_error.h"
#include "roster/layout.h"
#include "system/process.h"

#include <iostream>
#include <string_view>

namespace {

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
    // Options are spelled --name on every system; on Windows, CLI11 would otherwise take
    // a path such as /Games/roster.pak (the root of the current drive) for an option.
    app.allow_windows_style_options(false);
    std::vector<std::pair<CLI::App*, std::function<int()>>> runners;
    // The kind of every roster file the command names, when its name does not tell.
    std::string kind;
    for (const qb::cli::Command& command : qb::cli::commandTable()) {
        CLI::App* sub = app.add_subcommand(command.name, command.description);
        sub->footer(std::string("Example:\n  ") + command.example);
        runners.emplace_back(sub, command.define(*sub));
        if (std::string_view(command.name) != "face" && std::string_view(command.name) != "tga") {
            sub->add_option("--kind", kind,
                            "What the files are, whatever their names: pak (a roster file) or "
                            "sav (a saved game)")
                ->check(CLI::IsMember({"pak", "sav"}));
        }
    }

    qb::useBinaryStandardStreams();
    const std::vector<std::string> arguments = qb::commandLineArguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }

    if (!kind.empty()) {
        qb::declareFileKind(kind == "sav" ? qb::FileKind::SavedGame : qb::FileKind::Roster);
    }
    try {
        for (const auto& [sub, run] : runners) {
            if (sub->parsed()) {
                return run();
            }
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
