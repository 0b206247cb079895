// The datagram codec: every kind survives a round trip, and corrupted bytes
// decode to nothing or to exactly what they encode (never to something else).

#include "platform/play/wire.h"
#include "platform/play/limits.h"

#include <gtest/gtest.h>

#include <random>

using namespace play::wire;

namespace {

const Description SampleDescription{"{APP}", "{INSTANCE}", "Game (ENTREPOT)", "", 4, 4};
const std::vector<Player> SamplePlayers{{7, "bob", "12"}, {9, "eve", "03"}};

std::vector<LinkPacket> SampleLinkPackets() {
    return {
        JoinRequest{"{INSTANCE}", "secret"},
        JoinAccept{
            3, 0xFEDCBA9876543210, 1, 1, 9, 3, SampleDescription, SamplePlayers, {{4, 2}}, {{2, 0x0100007F, 40000}}},
        JoinRefused{-1},
        Hello{"{INSTANCE}", 2, 0x0123456789ABCDEF, SamplePlayers},
        HelloAck{{"{INSTANCE}", 3, 0, {}}},
        PlayerIdRequest{5, "bob", "12"},
        PlayerIdReply{5, 10},
        PlayerCreated{{10, "bob", "12"}},
        PlayerDestroyed{10},
        SessionDesc{SampleDescription},
        Application{10, 0, {1, 0, 0, 0, 'x'}},
        Goodbye{},
        Admit{4, 0x0100007F, 40002, 77},
        PlayerGranted{11, 4},
        PlayerGrantSeen{11},
    };
}

std::vector<DoorDatagram> SampleDoorDatagrams() {
    return {EnumRequest{42, "{APP}", 3}, EnumReply{42, SampleDescription, 2, 40001}};
}

// A decoder that accepts bytes must give back something encoding to them.
void ExpectDecodesToNothingOrItself(const std::vector<uint8_t>& bytes) {
    if (auto link = DecodeLink(bytes.data(), bytes.size())) {
        EXPECT_EQ(Encode(*link), bytes);
    }
    if (auto door = DecodeDoor(bytes.data(), bytes.size())) {
        EXPECT_EQ(Encode(*door), bytes);
    }
}

TEST(PlayWire, EveryKindSurvivesARoundTrip) {
    for (const LinkPacket& packet : SampleLinkPackets()) {
        const auto bytes = Encode(packet);
        const auto decoded = DecodeLink(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded) << "kind " << packet.index() + 1;
        EXPECT_TRUE(*decoded == packet) << "kind " << packet.index() + 1;
        EXPECT_FALSE(DecodeDoor(bytes.data(), bytes.size()));
    }
    for (const DoorDatagram& datagram : SampleDoorDatagrams()) {
        const auto bytes = Encode(datagram);
        const auto decoded = DecodeDoor(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(*decoded == datagram);
    }
}

TEST(PlayWire, MalformedPacketsAreNoPacket) {
    auto with = [](std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> replacement) {
        std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<long>(at));
        return bytes;
    };
    const auto hello = Encode(Hello{"{I}", 2, 5, SamplePlayers});
    const auto accept = Encode(JoinAccept{3, 5, 1, 1, 9, 3, SampleDescription, {}, {}, {}});
    const size_t acceptPlayers = 1 + 28 + (2 + 5) + (2 + 10) + (2 + 15) + 2 + 8;
    const auto request = Encode(EnumRequest{1, "{APP}", 2});
    const std::vector<std::pair<std::vector<uint8_t>, const char*>> cases = {
        {{}, "empty"},
        {{0}, "kind 0"},
        {{16}, "unknown kind"},
        {{12, 0}, "trailing byte"},
        {{9, 0, 0, 0, 0}, "player id 0"},
        {{9, 0xF9, 0xFF, 0xFF, 0xFF}, "negative player id"},
        {{9, 0x01, 0x00, 0xFF, 0x7F}, "player id beyond the last"},
        {{11, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, "message to a negative id"},
        {with(hello, 1 + 2 + 3 + 4 + 8, {9}), "more players than a session holds"},
        {with(accept, 1, {0, 0, 0, 0}), "machine number 0"},
        {with(accept, acceptPlayers - 8, {9, 0, 0, 0}), "maximum of players beyond 8"},
        {with(accept, acceptPlayers + 1, {9}), "more grants than a session holds"},
        {{11, 1, 0, 0, 0, 0, 0, 0}, "application message header cut short"},
    };
    for (const auto& [bytes, what] : cases) EXPECT_FALSE(DecodeLink(bytes.data(), bytes.size())) << what;
    auto padded = request;
    padded.back() = 1;
    EXPECT_FALSE(DecodeDoor(padded.data(), padded.size())) << "padding that is not zero";
    std::vector<uint8_t> oversized{11, 1, 0, 0, 0, 0, 0, 0, 0};
    oversized.resize(oversized.size() + play::MaxMessageSize + 1);
    EXPECT_FALSE(DecodeLink(oversized.data(), oversized.size())) << "oversized application message";
    auto door = request;
    door[0] ^= 1;
    EXPECT_FALSE(DecodeDoor(door.data(), door.size())) << "wrong magic";
}

TEST(PlayWire, RandomCorruptionNeverDecodesToSomethingElse) {
    std::mt19937 random(20261210);
    std::vector<std::vector<uint8_t>> samples;
    for (const auto& p : SampleLinkPackets()) samples.push_back(Encode(p));
    for (const auto& d : SampleDoorDatagrams()) samples.push_back(Encode(d));
    for (const auto& sample : samples) {
        for (size_t cut = 0; cut <= sample.size(); ++cut)
            ExpectDecodesToNothingOrItself(std::vector<uint8_t>(sample.begin(), sample.begin() + cut));
        for (int round = 0; round < 2000; ++round) {
            std::vector<uint8_t> bytes = sample;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes && !bytes.empty(); ++i) {
                const size_t at = random() % bytes.size();
                switch (random() % 3) {
                    case 0:
                        bytes[at] = static_cast<uint8_t>(random());
                        break;
                    case 1:
                        bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<uint8_t>(random()));
                        break;
                    default:
                        bytes.erase(bytes.begin() + static_cast<long>(at));
                        break;
                }
            }
            ExpectDecodesToNothingOrItself(bytes);
        }
    }
}

}  // namespace
