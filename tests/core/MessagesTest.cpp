#include <gtest/gtest.h>

#include "cipher/FileError.h"
#include "core/Messages.h"

namespace {

TEST(MessagesTest, PlaceholdersAreFilledInOnePass) {
    // An argument that itself holds "%2" or "%1" stays as it is.
    EXPECT_EQ(core::messages::Render({"copy \"%1\" to \"%2\"", {"a%2b", "c%1d"}}),
              "copy \"a%2b\" to \"c%1d\"");
    // Other percent signs, and placeholders without an argument, are kept.
    EXPECT_EQ(core::messages::Render({"100% of %1, not %3%", {"x"}}), "100% of x, not %3%");
}

TEST(MessagesTest, FileFailuresNameTheFileAndTheReasonWhenThereIsOne) {
    cipher::FileError error{cipher::FileFailure::SourceUnreadable, u"/tmp/r\u00E9sum\u00E9 %1.txt",
                            std::make_error_code(std::errc::permission_denied)};
    EXPECT_EQ(core::messages::ForFile(error),
              "Could not read \"/tmp/r\xC3\xA9sum\xC3\xA9 %1.txt\": " + error.code.message() + ".");
    error.code.clear();
    const core::messages::Message withoutReason = core::messages::FileMessage(error);
    EXPECT_EQ(std::string(withoutReason.text), "Could not read \"%1\".");
    EXPECT_EQ(core::messages::Render(withoutReason),
              "Could not read \"/tmp/r\xC3\xA9sum\xC3\xA9 %1.txt\".");
}

TEST(MessagesTest, UnrepresentableCharacterIsShownWhole) {
    const std::string text = core::messages::ForUnrepresentable(U'\U0001F600');
    EXPECT_NE(text.find("\"\xF0\x9F\x98\x80\""), std::string::npos) << text;
    EXPECT_NE(core::messages::ForUnrepresentable(U'\u0416').find("\"\xD0\x96\""),
              std::string::npos);
}

}  // namespace
