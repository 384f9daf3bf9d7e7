#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "registry/registry.h"
#include "registry/registry_backends.h"

namespace nerbo {

namespace {

constexpr const char* kScratchPath = "SOFTWARE\\NerboConformance";

// Deletes a key and everything below it, always taking the last subkey so
// that the indices of the rest stay put.
void DeleteTree(Registry& registry, RegKey parent, const std::string& name) {
  RegKey key = 0;
  if (registry.OpenKey(parent, name.c_str(), &key) != kRegSuccess) return;
  std::uint32_t count = 0;
  while (registry.QueryInfoKey(key, &count, nullptr) == kRegSuccess && count > 0) {
    char child[256];
    std::uint32_t length = sizeof child;
    ASSERT_EQ(registry.EnumKey(key, count - 1, child, &length), kRegSuccess);
    DeleteTree(registry, key, child);
  }
  registry.DeleteKey(parent, name.c_str());
}

std::string Bytes(const char* text, std::size_t size) { return std::string(text, size); }

class RegistryConformance : public testing::TestWithParam<RegistryBackend> {
 protected:
  void SetUp() override {
    opened_ = GetParam().open();
    DeleteTree(registry(), kLocalMachine, kScratchPath);
    bool created = false;
    ASSERT_EQ(registry().CreateKey(kLocalMachine, kScratchPath, &scratch_, &created), kRegSuccess);
    ASSERT_TRUE(created);
  }

  void TearDown() override {
    DeleteTree(registry(), kLocalMachine, kScratchPath);
    opened_.registry.reset();
    opened_.keep_alive.reset();
  }

  Registry& registry() { return *opened_.registry; }

  RegKey Create(RegKey parent, const char* name) {
    RegKey key = 0;
    EXPECT_EQ(registry().CreateKey(parent, name, &key, nullptr), kRegSuccess) << name;
    return key;
  }

  // The value's type and bytes, read with a buffer of exactly its size.
  long Read(RegKey key, const char* name, std::uint32_t* type, std::string* bytes) {
    std::uint32_t size = 0;
    long status = registry().QueryValue(key, name, type, nullptr, &size);
    if (status != kRegSuccess) return status;
    std::vector<char> buffer(size + 1);
    status = registry().QueryValue(key, name, type, buffer.data(), &size);
    if (status == kRegSuccess) bytes->assign(buffer.data(), size);
    return status;
  }

  RegistryUnderTest opened_;
  RegKey scratch_ = 0;
};

TEST_P(RegistryConformance, CreateKeyTellsCreatedFromOpened) {
  RegKey first = 0, second = 0, third = 0;
  bool created = false;
  ASSERT_EQ(registry().CreateKey(scratch_, "Fresh", &first, &created), kRegSuccess);
  EXPECT_TRUE(created);
  ASSERT_EQ(registry().CreateKey(scratch_, "Fresh", &second, &created), kRegSuccess);
  EXPECT_FALSE(created);
  ASSERT_EQ(registry().CreateKey(scratch_, "FRESH", &third, &created), kRegSuccess);
  EXPECT_FALSE(created);

  // All three handles name one key.
  const char data[] = "shared";
  ASSERT_EQ(registry().SetValue(first, "v", kRegSz, data, sizeof data), kRegSuccess);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_EQ(Read(third, "V", &type, &bytes), kRegSuccess);
  EXPECT_EQ(bytes, Bytes(data, sizeof data));
}

TEST_P(RegistryConformance, DefaultValueAnswersToEmptyAndNullName) {
  const char first[] = "by empty name";
  ASSERT_EQ(registry().SetValue(scratch_, "", kRegSz, first, sizeof first), kRegSuccess);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_EQ(Read(scratch_, nullptr, &type, &bytes), kRegSuccess);
  EXPECT_EQ(bytes, Bytes(first, sizeof first));

  const char second[] = "by null name";
  ASSERT_EQ(registry().SetValue(scratch_, nullptr, kRegSz, second, sizeof second), kRegSuccess);
  ASSERT_EQ(Read(scratch_, "", &type, &bytes), kRegSuccess);
  EXPECT_EQ(bytes, Bytes(second, sizeof second));

  ASSERT_EQ(registry().DeleteValue(scratch_, nullptr), kRegSuccess);
  EXPECT_EQ(Read(scratch_, "", &type, &bytes), kRegFileNotFound);
}

struct StoredValue {
  const char* label;
  std::uint32_t type;
  std::string bytes;
};

TEST_P(RegistryConformance, ValuesReadBackWithTheirTypeAndExactBytes) {
  const std::uint32_t three = 3;
  const std::vector<StoredValue> cases = {
      {"text with its terminator (len+1)", kRegSz, Bytes("Nerbo.exe", 10)},
      {"text with a quote and backslashes", kRegSz, Bytes("C:\\jdk\\bin\\Nerbo.exe \"%1\"", 26)},
      {"empty text with its terminator", kRegSz, Bytes("", 1)},
      {"no bytes at all", kRegSz, ""},
      {"text with an inner zero", kRegSz, Bytes("ab\0cd", 6)},
      {"flag word", kRegDword, Bytes(reinterpret_cast<const char*>(&three), 4)},
      {"binary bytes of every kind", 3, Bytes("\x00\x01\x7f\x80\xff\n\r\"\\", 9)},
      {"a type the tool never names", 7, Bytes("a\0b\0\0", 5)},
  };
  for (const StoredValue& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_EQ(registry().SetValue(scratch_, c.label, c.type, c.bytes.data(),
                                  static_cast<std::uint32_t>(c.bytes.size())),
              kRegSuccess);
  }
  for (const StoredValue& c : cases) {
    SCOPED_TRACE(c.label);
    std::uint32_t type = 0;
    std::string bytes;
    ASSERT_EQ(Read(scratch_, c.label, &type, &bytes), kRegSuccess);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(bytes, c.bytes);
  }
}

TEST_P(RegistryConformance, TextWithoutTerminatorKeepsItsLength) {
  // The buffer holds a zero right after the counted bytes, as the installer's
  // buffers do; advapi32 may store that zero too.
  const char path[] = "C:\\jdk\\bin\\java.exe";
  const std::uint32_t length = sizeof path - 1;
  ASSERT_EQ(registry().SetValue(scratch_, "Run", kRegSz, path, length), kRegSuccess);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_EQ(Read(scratch_, "Run", &type, &bytes), kRegSuccess);
  EXPECT_EQ(type, kRegSz);
  if (GetParam().may_add_terminator && bytes.size() == length + 1) {
    EXPECT_EQ(bytes, Bytes(path, length + 1));
  } else {
    EXPECT_EQ(bytes, Bytes(path, length));
  }
}

TEST_P(RegistryConformance, ShortBufferGivesNeededSizeAndStaysUntouched) {
  const char text[] = "ClassFile.Nerbo";
  ASSERT_EQ(registry().SetValue(scratch_, "", kRegSz, text, sizeof text), kRegSuccess);

  char buffer[8];
  std::memset(buffer, 0x5a, sizeof buffer);
  std::uint32_t type = 0;
  std::uint32_t size = sizeof buffer;
  EXPECT_EQ(registry().QueryValue(scratch_, "", &type, buffer, &size), kRegMoreData);
  EXPECT_EQ(size, sizeof text);
  EXPECT_TRUE(std::all_of(buffer, buffer + sizeof buffer, [](char c) { return c == 0x5a; }));

  // A buffer of exactly the needed size is enough.
  std::vector<char> exact(sizeof text);
  size = static_cast<std::uint32_t>(exact.size());
  ASSERT_EQ(registry().QueryValue(scratch_, "", &type, exact.data(), &size), kRegSuccess);
  EXPECT_EQ(size, sizeof text);
  EXPECT_EQ(type, kRegSz);
  EXPECT_STREQ(exact.data(), text);
}

TEST_P(RegistryConformance, OverwritingReplacesTypeAndBytes) {
  const char text[] = "long text to be replaced";
  const std::uint32_t word = 0x01020304;
  ASSERT_EQ(registry().SetValue(scratch_, "BackUp", kRegSz, text, sizeof text), kRegSuccess);
  ASSERT_EQ(registry().SetValue(scratch_, "backup", kRegDword, &word, sizeof word), kRegSuccess);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_EQ(Read(scratch_, "BACKUP", &type, &bytes), kRegSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(bytes, Bytes(reinterpret_cast<const char*>(&word), 4));
}

TEST_P(RegistryConformance, AKeyOpenedToReadServesReadsAndAMissingOneIsNotFound) {
  RegKey run = Create(scratch_, "Run");
  const char path[] = "/opt/kit/bin/java";
  ASSERT_EQ(registry().SetValue(run, "", kRegSz, path, sizeof path), kRegSuccess);
  Create(run, "Sub");

  RegKey read = 0;
  ASSERT_EQ(registry().OpenKeyToRead(scratch_, "RUN", &read), kRegSuccess);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_EQ(Read(read, "", &type, &bytes), kRegSuccess);
  EXPECT_EQ(bytes, Bytes(path, sizeof path));
  std::uint32_t subkeys = 0;
  ASSERT_EQ(registry().QueryInfoKey(read, &subkeys, nullptr), kRegSuccess);
  EXPECT_EQ(subkeys, 1u);
  EXPECT_EQ(registry().OpenKeyToRead(scratch_, "Missing", &read), kRegFileNotFound);
}

// The user's root is a tree of its own: what is there is not in the
// machine's, and the other way round.
TEST_P(RegistryConformance, TheUsersRootKeepsItsOwnKeys) {
  DeleteTree(registry(), kCurrentUser, kScratchPath);
  RegKey user_key = 0;
  ASSERT_EQ(registry().CreateKey(kCurrentUser, kScratchPath, &user_key, nullptr), kRegSuccess);
  Create(user_key, "OnlyForTheUser");
  RegKey read = 0;
  EXPECT_EQ(registry().OpenKeyToRead(kCurrentUser, "SOFTWARE\\NerboConformance\\OnlyForTheUser", &read),
            kRegSuccess);
  EXPECT_EQ(registry().OpenKeyToRead(scratch_, "OnlyForTheUser", &read), kRegFileNotFound);
  DeleteTree(registry(), kCurrentUser, kScratchPath);
}

TEST_P(RegistryConformance, KeyNamesIgnoreCaseAndKeepIt) {
  Create(scratch_, "ClassFile.Nerbo");
  RegKey opened = 0;
  EXPECT_EQ(registry().OpenKey(scratch_, "CLASSFILE.nerbo", &opened), kRegSuccess);
  bool created = true;
  RegKey again = 0;
  ASSERT_EQ(registry().CreateKey(scratch_, "classfile.NERBO", &again, &created), kRegSuccess);
  EXPECT_FALSE(created);

  char name[64];
  std::uint32_t length = sizeof name;
  ASSERT_EQ(registry().EnumKey(scratch_, 0, name, &length), kRegSuccess);
  EXPECT_STREQ(name, "ClassFile.Nerbo");
  EXPECT_EQ(length, std::strlen("ClassFile.Nerbo"));
}

TEST_P(RegistryConformance, InfoCountsSubkeysAndLongestName) {
  std::uint32_t count = 99, longest = 99;
  ASSERT_EQ(registry().QueryInfoKey(scratch_, &count, &longest), kRegSuccess);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(longest, 0u);

  Create(scratch_, "Run");
  Create(scratch_, "Run with args...");
  Create(scratch_, "Edit");
  Create(Create(scratch_, "Edit"), "command");  // grandchildren do not count
  ASSERT_EQ(registry().QueryInfoKey(scratch_, &count, &longest), kRegSuccess);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(longest, std::strlen("Run with args..."));
}

TEST_P(RegistryConformance, EnumKeyVisitsEverySubkeyByIndex) {
  const std::set<std::string> names = {"Compile", "Compile+Run", "Edit", "DefaultIcon"};
  for (const std::string& name : names) Create(scratch_, name.c_str());

  std::vector<std::string> seen;
  for (std::uint32_t index = 0;; ++index) {
    char name[64];
    std::uint32_t length = sizeof name;
    long status = registry().EnumKey(scratch_, index, name, &length);
    if (status == kRegNoMoreItems) break;
    ASSERT_EQ(status, kRegSuccess);
    ASSERT_EQ(length, std::strlen(name));
    seen.push_back(name);
    ASSERT_LT(index, 10u);
  }
  EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()), names);
  EXPECT_EQ(seen.size(), names.size());

  // The same index names the same key while nothing changes.
  char again[64];
  std::uint32_t length = sizeof again;
  ASSERT_EQ(registry().EnumKey(scratch_, 2, again, &length), kRegSuccess);
  EXPECT_EQ(again, seen[2]);

  // "Compile+Run" needs 12 characters with its terminator.
  for (std::uint32_t index = 0; index < seen.size(); ++index) {
    if (seen[index] != "Compile+Run") continue;
    char short_name[11];
    length = sizeof short_name;
    EXPECT_EQ(registry().EnumKey(scratch_, index, short_name, &length), kRegMoreData);
    char exact[12];
    length = sizeof exact;
    EXPECT_EQ(registry().EnumKey(scratch_, index, exact, &length), kRegSuccess);
    EXPECT_STREQ(exact, "Compile+Run");
  }
}

TEST_P(RegistryConformance, DeleteKeyIsRefusedWhileItHasSubkeys) {
  RegKey shell = Create(scratch_, "Shell");
  Create(shell, "Run");
  EXPECT_EQ(registry().DeleteKey(scratch_, "Shell"), kRegAccessDenied);
  RegKey still = 0;
  EXPECT_EQ(registry().OpenKey(scratch_, "Shell\\Run", &still), kRegSuccess);

  EXPECT_EQ(registry().DeleteKey(shell, "RUN"), kRegSuccess);
  EXPECT_EQ(registry().DeleteKey(scratch_, "Shell"), kRegSuccess);
  RegKey gone = 0;
  EXPECT_EQ(registry().OpenKey(scratch_, "Shell", &gone), kRegFileNotFound);
}

TEST_P(RegistryConformance, DeletedKeyHandleNoLongerWorks) {
  RegKey doomed = Create(scratch_, "Doomed");
  ASSERT_EQ(registry().DeleteKey(scratch_, "Doomed"), kRegSuccess);
  const char data[] = "x";
  EXPECT_EQ(registry().SetValue(doomed, "v", kRegSz, data, sizeof data), kRegKeyDeleted);
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(doomed, "v", nullptr, nullptr, &size), kRegKeyDeleted);
}

TEST_P(RegistryConformance, DeleteValueRemovesOnlyThatValue) {
  const char data[] = "kept";
  ASSERT_EQ(registry().SetValue(scratch_, "BackUp", kRegSz, data, sizeof data), kRegSuccess);
  ASSERT_EQ(registry().SetValue(scratch_, "Other", kRegSz, data, sizeof data), kRegSuccess);
  EXPECT_EQ(registry().DeleteValue(scratch_, "backup"), kRegSuccess);
  EXPECT_EQ(registry().DeleteValue(scratch_, "BackUp"), kRegFileNotFound);
  std::uint32_t type = 0;
  std::string bytes;
  EXPECT_EQ(Read(scratch_, "BackUp", &type, &bytes), kRegFileNotFound);
  EXPECT_EQ(Read(scratch_, "Other", &type, &bytes), kRegSuccess);
}

TEST_P(RegistryConformance, MissingKeysAndValuesAreNotFound) {
  RegKey key = 0;
  EXPECT_EQ(registry().OpenKey(scratch_, "Absent", &key), kRegFileNotFound);
  EXPECT_EQ(registry().OpenKey(scratch_, "Absent\\Deeper", &key), kRegFileNotFound);
  EXPECT_EQ(registry().DeleteKey(scratch_, "Absent"), kRegFileNotFound);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry().QueryValue(scratch_, "Absent", &type, nullptr, &size), kRegFileNotFound);
  EXPECT_EQ(registry().QueryValue(scratch_, "", &type, nullptr, &size), kRegFileNotFound);
  EXPECT_EQ(registry().DeleteValue(scratch_, "Absent"), kRegFileNotFound);
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryConformance, testing::ValuesIn(RegistryBackends()), BackendName);

}  // namespace
}  // namespace nerbo
