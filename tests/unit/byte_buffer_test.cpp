#include <gtest/gtest.h>

#include "byte_buffer.h"
#include "error.h"
#include "messages.h"
#include "package_fixture.h"

namespace scrinst {
namespace {

using test::Filled;

TEST(ByteBuffer, ReadStopsAtTheEndAndReadsNothingBeforeTheStart)
{
    ByteBuffer buffer(Filled(10));
    std::vector<std::uint8_t> out(4);

    buffer.setPosition(8);
    EXPECT_EQ(buffer.read(out), 2u);
    EXPECT_EQ(buffer.position(), 10);
    EXPECT_EQ(buffer.read(out), 0u);

    buffer.setPosition(-3);
    EXPECT_EQ(buffer.read(out), 0u);
    EXPECT_EQ(buffer.position(), -3);
}

TEST(ByteBuffer, WriteAppendsAtThePositionAndGrows)
{
    ByteBuffer buffer;
    buffer.write(test::Bytes("abc"));
    buffer.write(test::Bytes("de"));
    buffer.setPosition(1);
    buffer.write(test::Bytes("XYZW"));
    const auto bytes = buffer.bytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "aXYZW");
    EXPECT_EQ(buffer.position(), 5);
}

// The copy must move whole chunks: a short one fails and leaves exactly the
// chunks before it in the destination.
TEST(ByteBuffer, CopyMovesWholeChunksAndFailsOnAShortOne)
{
    constexpr std::int64_t kChunk = ByteBuffer::kCopyChunk;
    struct Case {
        const char* name;
        std::int64_t sourceSize;
        std::int64_t start;
        std::int64_t count;
        bool ok;
        std::int64_t written;
    };
    const Case cases[] = {
        {"exact fit over several chunks", 3 * kChunk + 7, 0, 3 * kChunk + 7, true, 3 * kChunk + 7},
        {"one byte short in the first chunk", kChunk - 1, 0, kChunk, false, 0},
        {"short in the third chunk", 2 * kChunk + 100, 0, 2 * kChunk + 101, false, 2 * kChunk},
        {"short by starting late", 2 * kChunk, 10, 2 * kChunk, false, kChunk},
        {"starting before the source", 100, -1, 50, false, 0},
        {"count zero copies nothing", 100, 0, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteBuffer source(Filled(static_cast<std::size_t>(c.sourceSize)));
        source.setPosition(c.start);
        ByteBuffer destination;
        try {
            destination.copyFrom(source, c.count);
            EXPECT_TRUE(c.ok);
        } catch (const Error& error) {
            EXPECT_FALSE(c.ok);
            EXPECT_EQ(error.message(), messages::kStreamReadError);
        }
        ASSERT_EQ(destination.size(), c.written);
        if (c.written > 0) {
            const auto expected = source.bytes().subspan(static_cast<std::size_t>(c.start), static_cast<std::size_t>(c.written));
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), destination.bytes().begin()));
        }
    }
}

}  // namespace
}  // namespace scrinst
