#include "lattix/model/Collator.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>

namespace {

using Lattix::CCollator;

// Checks the order that every case-insensitive collation shares.
void ExpectCaseInsensitiveBasics(const CCollator& collator)
{
    EXPECT_LT(collator.Compare("apple", "Banana"), 0);
    EXPECT_GT(collator.Compare("Banana", "apple"), 0);
    EXPECT_EQ(collator.Compare("MAP", "mAp"), 0);
    EXPECT_LT(collator.Compare("map", "maps"), 0);
    EXPECT_LT(collator.Compare("", "a"), 0);
    EXPECT_EQ(collator.Compare("", ""), 0);
    EXPECT_EQ(collator.SortKey("Map"), collator.SortKey("map"));
    EXPECT_EQ(collator.Compare("\u00c4rger", "\u00e4rger"), 0); // case of a non-ASCII letter
}

TEST(CollatorTest, PlainLocalesFoldCaseOrderByCodePointAndKeepIllFormedBytesApart)
{
    for (const char* name : {"C", "POSIX", "C.UTF-8", "C.utf8", ""}) {
        SCOPED_TRACE(name);
        const CCollator collator(name);
        EXPECT_TRUE(collator.IsPlain());
        ExpectCaseInsensitiveBasics(collator);
        // Code point order: a letter with an accent after every ASCII letter.
        EXPECT_GT(collator.Compare("\u00e4", "z"), 0);
        EXPECT_EQ(collator.SortKey("AbC\u00c9"), "abc\u00e9");
    }

    const CCollator collator("C");
    // Windows-1252 bytes that never became UTF-8 keep their identity and their order.
    const std::string e1 = "caf\xe9";
    const std::string e2 = "caf\xe8";
    EXPECT_NE(collator.Compare(e1, e2), 0);
    EXPECT_EQ(collator.Compare(e1, e1), 0);
    EXPECT_EQ(collator.SortKey("X\xff\xfe"), "x\xff\xfe");
    // A truncated sequence at the end.
    EXPECT_EQ(collator.SortKey("A\xc3"), "a\xc3");
}

TEST(CollatorTest, LocaleRulesOrderAccentsIgnoreCaseAndKeyLongAndIllFormedTexts)
{
    const CCollator german("de_DE.UTF-8");
    EXPECT_FALSE(german.IsPlain());
    ExpectCaseInsensitiveBasics(german);
    // German sorts a-umlaut with a, before b; code point order would put it after z.
    EXPECT_LT(german.Compare("\u00c4pfel", "Birne"), 0);
    // Accents still count (secondary strength), letter case does not.
    EXPECT_NE(german.Compare("resume", "r\u00e9sum\u00e9"), 0);
    EXPECT_EQ(german.Compare("R\u00c9SUM\u00c9", "r\u00e9sum\u00e9"), 0);

    // Swedish puts a-umlaut after z.
    const CCollator swedish("sv_SE");
    EXPECT_GT(swedish.Compare("\u00e4", "z"), 0);

    // A locale the collation data does not know still orders case-insensitively.
    const CCollator unknown("xx_NOWHERE.UTF-8@euro");
    ExpectCaseInsensitiveBasics(unknown);

    const CCollator collator("en_US.UTF-8");
    // Longer than the collator's stack buffers for text and key.
    const std::string longA(1000, 'a');
    const std::string longB = longA + "b";
    std::string upper(1000, 'A');
    EXPECT_LT(collator.Compare(longA, longB), 0);
    EXPECT_EQ(collator.Compare(longA, upper), 0);
    EXPECT_GT(collator.SortKey(longB).size(), 256u);
    // Reusing a key string keeps no stale bytes.
    std::string key = collator.SortKey(longB);
    collator.SortKey("a", key);
    EXPECT_EQ(key, collator.SortKey("a"));
    // Ill-formed UTF-8 reads as U+FFFD and does not disturb the order of what follows.
    EXPECT_LT(collator.Compare("\xff"
                               "a",
                               "\xff"
                               "b"),
              0);
    EXPECT_EQ(collator.SortKey("x\xc3").find('\0'), std::string::npos);
}

// Sets environment variables for one scope.
class EnvironmentOverride
{
public:
    EnvironmentOverride(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentOverride()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// LC_ALL wins over LC_COLLATE, which wins over LANG; without any the order is plain.
TEST(CollatorTest, UserCollatorFollowsTheCollationVariables)
{
    struct Case
    {
        const char *all, *collate, *lang, *locale;
    };
    for (const Case& c :
         {Case{nullptr, "sv_SE.UTF-8", "C.UTF-8", "sv_SE.UTF-8"},
          Case{"C", "sv_SE.UTF-8", "C.UTF-8", "C"}, Case{nullptr, nullptr, nullptr, "C"}}) {
        EnvironmentOverride all("LC_ALL", c.all);
        EnvironmentOverride collate("LC_COLLATE", c.collate);
        EnvironmentOverride lang("LANG", c.lang);
        std::pair<std::string, bool> user;
        std::thread([&] {
            user = {CCollator::User().LocaleName(), CCollator::User().IsPlain()};
        }).join();
        EXPECT_EQ(user, std::make_pair(std::string(c.locale), std::string(c.locale) == "C"));
    }
}

} // namespace
