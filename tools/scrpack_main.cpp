// scrpack: builds, inspects and extracts screen saver installer packages.

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package_builder.h"
#include "package_inspector.h"

namespace fs = std::filesystem;
using namespace scrinst::pack;

namespace {

constexpr std::string_view kUsage = R"(Usage:
  scrpack build --stub INSTALLER.EXE --saver SAVER.SCR [--picture PICTURE]
                [--text TEXT] [--name NAME] -o PACKAGE.EXE
  scrpack info [--json] PACKAGE.EXE
  scrpack extract PACKAGE.EXE -d DIRECTORY
  scrpack --help | --version

build    appends the screen saver, the optional picture and text, and the
         trailer to a copy of the installer stub.
           --name     the screen saver's name (default: the saver's file name
                      without extension); at most 51 bytes, a plain Windows
                      file name (no \ / : * ? " < > |, no device name)
           --picture  a JPEG or Windows bitmap (BMP) file, recognised by its
                      content; shown above the text (298 x 157 fills the area)
           --text     single-byte text in the Windows code page
         The package must stay below 2 GiB. It is written to a temporary
         file and renamed, so a failed build leaves nothing behind.
info     shows the trailer, where the items lie, the picture's kind and size,
         and whether the installer would load the package (exit 1 if not).
extract  writes NAME.scr, the picture and NAME.txt into DIRECTORY.

Example:
  scrpack build --stub installer.exe --saver Starfield.scr \
      --picture banner.jpg --text readme.txt -o StarfieldSetup.exe
  scrpack info StarfieldSetup.exe
)";

struct UsageError {
    std::string message;
};

// Collects "--flag value" pairs, bare arguments and boolean flags.
struct Arguments {
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;
    bool json = false;
};

Arguments Parse(const std::vector<std::string>& args, std::initializer_list<std::string_view> valued)
{
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            parsed.json = true;
            continue;
        }
        bool known = false;
        for (const std::string_view option : valued) {
            if (arg == option) {
                if (i + 1 >= args.size()) {
                    throw UsageError{"option " + arg + " needs a value"};
                }
                if (parsed.options.count(arg) != 0) {
                    throw UsageError{"option " + arg + " given twice"};
                }
                parsed.options[arg] = args[++i];
                known = true;
                break;
            }
        }
        if (known) {
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError{"unknown option " + arg};
        }
        parsed.positional.push_back(arg);
    }
    return parsed;
}

std::string Required(const Arguments& args, const std::string& option)
{
    const auto found = args.options.find(option);
    if (found == args.options.end()) {
        throw UsageError{"missing " + option};
    }
    return found->second;
}

std::optional<std::string> Optional(const Arguments& args, const std::string& option)
{
    const auto found = args.options.find(option);
    return found == args.options.end() ? std::nullopt : std::optional(found->second);
}

int Build(const std::vector<std::string>& rawArgs)
{
    const Arguments args = Parse(rawArgs, {"--stub", "--saver", "--picture", "--text", "--name", "-o", "--output"});
    if (!args.positional.empty() || args.json) {
        throw UsageError{"unexpected argument " + (args.json ? std::string("--json") : args.positional.front())};
    }
    const fs::path stubPath = Required(args, "--stub");
    const fs::path saverPath = Required(args, "--saver");
    const auto output = Optional(args, "-o") ? Optional(args, "-o") : Optional(args, "--output");
    if (!output) {
        throw UsageError{"missing -o PACKAGE.EXE"};
    }

    PackageInputs inputs;
    inputs.stub = ReadFileBytes(stubPath);
    inputs.saver = ReadFileBytes(saverPath);
    if (inputs.saver.empty()) {
        throw BuildError(saverPath.string() + ": screen saver is empty");
    }
    if (const auto picture = Optional(args, "--picture")) {
        inputs.picture = ReadFileBytes(*picture);
        if (inputs.picture.empty()) {
            throw BuildError(*picture + ": picture is empty");
        }
        try {
            ValidatePicture(inputs.picture);
        } catch (const BuildError& error) {
            throw BuildError(*picture + ": " + error.what());
        }
    }
    if (const auto text = Optional(args, "--text")) {
        inputs.text = ReadFileBytes(*text);
    }
    inputs.name = Optional(args, "--name").value_or(DefaultSaverName(saverPath));

    const std::vector<std::uint8_t> package = BuildPackage(inputs);
    WriteFileAtomically(*output, package);
    std::printf("%s: %zu bytes (screen saver \"%s\", %zu bytes; picture %zu bytes; text %zu bytes)\n",
                output->c_str(), package.size(), inputs.name.c_str(), inputs.saver.size(), inputs.picture.size(),
                inputs.text.size());
    return 0;
}

int Info(const std::vector<std::string>& rawArgs)
{
    const Arguments args = Parse(rawArgs, {});
    if (args.positional.size() != 1) {
        throw UsageError{"info takes one PACKAGE.EXE"};
    }
    const std::string& path = args.positional.front();
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    const PackageReport report = InspectPackage(bytes);
    const std::string text = args.json ? FormatReportJson(report) : FormatReportText(report);
    std::fputs(text.c_str(), stdout);
    return report.valid() ? 0 : 1;
}

int Extract(const std::vector<std::string>& rawArgs)
{
    const Arguments args = Parse(rawArgs, {"-d", "--directory"});
    if (args.positional.size() != 1) {
        throw UsageError{"extract takes one PACKAGE.EXE"};
    }
    const auto directory = Optional(args, "-d") ? Optional(args, "-d") : Optional(args, "--directory");
    if (!directory) {
        throw UsageError{"missing -d DIRECTORY"};
    }
    const std::string& path = args.positional.front();
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    std::vector<fs::path> written;
    try {
        written = ExtractPackage(bytes, *directory);
    } catch (const BuildError& error) {
        throw BuildError(path + ": " + error.what());
    }
    for (const fs::path& file : written) {
        std::printf("%s\n", file.string().c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty()) {
        std::fputs(kUsage.data(), stderr);
        return 2;
    }
    const std::string& command = all.front();
    const std::vector<std::string> rest(all.begin() + 1, all.end());
    try {
        if (command == "--help" || command == "-h" || command == "help") {
            std::fputs(kUsage.data(), stdout);
            return 0;
        }
        if (command == "--version") {
            std::printf("scrpack %s\n", SCRPACK_VERSION);
            return 0;
        }
        if (command == "build") return Build(rest);
        if (command == "info") return Info(rest);
        if (command == "extract") return Extract(rest);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& error) {
        std::fprintf(stderr, "scrpack: %s\nRun 'scrpack --help' for usage.\n", error.message.c_str());
        return 2;
    } catch (const BuildError& error) {
        std::fprintf(stderr, "scrpack: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "scrpack: %s\n", error.what());
        return 1;
    }
}
