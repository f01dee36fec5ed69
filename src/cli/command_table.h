#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace qb::cli {

// One command of quillbay-cli: its name and help, and how it takes its own arguments.
// `define` adds them to the command's parser and returns what runs the command once
// they are parsed.
struct Command {
    const char* name;
    const char* description;
    const char* example;
    std::function<std::function<int()>(CLI::App& sub)> define;
};

// Every command, in the order of the help text.
const std::vector<Command>& commandTable();

} // namespace qb::cli
