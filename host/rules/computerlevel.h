#pragma once

#include "sessionmessages.h"

#include <optional>
#include <string_view>

namespace morlu {

/// How a computer-played seat decides: the simple fixed rules ("classic") or the sampling expert.
enum class ComputerLevel { Classic, Expert };

/// The level named @p text (kBotLevelClassic or kBotLevelExpert, exactly); nothing for any other text.
constexpr std::optional<ComputerLevel> computerLevelFor(std::string_view text)
{
    if (text == kBotLevelClassic)
        return ComputerLevel::Classic;
    if (text == kBotLevelExpert)
        return ComputerLevel::Expert;
    return std::nullopt;
}

} // namespace morlu
