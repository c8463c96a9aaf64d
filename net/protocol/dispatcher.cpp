#include "dispatcher.h"

namespace morlu {

CommandLine splitCommand(std::string_view line)
{
    const auto plus = line.find('+');
    if (plus == std::string_view::npos)
        return {};
    return {line.substr(0, plus), line.substr(plus + 1)};
}

} // namespace morlu
