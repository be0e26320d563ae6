#include "platform/base/UserDefaults.h"

#include "platform/base/FileManager.h"
#include "platform/base/Plist.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using base::UserDefaults;
using base::Value;

class UserDefaultsTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lectoro-ud-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_path = (fs::path(m_root) / "Preferences" / "test.plist").string();
    }
    void TearDown() override
    {
        UserDefaults::setStandardForTesting(nullptr);
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    void writeFile(const std::string& content) const
    {
        fs::create_directories(fs::path(m_path).parent_path());
        std::ofstream(m_path, std::ios::binary) << content;
    }
    std::string readFile() const { return base::FileManager::defaultManager().readFile(m_path).value_or(""); }

    std::string m_root;
    std::string m_path;
};

TEST_F(UserDefaultsTest, TypedReadsCoerceLikeThePlatform)
{
    UserDefaults defaults;
    defaults.setString("text12", "12");
    defaults.setString("textYes", "YES");
    defaults.setString("textDecimal", "4.000000");
    defaults.setString("textWords", "hello");
    defaults.setInteger("int", 42);
    defaults.setDouble("double", 2.5);
    defaults.setBool("bool", true);
    defaults.setObject("list", Value(Value::List { 1, 2 }));

    struct Case {
        const char* key;
        std::optional<std::string> string;
        bool boolean;
        int64_t integer;
        double real;
    };
    const Case cases[] = {
        { "text12", "12", true, 12, 12 },
        { "textYes", "YES", true, 0, 0 },
        { "textDecimal", "4.000000", true, 4, 4 },
        { "textWords", "hello", false, 0, 0 },
        { "int", "42", true, 42, 42 },
        { "double", "2.5", true, 2, 2.5 },
        { "bool", "1", true, 1, 1 },
        { "list", std::nullopt, false, 0, 0 },
        { "missing", std::nullopt, false, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(defaults.stringForKey(c.key), c.string);
        EXPECT_EQ(defaults.boolForKey(c.key), c.boolean);
        EXPECT_EQ(defaults.integerForKey(c.key), c.integer);
        EXPECT_EQ(defaults.doubleForKey(c.key), c.real);
    }
    EXPECT_EQ(defaults.listForKey("list")->size(), 2u);
    EXPECT_EQ(defaults.listForKey("int"), std::nullopt);
    EXPECT_EQ(defaults.objectForKey("missing"), std::nullopt);
}

TEST_F(UserDefaultsTest, RemoveAndNullClearAKey)
{
    UserDefaults defaults;
    defaults.setString("a", "1");
    defaults.setString("b", "2");
    defaults.removeObjectForKey("a");
    defaults.setObject("b", Value());
    EXPECT_EQ(defaults.objectForKey("a"), std::nullopt);
    EXPECT_EQ(defaults.objectForKey("b"), std::nullopt);
    defaults.removeObjectForKey("never there");
}

TEST_F(UserDefaultsTest, RegisteredDefaultsAnswerOnlyWhenNothingIsSetAndAreNeverWritten)
{
    UserDefaults defaults(m_path);
    Value::Dictionary registered;
    registered.set("PenColor", "#000000");
    registered.set("PenThickness", 4.0);
    defaults.registerDefaults(registered);
    EXPECT_EQ(defaults.stringForKey("PenColor"), "#000000");
    EXPECT_EQ(defaults.doubleForKey("PenThickness"), 4.0);

    defaults.setString("PenColor", "#FF0000");
    EXPECT_EQ(defaults.stringForKey("PenColor"), "#FF0000");
    defaults.removeObjectForKey("PenColor");
    EXPECT_EQ(defaults.stringForKey("PenColor"), "#000000") << "removal uncovers the registered value";

    Value::Dictionary later;
    later.set("PenThickness", 6.0);
    defaults.registerDefaults(later);
    EXPECT_EQ(defaults.doubleForKey("PenThickness"), 6.0);
    EXPECT_EQ(defaults.stringForKey("PenColor"), "#000000") << "registrations merge";

    defaults.setBool("HelpScreenForReaderForPdf", true);
    ASSERT_TRUE(defaults.synchronize());
    auto written = base::parsePlist(readFile());
    ASSERT_TRUE(written.ok());
    ASSERT_TRUE(written.value().asDictionary());
    EXPECT_EQ(
        written.value().asDictionary()->keys(), std::vector<std::string> { "HelpScreenForReaderForPdf" });
}

TEST_F(UserDefaultsTest, SynchronizedValuesComeBackInANewStore)
{
    {
        UserDefaults defaults(m_path);
        defaults.setString("CurrentLanguage", "fr");
        defaults.setString("PenThickness", "4.000000");
        defaults.setInteger("kFontSizeKey", 3);
        defaults.setBool("isVEMClient", true);
        defaults.setDouble("ratio", 0.75);
        Value::Dictionary preferences;
        preferences.set("speed", 1.5);
        defaults.setObject("userPreferences", Value(preferences));
        EXPECT_TRUE(defaults.synchronize());
        EXPECT_EQ(defaults.synchronizeCount(), 1u);
    }
    UserDefaults reloaded(m_path);
    EXPECT_EQ(reloaded.stringForKey("CurrentLanguage"), "fr");
    EXPECT_EQ(reloaded.objectForKey("PenThickness"), Value("4.000000")) << "text stays text";
    EXPECT_EQ(reloaded.integerForKey("kFontSizeKey"), 3);
    EXPECT_TRUE(reloaded.boolForKey("isVEMClient"));
    EXPECT_EQ(reloaded.doubleForKey("ratio"), 0.75);
    EXPECT_EQ(reloaded.dictionaryForKey("userPreferences")->find("speed")->doubleValue(), 1.5);
}

TEST_F(UserDefaultsTest, UnsynchronisedChangesAreWrittenWhenTheStoreGoes)
{
    {
        UserDefaults defaults(m_path);
        defaults.setString("12345abc", "1700000000");
    }
    UserDefaults reloaded(m_path);
    EXPECT_EQ(reloaded.stringForKey("12345abc"), "1700000000");
}

TEST_F(UserDefaultsTest, BrokenOrMissingFilesLoadAsEmpty)
{
    const std::vector<std::string> contents {
        "",
        "not a plist at all",
        "<?xml version=\"1.0\"?><plist><dict><key>a</key>",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>",
        "bplist00\x01\x02\x03",
    };
    for (const auto& content : contents) {
        writeFile(content);
        UserDefaults defaults(m_path);
        EXPECT_TRUE(defaults.dictionaryRepresentation().empty()) << content;
        defaults.setString("k", "v");
        EXPECT_TRUE(defaults.synchronize()) << "a broken file is replaced by a good one";
        EXPECT_EQ(UserDefaults(m_path).stringForKey("k"), "v");
    }
    UserDefaults missing((fs::path(m_root) / "nowhere" / "x.plist").string());
    EXPECT_TRUE(missing.dictionaryRepresentation().empty());
}

TEST_F(UserDefaultsTest, SynchronizeReplacesTheFileWhole)
{
    UserDefaults defaults(m_path);
    defaults.setString("a", std::string(10000, 'x'));
    ASSERT_TRUE(defaults.synchronize());
    defaults.setString("a", "short");
    ASSERT_TRUE(defaults.synchronize());
    auto parsed = base::parsePlist(readFile());
    ASSERT_TRUE(parsed.ok()) << "no leftover of the longer earlier content";
    EXPECT_EQ(parsed.value()["a"], Value("short"));
    EXPECT_EQ(
        base::FileManager::defaultManager().contentsOfDirectory(fs::path(m_path).parent_path().string()),
        std::vector<std::string> { "test.plist" })
        << "no temporary file left behind";
    EXPECT_EQ(defaults.synchronizeCount(), 2u);
}

TEST_F(UserDefaultsTest, ReadersNeverSeeAHalfWrittenFile)
{
    UserDefaults defaults(m_path);
    defaults.setString("big", std::string(100000, 'x'));
    ASSERT_TRUE(defaults.synchronize());
    std::atomic<bool> done { false };
    std::atomic<int> broken { 0 };
    std::thread reader([&] {
        while (!done) {
            if (!base::parsePlist(readFile()).ok())
                ++broken;
        }
    });
    for (int i = 0; i < 30; ++i) {
        defaults.setString("big", std::string(100000 + i * 1000, static_cast<char>('a' + i % 26)));
        defaults.synchronize();
    }
    done = true;
    reader.join();
    EXPECT_EQ(broken, 0);
}

TEST_F(UserDefaultsTest, AFailedWriteIsReportedAndRetried)
{
    fs::create_directories(m_root + "/blocker");
    std::string unwritable = m_root + "/blocker/file.plist";
    fs::create_directories(unwritable); // a folder where the file should go
    UserDefaults defaults(unwritable);
    defaults.setString("k", "v");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(defaults.stringForKey("k"), "v") << "the value stays in memory";
    fs::remove_all(unwritable);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(UserDefaults(unwritable).stringForKey("k"), "v");
}

TEST_F(UserDefaultsTest, MemoryOnlyStoreSynchronizesWithoutAFile)
{
    UserDefaults defaults;
    defaults.setBool("b", true);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.synchronizeCount(), 1u);
    EXPECT_TRUE(defaults.path().empty());
}

TEST_F(UserDefaultsTest, StandardCanBeReplacedForTests)
{
    UserDefaults& real = UserDefaults::standard();
    auto replacement = std::make_shared<UserDefaults>();
    UserDefaults::setStandardForTesting(replacement);
    EXPECT_EQ(&UserDefaults::standard(), replacement.get());
    UserDefaults::standard().setString("onlyHere", "x");
    UserDefaults& held = UserDefaults::standard();
    UserDefaults::setStandardForTesting(std::make_shared<UserDefaults>());
    EXPECT_EQ(held.stringForKey("onlyHere"), "x") << "a reference taken earlier stays usable";
    UserDefaults::setStandardForTesting(nullptr);
    EXPECT_EQ(&UserDefaults::standard(), &real);
    EXPECT_EQ(real.stringForKey("onlyHere"), std::nullopt);
    EXPECT_EQ(fs::path(UserDefaults::preferencesPath("lectoro")).filename(), "lectoro.plist");
    EXPECT_EQ(fs::path(UserDefaults::preferencesPath("lectoro")).parent_path().filename(), "Preferences");
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing)
{
    UserDefaults defaults(m_path);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 100; ++i) {
                defaults.setInteger(std::string("t").append(std::to_string(t)).append("_").append(std::to_string(i)), i);
                if (i % 25 == 0)
                    defaults.synchronize();
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults reloaded(m_path);
    EXPECT_EQ(reloaded.dictionaryRepresentation().size(), 400u);
    EXPECT_EQ(reloaded.integerForKey("t3_99"), 99);
}

} // namespace
