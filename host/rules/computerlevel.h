#pragma once

#include "sessionmessages.h"

#include <optional>
#include <string_view>

namespace morlu {

/// How a computer-played seat decides: the simple fixed rules ("classic"), the sampling expert or the
/// searching master.
enum class ComputerLevel { Classic, Expert, Master };

/// The level named @p text (kBotLevelClassic, kBotLevelExpert or kBotLevelMaster, exactly); nothing for any other text.
constexpr std::optional<ComputerLevel> computerLevelFor(std::string_view text)
{
    if (text == kBotLevelClassic)
        return ComputerLevel::Classic;
    if (text == kBotLevelExpert)
        return ComputerLevel::Expert;
    if (text == kBotLevelMaster)
        return ComputerLevel::Master;
    return std::nullopt;
}

} // namespace morlu
