#pragma once
// The options of a command as a table: what --help lists is what the parser takes.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

struct OptionEntry {
    std::string_view name;   // "--json"
    std::string_view alias;  // a short form ("-j"), or empty
    std::string_view value;  // what follows it ("N", "FILE"), empty for a flag
    std::string_view help;   // one or two sentences
};

// A command line taken apart by its option table.
class CParsedArgs {
  public:
    std::vector<std::string> positional;

    bool Has(std::string_view name) const;
    // The last value given for `name`.
    std::optional<std::string> Value(std::string_view name) const;

    void Add(std::string_view name, std::string value);

  private:
    std::vector<std::pair<std::string, std::string>> given_;
};

// Takes `args` apart: "--name VALUE", "--name=VALUE", a short form with its value attached
// ("-j8") or apart ("-j 8"), flags, and everything else (and everything after "--") as
// positional words. False, with "lanternactl COMMAND: ..." on standard error, for an unknown
// option or one without its value.
bool ParseArguments(CliContext& context, std::string_view command, CliArgs args,
                    std::span<const OptionEntry> options, CParsedArgs& parsed);

// A whole number from `low` to `high` given for `option` into `value` (left as it is when the
// option is absent). False, with a message, for anything else.
bool NumberOption(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                  std::string_view option, long low, long high, long& value);

}  // namespace lanterna::cli
