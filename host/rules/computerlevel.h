#pragma once

#include <optional>
#include <string_view>

namespace morlu {

/// How a computer-played seat decides: the simple fixed rules ("classic") or the sampling expert.
enum class ComputerLevel { Classic, Expert };

inline constexpr std::string_view kLevelClassic = "classic";
inline constexpr std::string_view kLevelExpert = "expert";

/// The level named @p text ("classic" or "expert", exactly); nothing for any other text.
constexpr std::optional<ComputerLevel> computerLevelFor(std::string_view text)
{
    if (text == kLevelClassic)
        return ComputerLevel::Classic;
    if (text == kLevelExpert)
        return ComputerLevel::Expert;
    return std::nullopt;
}

} // namespace morlu
