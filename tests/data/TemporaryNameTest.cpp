#include "data/TemporaryName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(TemporaryName, ReplacesTheEndOfTheFileNameWithACounter) {
    const struct {
        const char* Target;
        unsigned Attempt;
        const char* Name;
    } cases[] = {
        {"C:\\data\\set.wmx", 0, "C:\\data\\set~000"},
        {"C:\\data\\set.wmx", 0x2a, "C:\\data\\set~02a"},
        {"C:\\data\\set.wmx", 0xfff, "C:\\data\\set~fff"},
        {"set.wmx", 1, "set~001"},
        {"C:\\data\\abc", 5, "C:\\data\\~05"},
        {"C:\\data\\ab", 11, "C:\\data\\~b"},
        {"C:\\data\\a", 15, "C:\\data\\f"},
        {"C:a", 3, "C:3"},
        {"/tmp/x.wmx", 2, "/tmp/x~002"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemporaryName(c.Target, c.Attempt), c.Name) << c.Target << " " << c.Attempt;
}

// Each attempt gives another name of the target's length in the target's folder, so that a name
// is found wherever the target's path fits.
TEST(TemporaryName, GivesDistinctNamesNoLongerThanTheTarget) {
    for (const std::string target : {"C:\\data\\set.wmx", "C:\\data\\abc", "C:\\data\\a"}) {
        const unsigned count = TemporaryNameCount(target);
        EXPECT_GE(count, 16u) << target;
        std::set<std::string> names;
        for (unsigned attempt = 0; attempt < count; ++attempt) {
            const std::string name = TemporaryName(target, attempt);
            EXPECT_EQ(name.size(), target.size()) << name;
            EXPECT_EQ(name.substr(0, 8), "C:\\data\\") << name;
            names.insert(name);
        }
        EXPECT_EQ(names.size(), count) << target;
    }
    EXPECT_EQ(TemporaryNameCount("C:\\data\\set.wmx"), 4096u);
}
