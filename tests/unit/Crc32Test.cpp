#include <gtest/gtest.h>

#include <random>

#include "doubles/FakePorts.h"
#include "native/NativeFileSystem.h"
#include "update/CRC32.h"

namespace {

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc32, KnownValues) {
    EXPECT_EQ(CRC32(Bytes("abc")), 0x352441C2u);
    EXPECT_EQ(CRC32(Bytes("123456789")), 0xCBF43926u);  // the standard check value
    EXPECT_EQ(CRC32(Bytes("")), 0u);
    EXPECT_EQ(CRC32(Bytes(""), 0x12345678u), ~0x12345678u);
    EXPECT_EQ(CRC32Hex(0x352441C2u), "352441C2");
    EXPECT_EQ(CRC32Hex(0x0000ABCDu), "0000ABCD");
}

TEST(Crc32, BlocksChainLikeTheWhole) {
    std::string data(10000, '\0');
    std::mt19937 rng(7);
    for (char& c : data) c = static_cast<char>(rng());
    const std::uint32_t whole = CRC32(Bytes(data));
    std::uint32_t running = 0xFFFFFFFFu;
    for (std::size_t pos = 0; pos < data.size(); pos += 4096)
        running = ~CRC32(Bytes(std::string_view(data).substr(pos, 4096)), running);
    EXPECT_EQ(~running, whole);

    FakeFileSystem fs;
    fs.files["f"] = data;
    EXPECT_EQ(CRC32(fs, "f"), whole);
    EXPECT_EQ(fs.readSizes, (std::vector<std::size_t>{4096, 4096, 4096, 4096}));  // 4096, 4096, 1808, end
}

TEST(Crc32, FileFailures) {
    FakeFileSystem fs;
    fs.files["empty"] = "";
    EXPECT_EQ(CRC32(fs, "empty"), 0u);
    EXPECT_EQ(CRC32(fs, "missing"), 0xFFFFFFFFu);
    fs.files["broken"] = "data";
    fs.failReads = true;
    EXPECT_EQ(CRC32(fs, "broken"), 0xFFFFFFFFu);
}

TEST(Crc32, RealFileOnDisk) {
    NativeFileSystem fs;
    const std::string path = ::testing::TempDir() + "crc32_real.bin";
    std::string data(9000, 'x');
    ASSERT_TRUE(fs.WriteFile(path, data));
    EXPECT_EQ(CRC32(fs, path), CRC32(Bytes(data)));
    EXPECT_EQ(CRC32(fs, path + ".missing"), 0xFFFFFFFFu);
    fs.RemoveFile(path);
}

}  // namespace
