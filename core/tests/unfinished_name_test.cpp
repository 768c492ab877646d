#include "core/container/unfinished_name.h"

#include <gtest/gtest.h>

#include <string>

using core::IsUnfinishedName;
using core::IsUnfinishedNameOf;
using core::KeptNameOf;
using core::UnfinishedName;

TEST(UnfinishedName, IsTheFinalNameWithTheMarkerAndTheAttempt) {
    EXPECT_EQ(UnfinishedName(u"a.txt.zte", 1), u"a.txt.zte.~zt-unfinished-1");
    EXPECT_EQ(UnfinishedName(u"report.odt", 4294967295u), u"report.odt.~zt-unfinished-4294967295");
    EXPECT_EQ(UnfinishedName(u"a", 0), u"a.~zt-unfinished-0");
}

TEST(UnfinishedName, IsRecognisedForItsOwnFinalNameOnlyAndForEveryAttempt) {
    for (const unsigned attempt : {0u, 1u, 17u, 4294967295u}) {
        const std::u16string name = UnfinishedName(u"a.txt.zte", attempt);
        EXPECT_TRUE(IsUnfinishedName(name));
        EXPECT_TRUE(IsUnfinishedNameOf(name, u"a.txt.zte"));
        EXPECT_TRUE(IsUnfinishedNameOf(name, u"A.TXT.ZTE")) << "the file system ignores case";
        EXPECT_FALSE(IsUnfinishedNameOf(name, u"a.txt"));
        EXPECT_FALSE(IsUnfinishedNameOf(name, u"b.txt.zte"));
        EXPECT_FALSE(IsUnfinishedNameOf(name, u"xa.txt.zte"));
    }
}

TEST(UnfinishedName, AUsersOwnNamesAreNeverTakenForUnfinishedWork) {
    for (const std::u16string_view name :
         {u"a.txt", u"a.txt.zte", u".~zt-unfinished-1", u"a.~zt-unfinished-", u"a.~zt-unfinished-x",
          u"a.~zt-unfinished-1.txt", u"a.zt-unfinished-1", u"a.~zt-unfinished-12345678901", u"", u"1"}) {
        EXPECT_FALSE(IsUnfinishedName(name)) << std::string(name.begin(), name.end());
        EXPECT_FALSE(IsUnfinishedNameOf(name, u"a")) << std::string(name.begin(), name.end());
        EXPECT_TRUE(KeptNameOf(name).empty()) << std::string(name.begin(), name.end());
    }
}

TEST(UnfinishedName, ALongFinalNameIsCutToFitItsRoomAndStillRecognised) {
    const std::u16string longName(250, u'n');
    const std::u16string name = UnfinishedName(longName, 12, 255);
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(KeptNameOf(UnfinishedName(u"a.txt", 7)), u"a.txt");
    EXPECT_EQ(KeptNameOf(name), longName.substr(0, KeptNameOf(name).size()));
    EXPECT_LT(KeptNameOf(name).size(), longName.size());
    EXPECT_TRUE(IsUnfinishedNameOf(name, longName, 255));
    EXPECT_TRUE(IsUnfinishedName(name));

    const std::u16string shortRoom = UnfinishedName(u"abcdefghijklmnopqrstuvwxyz.txt", 3, 40);
    EXPECT_LE(shortRoom.size(), 40u);
    EXPECT_TRUE(IsUnfinishedNameOf(shortRoom, u"abcdefghijklmnopqrstuvwxyz.txt", 40));
    EXPECT_FALSE(IsUnfinishedNameOf(shortRoom, u"abcdefghijklmnopqrstuvwxyz.txt", 255));
}
