#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "publish/brieflz_encoder.h"
#include "publish/pack_writer.h"
#include "screening/brieflz.h"
#include "screening/pack_reader.h"

namespace vmk::screening {
namespace {

namespace fs = std::filesystem;
using publish::BriefLzEncode;
using publish::PackEntry;
using publish::PackSignature;
using publish::WritePack;
using Bytes = std::vector<unsigned char>;

std::string ToString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

Bytes RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(count);
  for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
  return bytes;
}

Bytes Repeated(std::string_view text, std::size_t times) {
  Bytes bytes;
  for (std::size_t i = 0; i < times; ++i) bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// Random data, the same data again (far offsets) and a short pattern: over 64 KiB in all.
Bytes LargeMixedData() {
  Bytes bytes = RandomBytes(40000, 7);
  const Bytes copy = bytes;
  bytes.insert(bytes.end(), copy.begin(), copy.end());
  const Bytes pattern = Repeated("EUGlobal;UNGlobalINDIV;Boe;USConsolidated\n", 800);
  bytes.insert(bytes.end(), pattern.begin(), pattern.end());
  return bytes;
}

bool Decode(const Bytes& source, std::size_t size, Bytes& decoded, std::size_t& consumed) {
  decoded.assign(size, 0);
  return BriefLzDecode(source, decoded, consumed);
}

// ---- block codec

TEST(BriefLzTest, EncodedBlocksDecodeToTheInputAndUseEveryByte) {
  const struct {
    const char* name;
    Bytes input;
  } cases[] = {
      {"empty", {}},
      {"one byte", {0x42}},
      {"four equal bytes", Bytes(4, 'x')},
      {"random data, literals only", RandomBytes(1000, 1)},
      {"long run, offset 1", Bytes(5000, 'x')},
      {"repetitive text", Repeated("Muster GmbH; Beispielstr. 1; ", 300)},
      {"over 64 KiB with far repeats", LargeMixedData()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes encoded = BriefLzEncode(c.input);
    Bytes decoded;
    std::size_t consumed = 12345;
    ASSERT_TRUE(Decode(encoded, c.input.size(), decoded, consumed));
    EXPECT_EQ(decoded, c.input);
    // A tag word is written only where the decoder needs its first bit, so nothing is left over.
    EXPECT_EQ(consumed, encoded.size());
  }
}

TEST(BriefLzTest, EncoderUsesNearAndFarMatches) {
  EXPECT_LT(BriefLzEncode(Bytes(5000, 'x')).size(), 100u);
  Bytes twice = RandomBytes(40000, 3);
  const Bytes copy = twice;
  twice.insert(twice.end(), copy.begin(), copy.end());
  // The second half costs one match 40000 bytes back.
  EXPECT_LT(BriefLzEncode(twice).size(), BriefLzEncode(copy).size() + 20);
}

TEST(BriefLzTest, DecodesHandBuiltBlocks) {
  const struct {
    const char* name;
    Bytes source;
    std::string expected;
  } cases[] = {
      // 'A', a zero tag word with 16 literals, a second zero tag word with the last 3 literals.
      {"literals only", Bytes{'A', 0,   0,   'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',
                              'K', 'L', 'M', 'N', 'O', 'P', 'Q', 0,   0,   'R', 'S', 'T'},
       "ABCDEFGHIJKLMNOPQRST"},
      // Bits 0 0 1, length gamma "0 1 0 0" (4, length 6), offset gamma "0 0" (2), byte 2: offset 3.
      {"overlapping match", Bytes{'a', 0x00, 0x28, 'b', 'c', 0x02}, "abcabcabc"},
      // Bit 1, gammas "0 0" and "0 0", byte 0: length 4 at offset 1.
      {"run from one byte", Bytes{'a', 0x00, 0x80, 0x00}, "aaaaa"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes decoded;
    std::size_t consumed = 0;
    ASSERT_TRUE(Decode(c.source, c.expected.size(), decoded, consumed));
    EXPECT_EQ(ToString(decoded), c.expected);
    EXPECT_EQ(consumed, c.source.size());
  }
}

TEST(BriefLzTest, RejectsDamagedBlocks) {
  Bytes runaway{'a'};
  runaway.insert(runaway.end(), 1000, 0xFF);  // all bits 1: a gamma number that never ends
  const struct {
    const char* name;
    Bytes source;
    std::size_t size;
  } cases[] = {
      {"no first byte", {}, 1},
      {"tag word cut", {'a', 0x00}, 2},
      {"literal missing", {'a', 0x00, 0x00}, 2},
      {"offset byte missing", {'a', 0x00, 0x80}, 5},
      {"offset 6 after one byte", {'a', 0x00, 0x80, 0x05}, 5},
      {"offset above 256 after one byte", {'a', 0x00, 0x90, 0x00}, 5},  // offset gamma "1 0" (3)
      {"match longer than the room left", {'a', 0x00, 0x28, 'b', 'c', 0x02}, 8},
      {"gamma number without end", runaway, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes decoded;
    std::size_t consumed = 0;
    EXPECT_FALSE(Decode(c.source, c.size, decoded, consumed));
  }
}

TEST(BriefLzTest, RejectsEveryTruncationOfAValidBlock) {
  const Bytes input = Repeated("Kesto Sanktionsliste ", 40);
  const Bytes encoded = BriefLzEncode(input);
  for (std::size_t length = 0; length < encoded.size(); ++length) {
    const Bytes prefix(encoded.begin(), encoded.begin() + static_cast<std::ptrdiff_t>(length));
    Bytes decoded;
    std::size_t consumed = 0;
    EXPECT_FALSE(Decode(prefix, input.size(), decoded, consumed)) << "prefix of " << length;
  }
}

TEST(BriefLzTest, RandomlyDamagedBlocksFailCleanlyOrStayInBounds) {
  Bytes input = Repeated("Name;Vorname;Adresse;", 60);
  const Bytes noise = RandomBytes(300, 11);
  input.insert(input.end(), noise.begin(), noise.end());
  const Bytes encoded = BriefLzEncode(input);
  std::mt19937 random(99);
  for (int round = 0; round < 20000; ++round) {
    Bytes damaged = encoded;
    for (unsigned hits = 1 + random() % 3; hits > 0; --hits) {
      damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
    }
    Bytes decoded;
    std::size_t consumed = 0;
    if (Decode(damaged, input.size(), decoded, consumed)) {
      EXPECT_LE(consumed, damaged.size());
    }
  }
}

// ---- packs

void PutU16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU64(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PatchU64(std::string& out, std::size_t at, std::uint64_t value) {
  std::string bytes;
  PutU64(bytes, value);
  out.replace(at, 8, bytes);
}

struct RawEntry {
  std::string name;
  std::uint64_t unpackedSize;
  std::string stored;
};

// A pack assembled byte by byte; "1zlp" headers get non-zero filler the reader must skip.
std::string RawPack(std::string_view signature, const std::vector<RawEntry>& entries) {
  std::string pack(signature);
  for (const RawEntry& entry : entries) {
    PutU64(pack, entry.unpackedSize);
    PutU64(pack, entry.stored.size());
    PutU16(pack, static_cast<std::uint16_t>(entry.name.size()));
    if (signature == "1zlp") pack += "\x7f\x7f\x7f\x7f\x7f\x7f";
    pack += entry.name;
    pack += entry.stored;
  }
  return pack;
}

std::string RawStream(std::uint64_t total, std::uint64_t blockSize, const std::vector<Bytes>& blocks,
                      std::string_view signature = "1zlb") {
  std::string stream(signature);
  stream += "????";  // unused by the reader
  PutU64(stream, total);
  PutU64(stream, blockSize);
  for (const Bytes& block : blocks) stream += ToString(block);
  return stream;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string DatabaseText(std::size_t rows) {
  std::string text;
  for (std::size_t i = 0; i < rows; ++i) {
    text += "INSERT INTO EUGlobal VALUES(" + std::to_string(i * 7919 % 100000) +
            ",'Muster','Max','MSTR','MSTR');\n";
  }
  return text;
}

class PackTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::string unique = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                               "-" + std::to_string(std::random_device{}());
    dir_ = fs::temp_directory_path() / ("vmk-pack-test-" + unique);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path Pack() const { return dir_ / "KE2DB.pak"; }
  fs::path Target() const { return dir_ / "KESTO.adb"; }

  fs::path dir_;
};

TEST_F(PackTest, WrittenPacksExtractTheWantedEntry) {
  const std::string database = DatabaseText(2000);
  const std::string randomData = ToString(RandomBytes(3000, 5));
  const std::string large = ToString(LargeMixedData());
  const struct {
    const char* name;
    PackSignature signature;
    std::vector<PackEntry> entries;
    std::uint64_t blockSize;
    std::string expected;
    bool storedPlain;
  } cases[] = {
      {"1zlp, stored", PackSignature::V1, {{"Kesto.pak", database, false}}, 1 << 20, database, true},
      {"2zlp, stored", PackSignature::V2, {{"Kesto.pak", database, false}}, 1 << 20, database, true},
      {"1zlp, compressed", PackSignature::V1, {{"Kesto.pak", database}}, 1 << 20, database, false},
      {"2zlp, many blocks", PackSignature::V2, {{"Kesto.pak", database}}, 1000, database, false},
      {"over 64 KiB, last block short", PackSignature::V1, {{"Kesto.pak", large}}, 50000, large, false},
      {"incompressible data stays plain",
       PackSignature::V2,
       {{"Kesto.pak", randomData}},
       1 << 20,
       randomData,
       true},
      {"empty entry", PackSignature::V1, {{"Kesto.pak", ""}}, 1 << 20, "", true},
      {"wanted entry last",
       PackSignature::V1,
       {{"kesto.pak", "wrong case " + database}, {"Readme.txt", "hello", false}, {"Kesto.pak", database}},
       4096,
       database,
       false},
      {"wanted entry last, 2zlp",
       PackSignature::V2,
       {{"Kesto.pa", database}, {"Kesto.pakx", "x"}, {"Kesto.pak", database, false}},
       4096,
       database,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WritePack(Pack(), c.signature, c.entries, c.blockSize));
    const std::string pack = ReadFile(Pack());
    EXPECT_EQ(pack.substr(0, 4), c.signature == PackSignature::V1 ? "1zlp" : "2zlp");
    if (c.storedPlain) {
      EXPECT_NE(pack.find(c.expected), std::string::npos);
    } else {
      EXPECT_EQ(pack.find(c.expected.substr(0, 200)), std::string::npos);
    }

    ASSERT_EQ(ExtractPackEntry(Pack(), "Kesto.pak", Target()), PackError::None);
    EXPECT_EQ(ReadFile(Target()), c.expected);
    fs::remove(Target());
  }
}

TEST_F(PackTest, PackFromFileRoundTrips) {
  const std::string database = DatabaseText(5000);
  WriteFile(dir_ / "source.db", database);
  ASSERT_TRUE(
      publish::WritePackFromFile(Pack(), PackSignature::V1, "Kesto.pak", dir_ / "source.db", true, 65536));
  EXPECT_LT(fs::file_size(Pack()), database.size() / 2);
  ASSERT_EQ(ExtractPackEntry(Pack(), "Kesto.pak", Target()), PackError::None);
  EXPECT_EQ(ReadFile(Target()), database);

  EXPECT_FALSE(publish::WritePackFromFile(Pack(), PackSignature::V1, "Kesto.pak", dir_ / "missing.db", true));
}

TEST_F(PackTest, WriterRejectsBlockSizesTheReaderWouldRefuse) {
  const std::vector<PackEntry> entries{{"Kesto.pak", "data"}};
  EXPECT_FALSE(WritePack(Pack(), PackSignature::V1, entries, 0));
  EXPECT_FALSE(WritePack(Pack(), PackSignature::V1, entries, (std::uint64_t{256} << 20) + 1));
  EXPECT_FALSE(fs::exists(Pack()));
}

TEST_F(PackTest, DamagedPacksFailAndLeaveNoTarget) {
  const Bytes content = Repeated("Muster GmbH;Beispielweg 2;", 100);
  const std::string wanted = RawStream(content.size(), 1 << 20, {BriefLzEncode(content)});
  const std::string good =
      RawPack("1zlp", {{"Readme.txt", 5, "hello"}, {"Kesto.pak", content.size(), wanted}});
  // Offsets into `good`: first entry header at 4, its name at 28, its data at 38; second entry at 43,
  // its name at 67, its stream at 76.
  ASSERT_EQ(good.substr(67, 9), "Kesto.pak");
  std::string storedTooLarge = good;
  PatchU64(storedTooLarge, 43 + 8, wanted.size() + 1);

  const Bytes firstHalf(content.begin(), content.begin() + 1300);
  const Bytes secondHalf(content.begin() + 1300, content.end());
  Bytes secondCut = BriefLzEncode(secondHalf);
  secondCut.resize(secondCut.size() / 2);

  const struct {
    const char* name;
    std::string pack;
    PackError expected;
  } cases[] = {
      {"empty file", "", PackError::BadSignature},
      {"signature cut", "1zl", PackError::BadSignature},
      {"unknown signature", "3zlp" + good.substr(4), PackError::BadSignature},
      {"signature in capitals", "1ZLP" + good.substr(4), PackError::BadSignature},
      {"cut in the first header", good.substr(0, 14), PackError::Truncated},
      {"cut in the first name", good.substr(0, 31), PackError::Truncated},
      {"cut in the skipped data", good.substr(0, 40), PackError::Truncated},
      {"cut in the wanted header", good.substr(0, 60), PackError::Truncated},
      {"cut in the wanted name", good.substr(0, 70), PackError::Truncated},
      {"cut in the wanted data", good.substr(0, good.size() - 3), PackError::Truncated},
      {"stored size beyond the file", storedTooLarge, PackError::Truncated},
      {"no entries", "2zlp", PackError::EntryMissing},
      {"entry only in other case", RawPack("2zlp", {{"kesto.pak", 5, "hello"}}), PackError::EntryMissing},
      {"match before the start",
       RawPack("2zlp", {{"Kesto.pak", 5, RawStream(5, 1 << 20, {{'a', 0x00, 0x80, 0x05}})}}),
       PackError::BadStream},
      {"stream total disagrees", RawPack("1zlp", {{"Kesto.pak", content.size() - 1, wanted}}),
       PackError::SizeMismatch},
      {"stream signature wrong",
       RawPack("1zlp", {{"Kesto.pak", content.size(),
                         RawStream(content.size(), 1 << 20, {BriefLzEncode(content)}, "1zlB")}}),
       PackError::BadStream},
      {"stream header cut", RawPack("1zlp", {{"Kesto.pak", 100, wanted.substr(0, 20)}}),
       PackError::BadStream},
      {"block size zero", RawPack("1zlp", {{"Kesto.pak", content.size(), RawStream(content.size(), 0, {})}}),
       PackError::BadStream},
      {"block size above 256 MiB",
       RawPack("1zlp",
               {{"Kesto.pak", content.size(),
                 RawStream(content.size(), (std::uint64_t{256} << 20) + 1, {BriefLzEncode(content)})}}),
       PackError::BadStream},
      {"stream ends in the second block",
       RawPack("2zlp", {{"Kesto.pak", content.size(),
                         RawStream(content.size(), 1300, {BriefLzEncode(firstHalf), secondCut})}}),
       PackError::BadStream},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(Pack(), c.pack);
    EXPECT_EQ(ExtractPackEntry(Pack(), "Kesto.pak", Target()), c.expected);
    EXPECT_FALSE(fs::exists(Target()));
  }

  // The intact pack, as a control for the offsets above.
  WriteFile(Pack(), good);
  ASSERT_EQ(ExtractPackEntry(Pack(), "Kesto.pak", Target()), PackError::None);
  EXPECT_EQ(ReadFile(Target()), ToString(content));
}

TEST_F(PackTest, MissingPackAndUnwritableTarget) {
  EXPECT_EQ(ExtractPackEntry(dir_ / "missing.pak", "Kesto.pak", Target()), PackError::CannotOpenPack);
  EXPECT_EQ(ExtractPackEntry(dir_, "Kesto.pak", Target()), PackError::CannotOpenPack);
  EXPECT_FALSE(fs::exists(Target()));

  ASSERT_TRUE(WritePack(Pack(), PackSignature::V2, {{"Kesto.pak", DatabaseText(10)}}));
  EXPECT_EQ(ExtractPackEntry(Pack(), "Kesto.pak", dir_ / "no-such-dir" / "KESTO.adb"),
            PackError::WriteFailed);
  EXPECT_FALSE(fs::exists(dir_ / "no-such-dir"));
}

TEST_F(PackTest, RandomlyDamagedPacksFailCleanlyOrExtract) {
  ASSERT_TRUE(WritePack(Pack(), PackSignature::V1,
                        {{"Readme.txt", "hello", false}, {"Kesto.pak", DatabaseText(40)}}, 512));
  const std::string good = ReadFile(Pack());
  std::mt19937 random(2024);
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = good;
    if (round % 8 == 0) {
      damaged.resize(random() % damaged.size());
    } else {
      for (unsigned hits = 1 + random() % 4; hits > 0; --hits) {
        damaged[random() % damaged.size()] = static_cast<char>(random());
      }
    }
    WriteFile(Pack(), damaged);
    const PackError error = ExtractPackEntry(Pack(), "Kesto.pak", Target());
    ASSERT_EQ(fs::exists(Target()), error == PackError::None)
        << "round " << round << ": " << PackErrorText(error);
    fs::remove(Target());
  }
}

}  // namespace
}  // namespace vmk::screening
