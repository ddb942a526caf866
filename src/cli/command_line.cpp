#include "cli/command_line.h"

#include <charconv>
#include <map>
#include <optional>
#include <string_view>

#include "screen/layout.h"

namespace {

// Each option as a bit, so that a command can list the ones it takes.
enum OptionBit : unsigned {
    OutputOption = 1u << 0,
    InPlaceOption = 1u << 1,
    FolderOption = 1u << 2,
    MonoOption = 1u << 3,
    ScaleOption = 1u << 4,
    GridOption = 1u << 5,
    HighlightOption = 1u << 6,
};

struct OptionEntry {
    std::string_view name;
    OptionBit bit;
    bool takesValue;
};

constexpr OptionEntry Options[] = {
    {"-o", OutputOption, true},
    {"--in-place", InPlaceOption, false},
    {"-d", FolderOption, true},
    {"--mono", MonoOption, false},
    {"--scale", ScaleOption, true},
    {"--grid", GridOption, false},
    {"--highlight", HighlightOption, true},
};

struct CommandEntry {
    std::string_view name;
    Command command;
    unsigned options;
};

constexpr CommandEntry Commands[] = {
    {"info", Command::Info, 0},
    {"optimize", Command::Optimize, OutputOption | InPlaceOption},
    {"invert", Command::Invert, OutputOption | InPlaceOption},
    {"flip", Command::Flip, OutputOption | InPlaceOption},
    {"split", Command::Split, FolderOption},
    {"join", Command::Join, OutputOption},
    {"png", Command::Png,
     OutputOption | FolderOption | MonoOption | ScaleOption | GridOption | HighlightOption},
    {"extract", Command::Extract, OutputOption | FolderOption},
    {"from-png", Command::FromPng, OutputOption | FolderOption},
};

constexpr int LargestScale = 8;

// Thrown while reading; readCommandLine() turns it into a usage error.
struct UsageProblem {
    std::string text;
};

[[noreturn]] void fail(std::string text) {
    throw UsageProblem{std::move(text)};
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The arguments after the command, sorted into operands and option values.
struct Scan {
    std::vector<std::string> operands;
    std::map<OptionBit, std::string> values;  // "" for an option without a value

    bool has(OptionBit bit) const { return values.count(bit) != 0; }
    const std::string& value(OptionBit bit) const { return values.at(bit); }
};

std::optional<Action> textRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "--help") {
            return Action::ShowHelp;
        }
        if (argument == "--version") {
            return Action::ShowVersion;
        }
    }
    return std::nullopt;
}

const CommandEntry& findCommand(const std::string& name) {
    for (const CommandEntry& entry : Commands) {
        if (entry.name == name) {
            return entry;
        }
    }
    fail("unknown command " + quoted(name));
}

const OptionEntry& findOption(const std::string& name) {
    for (const OptionEntry& entry : Options) {
        if (entry.name == name) {
            return entry;
        }
    }
    fail("unknown option " + quoted(name));
}

bool looksLikeOption(const std::string& argument) {
    const bool negativeNumber =
        argument.size() > 1 && argument[0] == '-' && argument[1] >= '0' && argument[1] <= '9';
    return argument.size() > 1 && argument[0] == '-' && !negativeNumber;
}

Scan scanArguments(const std::vector<std::string>& arguments, const CommandEntry& command) {
    Scan scan;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !looksLikeOption(argument)) {
            scan.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionEntry& option = findOption(argument);
        if ((command.options & option.bit) == 0) {
            fail("option " + argument + " does not apply to " + std::string(command.name));
        }
        if (scan.has(option.bit)) {
            fail("option " + argument + " is given twice");
        }
        std::string value;
        if (option.takesValue) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                fail("option " + argument + " needs a value");
            }
            value = arguments[++i];
        }
        scan.values[option.bit] = value;
    }
    return scan;
}

// The whole text as a decimal number from `lowest` to `highest`.
std::optional<int> numberIn(std::string_view text, int lowest, int highest) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc{} || stop != end || number < lowest || number > highest) {
        return std::nullopt;
    }
    return number;
}

int cellColumn(const std::string& text) {
    const auto column = numberIn(text, 0, CellColumns - 1);
    if (!column) {
        fail("cell column " + quoted(text) + " is not a number from 0 to 31");
    }
    return *column;
}

int cellRow(const std::string& text) {
    const auto row = numberIn(text, 0, CellRows - 1);
    if (!row) {
        fail("cell row " + quoted(text) + " is not a number from 0 to 23");
    }
    return *row;
}

void requireInputs(const Scan& scan, std::size_t count, const std::string& problem) {
    if (scan.operands.size() != count) {
        fail(problem);
    }
}

void requireSomeInputs(const Scan& scan, const std::string& command) {
    if (scan.operands.empty()) {
        fail(command + " needs at least one FILE");
    }
}

// -o OUT for one input, or --in-place for any number of them.
void readDestination(const Scan& scan, const std::string& command, Request& request) {
    if (scan.has(OutputOption) && scan.has(InPlaceOption)) {
        fail("-o and --in-place exclude each other");
    }
    if (!scan.has(OutputOption) && !scan.has(InPlaceOption)) {
        fail(command + " needs -o OUT or --in-place");
    }
    if (scan.has(OutputOption) && request.inputs.size() != 1) {
        fail("-o takes one input FILE; use --in-place for several");
    }
    request.inPlace = scan.has(InPlaceOption);
    if (scan.has(OutputOption)) {
        request.output = scan.value(OutputOption);
    }
}

// -o OUT for one input, or -d DIR (or neither: the current folder) for each
// input's file under its own name.
void readNamedOrFolderOutput(const Scan& scan, Request& request) {
    if (scan.has(OutputOption) && scan.has(FolderOption)) {
        fail("-o and -d exclude each other");
    }
    if (scan.has(OutputOption)) {
        if (request.inputs.size() != 1) {
            fail("-o takes one input FILE; several are each written under their own name");
        }
        request.output = scan.value(OutputOption);
    }
    if (scan.has(FolderOption)) {
        request.folder = scan.value(FolderOption);
    }
}

void readPngOptions(const Scan& scan, PngOptions& png) {
    png.mono = scan.has(MonoOption);
    png.grid = scan.has(GridOption);
    if (scan.has(ScaleOption)) {
        const std::string& text = scan.value(ScaleOption);
        const auto scale = numberIn(text, 1, LargestScale);
        if (!scale) {
            fail("--scale " + quoted(text) + " is not a number from 1 to 8");
        }
        png.scale = *scale;
    }
    if (scan.has(HighlightOption)) {
        const std::string& text = scan.value(HighlightOption);
        const std::size_t comma = text.find(',');
        if (comma == std::string::npos) {
            fail("--highlight " + quoted(text) + " is not CX,CY");
        }
        png.column = cellColumn(text.substr(0, comma));
        png.row = cellRow(text.substr(comma + 1));
    }
}

Request buildRequest(const CommandEntry& entry, const Scan& scan) {
    Request request;
    request.command = entry.command;
    const std::string name(entry.name);
    switch (entry.command) {
        case Command::Info:
            requireSomeInputs(scan, name);
            request.inputs = scan.operands;
            break;
        case Command::Optimize:
        case Command::Invert:
            requireSomeInputs(scan, name);
            request.inputs = scan.operands;
            readDestination(scan, name, request);
            break;
        case Command::Flip:
            requireInputs(scan, 3, "flip needs CX CY FILE");
            request.column = cellColumn(scan.operands[0]);
            request.row = cellRow(scan.operands[1]);
            request.inputs = {scan.operands[2]};
            readDestination(scan, name, request);
            break;
        case Command::Split:
            requireInputs(scan, 1, "split needs one FILE");
            request.inputs = scan.operands;
            if (scan.has(FolderOption)) {
                request.folder = scan.value(FolderOption);
            }
            break;
        case Command::Join:
            requireInputs(scan, 2, "join needs BITMAP and ATTR");
            request.inputs = scan.operands;
            if (!scan.has(OutputOption)) {
                fail("join needs -o OUT");
            }
            request.output = scan.value(OutputOption);
            break;
        case Command::Png:
            requireSomeInputs(scan, name);
            request.inputs = scan.operands;
            readNamedOrFolderOutput(scan, request);
            readPngOptions(scan, request.png);
            break;
        case Command::Extract:
        case Command::FromPng:
            requireSomeInputs(scan, name);
            request.inputs = scan.operands;
            readNamedOrFolderOutput(scan, request);
            break;
    }
    return request;
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments) {
    if (const auto action = textRequest(arguments)) {
        return CommandLine{*action, {}, {}};
    }
    try {
        if (arguments.empty()) {
            fail("no command given");
        }
        const CommandEntry& command = findCommand(arguments[0]);
        return CommandLine{
            Action::Run, buildRequest(command, scanArguments(arguments, command)), {}};
    } catch (const UsageProblem& problem) {
        return CommandLine{Action::UsageError, {}, problem.text};
    }
}
