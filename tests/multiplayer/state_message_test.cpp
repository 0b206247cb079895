#include "multiplayer/messages.h"
#include "platform/play/message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

StateMessage Sample() {
    return {.position = {1.5, -2.25, 1e6},
            .facing = {0, 0.6, -0.8},
            .pivot = -0.4,
            .colonne = -30,
            .Anipos = 7,
            .AniBuste = -1,
            .weapon = 12,
            .fps = 41,
            .fps2 = -2,
            .traversal = 3,
            .idson = 4,
            .idson2 = 1,
            .idson3 = 1,
            .blood = {-7, 8, 9.5},
            .bloodStep = 10,
            .flashStep = 3};
}

// The message as it arrives: read from its first field, the type taken.
bool Read(const play::DirectPlayMessage& sent, StateMessage& state) {
    play::DirectPlayMessage arrived(sent.Bytes());
    if (arrived.ReadLong() != MSG_STATE) return false;
    return ReadStateMessage(arrived, state);
}

TEST(StateMessage, WhatIsWrittenReadsBackFieldForField) {
    play::DirectPlayMessage message;
    WriteStateMessage(message, Sample());
    StateMessage read;
    ASSERT_TRUE(Read(message, read));
    EXPECT_TRUE(read == Sample());
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
        StateMessage read = Sample();
        EXPECT_FALSE(Read(message, read)) << kinds;
        EXPECT_TRUE(read == Sample()) << kinds;
    }
}

}  // namespace
