#include "cli_options.h"

#include "format/gif_format.h"

#include <functional>

namespace {

// Delays and sizes are 16-bit fields of a GIF file.
bool ReadNumber(const wxString& text, long minimum, int& value)
{
    long number = 0;
    if (text.empty() || !text.ToLong(&number) || number < minimum || number > kGifMaxField)
        return false;
    value = int(number);
    return true;
}

bool ReadSize(const wxString& text, int& width, int& height)
{
    const int x = text.Find('x');
    return x != wxNOT_FOUND && ReadNumber(text.Left(x), 1, width) && ReadNumber(text.Mid(x + 1), 1, height);
}

// An option that takes a value; `apply` reads it and returns false when it is
// not acceptable, with `error` set.
struct ValueOption {
    const char* shortName;
    const char* longName;
    std::function<bool(const wxString& value, CliOptions& options, wxString& error)> apply;
};

const std::vector<ValueOption>& ValueOptions()
{
    static const std::vector<ValueOption> options = {
        {"-d", "--delay",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = true;
             if (ReadNumber(value, 0, o.delay))
                 return true;
             error = wxString::Format("the delay must be a whole number from 0 to %d, not \"%s\"", kGifMaxField, value);
             return false;
         }},
        {"-s", "--size",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.settingsGiven = true;
             if (ReadSize(value, o.width, o.height))
                 return true;
             error = wxString::Format("the size must be WIDTHxHEIGHT, each from 1 to %d, not \"%s\"", kGifMaxField, value);
             return false;
         }},
        {"-o", "--output",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.output = value;
             if (!value.empty())
                 return true;
             error = "the output file name is empty";
             return false;
         }},
        {"-p", "--project",
         [](const wxString& value, CliOptions& o, wxString& error) {
             o.project = value;
             if (!value.empty())
                 return true;
             error = "the project file name is empty";
             return false;
         }},
    };
    return options;
}

} // namespace

wxString CliUsage()
{
    return wxString::Format("Usage: gifmaker-cli [-d DELAY] [-s WIDTHxHEIGHT] -o OUT.gif FILE...\n"
                            "       gifmaker-cli --project PROJECT.xml -o OUT.gif\n"
                            "Makes an animated GIF that loops for ever from the pictures (PNG, JPEG, BMP, GIF;\n"
                            "every frame of a GIF file), in the order given.\n"
                            "\n"
                            "  -d, --delay DELAY          delay of every frame in hundredths of a second (default %d)\n"
                            "  -s, --size WIDTHxHEIGHT    output size (default: the first frame that is wider or\n"
                            "                             taller than all before it); larger pictures are scaled\n"
                            "                             down, every picture is centred on black\n"
                            "  -o, --output OUT.gif       the file to write; replaced only when complete\n"
                            "  -p, --project PROJECT.xml  render a saved project as the program saves it\n"
                            "  -h, --help                 show this text\n"
                            "      --version              show the version\n"
                            "\n"
                            "Exit status: 0 written, 1 bad usage, 2 an input cannot be read, 3 the output cannot\n"
                            "be written.\n",
                            CliOptions::kDefaultDelay);
}

CliAction ParseCliArguments(const std::vector<wxString>& arguments, CliOptions& options, wxString& error)
{
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const wxString& argument = arguments[i];
        if (onlyFiles || !argument.StartsWith("-") || argument == "-") {
            options.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (argument == "-h" || argument == "--help")
            return CliAction::ShowHelp;
        if (argument == "--version")
            return CliAction::ShowVersion;

        const ValueOption* option = nullptr;
        wxString value;
        bool hasValue = false;
        for (const ValueOption& candidate : ValueOptions()) {
            if (argument == candidate.shortName || argument == candidate.longName) {
                option = &candidate;
            } else if (argument.StartsWith(wxString(candidate.longName) + "=", &value)) {
                option = &candidate;
                hasValue = true;
            } else if (argument.StartsWith(candidate.shortName, &value)) {
                option = &candidate;
                hasValue = true;
            }
            if (option)
                break;
        }
        if (!option) {
            error = wxString::Format("unknown option \"%s\"", argument);
            return CliAction::BadUsage;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                error = wxString::Format("option \"%s\" needs a value", argument);
                return CliAction::BadUsage;
            }
            value = arguments[++i];
        }
        if (!option->apply(value, options, error))
            return CliAction::BadUsage;
    }
    if (options.output.empty()) {
        error = "no output file given (-o OUT.gif)";
        return CliAction::BadUsage;
    }
    if (!options.project.empty()) {
        if (options.inputs.empty() && !options.settingsGiven)
            return CliAction::Encode;
        error = "a project brings its own pictures, delay and size; give no files, -d or -s with --project";
        return CliAction::BadUsage;
    }
    if (options.inputs.empty()) {
        error = "no input pictures given";
        return CliAction::BadUsage;
    }
    return CliAction::Encode;
}
