#include "platform/play/message.h"
#include "platform/failure.h"
#include "platform/play/errors.h"
#include "platform/play/limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using play::DirectPlayMessage;

namespace {

TEST(PlayMessage, FieldsReadBackInTheOrderWritten) {
    DirectPlayMessage m;
    m.WriteLong(-2147483647 - 1);
    m.WriteDouble(-0.1);
    m.WriteByte(255);
    m.WriteString("");
    m.WriteString("héllo");
    m.WriteDouble(std::numeric_limits<double>::infinity());
    m.WriteLong(7);

    DirectPlayMessage r(m.Bytes());
    EXPECT_EQ(r.ReadLong(), -2147483647 - 1);
    EXPECT_EQ(r.ReadDouble(), -0.1);
    EXPECT_EQ(r.ReadByte(), 255);
    EXPECT_EQ(r.ReadString(), "");
    EXPECT_EQ(r.ReadString(), "héllo");
    EXPECT_TRUE(std::isinf(r.ReadDouble()));
    EXPECT_EQ(r.ReadLong(), 7);
    EXPECT_THROW(r.ReadByte(), Failure);
}

TEST(PlayMessage, EncodingIsLittleEndianWithCountedStrings) {
    DirectPlayMessage m;
    m.WriteLong(0x01020304);
    m.WriteString("ab");
    m.WriteDouble(1.0);
    EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{4, 3, 2, 1, 2, 0, 'a', 'b', 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

TEST(PlayMessage, ReadsPastTheEndFailAndLeaveThePositionAlone) {
    struct Case {
        std::vector<uint8_t> bytes;
        void (*read)(DirectPlayMessage&);
        const char* what;
    };
    const Case cases[] = {
        {{}, [](DirectPlayMessage& m) { m.ReadByte(); }, "empty"},
        {{1, 2, 3}, [](DirectPlayMessage& m) { m.ReadLong(); }, "three bytes are no Long"},
        {{1, 2, 3, 4, 5, 6, 7}, [](DirectPlayMessage& m) { m.ReadDouble(); }, "seven bytes are no Double"},
        {{5, 0, 'a', 'b'}, [](DirectPlayMessage& m) { m.ReadString(); }, "string count beyond what is left"},
        {{0xFF, 0xFF}, [](DirectPlayMessage& m) { m.ReadString(); }, "string count beyond the cap"},
    };
    for (const Case& c : cases) {
        DirectPlayMessage m(c.bytes);
        try {
            c.read(m);
            ADD_FAILURE() << c.what;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), play::error::ReadPastEnd) << c.what;
        }
        if (!c.bytes.empty()) {
            EXPECT_EQ(m.ReadByte(), c.bytes[0]) << c.what << ": position unchanged";
        }
    }
}

TEST(PlayMessage, StringsAndMessagesHaveCaps) {
    DirectPlayMessage m;
    EXPECT_THROW(m.WriteString(std::string(play::MaxStringLength + 1, 'x')), Failure);
    EXPECT_TRUE(m.Bytes().empty());
    m.WriteString(std::string(play::MaxStringLength, 'x'));
    while (m.Bytes().size() + 4 <= play::MaxMessageSize) m.WriteLong(1);
    const size_t full = m.Bytes().size();
    EXPECT_THROW(m.WriteLong(1), Failure);
    EXPECT_EQ(m.Bytes().size(), full);
}

}  // namespace
