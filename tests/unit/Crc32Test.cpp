#include <gtest/gtest.h>

#include "doubles/FakePorts.h"
#include "native/NativeFileSystem.h"
#include "update/CRC32.h"

namespace {

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// 10000 bytes, so a file is read in several blocks; its CRC-32 is zlib's.
std::string TenThousandBytes() {
    std::string data(10000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 7 + 3) % 251);
    return data;
}
constexpr std::uint32_t kTenThousandBytesCrc = 0x3746C72Au;

TEST(Crc32, KnownValues) {
    EXPECT_EQ(CRC32(Bytes("abc")), 0x352441C2u);
    EXPECT_EQ(CRC32(Bytes("123456789")), 0xCBF43926u);  // the standard check value
    EXPECT_EQ(CRC32(Bytes("")), 0u);
    EXPECT_EQ(CRC32(Bytes(TenThousandBytes())), kTenThousandBytesCrc);
    EXPECT_EQ(CRC32Hex(0x352441C2u), "352441C2");
    EXPECT_EQ(CRC32Hex(0x0000ABCDu), "0000ABCD");
}

TEST(Crc32, FilesOnThePortAndOnDisk) {
    FakeFileSystem fs;
    fs.files["f"] = TenThousandBytes();
    fs.files["empty"] = "";
    EXPECT_EQ(CRC32(fs, "f"), kTenThousandBytesCrc);
    EXPECT_EQ(CRC32(fs, "empty"), 0u);
    EXPECT_EQ(CRC32(fs, "missing"), 0xFFFFFFFFu);
    fs.failReads = true;
    EXPECT_EQ(CRC32(fs, "f"), 0xFFFFFFFFu);

    NativeFileSystem disk;
    const std::string path = ::testing::TempDir() + "crc32_real.bin";
    ASSERT_TRUE(disk.WriteFile(path, TenThousandBytes()));
    EXPECT_EQ(CRC32(disk, path), kTenThousandBytesCrc);
    EXPECT_EQ(CRC32(disk, path + ".missing"), 0xFFFFFFFFu);
    disk.RemoveFile(path);
}

}  // namespace
