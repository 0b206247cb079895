#include "multiplayer/messages.h"
#include "platform/play/message.h"
#include "sample_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// The message as it arrives: read from its first field, the type taken.
bool Read(const play::DirectPlayMessage& sent, StateMessage& state) {
    play::DirectPlayMessage arrived(sent.Bytes());
    if (arrived.ReadLong() != MSG_STATE) return false;
    return ReadStateMessage(arrived, state);
}

TEST(StateMessage, WhatIsWrittenReadsBackFieldForField) {
    play::DirectPlayMessage message;
    WriteStateMessage(message, SampleState());
    StateMessage read;
    ASSERT_TRUE(Read(message, read));
    EXPECT_TRUE(read == SampleState());
}

// Fields of another kind, missing or in excess ('d' a Double, 'l' a Long):
// the record stays as it was.
TEST(StateMessage, AMessageOfAnotherLayoutChangesNothing) {
    const std::string layout = "dddddddlllllllllldddll";
    for (const std::string& kinds : {std::string(), std::string(22, 'l'), std::string(22, 'd'), layout.substr(0, 21),
                                     layout + "l", "l" + layout.substr(1)}) {
        play::DirectPlayMessage message;
        message.WriteLong(MSG_STATE);
        for (const char kind : kinds) kind == 'd' ? message.WriteDouble(1) : message.WriteLong(1);
        StateMessage read = SampleState();
        EXPECT_FALSE(Read(message, read)) << kinds;
        EXPECT_TRUE(read == SampleState()) << kinds;
    }
}

}  // namespace
