#include <gtest/gtest.h>

#include "core/help/online_help_request.h"

namespace core {
namespace {

TEST(OnlineHelpTest, TheRequestIsTheTopicNumberAndTheProductAfterASemicolon) {
    EXPECT_EQ(ParseOnlineHelpRequest(u"26;{73914D63-F8A8-49A8-AE4E-A74775AD4970}"),
              (OnlineHelpRequest{26, u"{73914D63-F8A8-49A8-AE4E-A74775AD4970}"}));
    EXPECT_EQ(ParseOnlineHelpRequest(u"26"), (OnlineHelpRequest{26, u""}));
    EXPECT_EQ(ParseOnlineHelpRequest(u""), std::nullopt);
    EXPECT_EQ(ParseOnlineHelpRequest(u"x;{73914D63}"), std::nullopt);
    EXPECT_EQ(ParseOnlineHelpRequest(u" 26;{73914D63}"), std::nullopt);
    EXPECT_EQ(ParseOnlineHelpRequest(u"-26"), std::nullopt);
}

TEST(OnlineHelpTest, TheHelpEntryGivesItsPageOnlyForItsOwnTopic) {
    EXPECT_EQ(HelpEntryPage(u"26:Introduction.htm", 26), u"Introduction.htm");
    EXPECT_EQ(HelpEntryPage(u"26:Introduction.htm", 27), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"26:", 26), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"26", 26), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"Introduction.htm", 26), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"", 0), std::nullopt);
}

}  // namespace
}  // namespace core
