#pragma once

#include "commands.h"
#include "dispatcher.h"
#include "fieldreader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace morlu {

/**
 * One row of a layout table: @p message writes exactly @p wire and the 0xFF, and reading the rest of
 * @p wire gives @p message back.
 */
template <typename Message> void expectWire(const Message& message, std::string_view wire)
{
    SCOPED_TRACE(std::string(wire));
    std::string buffer;
    EXPECT_EQ(message.write(buffer), std::string(wire) + '\xFF');
    const CommandLine command = splitCommand(wire);
    ASSERT_EQ(command.word, Message::command);
    const Message read = Message::read(command.rest);
    EXPECT_TRUE(read == message) << "read back as " << toLine(read);
}

/// Reading @p rest gives @p expected.
template <typename Message> void expectRead(std::string_view rest, const Message& expected)
{
    const Message read = Message::read(rest);
    EXPECT_TRUE(read == expected) << "'" << rest << "' read as " << toLine(read) << ", expected " << toLine(expected);
}

/// Reading @p rest throws FieldError about @p text.
template <typename Message> void expectFieldError(std::string_view rest, std::string_view text)
{
    try {
        Message::read(rest);
        ADD_FAILURE() << "'" << rest << "' read without an error";
    } catch (const FieldError& error) {
        EXPECT_EQ(error.text(), text) << rest;
        EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
}

} // namespace morlu
